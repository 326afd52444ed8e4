// The configuration file, whatever its bytes, is left as it is, and the two
// switches are the integers after its first two '=', held to the int range; a
// value that cannot be read leaves its switch, and the later one, at 0.
#include "fuzz_files.h"
#include "data/config_file.h"

#include <algorithm>
#include <climits>

// The integer after the next '=', as the C library reads one; false when there is none.
static bool valueAfterEquals(const std::string& text, std::size_t& at, int& value) {
    if ((at = text.find('=', at)) == std::string::npos) return false;
    const char* start = text.c_str() + at + 1;
    char* end = nullptr;
    value = static_cast<int>(std::clamp<long long>(std::strtoll(start, &end, 10), INT_MIN, INT_MAX));
    at = static_cast<std::size_t>(end - text.c_str());
    return end != start;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = StartCase(data, size, &TimerFile);
    Userchoice();
    int expected[2] = {0, 0}, value = 0;
    std::size_t at = 0;
    for (int i = 0; i < 2 && valueAfterEquals(text, at, value); ++i) expected[i] = value;
    if (ConsoleUse != expected[0] || EditingUse != expected[1] || ReadWhole(TimerFile) != text) std::abort();
    return 0;
}
