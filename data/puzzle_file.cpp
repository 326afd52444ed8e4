#include "data/puzzle_file.h"

#include "app/state.h"
#include "data/file_replace.h"
#include "game/guessing.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <vector>

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

// The first `limit` complete records of `text`: their count, and where each
// one whose phrase holds a letter starts. The others cannot be played.
int findPlayableRecords(const std::string& text, int limit, std::vector<std::size_t>& playable) {
    int count = 0;
    std::size_t semicolon, colon;
    for (std::size_t start = 0; count < limit && FindPuzzleRecord(text, start, semicolon, colon); start = colon + 1) {
        if (HoldsLetter(text.begin() + start, text.begin() + semicolon)) playable.push_back(start);
        ++count;
    }
    return count;
}

void takeRecordAt(const std::string& text, std::size_t start) {
    std::size_t semicolon = 0, colon = 0;
    FindPuzzleRecord(text, start, semicolon, colon);
    answer.assign(text, start, semicolon - start);
    grabhint.assign(text, semicolon + 1, colon - semicolon - 1);
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

bool FindPuzzleRecord(const std::string& text, std::size_t start, std::size_t& semicolon, std::size_t& colon) {
    semicolon = text.find(';', start);
    if (semicolon == std::string::npos) return false;
    colon = text.find(':', semicolon + 1);
    return colon != std::string::npos;
}

bool HoldsLetter(std::string::const_iterator begin, std::string::const_iterator end) {
    return std::find_if(begin, end, [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }) != end;
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
    std::string content;
    if (!ReadFileContent(WordsFile, content)) content.clear();
    // Counted at the first game, and again whenever no record was there to
    // draw from, so a file that appears later is taken in.
    const bool recount = firstrun <= 1 || gRandom <= 0;
    std::vector<std::size_t> playable;
    const int found = findPlayableRecords(content, recount ? INT_MAX : gRandom, playable);
    // Should the file hold fewer records than counted (changed by another
    // program meanwhile), the count follows the file.
    if (recount || found < gRandom) gRandom = found;
    if (playable.empty()) {
        MessageBeep(0);
        return;
    }
    seedOnce();
    takeRecordAt(content, playable[UniformIndex(static_cast<int>(playable.size()), std::rand, RAND_MAX)]);
    preparePhrase();
    maskPhrase();
}
