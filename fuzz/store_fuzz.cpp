// The store: unscrambling undoes scrambling for any bytes, and a regular exit
// followed by a start gives the plain puzzle file back.
#include "fuzz_files.h"
#include "data/startup_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = StartCase(data, size, &WordsFile);
    if (UnscrambleStore(ScrambleStore(text)) != text) std::abort();
    // A plain file that starts with the purge text holds another copy's additions to a store.
    const std::string purged = "Data purged...";
    if (text.compare(0, purged.size(), purged) == 0) return 0;
    OnExits();
    if (ReadWhole(WordsFile) != purged) std::abort();
    OnLoads();
    if (ReadWhole(WordsFile) != text) std::abort();
    return 0;
}
