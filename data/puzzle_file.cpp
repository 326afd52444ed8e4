#include "data/puzzle_file.h"

#include "app/counters.h"
#include "app/state.h"
#include "game/guessing.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <fstream>

namespace {

void clearPuzzleStrings() {
    for (std::string* text : {&buildword, &showdashes, &displayword, &answer, &usedletters, &grabhint, &solveword,
                              &doubledash})
        text->clear();
}

void seedOnce() {
    if (seedone != 0) return;
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    seedone = 1;
}

// Reads records up to the one at `index` into answer and grabhint. Returns how
// many complete records were read: index + 1 when the record was there.
int readRecordAt(int index) {
    std::ifstream in(WordsFile);
    std::string phrase, hint;
    int read = 0;
    while (read <= index && ReadPuzzleRecord(in, phrase, hint)) ++read;
    if (read == index + 1) {
        answer = phrase;
        grabhint = hint;
    }
    return read;
}

// Draws one of the gRandom records. Should the file hold fewer records than
// counted (changed by another program meanwhile), the count follows the file
// and the draw is made again among the records really there.
bool drawRecord() {
    while (gRandom > 0) {
        seedOnce();
        int index = UniformIndex(gRandom, std::rand, RAND_MAX);
        int read = readRecordAt(index);
        if (read == index + 1) return true;
        gRandom = read;
    }
    return false;
}

// Upper case, with one blank before every character: 'Big top' -> ' B I G   T O P'.
void preparePhrase() {
    answer = UpperCase(answer);
    solveword += answer;
    std::string spaced;
    spaced.reserve(answer.size() * 2);
    for (char c : answer) {
        spaced += ' ';
        spaced += c;
    }
    answer = spaced;
    buildword += answer;
    showdashes += answer;
    displayword += answer;
}

void maskPhrase() {
    for (char c : alpha) {
        if (c == '#') break;
        letter = std::string(1, c);
        replaceAll(buildword, letter, "*");
        replaceAll(showdashes, letter, "_");
    }
    letter.clear();
    doubledash = showdashes;
}

}  // namespace

std::string UpperCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool ReadPuzzleRecord(std::istream& in, std::string& phrase, std::string& hint) {
    // getline sets eof when the text ends before the separator was found.
    if (!std::getline(in, phrase, ';') || in.eof()) return false;
    if (!std::getline(in, hint, ':') || in.eof()) return false;
    return true;
}

int CountPuzzleRecords() {
    std::ifstream in(WordsFile);
    std::string phrase, hint;
    int count = 0;
    while (ReadPuzzleRecord(in, phrase, hint)) AddSaturated(count, 1);
    return count;
}

int UniformIndex(int count, int (*nextRandom)(), long long randMax) {
    const std::uint64_t span = static_cast<std::uint64_t>(randMax) + 1;
    for (;;) {
        std::uint64_t value = static_cast<std::uint64_t>(nextRandom());
        std::uint64_t range = span;
        while (range < static_cast<std::uint64_t>(count)) {
            value = value * span + static_cast<std::uint64_t>(nextRandom());
            range *= span;
        }
        std::uint64_t fairLimit = range - range % static_cast<std::uint64_t>(count);
        if (value < fairLimit) return static_cast<int>(value % static_cast<std::uint64_t>(count));
    }
}

void ChooseWord() {
    clearPuzzleStrings();
    // Counted by assignment at the first game, and again whenever no record
    // was there to draw from, so a file that appears later is taken in.
    if (firstrun <= 1 || gRandom <= 0) gRandom = CountPuzzleRecords();
    if (drawRecord() && !answer.empty()) {
        preparePhrase();
        maskPhrase();
    } else {
        clearPuzzleStrings();
        MessageBeep(0);
    }
}
