// The puzzle file through New Puzzle and the puzzle console, driven through the real window procedure.
#include "data/puzzle_file.h"
#include "game_session.h"
#include "resource.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <random>

namespace {

const std::string kThree =
    PuzzleFile({{"big top", "a place for clowns"}, {"lion", "king of the ring"}, {"juggler", "keeps balls up"}});
const char kUnlocked[] = "Disable_Console= 0\nDisable_VCCntls= 0";

// Records numbered by their hints; those numbered 1 and 4 hold no letter.
const std::string kNumbered3 = "phrase;0:20 24!;1:phrase;2:", kNumbered6 = kNumbered3 + "phrase;3:20 24!;4:phrase;5:";

class Puzzles : public ::testing::Test {
protected:
    // A new run on `file` that plays its first game, which counts the records.
    void start(const std::string& file = kThree, const char* config = kUnlocked) {
        folder.write("MVC_CONFIG.INI", config);
        chmod(folder.file("MVData.dat").c_str(), 0644);
        folder.write("MVData.dat", file);
        StartFreshProcess(folder);
        StartUpWithoutLoop();
        Press(IDC_NEW_PUZZLE);
        headless_clear_logs();
    }
    // The phrase and hint fields, the record count and the cues heard since the last look.
    std::string seen() {
        std::string cues;
        for (int cue : CuesHeard()) cues += ' ' + std::to_string(cue);
        headless_clear_logs();
        return TextOf(IDC_PHRASE_EDIT) + '|' + TextOf(IDC_HINT_EDIT) + '|' + std::to_string(gRandom) + cues;
    }
    // How often each of `count` records was drawn in `games` New Puzzles.
    std::vector<int> draws(int games, int count) {
        std::vector<int> drawn(count);
        for (int game = 0; game < games; ++game) {
            Press(IDC_NEW_PUZZLE);
            ++drawn.at(std::stoi(grabhint));
        }
        return drawn;
    }
    TempFolder folder;
};

// gRandom holds the complete records, playable or not; with no playable one New Puzzle starts no game.
TEST_F(Puzzles, NewPuzzleCountsTheRecordsAtTheFirstGameAndAgainWhileNoneAreLeftAndBuildsThePhraseStrings) {
    const std::tuple<const char*, int, bool> files[] = {  // content, records, one playable
        {"Data purged...", 0, false}, {"big top;a hint", 0, false}, {"a;b:c;d", 1, true},
        {"a;b:c;", 1, true},          {"20 24;b:?!;d:", 2, false},  {";b:  ;d:a;x:", 3, true}};
    for (const auto& [content, count, playable] : files) {
        start(content);
        EXPECT_EQ(std::make_pair(gRandom, gameRunning), std::make_pair(count, int(playable))) << "'" << content << "'";
    }
    start(kNumbered6);
    const std::tuple<int, int, int> later[] = {{3, 6, 3}, {6, 3, 3}, {6, -2, 6}};  // file, gRandom before and after
    for (const auto& [records, before, after] : later) {
        folder.write("MVData.dat", records == 3 ? kNumbered3 : kNumbered6);
        gRandom = before;  // a file that shrank is followed, else a count of none left is redone
        draws(300, records);
        EXPECT_EQ(gRandom, after) << records << " records, gRandom was " << before;
    }
    start("act 2!;a hint:");
    EXPECT_EQ(displayword + "|" + showdashes + "|" + buildword + "|" + grabhint,
              " A C T   2 !| _ _ _   2 !| * * *   2 !|a hint");
}

// RAND_MAX is 32767 on Windows: a file of more records must still have each of them drawn.
TEST_F(Puzzles, EveryPlayableRecordIsDrawnAlikeAndNoOtherEverWithTheGeneratorSeededOnce) {
    start(kNumbered6);
    std::srand(7);
    const std::vector<int> afterSeven = draws(1800, 6);
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(afterSeven[i], i % 3 == 1 ? 0 : 450, 100) << "record " << i;
    std::srand(7);
    EXPECT_EQ(draws(1800, 6), afterSeven) << "a later game seeded the generator again";
    static std::mt19937 bits(2024);
    const int many = 3 * 32768 + 5;
    std::vector<int> hits(many);
    for (int i = 0; i < 2000000; ++i) ++hits.at(UniformIndex(many, [] { return int(bits() & 0x7fff); }, 32767));
    for (int index : {0, 32767, 32768, 65536, many - 1}) EXPECT_GT(hits[index], 0) << "index " << index;
}

// With both locks on, as the default configuration has them, Add still works; the console command beeps.
TEST_F(Puzzles, AddStoresTheLowerCasedRecordOrRefusesWithABeepKeepingTheFields) {
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {  // typed, stored, seen
        {"Big Top", "A place for clowns", "big top;A place for clowns:", "||4 4450 -1"},
        {"Big Top", "", "big top;no hint available:", "||4 4450 -1"},
        {"a;b", "hint", "", "a;b|hint|3 4450 -1 -1"},  // a separator would split the record
        {"ab", "x;y", "", "ab|x;y|3 4450 -1 -1"},
        {"", "a hint", "", "|a hint|3 4450 -1 -1"},
        {"2024!", "a year", "", "2024!|a year|3 4450 -1 -1"},  // no letter to guess: won at the first click
    };
    for (const auto& [phrase, hint, stored, heard] : cases) {
        start(kThree, "Disable_Console= 1\nDisable_VCCntls= 1");
        headless_type(hEditWord, phrase);
        headless_type(hEditHint, hint);
        Press(IDC_ADD_PUZZLE);
        Press(IDC_CONSOLE);
        EXPECT_EQ(folder.read("MVData.dat") + " / " + seen(), kThree + stored + " / " + heard);
        EXPECT_FALSE(Shown(hWnd));
    }
}

// Review pages through the file; a pass ends after the last record or at a New Puzzle. Delete cuts the record
// shown; records without a letter, or unfinished, are shown and deleted like any other, and only complete ones
// are counted. Windows will not replace a read-only file: then nothing changes and the next Review says so.
TEST_F(Puzzles, ReviewPagesThroughTheFileAndDeleteRewritesItWithoutTheShownRecordOrKeepsItWhole) {
    const int R = IDC_REVIEW;
    const std::string first = "big top|a place for clowns", done = "Resetting Puzzle Viewer...";
    const std::string lastTwo = PuzzleFile({{"lion", "king of the ring"}, {"juggler", "keeps balls up"}});
    const std::string firstAndLast = PuzzleFile({{"big top", "a place for clowns"}, {"juggler", "keeps balls up"}});
    using Case = std::tuple<std::string, const char*, std::vector<int>, bool, std::string, std::string, std::string>;
    const Case cases[] = {  // file, configuration, commands, read-only; shown, Delete seen, file, next Review shows
        {kThree, kUnlocked, {R, R}, false, "lion|king of the ring", "||2 4450", firstAndLast + done},
        {kThree, kUnlocked, {R, R}, true, "lion|king of the ring", "||3 4450 -1", kThree + "Puzzle not deleted..."},
        {kThree, kUnlocked, {R, R, R, R}, false, done + "|", done + "||3 -1", kThree + "big top"},
        {kThree, kUnlocked, {R, R, R, R, R}, false, first, "||2 4450", lastTwo + done},
        {kThree, kUnlocked, {R, R, IDC_NEW_PUZZLE, R}, false, first, "||2 4450", lastTwo + done},
        {kThree + "2024!;a year:", kUnlocked, {R, R, R, R}, false, "2024!|a year", "||3 4450", kThree + done},
        {kThree + "clowns;red no", kUnlocked, {R, R, R, R}, false, "clowns|red no", "||3 4450", kThree + done},
        {kThree, "Disable_Console= 0\nDisable_VCCntls= 1", {R, R}, false, "|", "||3 -1", kThree},
    };
    for (const auto& [file, config, commands, readOnly, shown, heard, after] : cases) {
        start(file, config);
        Press(IDC_CONSOLE);
        for (int command : commands) Press(command);
        if (readOnly) chmod(folder.file("MVData.dat").c_str(), 0444);
        const std::string before = TextOf(IDC_PHRASE_EDIT) + '|' + TextOf(IDC_HINT_EDIT);
        headless_clear_logs();
        Press(IDC_DELETE);
        const auto deleted = seen() + (folder.exists("MVData.dat.tmp") ? " left" : "") + (Shown(hWnd) ? "" : " hidden");
        Press(R);
        EXPECT_EQ(before + " / " + deleted + " / " + folder.read("MVData.dat") + TextOf(IDC_PHRASE_EDIT),
                  shown + " / " + heard + " / " + after) << file << config << ", commands: " << commands.size();
    }
}

}  // namespace
