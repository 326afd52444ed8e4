#include "data/startup_file.h"

#include "app/state.h"
#include "data/file_replace.h"

#include <algorithm>
#include <cstddef>

namespace {

// What the plain puzzle file holds between runs.
const char kPurgeText[] = "Data purged...";
const std::size_t kPurgeLength = sizeof kPurgeText - 1;

// Byte p of the file (counted from 0) moves by (p mod 10) + 1 in the given
// direction, on 8-bit values that wrap around. The shifts are applied in
// blocks of whole periods so the inner loop is a plain vector add.
std::string shifted(std::string text, int direction) {
    const std::size_t kBlock = 160;
    unsigned char amounts[kBlock];
    for (std::size_t j = 0; j < kBlock; ++j) amounts[j] = static_cast<unsigned char>(direction * int(j % 10 + 1));
    unsigned char* bytes = reinterpret_cast<unsigned char*>(&text[0]);
    for (std::size_t i = 0; i < text.size(); i += kBlock) {
        const std::size_t block = std::min(kBlock, text.size() - i);
        for (std::size_t j = 0; j < block; ++j) bytes[i + j] = static_cast<unsigned char>(bytes[i + j] + amounts[j]);
    }
    return text;
}

// The store keeps the form earlier versions gave it through Windows' text
// mode: every LF written as CR LF. Exactly the CR put before each LF is taken
// out again, so any bytes at all come back unchanged.
std::string withCrBeforeEachLf(const std::string& text) {
    std::string result;
    result.reserve(text.size() + text.size() / 128);
    std::size_t start = 0;
    for (std::size_t lf; (lf = text.find('\n', start)) != std::string::npos; start = lf + 1)
        result.append(text, start, lf - start).append("\r\n");
    return result.append(text, start, std::string::npos);
}

std::string withoutCrBeforeEachLf(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t lf; (lf = text.find('\n', start)) != std::string::npos; start = lf + 1) {
        const std::size_t cr = lf > start && text[lf - 1] == '\r' ? 1 : 0;
        result.append(text, start, lf - start - cr).push_back('\n');
    }
    return result.append(text, start, std::string::npos);
}

bool startsWithPurgeText(const std::string& plain) { return plain.compare(0, kPurgeLength, kPurgeText) == 0; }

// The puzzles in the store; none when there is no store. False when a store
// is there but cannot be read: then nothing may be written over it.
bool readStoredPuzzles(std::string& puzzles) {
    std::string store;
    if (!ReadFileContent(LoadsFile, store)) {
        puzzles.clear();
        return FileCertainlyMissing(LoadsFile);
    }
    puzzles = UnscrambleStore(store);
    return true;
}

}  // namespace

std::string ScrambleStore(const std::string& puzzles) { return withCrBeforeEachLf(shifted(puzzles, +1)); }
std::string UnscrambleStore(const std::string& store) { return shifted(withoutCrBeforeEachLf(store), -1); }

void OnLoads() {
    std::string plain;
    // A plain file that is there but cannot be read may be the newest copy.
    if (!ReadFileContent(WordsFile, plain) && !FileCertainlyMissing(WordsFile)) return;
    // Records in the plain file are newer than the store: a run that never
    // reached its exit left them there, or another copy is running on them.
    if (!plain.empty() && !startsWithPurgeText(plain)) return;
    // After the purge text come records another copy added once the store was written.
    const std::string added = plain.erase(0, kPurgeLength);
    std::string puzzles;
    if (!readStoredPuzzles(puzzles) || (puzzles.empty() && added.empty())) return;
    ReplaceFileContent(WordsFile, puzzles + added);
}

void OnExits() {
    // The viewer lets go first: Windows will not replace a file still open.
    if (prelim > 0) pfinds.close();
    std::string puzzles;
    // The purge text holds no puzzles; storing it would only overwrite a
    // store that the start-up failed to unpack, or one written meanwhile.
    if (!ReadFileContent(WordsFile, puzzles) || puzzles == kPurgeText) return;
    if (startsWithPurgeText(puzzles)) {
        // Another copy stored the puzzles and purged this file; the records
        // after the purge text were added since, and join the store.
        std::string stored;
        if (!readStoredPuzzles(stored)) return;
        puzzles = stored + puzzles.substr(kPurgeLength);
    }
    // The plain file may be the only copy of the puzzles: it is purged only
    // once the scrambled store is safely in place.
    if (ReplaceFileContent(LoadsFile, ScrambleStore(puzzles))) ReplaceFileContent(WordsFile, kPurgeText);
}
