// The puzzle file: counting its records, the random draw and the phrase
// strings built from the drawn record.
#include "app/state.h"
#include "data/puzzle_file.h"
#include "game/guessing.h"
#include "game_session.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

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
    // Records "phrase i;hint i:" for i = 0 .. count - 1.
    void writeRecords(int count) {
        std::vector<std::pair<std::string, std::string>> records;
        for (int i = 0; i < count; ++i) records.push_back({"phrase " + std::to_string(i), "hint " + std::to_string(i)});
        writeFile(PuzzleFile(records));
    }
    // One more game: New Puzzle counts it before drawing.
    void newGame() {
        ++firstrun;
        ChooseWord();
    }
    // The hint of each drawn record identifies it ("hint 3" -> 3); -1 for none.
    int drawnRecord() const { return grabhint.empty() ? -1 : std::stoi(grabhint.substr(5)); }
    // The records drawn in `games` games, each begun with gRandom at `claimed` if given.
    std::vector<int> draws(int games, int claimed = 0) {
        std::vector<int> drawn;
        for (int game = 0; game < games; ++game) {
            if (claimed) gRandom = claimed;
            newGame();
            drawn.push_back(drawnRecord());
        }
        return drawn;
    }
    // How often each of the file's records was drawn; a draw past the file throws.
    std::vector<int> counts(const std::vector<int>& drawn, int records) {
        std::vector<int> counts(records);
        for (int record : drawn) ++counts.at(record);
        return counts;
    }

    TempFolder folder;
};

TEST_F(PuzzleFileTest, DrawnRecordBecomesThePhraseStrings) {
    const struct {
        const char* record;
        const char* solve;
        const char* spaced;
        const char* dashes;
        const char* stars;
        const char* hint;
    } cases[] = {
        {"big top;a place for clowns:", "BIG TOP", " B I G   T O P", " _ _ _   _ _ _", " * * *   * * *",
         "a place for clowns"},
        {"act 2!;x:", "ACT 2!", " A C T   2 !", " _ _ _   2 !", " * * *   2 !", "x"},
        // any case in the file gives the same phrase; the hint keeps its case
        {"Big tOP;A Place:", "BIG TOP", " B I G   T O P", " _ _ _   _ _ _", " * * *   * * *", "A Place"},
        // every letter of the alphabet is hidden
        {"Pack my box with FIVE DOZEN liquor jugs;pangram:", "PACK MY BOX WITH FIVE DOZEN LIQUOR JUGS",
         " P A C K   M Y   B O X   W I T H   F I V E   D O Z E N   L I Q U O R   J U G S",
         " _ _ _ _   _ _   _ _ _   _ _ _ _   _ _ _ _   _ _ _ _ _   _ _ _ _ _ _   _ _ _ _",
         " * * * *   * *   * * *   * * * *   * * * *   * * * * *   * * * * * *   * * * *", "pangram"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.record);
        freshRun();
        usedletters = "X ";  // the letter bin of the game before
        writeFile(c.record);
        newGame();
        EXPECT_EQ(solveword, c.solve);
        EXPECT_EQ(answer, c.spaced);
        EXPECT_EQ(displayword, c.spaced);
        EXPECT_EQ(showdashes, c.dashes);
        EXPECT_EQ(doubledash, c.dashes);
        EXPECT_EQ(buildword, c.stars);
        EXPECT_EQ(grabhint, c.hint);
        EXPECT_EQ(usedletters, "");
    }
}

TEST_F(PuzzleFileTest, OnlyCompleteRecordsCount) {
    const std::pair<const char*, int> cases[] = {
        {"", 0},         {"Data purged...", 0}, {"big top", 0},  {"big top;a hint", 0}, {"big top;a hint:", 1},
        {"a;b:c;d", 1},  {"a;b:c;", 1},         {"a;b:c;d:", 2}, {"a;b:\n", 1},  // a hand-edited file's line break
    };
    for (const auto& [content, count] : cases) {
        writeFile(content);
        EXPECT_EQ(CountPuzzleRecords(), count) << "'" << content << "'";
    }
    std::remove(WordsFile.c_str());
    EXPECT_EQ(CountPuzzleRecords(), 0) << "missing file";
}

