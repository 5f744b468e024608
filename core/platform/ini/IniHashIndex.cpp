#include "core/platform/ini/IniHashIndex.h"

#include <algorithm>

namespace ravik {
quint32 IniHashIndex::scramble(quint32 h) {
    h ^= h >> 16;
    h *= 0x85EBCA6Bu;
    h ^= h >> 13;
    h *= 0xC2B2AE35u;
    h ^= h >> 16;
    return h;
}

qsizetype IniHashIndex::capacityFor(qsizetype entries) {
    return std::max<qsizetype>(16, entries + entries / 3 + 1);
}

qsizetype IniHashIndex::home(quint32 hash) const {
    return static_cast<qsizetype>((quint64(scramble(hash)) * quint64(slots_.size())) >> 32);
}

void IniHashIndex::reserve(qsizetype entries) {
    if (capacityFor(entries) > qsizetype(slots_.size()))
        rebuild(capacityFor(entries));
}

void IniHashIndex::clear() {
    std::fill(slots_.begin(), slots_.end(), Slot{0, kEmpty});
    live_ = used_ = 0;
}

// Built aside and put in place whole: running out of memory keeps every entry.
void IniHashIndex::rebuild(qsizetype capacity) {
    std::vector<Slot> neu(static_cast<size_t>(capacity), Slot{0, kEmpty});
    neu.swap(slots_);
    used_ = live_;
    for (const Slot& slot : neu) {
        if (slot.value < 0)
            continue;
        qsizetype i = home(slot.hash);
        while (slots_[i].value != kEmpty)
            i = nextSlot(i);
        slots_[i] = slot;
    }
}

void IniHashIndex::insert(quint32 hash, qint32 value) {
    if (capacityFor(used_ + 1) > qsizetype(slots_.size()))
        rebuild(capacityFor(2 * (live_ + 1)));
    qsizetype i = home(hash);
    while (slots_[i].value >= 0)
        i = nextSlot(i);
    if (slots_[i].value == kEmpty)
        ++used_;
    slots_[i] = Slot{hash, value};
    ++live_;
}

bool IniHashIndex::erase(quint32 hash, qint32 value) {
    if (slots_.empty())
        return false;
    for (qsizetype i = home(hash);; i = nextSlot(i)) {
        Slot& slot = slots_[i];
        if (slot.value == kEmpty)
            return false;
        if (slot.value == value && slot.hash == hash) {
            slot.value = kErased;
            --live_;
            return true;
        }
    }
}

} // namespace ravik
