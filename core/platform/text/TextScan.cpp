#include "core/platform/text/TextScan.h"

namespace ravik {
namespace {

// Length of the UTF-8 sequence a lead byte starts (0 for a continuation byte).
int sequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return lead >= 0xC0 ? 1 : 0; // an invalid lead byte stands alone (and is invalid)
}

// Where a sequence that the block's end cuts off begins (the block's size if none).
qsizetype completeUpTo(QByteArrayView block) {
    const qsizetype n = block.size();
    for (qsizetype back = 1; back <= 3 && back <= n; ++back) {
        const int length = sequenceLength(static_cast<unsigned char>(block[n - back]));
        if (length == 0)
            continue; // a continuation byte: look further back
        return length > back ? n - back : n;
    }
    return n;
}

} // namespace

void TextScan::feed(QByteArrayView block) {
    for (char c : block) {
        if (c == '\r' || c == '\n') {
            (c == '\r' ? sawCr_ : sawLf_) = true;
            longest_ = qMax(longest_, line_);
            line_ = 0;
        } else {
            ++line_;
        }
    }
    if (!valid_)
        return;
    if (!pending_.isEmpty()) {
        // Complete the sequence carried over with the bytes it still needs.
        const int length = sequenceLength(static_cast<unsigned char>(pending_[0]));
        const qsizetype take = qMin<qsizetype>(length - pending_.size(), block.size());
        pending_.append(block.first(take));
        block = block.sliced(take);
        if (pending_.size() < length)
            return;
        valid_ = TextCodec::isValidUtf8(pending_);
        pending_.clear();
        if (!valid_)
            return;
    }
    const qsizetype whole = completeUpTo(block);
    valid_ = TextCodec::isValidUtf8(block.first(whole));
    pending_ = block.sliced(whole).toByteArray();
}

void TextScan::finish() {
    longest_ = qMax(longest_, line_);
    if (!pending_.isEmpty()) {
        valid_ = false; // the file ends inside a sequence
        pending_.clear();
    }
}

EolStyle TextScan::eol() const {
    if (sawCr_ && !sawLf_)
        return EolStyle::Cr;
    if (sawLf_ && !sawCr_)
        return EolStyle::Lf;
    return EolStyle::CrLf;
}

} // namespace ravik
