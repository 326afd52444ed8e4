// The draw: whatever the puzzle file holds, a game gets the phrase of one of
// its complete records that holds a letter, in phrase strings that agree in
// length and layout; it gets none only when no record holds a letter.
#include "fuzz_files.h"
#include "data/puzzle_file.h"

#include <algorithm>
#include <cctype>
#include <tuple>
#include <vector>

static bool isLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)); }
static bool holdsLetter(const std::string& text) { return std::any_of(text.begin(), text.end(), isLetter); }

// A blank before each character; letters become '_' and '*' in the masks.
static bool laidOut() {
    std::string spaced, dashes, stars;
    for (char c : solveword) {
        spaced += {' ', c};
        dashes += {' ', isLetter(c) ? '_' : c};
        stars += {' ', isLetter(c) ? '*' : c};
    }
    return std::tie(answer, displayword, showdashes, doubledash, buildword) ==
           std::tie(spaced, spaced, dashes, dashes, stars);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = StartCase(data, size, &WordsFile);
    std::vector<std::pair<std::string, std::string>> records;  // the complete records 'phrase;hint:'
    for (std::size_t at = 0, semicolon, colon; (semicolon = text.find(';', at)) != std::string::npos &&
                                               (colon = text.find(':', semicolon + 1)) != std::string::npos;
         at = colon + 1)
        records.emplace_back(text.substr(at, semicolon - at), text.substr(semicolon + 1, colon - semicolon - 1));
    const bool playable = std::any_of(records.begin(), records.end(), [](auto& r) { return holdsLetter(r.first); });
    seedone = 1;  // a seed of the case's own keeps every case reproducible
    std::srand(static_cast<unsigned>(size));
    for (firstrun = 1; firstrun <= 3; ++firstrun) {  // the first game counts the records, later ones do not
        ChooseWord();
        const bool fromFile = std::any_of(records.begin(), records.end(), [](auto& r) {
            return UpperCase(r.first) == solveword && r.second == grabhint;
        });
        if (!laidOut() || (solveword.empty() ? playable : !(fromFile && holdsLetter(solveword)))) std::abort();
    }
    return 0;
}
