// The viewer: after any number of steps (the first byte) through passes over any puzzle file (the
// rest), deleting the record shown rewrites the file as it was less that record.
#include "fuzz_files.h"
#include "data/puzzle_console.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string text = StartCase(data + 1, size - 1, &WordsFile);
    for (int step = 0; step <= data[0] % 32; ++step) flipthru();
    if (test1.size() <= 2) return 0;  // nothing shown that the delete command would take
    // Find record number prelim (the steps of this pass); an unfinished one runs to the end.
    std::size_t start = 0, end = 0;
    for (int record = 0; record < prelim; ++record) {
        const std::size_t semicolon = text.find(';', start = end);
        const std::size_t colon = semicolon == std::string::npos ? semicolon : text.find(':', semicolon + 1);
        end = colon == std::string::npos ? text.size() : colon + 1;
    }
    doit = 1;
    flipthru();
    if (ReadWhole(WordsFile) != text.substr(0, start) + text.substr(end)) std::abort();
    return 0;
}
