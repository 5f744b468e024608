#pragma once

#include "core/platform/text/LineText.h"

#include <QByteArray>
#include <QByteArrayView>

namespace ravik {

// Follows a file's bytes block by block: whether all of them are valid UTF-8, which
// line breaks occur, and the longest line. Lets the editor take a file in pieces
// without holding it whole to decide how to read it.
class TextScan {
public:
    void feed(QByteArrayView block);
    // Call once after the last block.
    void finish();

    bool validUtf8() const { return valid_; }
    EolStyle eol() const;
    // So far, the line still open included.
    qsizetype longestLine() const { return qMax(longest_, line_); }

private:
    QByteArray pending_; // the start of a UTF-8 sequence cut off by the block's end
    bool valid_ = true;
    bool sawCr_ = false;
    bool sawLf_ = false;
    qsizetype line_ = 0;
    qsizetype longest_ = 0;
};

} // namespace ravik
