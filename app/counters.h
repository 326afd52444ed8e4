// Counter arithmetic that stops at the limits of an int instead of overflowing.
#pragma once

#include <climits>
#include <cstdint>

inline int SaturatedInt(std::int64_t value) {
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

inline void AddSaturated(int& counter, std::int64_t amount) { counter = SaturatedInt(counter + amount); }

// Press counters are only ever tested for parity, so at the top they keep
// alternating between INT_MAX - 1 and INT_MAX rather than sticking.
inline void CountPress(int& counter) { counter = counter < INT_MAX ? counter + 1 : INT_MAX - 1; }
