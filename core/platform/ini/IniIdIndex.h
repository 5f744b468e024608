#pragma once

#include "core/platform/ini/IniHashIndex.h"

#include <QtGlobal>
#include <vector>

namespace ravik {

// A hash table from a name's 32-bit hash to the number of a section, for files of a
// million sections: four bytes a slot (IniHashIndex takes eight), open addressing. A
// slot keeps the number and four bits of the hash, which spare most comparisons of
// names; the caller confirms a candidate on the actual bytes, and when the table
// grows it gives the hash of each number held (hashOf).
class IniIdIndex {
public:
    static constexpr qint32 kNotFound = -1;
    // Numbers from 0 to kMaxId.
    static constexpr qint32 kMaxId = (1 << 28) - 3;

    template <typename HashOf> void reserve(qsizetype entries, HashOf&& hashOf) {
        if (IniHashIndex::capacityFor(entries) > qsizetype(slots_.size()))
            rebuild(IniHashIndex::capacityFor(entries), hashOf);
    }

    // The first number with this hash that the caller confirms, else kNotFound.
    template <typename Confirm> qint32 find(quint32 hash, Confirm&& confirm) const {
        if (slots_.empty())
            return kNotFound;
        const quint32 spread = IniHashIndex::scramble(hash);
        for (qsizetype i = home(spread);; i = next(i)) {
            const quint32 slot = slots_[size_t(i)];
            if (slot == kEmpty)
                return kNotFound;
            if (slot != kErased && tagOf(slot) == tag(spread) && confirm(idOf(slot)))
                return idOf(slot);
        }
    }

    // find, and insert id when nothing is found; gives what is in the table after.
    template <typename Confirm, typename HashOf>
    qint32 findOrInsert(quint32 hash, qint32 id, Confirm&& confirm, HashOf&& hashOf) {
        const qint32 found = find(hash, confirm);
        if (found != kNotFound)
            return found;
        insert(hash, id, hashOf);
        return id;
    }

    // Room for one insert more, so that it cannot fail.
    template <typename HashOf> void roomForOneMore(HashOf&& hashOf) {
        if (IniHashIndex::capacityFor(used_ + 1) > qsizetype(slots_.size()))
            rebuild(IniHashIndex::capacityFor(2 * (live_ + 1)), hashOf);
    }

    template <typename HashOf> void insert(quint32 hash, qint32 id, HashOf&& hashOf) {
        Q_ASSERT(id >= 0 && id <= kMaxId);
        roomForOneMore(hashOf);
        const quint32 spread = IniHashIndex::scramble(hash);
        qsizetype i = home(spread);
        while (slots_[size_t(i)] > kErased)
            i = next(i);
        if (slots_[size_t(i)] == kEmpty)
            ++used_;
        slots_[size_t(i)] = slotFor(spread, id);
        ++live_;
    }

    // Removes the entry holding exactly this number; false when there is none.
    bool erase(quint32 hash, qint32 id) {
        if (slots_.empty())
            return false;
        const quint32 spread = IniHashIndex::scramble(hash);
        const quint32 gesucht = slotFor(spread, id);
        for (qsizetype i = home(spread);; i = next(i)) {
            quint32& slot = slots_[size_t(i)];
            if (slot == kEmpty)
                return false;
            if (slot == gesucht) {
                slot = kErased;
                --live_;
                return true;
            }
        }
    }

    qsizetype size() const { return live_; }

private:
    static constexpr quint32 kEmpty = 0;
    static constexpr quint32 kErased = 1;
    static constexpr int kIdBits = 28;
    static constexpr quint32 kIdMask = (1u << kIdBits) - 1;

    // The home slot takes the spread hash's high bits, the tag its low ones.
    static quint32 tag(quint32 spread) { return spread & 0xFu; }
    static quint32 slotFor(quint32 spread, qint32 id) { return (tag(spread) << kIdBits) | quint32(id + 2); }
    static quint32 tagOf(quint32 slot) { return slot >> kIdBits; }
    static qint32 idOf(quint32 slot) { return qint32(slot & kIdMask) - 2; }
    qsizetype home(quint32 spread) const {
        return qsizetype((quint64(spread) * quint64(slots_.size())) >> 32);
    }
    qsizetype next(qsizetype i) const { return i + 1 == qsizetype(slots_.size()) ? 0 : i + 1; }

    // Built aside and put in place whole: running out of memory keeps every entry.
    template <typename HashOf> void rebuild(qsizetype capacity, HashOf& hashOf) {
        std::vector<quint32> neu(size_t(capacity), kEmpty);
        for (const quint32 slot : slots_) {
            if (slot <= kErased)
                continue;
            const quint32 spread = IniHashIndex::scramble(hashOf(idOf(slot)));
            qsizetype i = qsizetype((quint64(spread) * quint64(capacity)) >> 32);
            while (neu[size_t(i)] != kEmpty)
                i = i + 1 == capacity ? 0 : i + 1;
            neu[size_t(i)] = slot;
        }
        slots_.swap(neu);
        used_ = live_;
    }

    std::vector<quint32> slots_;
    qint32 live_ = 0;
    qint32 used_ = 0; // live and erased slots: both lengthen probes
};

} // namespace ravik
