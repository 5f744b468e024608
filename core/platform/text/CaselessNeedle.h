#pragma once

#include <QByteArray>
#include <QString>

namespace ravik {

// A text looked for inside other texts without regard to case, as QString compares
// case-insensitively. Made for many short haystacks held as UTF-8 (the names and
// values of a large file): an ASCII haystack is searched on its bytes, only others
// are decoded.
class CaselessNeedle {
public:
    explicit CaselessNeedle(const QString& needle);

    bool isEmpty() const { return needle_.isEmpty(); }
    const QString& text() const { return needle_; }

    bool foundIn(QStringView haystack) const;
    bool foundIn(QByteArrayView utf8) const;
    // Every haystack that holds `other` holds this needle as well.
    bool narrows(const CaselessNeedle& other) const;

private:
    QString needle_;
    QString folded_;
    // The folded needle as bytes when it is plain ASCII; empty otherwise (an ASCII
    // haystack can then never hold it).
    QByteArray asciiFolded_;
};

} // namespace ravik
