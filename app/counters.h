// Counter arithmetic that stops at the limits of an int instead of overflowing.
#pragma once

#include <climits>
#include <cstdint>
#include <istream>

inline int SaturatedInt(std::int64_t value) {
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

inline void AddSaturated(int& counter, std::int64_t amount) { counter = SaturatedInt(counter + amount); }

// Press counters are only ever tested for parity, so at the top they keep
// alternating between INT_MAX - 1 and INT_MAX rather than sticking.
inline void CountPress(int& counter) { counter = counter < INT_MAX ? counter + 1 : INT_MAX - 1; }

// Reads an integer from a file: an optional sign and decimal digits. Digits
// beyond the int range read as the nearest limit (the stream hands those back
// as INT_MAX or INT_MIN with its failure flag, which is cleared so the next
// value is read as usual). A value that cannot be read at all leaves `value`
// as it was and fails the stream, so every later read leaves its value too.
inline void ReadClampedInt(std::istream& in, int& value) {
    int read = 0;
    in >> read;
    if (in.fail() && (read == INT_MAX || read == INT_MIN)) in.clear(in.rdstate() & ~std::ios::failbit);
    if (!in.fail()) value = read;
}
