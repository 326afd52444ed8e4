// The puzzle console driven through the real window procedure.
#include "game_session.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/stat.h>

namespace {

const int kClick = IDW_CLICK;
const int kBeep = -1;
const char kUnlocked[] = "Disable_Console= 0\nDisable_VCCntls= 0";
const std::string kThree =
    PuzzleFile({{"big top", "a place for clowns"}, {"lion", "king of the ring"}, {"juggler", "keeps balls up"}});
const std::string kFirstAndThird = PuzzleFile({{"big top", "a place for clowns"}, {"juggler", "keeps balls up"}});
const char kPassEnded[] = "Resetting Puzzle Viewer...";

using Fields = std::pair<std::string, std::string>;  // phrase, hint
const Fields kFirst{"big top", "a place for clowns"}, kEmpty;

class PuzzleConsole : public ::testing::Test {
protected:
    // A first game is played: it counts the records of the file.
    void start(const std::string& puzzles, const std::string& config = kUnlocked) {
        folder.write("MVC_CONFIG.INI", config);
        folder.write("MVData.dat", puzzles);
        StartFreshProcess(folder);
        StartUpWithoutLoop();
        Press(IDC_NEW_PUZZLE);
        headless_clear_logs();
    }
    void review(int times = 1) {
        for (int i = 0; i < times; ++i) Press(IDC_REVIEW);
    }
    void type(const std::string& phrase, const std::string& hint) {
        headless_type(hEditWord, phrase);
        headless_type(hEditHint, hint);
    }
    Fields fields() { return {TextOf(IDC_PHRASE_EDIT), TextOf(IDC_HINT_EDIT)}; }
    std::string puzzles() { return folder.read("MVData.dat"); }
    void expectCues(const std::vector<int>& cues) {
        EXPECT_EQ(CuesHeard(), cues);
        headless_clear_logs();
    }

    TempFolder folder;
};

TEST_F(PuzzleConsole, ToggleShowsThenHidesWithItsCueAndGivesFocusBack) {
    start("");
    Press(IDC_CONSOLE);
    EXPECT_TRUE(Shown(hWnd));
    EXPECT_EQ(GetFocus(), MainWindow());
    Press(IDC_CONSOLE);
    EXPECT_FALSE(Shown(hWnd));
    expectCues({IDW_CONSOLE, IDW_CONSOLE});
}

TEST_F(PuzzleConsole, AddStoresLowerCasedRecordOrRefuses) {
    const struct {
        const char *phrase, *hint, *stored;
        std::vector<int> cues;
    } cases[] = {
        {"Big Top", "A place for clowns", "big top;A place for clowns:", {kClick}},
        {"Big Top", "", "big top;no hint available:", {kClick}},
        {"ab", "x", "ab;x:", {kClick}},
        {"x", "a hint", "", {kClick}},  // one character: neither stored nor signalled
        {"", "a hint", "", {kClick, kBeep}},
        {"a;b", "hint", "", {kClick, kBeep}},  // a separator would split the record
        {"ab", "x:y", "", {kClick, kBeep}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.phrase) + "|" + c.hint);
        start(kThree);
        type(c.phrase, c.hint);
        Press(IDC_ADD_PUZZLE);
        EXPECT_EQ(puzzles(), kThree + c.stored);
        EXPECT_EQ(gRandom, *c.stored ? 4 : 3);
        EXPECT_EQ(fields(), *c.stored ? kEmpty : Fields(c.phrase, c.hint));
        expectCues(c.cues);
    }
}

TEST_F(PuzzleConsole, AddThatTheFileRefusesKeepsTheTypedPuzzle) {
    start(kThree);
    ASSERT_EQ(std::remove(folder.file("MVData.dat").c_str()), 0);
    ASSERT_EQ(mkdir(folder.file("MVData.dat").c_str(), 0755), 0);  // cannot be opened for appending
    type("Big Top", "tent");
    Press(IDC_ADD_PUZZLE);
    EXPECT_EQ(fields(), Fields("Big Top", "tent"));
    EXPECT_EQ(gRandom, 3);
    expectCues({kClick, kBeep});
}

TEST_F(PuzzleConsole, ReviewPagesThroughThenNoticeThenStartsAgain) {
    start(kThree);
    const Fields expected[] = {
        kFirst, {"lion", "king of the ring"}, {"juggler", "keeps balls up"}, {kPassEnded, ""}, kFirst};
    for (const Fields& shown : expected) {
        review();
        EXPECT_EQ(fields(), shown);
    }
    expectCues(std::vector<int>(std::size(expected), kClick));
    review();
    Press(IDC_DELETE);  // in the second pass: only the shown record goes
    EXPECT_EQ(puzzles(), kFirstAndThird);
}

