#pragma once

#include "core/platform/text/TextCodec.h"

#include <QByteArrayView>
#include <QString>
#include <QVarLengthArray>

namespace ravik {

// Names and values of one file as text and back. A file that is valid UTF-8 (every
// UTF-16 file is held as UTF-8) uses UTF-8, any other uses Windows-1252, for the
// whole file; both map bytes to text and back without loss.
class IniTextCodec {
public:
    // Room for the usual name or value without touching the heap.
    using Bytes = QVarLengthArray<char, 256>;

    explicit IniTextCodec(bool utf8) : utf8_(utf8) {}
    bool isUtf8() const { return utf8_; }

    QString decode(QByteArrayView bytes) const;
    // False when the file's encoding cannot hold the text; out then holds nothing useful.
    bool encode(QStringView text, Bytes& out) const;
    // Why encode refused the text; what names it ("Der Wert").
    QString refusal(QStringView text, const QString& what) const;

private:
    bool utf8_;
};

inline QByteArrayView view(const IniTextCodec::Bytes& bytes) {
    return QByteArrayView(bytes.constData(), bytes.size());
}

} // namespace ravik