TEST_F(PuzzleFileTest, CountIsAssignedAtTheFirstGameAndTakenAgainWhileNothingIsLeft) {
    writeRecords(3);
    gRandom = 2;  // records stored before the first game
    newGame();
    EXPECT_EQ(gRandom, 3);

    writeRecords(6);
    newGame();
    EXPECT_EQ(gRandom, 3) << "counted again while records were left";
    for (int left : {0, -2}) {
        gRandom = left;
        newGame();
        EXPECT_NE(drawnRecord(), -1);
        EXPECT_EQ(gRandom, 6) << "gRandom was " << left;
    }
}

TEST_F(PuzzleFileTest, EveryRecordIsDrawnAndNeverOnePastTheFile) {
    for (int records = 1; records <= 5; ++records) {
        SCOPED_TRACE(std::to_string(records) + " records");
        freshRun();
        writeRecords(records);
        newGame();
        std::srand(static_cast<unsigned>(records));  // the rest of the run repeatable
        for (int count : counts(draws(300 * records), records)) EXPECT_NEAR(count, 300, 100);  // deviation below 17
    }

    // The file shrank behind the game's back: gRandom above its count.
    writeRecords(3);
    std::srand(99);
    for (int count : counts(draws(600, 40), 3)) EXPECT_NEAR(count, 200, 70) << "still uniform";
    EXPECT_TRUE(CuesHeard().empty()) << "a draw beeped";
}

TEST_F(PuzzleFileTest, GeneratorIsSeededOnceAtTheFirstDrawOfARun) {
    writeRecords(5);
    newGame();
    std::srand(7);
    const std::vector<int> afterSeven = draws(40);
    std::srand(7);
    EXPECT_EQ(draws(40), afterSeven) << "a later game seeded the generator again";

    freshRun();
    std::srand(7);
    EXPECT_NE(draws(40), afterSeven) << "the first draw of a run did not seed";
}

TEST(ReplaceAll, EndsForEveryPatternAndGoesOnAfterTheInsertedText) {
    std::string text = "aaa";
    EXPECT_EQ(replaceAll(text, "a", "aa"), "aaaaaa");
    EXPECT_EQ(replaceAll(text, "", ""), "aaaaaa");
    EXPECT_EQ(replaceAll(text, "", "*"), "aaaaaa");
}

// ---- UniformIndex with stand-in generators ----

std::vector<int> scripted;
std::size_t scriptedNext;
int nextScripted() { return scripted.at(scriptedNext++); }

TEST(UniformIndex, EveryIndexEquallyOftenOverAFullCycleOfTheGenerator) {
    // Fed every value 0..32767 once, the fair ones fall on each index equally
    // often and the unfair tail is skipped: the value after it gives one more
    // draw of the last index.
    for (int count : {7, 1000, 32767}) {
        SCOPED_TRACE(count);
        scripted.resize(32768);
        std::iota(scripted.begin(), scripted.end(), 0);
        scripted.push_back(count - 1);
        scriptedNext = 0;
        std::vector<int> hits(count);
        while (scriptedNext < scripted.size()) ++hits.at(UniformIndex(count, nextScripted, 32767));
        for (int index = 0; index < count; ++index)
            ASSERT_EQ(hits[index], 32768 / count + (index == count - 1)) << "index " << index;
    }
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
        ASSERT_TRUE(index >= 0 && index < count) << index;
        ++hits[index];
    }
    for (int index : {0, 32767, 32768, 65536, count - 1}) EXPECT_GT(hits[index], 0) << "index " << index;
    long long upperThird = 0;
    for (int index = 2 * 32768; index < count; ++index) upperThird += hits[index];
    EXPECT_NEAR(static_cast<double>(upperThird) / draws, (count - 2.0 * 32768) / count, 0.005);
}

}  // namespace