TEST_F(PuzzleConsole, PassEndsAtSingleCharacterPhraseAndAtMissingFile) {
    start(PuzzleFile({{"big top", "tent"}, {"x", "stop here"}, {"lion", "king"}}));
    review(2);
    EXPECT_EQ(TextOf(IDC_PHRASE_EDIT), kPassEnded);
    std::remove(folder.file("MVData.dat").c_str());
    review();
    EXPECT_EQ(fields(), Fields(kPassEnded, ""));
}

TEST_F(PuzzleConsole, DeleteRemovesOnlyTheShownRecordThenReviewShowsTheNotice) {
    start(kThree);
    Press(IDC_DELETE);  // nothing shown yet
    review(2);
    Press(IDC_DELETE);
    EXPECT_EQ(fields(), kEmpty);
    review();
    EXPECT_EQ(fields(), Fields(kPassEnded, ""));
    Press(IDC_DELETE);  // the notice is no record
    EXPECT_EQ(puzzles(), kFirstAndThird);
    EXPECT_EQ(gRandom, 2);
    expectCues({kBeep, kClick, kClick, kClick, kBeep, kBeep});
    review();
    EXPECT_EQ(fields(), kFirst);
}

TEST_F(PuzzleConsole, DeletingAnUnfinishedTailLeavesTheCountOfCompleteRecords) {
    start(kFirstAndThird + "stray;text");
    review(3);
    ASSERT_EQ(fields(), Fields("stray", "text"));
    Press(IDC_DELETE);
    EXPECT_EQ(puzzles(), kFirstAndThird);
    EXPECT_EQ(gRandom, 2);
}

// The file is read afresh for a deletion: whatever follows the shown record
// is kept; the record must still stand where the pass found it, and the
// rewrite must succeed, or nothing changes.
TEST_F(PuzzleConsole, DeleteKeepsWhatFollowsAndNeverCutsShortAChangedOrReadOnlyFile) {
    const struct {
        std::string changedTo;
        bool readOnly;  // Windows will not replace it
        std::string after;
    } cases[] = {
        {kThree + "stray text", false, kFirstAndThird + "stray text"},  // kept as it is, though no record
        {kThree + "\n", false, kFirstAndThird + "\n"},
        {PuzzleFile({{"big top", "a place for clowns"}}), false, ""},
        {PuzzleFile({{"big tip", "a place for clowns"}}) + kThree.substr(27), false, ""},  // changed before it
        {kThree, true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.changedTo + (c.readOnly ? " read-only" : ""));
        start(kThree);
        review(2);
        folder.write("MVData.dat", c.changedTo);
        if (c.readOnly) chmod(folder.file("MVData.dat").c_str(), 0444);
        headless_clear_logs();
        Press(IDC_DELETE);
        const bool deleted = !c.after.empty();
        EXPECT_EQ(puzzles(), deleted ? c.after : c.changedTo);
        EXPECT_EQ(gRandom, deleted ? 2 : 3);
        expectCues(deleted ? std::vector<int>{kClick} : std::vector<int>{kClick, kBeep});
        review();
        EXPECT_EQ(TextOf(IDC_PHRASE_EDIT), deleted ? kPassEnded : "Puzzle not deleted...");
    }
}

TEST_F(PuzzleConsole, AddWhileViewingStoresTheShownRecordAndEndsThePass) {
    start(kThree);
    review(2);
    Press(IDC_ADD_PUZZLE);
    EXPECT_EQ(puzzles(), kThree + "lion;king of the ring:");
    EXPECT_EQ(gRandom, 4);
    review();
    EXPECT_EQ(fields(), kFirst);
}

TEST_F(PuzzleConsole, NewPuzzleAbortsViewingOnlyForHintsLongerThanTwo) {
    start(kThree);
    review();
    Press(IDC_NEW_PUZZLE);
    EXPECT_EQ(fields(), Fields("Puzzle viewing aborted...", ""));
    review();
    EXPECT_EQ(fields(), kFirst);

    start(PuzzleFile({{"big top", "ab"}, {"lion", "king"}}));
    review();
    Press(IDC_NEW_PUZZLE);
    review();
    EXPECT_EQ(fields(), Fields("lion", "king"));
}

TEST_F(PuzzleConsole, ConsoleLockOneBeepsOtherValuesAreSilentAndEditingLockLeavesOnlyAdd) {
    const std::pair<const char*, std::vector<int>> locks[] = {{"Disable_Console= 1\nDisable_VCCntls= 0", {kBeep}},
                                                              {"Disable_Console= 2\nDisable_VCCntls= 0", {}}};
    for (const auto& [config, cues] : locks) {
        start("", config);
        Press(IDC_CONSOLE);
        EXPECT_FALSE(Shown(hWnd)) << config;
        expectCues(cues);
    }
    start(kThree, "Disable_Console= 0\nDisable_VCCntls= 1");
    review();
    Press(IDC_DELETE);
    EXPECT_EQ(fields(), kEmpty);
    type("Big Top", "tent");
    Press(IDC_ADD_PUZZLE);
    EXPECT_EQ(puzzles(), kThree + "big top;tent:");
    expectCues({kBeep, kBeep, kClick});
}

}  // namespace
