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

const QByteArrayView kUtf8Mark("\xEF\xBB\xBF");

} // namespace

void TextScan::Utf16Lines::unit(char16_t u) {
    if (highSurrogate) {
        highSurrogate = 0;
        if (u < 0xDC00 || u > 0xDFFF)
            valid = false;
    } else if (u >= 0xD800 && u <= 0xDBFF) {
        highSurrogate = u;
    } else if (u >= 0xDC00 && u <= 0xDFFF) {
        valid = false;
    }
    if (pendingCr) {
        pendingCr = false;
        if (u == u'\n') {
            ++counts.crLf;
            return;
        }
        ++counts.cr;
    }
    if (u == u'\r' || u == u'\n') {
        if (u == u'\r')
            pendingCr = true;
        else
            ++counts.lf;
        longest = qMax(longest, line);
        line = 0;
    } else {
        ++line;
    }
}

void TextScan::Utf16Lines::feed(QByteArrayView block) {
    auto take = [&](unsigned char a, unsigned char b) {
        unit(bigEndian ? char16_t((a << 8) | b) : char16_t((b << 8) | a));
    };
    qsizetype i = 0;
    if (!oddByte.isEmpty() && !block.isEmpty()) {
        take(static_cast<unsigned char>(oddByte[0]), static_cast<unsigned char>(block[0]));
        oddByte.clear();
        i = 1;
    }
    for (; i + 1 < block.size(); i += 2)
        take(static_cast<unsigned char>(block[i]), static_cast<unsigned char>(block[i + 1]));
    if (i < block.size())
        oddByte = block.sliced(i).toByteArray();
}

void TextScan::Utf16Lines::finish() {
    if (!oddByte.isEmpty() || highSurrogate)
        valid = false;
    if (pendingCr)
        ++counts.cr;
    pendingCr = false;
    longest = qMax(longest, line);
}

void TextScan::feed(QByteArrayView block) {
    size_ += block.size();
    if (mark_ == Mark::Undecided) {
        // Only the first three bytes wait: a whole file handed over at once is not copied.
        const qsizetype take = qMin<qsizetype>(3 - head_.size(), block.size());
        head_.append(block.first(take));
        block = block.sliced(take);
        if (head_.size() < 3)
            return;
        decideMark();
    }
    if (!block.isEmpty())
        feedBody(block);
}

// The first bytes tell whether the file starts with a byte-order mark; what follows
// is read accordingly.
void TextScan::decideMark() {
    const QByteArray head = std::move(head_);
    head_.clear();
    if (head.startsWith("\xFF\xFE") || head.startsWith("\xFE\xFF")) {
        mark_ = head.startsWith("\xFF\xFE") ? Mark::Utf16LE : Mark::Utf16BE;
        utf16_.bigEndian = mark_ == Mark::Utf16BE;
        // Should the rest not be whole UTF-16, the file is read as bytes after all,
        // mark included.
        bytes_.feed(head);
        feedUtf8(head);
        utf16_.feed(QByteArrayView(head).sliced(2));
        return;
    }
    mark_ = head.startsWith(kUtf8Mark) ? Mark::Utf8 : Mark::None;
    const QByteArrayView body = QByteArrayView(head).sliced(mark_ == Mark::Utf8 ? 3 : 0);
    feedBody(body); // the mark itself is not part of any line
}

void TextScan::feedBody(QByteArrayView bytes) {
    bytes_.feed(bytes);
    feedUtf8(bytes);
    if (mark_ == Mark::Utf16LE || mark_ == Mark::Utf16BE)
        utf16_.feed(bytes);
}

void TextScan::feedUtf8(QByteArrayView block) {
    if (!utf8Valid_)
        return;
    if (!pending_.isEmpty()) {
        // Complete the sequence carried over with the bytes it still needs.
        const int length = sequenceLength(static_cast<unsigned char>(pending_[0]));
        const qsizetype take = qMin<qsizetype>(length - pending_.size(), block.size());
        pending_.append(block.first(take));
        block = block.sliced(take);
        if (pending_.size() < length)
            return;
        utf8Valid_ = TextCodec::isValidUtf8(pending_);
        pending_.clear();
        if (!utf8Valid_)
            return;
    }
    const qsizetype whole = completeUpTo(block);
    utf8Valid_ = TextCodec::isValidUtf8(block.first(whole));
    pending_ = block.sliced(whole).toByteArray();
}

void TextScan::finish() {
    if (finished_)
        return;
    finished_ = true;
    if (mark_ == Mark::Undecided) {
        // Fewer than three bytes: a UTF-16 mark of two bytes and nothing else is still
        // an (empty) UTF-16 file.
        if (head_.startsWith("\xFF\xFE") || head_.startsWith("\xFE\xFF")) {
            decideMark();
        } else {
            mark_ = Mark::None;
            const QByteArray head = std::move(head_);
            head_.clear();
            feedBody(head);
        }
    }
    bytes_.finish();
    utf16_.finish();
    if (!pending_.isEmpty()) {
        utf8Valid_ = false; // the file ends inside a sequence
        pending_.clear();
    }
}

TextEncoding TextScan::encoding() const {
    switch (mark_) {
    case Mark::Utf16LE:
    case Mark::Utf16BE:
        if (utf16_.valid)
            return mark_ == Mark::Utf16LE ? TextEncoding::Utf16LE : TextEncoding::Utf16BE;
        return utf8Valid_ ? TextEncoding::Utf8 : TextEncoding::Windows1252;
    case Mark::Utf8:
        return utf8Valid_ ? TextEncoding::Utf8Bom : TextEncoding::Windows1252;
    case Mark::None:
    case Mark::Undecided:
        break;
    }
    return utf8Valid_ ? TextEncoding::Utf8 : TextEncoding::Windows1252;
}

LineEndCounts TextScan::lineEnds() const {
    const TextEncoding e = encoding();
    if (e == TextEncoding::Utf16LE || e == TextEncoding::Utf16BE)
        return utf16_.counts;
    return bytes_.counts();
}

qsizetype TextScan::longestLine() const {
    const TextEncoding e = encoding();
    if (e == TextEncoding::Utf16LE || e == TextEncoding::Utf16BE)
        return utf16_.longest;
    return bytes_.longestLine();
}

} // namespace ravik
