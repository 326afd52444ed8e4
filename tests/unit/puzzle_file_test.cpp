// The puzzle file: counting its records, the random draw and the phrase
// strings built from the drawn record.
#include "data/puzzle_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "game_session.h"

namespace {

// ChooseWord on its own, as New Puzzle calls it, against a temporary puzzle file.
class PuzzleFileTest : public ::testing::Test {
protected:
    void SetUp() override { freshRun(); }
    // A new run of the program: no game played, the generator not yet seeded.
    void freshRun() {
        headless_reset();
        ResetSharedState();
        WordsFile = folder.file("MVData.dat");
    }
    // Records "phrase i;hint i:" for i = 0 .. count - 1.
    void writeRecords(int count) {
        std::string records;
        for (int i = 0; i < count; ++i) records += "phrase " + std::to_string(i) + ";hint " + std::to_string(i) + ":";
        folder.write("MVData.dat", records);
    }
    // How often each record was drawn in `games` games, each begun with gRandom at `claimed` if given.
    // A draw past the file's records throws.
    std::vector<int> draws(int games, int records, int claimed = 0) {
        std::vector<int> counts(records);
        for (int game = 0; game < games; ++game) {
            if (claimed) gRandom = claimed;
            ++firstrun;  // New Puzzle counts the game before drawing
            ChooseWord();
            ++counts.at(std::stoi(grabhint.substr(5)));
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

TEST_F(PuzzleFileTest, CompleteRecordsCountedAtTheFirstGameAndAgainWhileNoneAreLeft) {
    const std::pair<const char*, int> files[] = {
        {"Data purged...", 0}, {"big top;a hint", 0}, {"a;b:c;d", 1}, {"a;b:c;", 1}, {"a;b:c;d:", 2}};
    for (const auto& [content, count] : files) {
        folder.write("MVData.dat", content);
        EXPECT_EQ(CountPuzzleRecords(), count) << "'" << content << "'";
    }
    std::remove(WordsFile.c_str());
    EXPECT_EQ(CountPuzzleRecords(), 0) << "missing file";

    writeRecords(3);
    gRandom = 2;  // records stored before the first game
    draws(1, 3);
    writeRecords(6);
    draws(1, 6);
    EXPECT_EQ(gRandom, 3) << "assigned at the first game, kept while records are left";
    for (int left : {0, -2}) {
        gRandom = left;
        draws(1, 6);
        EXPECT_EQ(gRandom, 6) << "gRandom was " << left;
    }
}

TEST_F(PuzzleFileTest, EveryRecordIsDrawnSeededOnceAndNeverOnePastTheFile) {
    std::vector<int> afterSeven;
    for (int records = 1; records <= 5; ++records) {
        SCOPED_TRACE(std::to_string(records) + " records");
        freshRun();
        writeRecords(records);
        draws(1, records);
        std::srand(7);
        afterSeven = draws(300 * records, records);
        for (int count : afterSeven) EXPECT_NEAR(count, 300, 100);  // deviation below 17
        std::srand(7);
        EXPECT_EQ(draws(300 * records, records), afterSeven) << "a later game seeded the generator again";
    }
    freshRun();
    std::srand(7);
    EXPECT_NE(draws(1500, 5), afterSeven) << "the first draw of a run did not seed";
    // The file shrank behind the game's back: gRandom above its count.
    writeRecords(3);
    for (int count : draws(600, 3, 40)) EXPECT_NEAR(count, 200, 70);
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
