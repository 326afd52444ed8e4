// The puzzle file: the record count, the draw among the playable records and the phrase strings built from it.
#include "data/puzzle_file.h"

#include "game_session.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <tuple>
#include <vector>

namespace {

class PuzzleFileTest : public ::testing::Test {
protected:
    void SetUp() override { freshRun(); }
    // A new run of the program: no game played, the generator not yet seeded.
    void freshRun() {
        headless_reset();
        ResetSharedState();
        WordsFile = folder.file("MVData.dat");
    }
    // Records "phrase i;i:" for i = 0 .. count - 1; with `unplayable`, every third phrase holds no letter.
    void writeRecords(int count, bool unplayable = false) {
        std::string records;
        for (int i = 0; i < count; ++i)
            records += (unplayable && i % 3 == 1 ? "20 24!" : "phrase") + std::string(";") + std::to_string(i) + ":";
        folder.write("MVData.dat", records);
    }
    // How often each of `records` records was drawn in `games` New Puzzles.
    std::vector<int> draws(int games, int records) {
        std::vector<int> counts(records);
        for (int game = 0; game < games; ++game) {
            ++firstrun;  // New Puzzle counts the game before drawing
            ChooseWord();
            ++counts.at(std::stoi(grabhint));
        }
        return counts;
    }
    TempFolder folder;
};

TEST_F(PuzzleFileTest, DrawnRecordBecomesThePhraseStrings) {
    const std::pair<const char*, const char*> cases[] = {
        {"big top;a place for clowns:",
         "BIG TOP| B I G   T O P| B I G   T O P| _ _ _   _ _ _| _ _ _   _ _ _| * * *   * * *|a place for clowns|"},
        {"act 2!;x:", "ACT 2!| A C T   2 !| A C T   2 !| _ _ _   2 !| _ _ _   2 !| * * *   2 !|x|"},
    };
    for (const auto& [record, strings] : cases) {
        freshRun();
        usedletters = "X ";  // the letter bin of the game before
        folder.write("MVData.dat", record);
        ++firstrun;
        ChooseWord();
        EXPECT_EQ(solveword + "|" + answer + "|" + displayword + "|" + showdashes + "|" + doubledash + "|" + buildword +
                      "|" + grabhint + "|" + usedletters,
                  strings);
    }
}

// gRandom holds the complete records, playable or not; nothing is drawn from a file without a playable one.
TEST_F(PuzzleFileTest, CompleteRecordsCountedAtTheFirstGameAndAgainWhileNoneAreLeft) {
    const std::tuple<const char*, int, bool> files[] = {  // content, records, one playable
        {"Data purged...", 0, false}, {"big top;a hint", 0, false}, {"a;b:c;d", 1, true},
        {"a;b:c;", 1, true},          {"20 24;b:?!;d:", 2, false},  {";b:  ;d:a;x:", 3, true}};
    for (const auto& [content, count, playable] : files) {
        freshRun();
        folder.write("MVData.dat", content);
        ++firstrun;
        ChooseWord();
        EXPECT_EQ(std::make_pair(gRandom, solveword.empty()), std::make_pair(count, !playable)) << "'" << content << "'";
    }
    writeRecords(6);
    draws(1, 6);
    writeRecords(3);
    draws(300, 3);
    EXPECT_EQ(gRandom, 3) << "the count did not follow a file that shrank";
    writeRecords(6);
    draws(1, 6);
    EXPECT_EQ(gRandom, 3) << "recounted at a later game";
    gRandom = -2;
    draws(1, 6);
    EXPECT_EQ(gRandom, 6) << "not recounted when none were left";
}

TEST_F(PuzzleFileTest, EveryPlayableRecordIsDrawnAlikeSeededOnceAndNoOtherEver) {
    std::vector<int> afterSeven;
    for (int records = 1; records <= 6; ++records) {
        SCOPED_TRACE(std::to_string(records) + " records");
        freshRun();
        writeRecords(records, true);
        draws(1, records);
        std::srand(7);
        afterSeven = draws(300 * records, records);
        const int playable = records - (records + 1) / 3;  // those of i % 3 == 1 hold no letter
        for (int i = 0; i < records; ++i) EXPECT_NEAR(afterSeven[i], i % 3 == 1 ? 0 : 300 * records / playable, 100) << i;
        std::srand(7);
        EXPECT_EQ(draws(300 * records, records), afterSeven) << "a later game seeded the generator again";
    }
    freshRun();
    std::srand(7);
    EXPECT_NE(draws(1800, 6), afterSeven) << "the first draw of a run did not seed";
}

std::mt19937 fifteenBits(2024);
int nextFifteenBits() { return static_cast<int>(fifteenBits() & 0x7fff); }

TEST(UniformIndex, ReachesEveryRecordWhenThereAreMoreThanTheGeneratorGives) {
    // RAND_MAX is 32767 on Windows: a file of more records must still have each drawn.
    const int count = 3 * 32768 + 5;
    std::vector<int> hits(count);
    for (int i = 0; i < 2000000; ++i) ++hits.at(UniformIndex(count, nextFifteenBits, 32767));
    for (int index : {0, 32767, 32768, 65536, count - 1}) EXPECT_GT(hits[index], 0) << "index " << index;
}

}  // namespace
