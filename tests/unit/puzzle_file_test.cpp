// The puzzle file: reading records, counting them, the random draw and the
// phrase strings built from the drawn record.
#include "app/state.h"
#include "data/puzzle_file.h"
#include "game/guessing.h"
#include "game_session.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::pair<std::string, std::string>> numberedRecords(int count) {
    std::vector<std::pair<std::string, std::string>> records;
    for (int i = 0; i < count; ++i) records.push_back({"phrase " + std::to_string(i), "hint " + std::to_string(i)});
    return records;
}

// ChooseWord on its own, as New Puzzle calls it, against a puzzle file in a
// temporary folder.
class PuzzleFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        headless_reset();
        freshRun();
    }
    // A new run of the program: no game played, the generator not yet seeded.
    void freshRun() {
        ResetSharedState();
        WordsFile = folder.file("MVData.dat");
    }
    void writeFile(const std::string& content) { folder.write("MVData.dat", content); }
    void writeRecords(int count) { writeFile(PuzzleFile(numberedRecords(count))); }
    // One more game: New Puzzle counts it before drawing.
    void newGame() {
        ++firstrun;
        ChooseWord();
    }
    // The hint of each drawn record identifies it ("hint 3" -> 3); -1 for none.
    int drawnRecord() { return grabhint.empty() ? -1 : std::stoi(grabhint.substr(5)); }
    std::vector<int> drawSequence(int games) {
        std::vector<int> drawn;
        for (int i = 0; i < games; ++i) {
            newGame();
            drawn.push_back(drawnRecord());
        }
        return drawn;
    }
    int beeps() {
        int count = 0;
        for (int cue : CuesHeard()) count += cue == -1;
        return count;
    }
    void expectNothingDrawn(const std::string& label) {
        for (const std::string* text :
             {&answer, &displayword, &solveword, &showdashes, &doubledash, &buildword, &grabhint, &usedletters})
            EXPECT_EQ(*text, "") << label;
    }

    TempFolder folder;
};

struct PhraseCase {
    const char* record;
    const char* solve;
    const char* spaced;
    const char* dashes;
    const char* stars;
    const char* hint;
};

TEST_F(PuzzleFileTest, DrawnRecordBecomesThePhraseStrings) {
    const PhraseCase cases[] = {
        {"big top;a place for clowns:", "BIG TOP", " B I G   T O P", " _ _ _   _ _ _", " * * *   * * *",
         "a place for clowns"},
        {"act 2!;x:", "ACT 2!", " A C T   2 !", " _ _ _   2 !", " * * *   2 !", "x"},
        // any case in the file gives the same phrase; the hint keeps its case
        {"Big tOP;A Place:", "BIG TOP", " B I G   T O P", " _ _ _   _ _ _", " * * *   * * *", "A Place"},
        // every letter of the alphabet, in both cases
        {"Pack my box with FIVE DOZEN liquor jugs;pangram:", "PACK MY BOX WITH FIVE DOZEN LIQUOR JUGS",
         " P A C K   M Y   B O X   W I T H   F I V E   D O Z E N   L I Q U O R   J U G S",
         " _ _ _ _   _ _   _ _ _   _ _ _ _   _ _ _ _   _ _ _ _ _   _ _ _ _ _ _   _ _ _ _",
         " * * * *   * *   * * *   * * * *   * * * *   * * * * *   * * * * * *   * * * *", "pangram"},
        // characters beyond the 26 letters are neither upper-cased nor hidden
        {"caf\xe9 ol\xe9;\xe9t\xe9:", "CAF\xe9 OL\xe9", " C A F \xe9   O L \xe9", " _ _ _ \xe9   _ _ \xe9",
         " * * * \xe9   * * \xe9", "\xe9t\xe9"},
        // white space is part of the phrase and the hint
        {" a\nb ;  two words :", " A\nB ", "   A \n B  ", "   _ \n _  ", "   * \n *  ", "  two words "},
    };
    for (const PhraseCase& c : cases) {
        freshRun();
        usedletters = "X ";
        letter = "q";
        writeFile(c.record);
        newGame();
        SCOPED_TRACE(c.record);
        EXPECT_EQ(solveword, c.solve);
        EXPECT_EQ(answer, c.spaced);
        EXPECT_EQ(displayword, c.spaced);
        EXPECT_EQ(showdashes, c.dashes);
        EXPECT_EQ(doubledash, c.dashes);
        EXPECT_EQ(buildword, c.stars);
        EXPECT_EQ(grabhint, c.hint);
        EXPECT_EQ(usedletters, "");
        EXPECT_EQ(letter, "");
        EXPECT_EQ(gRandom, 1);
    }
    EXPECT_EQ(beeps(), 0);
}

