// The puzzle console driven through the real window procedure: showing it,
// paging through the puzzle file, deleting the record shown, adding puzzles,
// and the locks of the configuration file.
#include "game_session.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

const int kClick = IDW_CLICK;
const int kBeep = -1;
const char kUnlocked[] = "Disable_Console= 0\nDisable_VCCntls= 0";
const std::string kThree = PuzzleFile({{"big top", "a place for clowns"}, {"lion", "king of the ring"}, {"juggler", "keeps balls up"}});
const std::string kFirstAndThird = PuzzleFile({{"big top", "a place for clowns"}, {"juggler", "keeps balls up"}});
const char kPassEnded[] = "Resetting Puzzle Viewer...";
const char kNotDeleted[] = "Puzzle not deleted...";

class PuzzleConsole : public ::testing::Test {
protected:
    void start(const std::string& puzzles, const std::string& config = kUnlocked) {
        folder.write("MVC_CONFIG.INI", config);
        folder.write("MVData.dat", puzzles);
        StartFreshProcess(folder);
        StartUpWithoutLoop();
        headless_clear_logs();
    }
    // The first game counts the records of the file.
    void startCounted(const std::string& puzzles) {
        start(puzzles);
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
    // Both console fields, phrase first.
    std::pair<std::string, std::string> fields() { return {TextOf(IDC_PHRASE_EDIT), TextOf(IDC_HINT_EDIT)}; }
    std::string puzzles() { return folder.read("MVData.dat"); }
    void expectCues(const std::vector<int>& cues) {
        EXPECT_EQ(CuesHeard(), cues);
        headless_clear_logs();
    }

    TempFolder folder;
};

using Fields = std::pair<std::string, std::string>;

TEST_F(PuzzleConsole, ToggleShowsThenHidesWithItsCueAndGivesFocusBack) {
    start("");
    Press(IDC_CONSOLE);
    EXPECT_TRUE(Shown(hWnd));
    EXPECT_EQ(GetFocus(), MainWindow());
    Press(IDC_CONSOLE);
    EXPECT_FALSE(Shown(hWnd));
    expectCues({IDW_CONSOLE, IDW_CONSOLE});
}

TEST_F(PuzzleConsole, LockedToggleBeepsOnlyForOne) {
    const struct {
        const char* config;
        std::vector<int> cues;
    } cases[] = {{"Disable_Console= 1\nDisable_VCCntls= 0", {kBeep}}, {"Disable_Console= 2\nDisable_VCCntls= 0", {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.config);
        start("", c.config);
        Press(IDC_CONSOLE);
        EXPECT_FALSE(Shown(hWnd));
        expectCues(c.cues);
    }
}

TEST_F(PuzzleConsole, AddStoresLowerCasedRecordOrRefuses) {
    const struct {
        const char *phrase, *hint, *stored;
        std::vector<int> cues;
    } cases[] = {
        {"Big Top", "A place for clowns", "big top;A place for clowns:", {kClick}},
        {"Big Top", "", "big top;no hint available:", {kClick}},
        {"ab", "x", "ab;x:", {kClick}},
        {"x", "a hint", "", {kClick}},      // one character: neither stored nor signalled
        {"", "a hint", "", {kClick, kBeep}},
        {"a;b", "hint", "", {kClick, kBeep}},  // a separator would split the record
        {"ab", "x:y", "", {kClick, kBeep}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.phrase) + "|" + c.hint);
        startCounted(kThree);
        type(c.phrase, c.hint);
        Press(IDC_ADD_PUZZLE);
        EXPECT_EQ(puzzles(), kThree + c.stored);
        EXPECT_EQ(gRandom, *c.stored ? 4 : 3);
        EXPECT_EQ(fields(), *c.stored ? Fields("", "") : Fields(c.phrase, c.hint));
        expectCues(c.cues);
    }
}

TEST_F(PuzzleConsole, AddThatTheFileRefusesKeepsTheTypedPuzzle) {
    startCounted(kThree);
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
    const Fields expected[] = {{"big top", "a place for clowns"},
                               {"lion", "king of the ring"},
                               {"juggler", "keeps balls up"},
                               {kPassEnded, ""},
                               {"big top", "a place for clowns"}};
    for (const Fields& shown : expected) {
        review();
        EXPECT_EQ(fields(), shown);
    }
    expectCues(std::vector<int>(std::size(expected), kClick));
}

TEST_F(PuzzleConsole, PassEndsAtMissingFileAndAtSingleCharacterPhrase) {
    start("");
    std::remove(folder.file("MVData.dat").c_str());
    review();
    EXPECT_EQ(fields(), Fields(kPassEnded, ""));

    start(PuzzleFile({{"big top", "tent"}, {"x", "stop here"}, {"lion", "king"}}));
    review(2);
    EXPECT_EQ(TextOf(IDC_PHRASE_EDIT), kPassEnded);
    review();
    EXPECT_EQ(fields(), Fields("big top", "tent"));
}

TEST_F(PuzzleConsole, DeleteRewritesFileThenNextReviewShowsNotice) {
    startCounted(kThree);
    review(2);
    Press(IDC_DELETE);
    EXPECT_EQ(puzzles(), kFirstAndThird);
    EXPECT_EQ(fields(), Fields("", ""));
    EXPECT_EQ(gRandom, 2);
    expectCues({kClick, kClick, kClick});
    review();
    EXPECT_EQ(fields(), Fields(kPassEnded, ""));
    expectCues({kBeep});
    review();
    EXPECT_EQ(fields(), Fields("big top", "a place for clowns"));
}

TEST_F(PuzzleConsole, DeleteInSecondPassRemovesOnlyTheShownRecord) {
    start(kThree);
    review(6);  // three records, the notice, then the first two again
    Press(IDC_DELETE);
    EXPECT_EQ(puzzles(), kFirstAndThird);
}

TEST_F(PuzzleConsole, DeleteWithNothingShownBeeps) {
    start(kThree);
    Press(IDC_DELETE);
    review(4);  // to the notice: the fields are empty again
    Press(IDC_DELETE);
    EXPECT_EQ(puzzles(), kThree);
    expectCues({kBeep, kClick, kClick, kClick, kClick, kBeep});
}

TEST_F(PuzzleConsole, DeleteKeepsAnUnfinishedTailAsItIs) {
    for (const std::string tail : {"stray text", "stray;no colon", "\n", "stray;"}) {
        SCOPED_TRACE(tail);
        startCounted(kThree + tail);
        review(2);
        Press(IDC_DELETE);
        EXPECT_EQ(puzzles(), kFirstAndThird + tail);
        EXPECT_EQ(gRandom, 2);
    }
}

TEST_F(PuzzleConsole, DeletingTheUnfinishedTailItselfLeavesTheCountAndUnlocks) {
    startCounted(kFirstAndThird + "stray;text");
    review(3);
    ASSERT_EQ(fields(), Fields("stray", "text"));
    Press(IDC_DELETE);
    EXPECT_EQ(puzzles(), kFirstAndThird);
    EXPECT_EQ(gRandom, 2);
    review(2);
    EXPECT_EQ(fields(), Fields("big top", "a place for clowns"));
}

TEST_F(PuzzleConsole, FailedRewriteKeepsFileAndCountAndSaysSo) {
    startCounted(kThree);
    chmod(folder.file("MVData.dat").c_str(), 0444);  // read-only: Windows will not replace it
    review(2);
    Press(IDC_DELETE);
    EXPECT_EQ(puzzles(), kThree);
    EXPECT_EQ(gRandom, 3);
    expectCues({kClick, kClick, kClick, kBeep});
    review();
    EXPECT_EQ(TextOf(IDC_PHRASE_EDIT), kNotDeleted);
    review();
    EXPECT_EQ(fields(), Fields("big top", "a place for clowns"));
}

TEST_F(PuzzleConsole, DeleteAfterAnotherProgramChangedTheFile) {
    const std::string fourth = PuzzleFile({{"clown", "red nose"}});
    const struct {
        std::string changedTo, after;
        int count;
    } cases[] = {
        {kThree + fourth, kFirstAndThird + fourth, 2},                 // appended behind: kept
        {PuzzleFile({{"big top", "a place for clowns"}}), "", 3},      // cut short: left alone
        {PuzzleFile({{"tent", "x"}}) + kThree.substr(27), "", 3},       // changed before: left alone
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.changedTo);
        startCounted(kThree);
        review(2);
        folder.write("MVData.dat", c.changedTo);
        Press(IDC_DELETE);
        EXPECT_EQ(puzzles(), c.after.empty() ? c.changedTo : c.after);
        EXPECT_EQ(gRandom, c.count);
    }
}

