#pragma once

#include <QtGlobal>
#include <vector>

namespace ravik {

// A compact hash table from a 32-bit hash to a line or section number: eight bytes a
// slot, open addressing. It keeps no names; a lookup confirms a candidate with the
// caller's check on the actual bytes, so colliding names are told apart.
class IniHashIndex {
public:
    static constexpr qint32 kNotFound = -1;

    // Makes room for this many entries in all, so that a parse never rehashes.
    void reserve(qsizetype entries);

    // The first entry with this hash that the caller confirms, else kNotFound.
    template <typename Confirm> qint32 find(quint32 hash, Confirm&& confirm) const {
        if (slots_.empty())
            return kNotFound;
        for (qsizetype i = home(hash);; i = nextSlot(i)) {
            const Slot& slot = slots_[i];
            if (slot.value == kEmpty)
                return kNotFound;
            if (slot.value != kErased && slot.hash == hash && confirm(slot.value))
                return slot.value;
        }
    }

    // find, and insert value when nothing is found; gives what is in the table after.
    template <typename Confirm> qint32 findOrInsert(quint32 hash, qint32 value, Confirm&& confirm) {
        if (capacityFor(used_ + 1) > qsizetype(slots_.size()))
            rebuild(capacityFor(2 * (live_ + 1)));
        qsizetype freeSlot = -1;
        for (qsizetype i = home(hash);; i = nextSlot(i)) {
            Slot& slot = slots_[i];
            if (slot.value == kEmpty) {
                if (freeSlot < 0) {
                    freeSlot = i;
                    ++used_;
                }
                slots_[freeSlot] = Slot{hash, value};
                ++live_;
                return value;
            }
            if (slot.value == kErased) {
                if (freeSlot < 0)
                    freeSlot = i;
            } else if (slot.hash == hash && confirm(slot.value)) {
                return slot.value;
            }
        }
    }

    void insert(quint32 hash, qint32 value);
    // Empty again, keeping its room.
    void clear();
    // Removes the entry holding exactly this value; false when there is none.
    bool erase(quint32 hash, qint32 value);

    qsizetype size() const { return live_; }

    // Spreads similar name hashes ("Key1", "Key2", ...) over a whole table.
    static quint32 scramble(quint32 hash);
    // At most three quarters full, so that probes stay short.
    static qsizetype capacityFor(qsizetype entries);

private:
    static constexpr qint32 kEmpty = -1;
    static constexpr qint32 kErased = -2;
    struct Slot {
        quint32 hash;
        qint32 value;
    };

    qsizetype home(quint32 hash) const;
    qsizetype nextSlot(qsizetype i) const { return i + 1 == qsizetype(slots_.size()) ? 0 : i + 1; }
    void rebuild(qsizetype capacity);

    std::vector<Slot> slots_;
    qint32 live_ = 0;
    qint32 used_ = 0; // live and erased slots: both lengthen probes
};

} // namespace ravik
