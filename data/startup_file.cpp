#include "data/startup_file.h"

#include "app/state.h"
#include "data/file_replace.h"

#include <cstddef>

namespace {

// What the plain puzzle file holds between runs.
const char kPurgeText[] = "Data purged...";

// Character p of the file (counted from 1) moves by ((p - 1) mod 10) + 1 in
// the given direction, on 8-bit values that wrap around.
std::string shifted(const std::string& text, int direction) {
    std::string result = text;
    for (std::size_t i = 0; i < result.size(); ++i) {
        int amount = static_cast<int>(i % 10) + 1;
        unsigned char byte = static_cast<unsigned char>(result[i]);
        result[i] = static_cast<char>(static_cast<unsigned char>(byte + direction * amount));
    }
    return result;
}

}  // namespace

std::string ScrambleStore(const std::string& puzzles) { return shifted(puzzles, +1); }
std::string UnscrambleStore(const std::string& store) { return shifted(store, -1); }

void OnLoads() {
    std::string store;
    if (ReadFileContent(LoadsFile, store)) ReplaceFileContent(WordsFile, UnscrambleStore(store));
}

void OnExits() {
    // The viewer lets go first: Windows will not replace a file still open.
    if (prelim > 0) pfinds.close();
    std::string puzzles;
    // The purge text holds no puzzles; scrambling it would only overwrite a
    // store that the start-up failed to unpack, or one written meanwhile.
    if (!ReadFileContent(WordsFile, puzzles) || puzzles == kPurgeText) return;
    // The plain file may be the only copy of the puzzles: it is purged only
    // once the scrambled store is safely in place.
    if (ReplaceFileContent(LoadsFile, ScrambleStore(puzzles))) ReplaceFileContent(WordsFile, kPurgeText);
}
