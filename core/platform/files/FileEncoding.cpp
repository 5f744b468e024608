#include "core/platform/files/FileEncoding.h"

#include "core/platform/files/FileIO.h"
#include "core/platform/text/TextScan.h"

#include <QFileInfo>

namespace ravik {

std::optional<TextEncoding> detectFileEncoding(const QString& path) {
    if (!QFileInfo::exists(path))
        return std::nullopt;
    constexpr qsizetype kBlock = qsizetype(1) << 20;
    const QByteArrayView utf8Mark("\xEF\xBB\xBF");
    TextScan scan;
    QByteArray start; // the first bytes decide about a byte-order mark
    bool utf16 = false;
    bool first = true;
    FileIO::readInBlocks(path, kBlock, [&](QByteArrayView block) {
        if (utf16)
            return;
        if (start.size() < 3)
            start.append(block.first(qMin(3 - start.size(), block.size())));
        if (start.startsWith("\xFF\xFE") || start.startsWith("\xFE\xFF")) {
            utf16 = true; // decided on the whole text below
            return;
        }
        const qsizetype mark = first && block.startsWith(utf8Mark) ? utf8Mark.size() : 0;
        first = false;
        scan.feed(block.sliced(mark));
    });
    if (utf16) {
        if (const auto bytes = FileIO::readAllIfExists(path))
            return TextCodec::detect(*bytes);
        return std::nullopt;
    }
    scan.finish();
    if (!scan.validUtf8())
        return TextEncoding::Windows1252;
    return start.startsWith(utf8Mark) ? TextEncoding::Utf8Bom : TextEncoding::Utf8;
}

} // namespace ravik
