#pragma once

#include <QString>
#include <QStringView>
#include <memory>
#include <vector>

namespace ravik {

// Compact storage for many short texts (hundreds of thousands of names and values):
// UTF-8 bytes in 2 MB blocks (huge pages where the system has them: filling fresh
// memory page by page is what makes loading big files slow), each text addressed by
// a 32-bit reference and its length. Texts are only ever added; an overwritten text stays behind until clear().
// Blocks never move, so adding never copies what is stored.
class TextArena {
public:
    struct Text {
        quint32 ref = 0;
        quint32 laenge = 0; // bytes
        bool isEmpty() const { return laenge == 0; }
    };

    Text add(QStringView text);
    QString text(Text t) const; // a leading U+FEFF is text too
    Text add(QByteArrayView utf8); // bytes that are UTF-8 already
    const char* bytes(Text t) const;
    QByteArrayView view(Text t) const { return QByteArrayView(bytes(t), t.laenge); }
    // Compares a stored text with UTF-8 bytes.
    bool equals(Text t, QByteArrayView utf8) const;

    void clear();
    qsizetype usedBytes() const { return benutzt_; }

private:
    static constexpr int kBlockBits = 21;
    static constexpr quint32 kBlockSize = 1u << kBlockBits;
    static constexpr quint32 kMaxBlocks = 1u << (32 - kBlockBits);

    char* platzFuer(quint32 laenge, quint32& ref);

    struct Freigabe {
        void operator()(char* block) const;
    };
    std::vector<std::unique_ptr<char, Freigabe>> bloecke_;
    quint32 frei_ = 0;      // free bytes in the last normal block
    qint64 aktuell_ = -1;   // index of the block being filled
    qsizetype benutzt_ = 0;
};

} // namespace ravik