TEST_F(PuzzleFileTest, OnlyCompleteRecordsCount) {
    const std::pair<const char*, int> cases[] = {
        {"", 0},
        {"Data purged...", 0},
        {"big top", 0},
        {"big top;a hint", 0},
        {"big top;a hint:", 1},
        {";:", 1},
        {"a;b:c;d:", 2},
        {"a;b:c;d", 1},   // the last record lacks its ':'
        {"a;b:c;", 1},
        {"a;b:c", 1},
        {"a;b:c;d:e;f:g;h:", 4},
        {"a;b:\n", 1},    // a trailing line break of a hand-edited file
    };
    for (const auto& [content, count] : cases) {
        writeFile(content);
        EXPECT_EQ(CountPuzzleRecords(), count) << "'" << content << "'";
    }
    std::remove(WordsFile.c_str());
    EXPECT_EQ(CountPuzzleRecords(), 0) << "missing file";
}

TEST_F(PuzzleFileTest, ReaderStopsAtTheFirstIncompleteRecord) {
    std::istringstream in("one;first:two;sec");
    std::string phrase, hint;
    ASSERT_TRUE(ReadPuzzleRecord(in, phrase, hint));
    EXPECT_EQ(phrase, "one");
    EXPECT_EQ(hint, "first");
    EXPECT_FALSE(ReadPuzzleRecord(in, phrase, hint));
}

TEST_F(PuzzleFileTest, NothingToDrawBeepsAndLeavesTheStringsEmpty) {
    const std::pair<const char*, const char*> cases[] = {
        {"empty", ""},
        {"purged", "Data purged..."},
        {"no complete record", "big top;a place for clowns"},
        {"missing", nullptr},
    };
    for (const auto& [label, content] : cases) {
        freshRun();
        headless_clear_logs();
        if (content)
            writeFile(content);
        else
            std::remove(WordsFile.c_str());
        answer = "stale";
        grabhint = "stale";
        newGame();
        expectNothingDrawn(label);
        EXPECT_EQ(gRandom, 0) << label;
        EXPECT_EQ(beeps(), 1) << label;
        EXPECT_EQ(seedone, 0) << label << ": seeded without a draw";
    }
}

TEST_F(PuzzleFileTest, CountIsTakenAtTheFirstGameAndWhileNothingIsLeft) {
    // Records stored before the first game already moved gRandom; the first
    // game sets it to the file's count rather than adding to it.
    writeRecords(3);
    gRandom = 2;
    newGame();
    EXPECT_EQ(gRandom, 3);

    // Later games trust gRandom while it is positive ...
    writeRecords(6);
    newGame();
    EXPECT_EQ(gRandom, 3);

    // ... and count again once it has dropped to 0 or below.
    for (int left : {0, -2}) {
        gRandom = left;
        newGame();
        EXPECT_EQ(gRandom, 6) << "gRandom was " << left;
        EXPECT_NE(drawnRecord(), -1);
    }

    // A file that was missing at the first game is taken in once it exists.
    freshRun();
    std::remove(WordsFile.c_str());
    newGame();
    EXPECT_EQ(gRandom, 0);
    writeRecords(2);
    newGame();
    EXPECT_EQ(gRandom, 2);
    EXPECT_NE(drawnRecord(), -1);
}

TEST_F(PuzzleFileTest, DrawNeverGoesPastTheLastRecord) {
    // gRandom above the file's count (the file shrank behind the game's back):
    // every game still draws one of the records really there.
    writeRecords(3);
    newGame();
    std::srand(99);
    int draws[3] = {};
    for (int game = 0; game < 600; ++game) {
        gRandom = 40;
        newGame();
        ASSERT_GE(drawnRecord(), 0) << "game " << game;
        ASSERT_LE(drawnRecord(), 2) << "game " << game;
        ++draws[drawnRecord()];
        EXPECT_EQ(solveword, "PHRASE " + std::to_string(drawnRecord()));
    }
    for (int record = 0; record < 3; ++record)  // still uniform: 200 expected each
        EXPECT_NEAR(draws[record], 200, 70) << "record " << record;
    EXPECT_EQ(beeps(), 0);
}

TEST_F(PuzzleFileTest, EveryRecordIsDrawnFromSmallFiles) {
    for (int records = 1; records <= 5; ++records) {
        freshRun();
        writeRecords(records);
        newGame();
        EXPECT_EQ(gRandom, records);
        std::srand(static_cast<unsigned>(records));  // the rest of the run repeatable
        std::map<int, int> draws;
        const int games = 300 * records;
        for (int record : drawSequence(games)) ++draws[record];
        ASSERT_EQ(draws.size(), static_cast<std::size_t>(records)) << records << " records";
        EXPECT_EQ(draws.begin()->first, 0) << "first record never drawn";
        EXPECT_EQ(draws.rbegin()->first, records - 1) << "last record never drawn";
        for (const auto& [record, count] : draws)  // 300 expected, standard deviation below 17
            EXPECT_NEAR(count, 300, 100) << "record " << record << " of " << records;
    }
}