TEST_F(PuzzleConsole, AddWhileViewingStoresTheShownRecordAndEndsThePass) {
    startCounted(kThree);
    review(2);
    Press(IDC_ADD_PUZZLE);
    EXPECT_EQ(puzzles(), kThree + "lion;king of the ring:");
    EXPECT_EQ(gRandom, 4);
    review();
    EXPECT_EQ(fields(), Fields("big top", "a place for clowns"));
}

TEST_F(PuzzleConsole, NewPuzzleAbortsViewingOnlyForHintsLongerThanTwo) {
    start(kThree);
    review();
    Press(IDC_NEW_PUZZLE);
    EXPECT_EQ(fields(), Fields("Puzzle viewing aborted...", ""));
    review();
    EXPECT_EQ(fields(), Fields("big top", "a place for clowns"));

    start(PuzzleFile({{"big top", "ab"}, {"lion", "king"}}));
    review();
    Press(IDC_NEW_PUZZLE);
    review();
    EXPECT_EQ(fields(), Fields("lion", "king"));
}

TEST_F(PuzzleConsole, EditingLockRefusesReviewAndDeleteButNotAdd) {
    start(kThree, "Disable_Console= 0\nDisable_VCCntls= 1");
    review();
    Press(IDC_DELETE);
    EXPECT_EQ(fields(), Fields("", ""));
    type("Big Top", "tent");
    Press(IDC_ADD_PUZZLE);
    EXPECT_EQ(puzzles(), kThree + "big top;tent:");
    expectCues({kBeep, kBeep, kClick});
}

}  // namespace
