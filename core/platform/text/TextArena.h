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
    // Bytes that are UTF-8 already. Bytes lying inside the borrowed text are not
    // copied: the arena points at them.
    Text add(QByteArrayView utf8);
    // A text that outlives this arena's texts, unchanged (a document's bytes as read):
    // names and values taken from it are kept where they stand instead of copied.
    // Whoever sets it sees that the arena is cleared before the text goes.
    void setGeliehen(QByteArrayView text) { geliehen_ = text; }
    const char* bytes(Text t) const;
    QByteArrayView view(Text t) const { return QByteArrayView(bytes(t), t.laenge); }
    // Compares a stored text with UTF-8 bytes.
    bool equals(Text t, QByteArrayView utf8) const;

    void clear();
    qsizetype usedBytes() const { return benutzt_; }

private:
    static constexpr int kBlockBits = 21;
    static constexpr quint32 kBlockSize = 1u << kBlockBits;
    static constexpr quint32 kMaxBlocks = 1u << (31 - kBlockBits);
    static constexpr quint32 kGeliehen = 1u << 31; // a reference into the borrowed text

    char* platzFuer(quint32 laenge, quint32& ref);

    struct Freigabe {
        void operator()(char* block) const;
    };
    std::vector<std::unique_ptr<char, Freigabe>> bloecke_;
    quint32 frei_ = 0;      // free bytes in the last normal block
    qint64 aktuell_ = -1;   // index of the block being filled
    qsizetype benutzt_ = 0;
    QByteArrayView geliehen_;
};

} // namespace ravik
