#include "data/puzzle_file.h"

#include "app/state.h"
#include "data/file_replace.h"
#include "game/guessing.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

// Bit i is set when byte at + i of the text is ';' or ':' (the two differ in
// the lowest bit only). Sixteen bytes at a time; past the end there are none.
unsigned separatorMask(const std::string& text, std::size_t at) {
    char tail[16] = {};
    const char* bytes = text.data() + at;
    if (text.size() - at < sizeof tail) bytes = static_cast<const char*>(std::memcpy(tail, bytes, text.size() - at));
#ifdef __SSE2__
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    return static_cast<unsigned>(
        _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_or_si128(block, _mm_set1_epi8(1)), _mm_set1_epi8(';'))));
#else
    unsigned mask = 0;
    for (unsigned i = 0; i < 16; ++i) mask |= unsigned((bytes[i] | 1) == ';') << i;
    return mask;
#endif
}

// Walks the complete records 'phrase;hint:' of `text` from the start, at most
// `limit` of them, calling visit(number, start, semicolon, colon) for each
// until it returns true. Returns how many were walked.
template <typename Visit>
int walkRecords(const std::string& text, int limit, Visit visit) {
    int walked = 0;
    std::size_t start = 0, semicolon = std::string::npos;
    for (std::size_t block = 0; block < text.size() && walked < limit; block += 16) {
        for (unsigned mask = separatorMask(text, block); mask != 0; mask &= mask - 1) {
            const std::size_t at = block + static_cast<std::size_t>(__builtin_ctz(mask));
            if (semicolon == std::string::npos) {
                if (text[at] == ';') semicolon = at;  // a ':' before it belongs to the phrase
            } else if (text[at] == ':') {  // a ';' before it belongs to the hint
                if (visit(walked++, start, semicolon, at) || walked == limit) return walked;
                start = at + 1;
                semicolon = std::string::npos;
            }
        }
    }
    return walked;
}

bool noStop(int, std::size_t, std::size_t, std::size_t) { return false; }

bool playable(const std::string& text, std::size_t start, std::size_t semicolon) {
    return HoldsLetter(text.begin() + start, text.begin() + semicolon);
}

void takeRecord(const std::string& text, std::size_t start, std::size_t semicolon, std::size_t colon) {
    answer.assign(text, start, semicolon - start);
    grabhint.assign(text, semicolon + 1, colon - semicolon - 1);
}

// Draws among the playable records of the first gRandom. A record drawn among
// all of them is taken when playable, as nearly all are; else the draw is
// made again among the playable ones alone. Each playable record has the same
// chance either way, and most draws walk only part of the file.
bool drawRecord(const std::string& text) {
    if (gRandom <= 0) return false;
    seedOnce();
    const int drawn = UniformIndex(gRandom, std::rand, RAND_MAX);
    bool taken = false;
    const int walked = walkRecords(text, drawn + 1, [&](int number, std::size_t start, std::size_t semicolon,
                                                         std::size_t colon) {
        if (number < drawn || !playable(text, start, semicolon)) return false;
        takeRecord(text, start, semicolon, colon);
        return taken = true;
    });
    if (taken) return true;
    // Fewer records than counted: another program changed the file meanwhile, and the count follows it.
    if (walked <= drawn) gRandom = walked;
    int playableRecords = 0;
    walkRecords(text, gRandom, [&](int, std::size_t start, std::size_t semicolon, std::size_t) {
        playableRecords += playable(text, start, semicolon);
        return false;
    });
    if (playableRecords == 0) return false;
    int skip = UniformIndex(playableRecords, std::rand, RAND_MAX);
    walkRecords(text, gRandom, [&](int, std::size_t start, std::size_t semicolon, std::size_t colon) {
        if (!playable(text, start, semicolon) || skip-- > 0) return false;
        takeRecord(text, start, semicolon, colon);
        return true;
    });
    return true;
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
    if (firstrun <= 1 || gRandom <= 0) gRandom = walkRecords(content, INT_MAX, noStop);
    if (drawRecord(content)) {
        preparePhrase();
        maskPhrase();
    } else {
        clearPuzzleStrings();
        MessageBeep(0);
    }
}
