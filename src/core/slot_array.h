#pragma once
// A fixed array addressed by the program's own slot numbers (First..Last), so that
// the code can say valueTexts[17] for the plate designation exactly as the slot
// tables do. An index outside the range is a programming error.

#include <QtGlobal>
#include <array>
#include <cstddef>

namespace orven {

template <typename T, int First, int Last> class SlotArray {
    static_assert(Last >= First);

public:
    static constexpr int first = First;
    static constexpr int last = Last;
    static constexpr std::size_t size = static_cast<std::size_t>(Last - First + 1);

    T& operator[](int slot) {
        Q_ASSERT(slot >= First && slot <= Last);
        return items_[static_cast<std::size_t>(slot - First)];
    }
    const T& operator[](int slot) const {
        Q_ASSERT(slot >= First && slot <= Last);
        return items_[static_cast<std::size_t>(slot - First)];
    }
    void fill(const T& value) { items_.fill(value); }
    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::array<T, size> items_{};
};

} // namespace orven
