#pragma once
// Fixed arrays indexed from 1, as the instrument's channel and slot numbers are.
// An index outside 1..N never touches memory beyond the array: reads give a zero value,
// writes go to a scratch element, and inRange() lets callers check first.

#include <array>
#include <cstddef>

namespace pxr3 {

template <typename T, int N> class OneBased {
public:
    static constexpr int size() { return N; }
    static constexpr bool inRange(int index) { return index >= 1 && index <= N; }

    T &operator()(int index) { return inRange(index) ? items_[index - 1] : scratch_ = T{}; }
    const T &operator()(int index) const { return inRange(index) ? items_[index - 1] : zero_; }

    void fill(const T &value) { items_.fill(value); }
    // Element 1 onwards, for filling a run of them at once.
    T *data() { return items_.data(); }
    const T *data() const { return items_.data(); }
    bool operator==(const OneBased &other) const { return items_ == other.items_; }

private:
    std::array<T, N> items_{};
    T scratch_{};
    inline static const T zero_{};
};

} // namespace pxr3
