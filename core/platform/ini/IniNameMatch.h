#pragma once

#include <QByteArrayView>
#include <QtGlobal>

namespace ravik {

// Compares section and key names without regard to case, on their raw bytes. ASCII
// letters always fold; other letters fold only in a file that is valid UTF-8, where
// the names can be decoded (in a Windows-1252 file only ASCII folds, as the bytes
// of other letters mean nothing certain).
class IniNameMatch {
public:
    explicit IniNameMatch(bool utf8) : utf8_(utf8) {}

    // Equal for names that match; computed on the folded text.
    quint32 hash(QByteArrayView name) const;
    bool equal(QByteArrayView a, QByteArrayView b) const;

private:
    bool utf8_;
};

} // namespace ravik
