#include "app/editor/UnstyledRanges.h"

#include <algorithm>

namespace ravik {

void UnstyledRanges::add(long from, long to) {
    if (from >= to)
        return;
    std::vector<Range> merged;
    merged.reserve(ranges_.size() + 1);
    for (const Range& range : ranges_) {
        if (range.second < from || range.first > to) {
            merged.push_back(range);
        } else {
            from = std::min(from, range.first);
            to = std::max(to, range.second);
        }
    }
    merged.emplace_back(from, to);
    std::sort(merged.begin(), merged.end());
    ranges_.swap(merged);
}

void UnstyledRanges::remove(long from, long to) {
    if (from >= to)
        return;
    std::vector<Range> rest;
    rest.reserve(ranges_.size() + 1);
    for (const Range& range : ranges_) {
        if (range.second <= from || range.first >= to) {
            rest.push_back(range);
            continue;
        }
        if (range.first < from)
            rest.emplace_back(range.first, from);
        if (range.second > to)
            rest.emplace_back(to, range.second);
    }
    ranges_.swap(rest);
}

std::vector<UnstyledRanges::Range> UnstyledRanges::within(long from, long to) const {
    std::vector<Range> parts;
    for (const Range& range : ranges_) {
        const long first = std::max(from, range.first);
        const long last = std::min(to, range.second);
        if (first < last)
            parts.emplace_back(first, last);
    }
    return parts;
}

} // namespace ravik
