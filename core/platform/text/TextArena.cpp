#include "core/platform/text/TextArena.h"

#include "core/platform/text/TextCodec.h"

#include <QStringEncoder>
#include <cstdlib>
#include <cstring>
#include <new>

namespace ravik {

void TextArena::Freigabe::operator()(char* block) const {
    std::free(block);
}

namespace {
// Blocks are aligned to their size, so the kernel can back each with one huge page.
char* neuerBlock(std::size_t groesse) {
    const std::size_t ausrichtung = groesse % (std::size_t(1) << 21) == 0 ? (std::size_t(1) << 21) : 64;
    const std::size_t gerundet = (groesse + ausrichtung - 1) / ausrichtung * ausrichtung;
    void* block = std::aligned_alloc(ausrichtung, gerundet);
    if (!block)
        throw std::bad_alloc();
    // No huge pages: a block fills a text at a time, and the first of a file's
    // million borrowed names would make two megabytes resident for a few bytes.
    return static_cast<char*>(block);
}
} // namespace

char* TextArena::platzFuer(quint32 laenge, quint32& ref) {
    if (bloecke_.size() >= kMaxBlocks)
        throw std::bad_alloc();
    if (laenge > kBlockSize / 4) {
        // A long text gets a block of its own, so it wastes no room in the shared ones.
        bloecke_.emplace_back(neuerBlock(laenge));
        ref = static_cast<quint32>(bloecke_.size() - 1) << kBlockBits;
        return bloecke_.back().get();
    }
    if (aktuell_ < 0 || frei_ < laenge) {
        bloecke_.emplace_back(neuerBlock(kBlockSize));
        aktuell_ = static_cast<qint64>(bloecke_.size() - 1);
        frei_ = kBlockSize;
    }
    const quint32 offset = kBlockSize - frei_;
    frei_ -= laenge;
    ref = (static_cast<quint32>(aktuell_) << kBlockBits) | offset;
    return bloecke_[aktuell_].get() + offset;
}

namespace {
// Bytes a text takes in UTF-8, counted without converting it.
qsizetype utf8Laenge(QStringView text) {
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80)
            n += 1;
        else if (c < 0x800)
            n += 2;
        else if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            n += 4, ++i;
        else
            n += 3; // a lone surrogate becomes a replacement character of three bytes
    }
    return n;
}
} // namespace

TextArena::Text TextArena::add(QStringView text) {
    if (text.isEmpty())
        return {};
    const qsizetype laenge = utf8Laenge(text);
    if (laenge > 0xFFFFFFF0LL)
        throw std::bad_alloc();
    Text t;
    t.laenge = static_cast<quint32>(laenge);
    // Straight into the block: a long value is never held twice.
    char* ziel = platzFuer(t.laenge, t.ref);
    QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    // What the encoder wrote counts (it may write a lone surrogate shorter).
    t.laenge = static_cast<quint32>(encoder.appendToBuffer(ziel, text) - ziel);
    benutzt_ += t.laenge;
    return t;
}

TextArena::Text TextArena::add(QByteArrayView utf8) {
    if (utf8.isEmpty())
        return {};
    if (utf8.size() > 0xFFFFFFF0LL)
        throw std::bad_alloc();
    Text t;
    t.laenge = static_cast<quint32>(utf8.size());
    const char* anfang = geliehen_.data();
    if (anfang && utf8.data() >= anfang && utf8.data() + utf8.size() <= anfang + geliehen_.size() &&
        utf8.data() - anfang < qsizetype(kGeliehen)) {
        t.ref = kGeliehen | quint32(utf8.data() - anfang);
        return t;
    }
    std::memcpy(platzFuer(t.laenge, t.ref), utf8.data(), t.laenge);
    benutzt_ += utf8.size();
    return t;
}

QString TextArena::text(Text t) const {
    return TextCodec::decode(view(t), TextEncoding::Utf8);
}

const char* TextArena::bytes(Text t) const {
    if (t.laenge == 0)
        return "";
    if (t.ref & kGeliehen)
        return geliehen_.data() + (t.ref & ~kGeliehen);
    return bloecke_[t.ref >> kBlockBits].get() + (t.ref & (kBlockSize - 1));
}

bool TextArena::equals(Text t, QByteArrayView utf8) const {
    // An empty view may hold a null pointer, which memcmp must not see even for 0 bytes.
    return t.laenge == static_cast<quint32>(utf8.size()) &&
           (t.laenge == 0 || std::memcmp(bytes(t), utf8.data(), t.laenge) == 0);
}

void TextArena::clear() {
    bloecke_.clear();
    bloecke_.shrink_to_fit();
    frei_ = 0;
    aktuell_ = -1;
    benutzt_ = 0;
    geliehen_ = {};
}

} // namespace ravik
