#include "fuzz/checks/TextLines.h"

namespace ravik::fuzz {

std::vector<QByteArray> physicalLines(QByteArrayView text) {
    std::vector<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        lines.push_back(text.sliced(start, i + 1 - start).toByteArray());
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back(text.sliced(start).toByteArray());
    return lines;
}

QByteArrayView withoutEol(QByteArrayView line) {
    while (!line.isEmpty() && (line.back() == '\n' || line.back() == '\r'))
        line.chop(1);
    return line;
}

} // namespace ravik::fuzz
