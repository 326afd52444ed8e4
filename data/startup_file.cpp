#include "data/startup_file.h"

#include "app/state.h"
#include "data/file_replace.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <utility>

namespace {

// What the plain puzzle file holds between runs.
const char kPurgeText[] = "Data purged...";
const std::size_t kPurgeLength = sizeof kPurgeText - 1;

// Byte p of the plain text (counted from 0) is stored moved up by (p mod 10) + 1,
// on 8-bit values that wrap around. Blocks are whole periods of the shift, so
// the inner loops are plain vector adds.
const std::size_t kBlock = 4000;

std::array<unsigned char, kBlock> blockShifts() {
    std::array<unsigned char, kBlock> shifts;
    for (std::size_t i = 0; i < kBlock; ++i) shifts[i] = static_cast<unsigned char>(i % 10 + 1);
    return shifts;
}
const std::array<unsigned char, kBlock> kShifts = blockShifts();

// The store keeps the form earlier versions gave it through Windows' text
// mode: every LF written as CR LF. Exactly the CR put before each LF is taken
// out again, so any bytes at all come back unchanged.
void appendWithCrBeforeEachLf(std::string& out, const char* bytes, std::size_t size) {
    const char* end = bytes + size;
    const char* lf;
    for (; (lf = static_cast<const char*>(std::memchr(bytes, '\n', end - bytes))) != nullptr; bytes = lf + 1)
        out.append(bytes, lf).append("\r\n");
    out.append(bytes, end);
}

// Drops the CR of every CR LF, moving the rest down in place.
void dropCrBeforeEachLf(std::string& text) {
    std::size_t kept = 0, start = 0;
    for (std::size_t lf; (lf = text.find('\n', start)) != std::string::npos; start = lf + 1) {
        const std::size_t length = lf - start - (lf > start && text[lf - 1] == '\r' ? 1 : 0);
        if (kept != start) std::memmove(&text[kept], &text[start], length);
        kept += length;
        text[kept++] = '\n';
    }
    const std::size_t rest = text.size() - start;
    if (kept != start) std::memmove(&text[kept], &text[start], rest);
    text.resize(kept + rest);
}

bool startsWithPurgeText(const std::string& plain) { return plain.compare(0, kPurgeLength, kPurgeText) == 0; }

// The plain text of a file in the store's form; false when it cannot be read whole.
bool readUnscrambled(const std::string& path, std::string& puzzles) {
    std::string store;
    if (!ReadFileContent(path, store)) return false;
    puzzles = UnscrambleStore(std::move(store));
    return true;
}

// The puzzles in the store; none when there is no store. False when a store
// is there but cannot be read: then nothing may be written over it.
bool readStoredPuzzles(std::string& puzzles) {
    if (readUnscrambled(LoadsFile, puzzles)) return true;
    puzzles.clear();
    return FileCertainlyMissing(LoadsFile);
}

}  // namespace

std::string ScrambleStore(const std::string& puzzles) {
    std::string store;
    store.reserve(puzzles.size() + puzzles.size() / 128 + 16);
    unsigned char block[kBlock];
    for (std::size_t at = 0; at < puzzles.size(); at += kBlock) {
        const std::size_t size = std::min(kBlock, puzzles.size() - at);
        for (std::size_t i = 0; i < size; ++i)
            block[i] = static_cast<unsigned char>(static_cast<unsigned char>(puzzles[at + i]) + kShifts[i]);
        appendWithCrBeforeEachLf(store, reinterpret_cast<const char*>(block), size);
    }
    return store;
}

std::string UnscrambleStore(std::string store) {
    dropCrBeforeEachLf(store);
    unsigned char* bytes = reinterpret_cast<unsigned char*>(&store[0]);
    for (std::size_t at = 0; at < store.size(); at += kBlock) {
        const std::size_t size = std::min(kBlock, store.size() - at);
        for (std::size_t i = 0; i < size; ++i) bytes[at + i] = static_cast<unsigned char>(bytes[at + i] - kShifts[i]);
    }
    return store;
}

void OnLoads() {
    std::string plain;
    // A plain file that is there but cannot be read may be the newest copy.
    if (!ReadFileContent(WordsFile, plain) && !FileCertainlyMissing(WordsFile)) return;
    // Records in the plain file are newer than the store: a run that never
    // reached its exit left them there, or another copy is running on them.
    if (!plain.empty() && !startsWithPurgeText(plain)) return;
    // After the purge text come records another copy added once the store was written.
    const std::string added = plain.empty() ? std::string() : plain.substr(kPurgeLength);
    std::string puzzles;
    if (!readStoredPuzzles(puzzles)) return;
    // Without a store and with nothing added the player has no puzzles yet and
    // is given the starters; without readable starters the plain file is left
    // as found.
    if (added.empty() && FileCertainlyMissing(LoadsFile) && !readUnscrambled(StartersFile, puzzles)) return;
    ReplaceFileContent(WordsFile, puzzles += added);
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
    if (SaveAtQuit(LoadsFile, ScrambleStore(puzzles), "puzzles")) ReplaceFileContent(WordsFile, kPurgeText);
}
