#pragma once

#include "core/platform/text/LineEnds.h"
#include "core/platform/text/TextCodec.h"

#include <QByteArray>
#include <QByteArrayView>

namespace ravik {

// One pass over a file's bytes, fed block by block in any sizes: the encoding the
// program reads it in (see TextEncoding), its line ends and its longest line. Every
// reader of files asks this one scan, so a file is never read in one encoding by one
// view and in another by the other.
class TextScan {
public:
    void feed(QByteArrayView block);
    // Call once after the last block.
    void finish();

    TextEncoding encoding() const;
    bool validUtf8() const { return utf8Valid_; } // the bytes after a UTF-8 mark
    LineEndCounts lineEnds() const;
    // Characters of the longest line without its line end (bytes; UTF-16 code units in
    // a UTF-16 file).
    qsizetype longestLine() const;
    qint64 size() const { return size_; }

private:
    // The same as LineEndCounter over UTF-16 code units, with the check that they
    // are whole UTF-16.
    struct Utf16Lines {
        bool bigEndian = false;
        bool valid = true;
        QByteArray oddByte; // a unit cut by the block's end
        char16_t highSurrogate = 0;
        LineEndCounts counts;
        qsizetype line = 0;
        qsizetype longest = 0;
        bool pendingCr = false;
        void feed(QByteArrayView bytes);
        void unit(char16_t u);
        void finish();
    };

    void decideMark();
    void feedBody(QByteArrayView bytes);
    void feedUtf8(QByteArrayView bytes);

    enum class Mark { Undecided, None, Utf8, Utf16LE, Utf16BE };
    Mark mark_ = Mark::Undecided;
    QByteArray head_;    // the first bytes, until the mark is decided
    QByteArray pending_; // the start of a UTF-8 sequence cut off by the block's end
    bool utf8Valid_ = true;
    bool finished_ = false;
    qint64 size_ = 0;
    LineEndCounter bytes_; // what every file but a UTF-16 one is read as
    Utf16Lines utf16_;
};

} // namespace ravik
