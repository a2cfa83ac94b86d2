#pragma once
// The work one frame of a movie may do, in units of roughly one elementary
// step each (a display-list change applied, a segment of an outline, a
// pixel sample of the scan converter, a pixel copied). Every step of drawing
// spends from it before doing the work; once a step would pass the budget,
// the budget is exhausted for good and the frame is given up, so a movie too
// heavy to play costs one bounded slice of time per tick instead of
// freezing its window.

#include <cstdint>

class FlashWorkBudget {
public:
    explicit FlashWorkBudget(std::uint64_t units) : remaining_(units) {}

    // Takes `units` and returns true, or returns false (and from then on
    // always false) when fewer are left.
    bool Spend(std::uint64_t units) {
        if (exhausted_ || units > remaining_) {
            exhausted_ = true;
            remaining_ = 0;
            return false;
        }
        remaining_ -= units;
        return true;
    }
    bool Exhausted() const { return exhausted_; }
    std::uint64_t Remaining() const { return remaining_; }

private:
    std::uint64_t remaining_;
    bool exhausted_ = false;
};