TEST_F(PuzzleFileTest, GeneratorIsSeededFromTheClockOnceAtTheFirstDraw) {
    writeRecords(5);
    EXPECT_EQ(seedone, 0);

    // Reference: the draws that follow a given seed.
    newGame();
    EXPECT_EQ(seedone, 1);
    std::srand(7);
    const std::vector<int> afterSeven = drawSequence(40);
    std::srand(7);
    EXPECT_EQ(drawSequence(40), afterSeven) << "a later game seeded the generator again";
    std::srand(8);
    EXPECT_NE(drawSequence(40), afterSeven) << "draws do not follow the generator";

    // A fresh run seeds at its first draw, whatever state the generator was in.
    freshRun();
    std::srand(7);
    EXPECT_NE(drawSequence(40), afterSeven) << "the first draw of a run did not seed";
    EXPECT_EQ(seedone, 1);
}

TEST(MaskingHelpers, FindCharAndReplaceAll) {
    ResetSharedState();
    std::string spaced = " B I G   T O P";
    for (const auto& [sought, expected] : {std::pair<const char*, int>{"P", 1}, {" B", 1}, {"b", 0}, {"X", 0}}) {
        found = 1 - expected;
        FindChar(spaced, sought);
        EXPECT_EQ(found, expected) << sought;
    }
    EXPECT_EQ(spaced, " B I G   T O P");

    std::string text = "abc";
    EXPECT_EQ(replaceAll(text, "", ""), "abc") << "an empty pattern replaces nothing and ends";
    EXPECT_EQ(replaceAll(text, "", "*"), "abc");
}

// ---- UniformIndex with stand-in generators ----

std::vector<int> scripted;
std::size_t scriptedNext;
int nextScripted() { return scripted.at(scriptedNext++); }
void script(std::vector<int> values) {
    scripted = std::move(values);
    scriptedNext = 0;
}

TEST(UniformIndex, EveryIndexEquallyOftenOverAFullCycleOfTheGenerator) {
    // Fed every value 0..32767 once, the fair ones fall on each index equally
    // often, and the unfair tail is drawn again as a whole.
    for (int count : {3, 7, 1000, 32767, 32768}) {
        const int fairLimit = 32768 - 32768 % count;
        std::vector<int> all(32768);
        for (int v = 0; v < 32768; ++v) all[v] = v;
        script(all);
        std::vector<int> hits(count);
        for (int call = 0; call < fairLimit; ++call) ++hits[UniformIndex(count, nextScripted, 32767)];
        ASSERT_EQ(scriptedNext, static_cast<std::size_t>(fairLimit)) << "a fair value was dropped, count " << count;
        for (int index = 0; index < count; ++index)
            ASSERT_EQ(hits[index], 32768 / count) << "index " << index << " of " << count;

        std::vector<int> tail(all.begin() + fairLimit, all.end());
        tail.push_back(count - 1);
        script(tail);
        EXPECT_EQ(UniformIndex(count, nextScripted, 32767), count - 1);
        EXPECT_EQ(scriptedNext, tail.size()) << "count " << count;
    }
}

TEST(UniformIndex, CombinesDrawsBeyondTheGeneratorRange) {
    // A one-bit generator: three bits make 8 values, 5 of them fair for 5 indices.
    std::set<int> indices;
    int accepted = 0;
    for (int value = 0; value < 8; ++value) {
        script({(value >> 2) & 1, (value >> 1) & 1, value & 1, 0, 0, 0});
        int index = UniformIndex(5, nextScripted, 1);
        if (scriptedNext == 3) {
            ++accepted;
            indices.insert(index);
        }
    }
    EXPECT_EQ(accepted, 5);
    EXPECT_EQ(indices, (std::set<int>{0, 1, 2, 3, 4}));
}

std::mt19937 fifteenBits(2024);
int nextFifteenBits() { return static_cast<int>(fifteenBits() & 0x7fff); }

TEST(UniformIndex, ReachesEveryRecordWhenThereAreMoreThanTheGeneratorGives) {
    // RAND_MAX is 32767 on Windows: a file of more records must still have each drawn.
    const int count = 3 * 32768 + 5;
    const int draws = 2000000;
    std::vector<int> hits(count);
    for (int i = 0; i < draws; ++i) {
        int index = UniformIndex(count, nextFifteenBits, 32767);
        ASSERT_GE(index, 0);
        ASSERT_LT(index, count);
        ++hits[index];
    }
    for (int index = 32760; index < 32780; ++index) EXPECT_GT(hits[index], 0) << "index " << index;
    EXPECT_GT(hits[0], 0);
    EXPECT_GT(hits[count - 1], 0) << "top index";
    long long upperThird = 0;
    for (int index = 2 * 32768; index < count; ++index) upperThird += hits[index];
    EXPECT_NEAR(static_cast<double>(upperThird) / draws, (count - 2.0 * 32768) / count, 0.005);
}

}  // namespace
