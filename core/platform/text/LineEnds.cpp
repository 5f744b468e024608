#include "core/platform/text/LineEnds.h"

namespace ravik {

QByteArray eolBytes(EolStyle style) {
    switch (style) {
    case EolStyle::Lf:
        return QByteArrayLiteral("\n");
    case EolStyle::Cr:
        return QByteArrayLiteral("\r");
    case EolStyle::CrLf:
        break;
    }
    return QByteArrayLiteral("\r\n");
}

EolStyle LineEndCounts::editorStyle() const {
    const bool sawCr = crLf + cr > 0;
    const bool sawLf = crLf + lf > 0;
    if (sawCr && !sawLf)
        return EolStyle::Cr;
    if (sawLf && !sawCr)
        return EolStyle::Lf;
    return EolStyle::CrLf;
}

EolStyle LineEndCounts::dominantStyle() const {
    EolStyle style = EolStyle::CrLf;
    qsizetype most = crLf;
    if (lf > most) {
        style = EolStyle::Lf;
        most = lf;
    }
    if (cr > most)
        style = EolStyle::Cr;
    return style;
}

void LineEndCounter::feed(QByteArrayView block) {
    for (char c : block) {
        if (pendingCr_) {
            pendingCr_ = false;
            if (c == '\n') {
                ++counts_.crLf;
                continue;
            }
            ++counts_.cr;
        }
        if (c == '\r' || c == '\n') {
            if (c == '\r')
                pendingCr_ = true;
            else
                ++counts_.lf;
            longest_ = qMax(longest_, line_);
            line_ = 0;
        } else {
            ++line_;
        }
    }
}

void LineEndCounter::finish() {
    if (pendingCr_)
        ++counts_.cr;
    pendingCr_ = false;
    longest_ = qMax(longest_, line_);
    line_ = 0;
}

LineEndCounts countLineEnds(QByteArrayView bytes) {
    LineEndCounter counter;
    counter.feed(bytes);
    counter.finish();
    return counter.counts();
}

} // namespace ravik
