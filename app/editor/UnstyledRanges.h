#pragma once

#include <utility>
#include <vector>

namespace ravik {

// The parts of the text the highlighter has skipped so far: ranges of positions
// [from, to), in order and apart.
class UnstyledRanges {
public:
    using Range = std::pair<long, long>;

    void add(long from, long to);
    void remove(long from, long to);
    // The unstyled parts of [from, to), in order.
    std::vector<Range> within(long from, long to) const;

    void clear() { ranges_.clear(); }
    const std::vector<Range>& ranges() const { return ranges_; }

private:
    std::vector<Range> ranges_;
};

} // namespace ravik
