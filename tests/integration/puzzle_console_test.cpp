// The puzzle console driven through the real window procedure.
#include "game_session.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

const std::string kThree =
    PuzzleFile({{"big top", "a place for clowns"}, {"lion", "king of the ring"}, {"juggler", "keeps balls up"}});

class PuzzleConsole : public ::testing::Test {
protected:
    // A first game is played: it counts the records of the file.
    void start(const std::string& config = "Disable_Console= 0\nDisable_VCCntls= 0") {
        folder.write("MVC_CONFIG.INI", config);
        folder.write("MVData.dat", kThree);
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
    TempFolder folder;
};

TEST_F(PuzzleConsole, AddStoresTheLowerCasedRecordOrRefusesWithABeep) {
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {  // typed, stored, seen
        {"Big Top", "A place for clowns", "big top;A place for clowns:", "||4 4450"},
        {"Big Top", "", "big top;no hint available:", "||4 4450"},
        {"a;b", "hint", "", "a;b|hint|3 4450 -1"},  // a separator would split the record
        {"", "a hint", "", "|a hint|3 4450 -1"},
    };
    for (const auto& [phrase, hint, stored, heard] : cases) {
        start();
        headless_type(hEditWord, phrase);
        headless_type(hEditHint, hint);
        Press(IDC_ADD_PUZZLE);
        EXPECT_EQ(folder.read("MVData.dat") + " / " + seen(), kThree + stored + " / " + heard);
    }
}

TEST_F(PuzzleConsole, ReviewPagesThroughTheFileThenEndsThePass) {
    start();
    for (const char* shown : {"big top|a place for clowns|3 4450", "lion|king of the ring|3 4450",
                              "juggler|keeps balls up|3 4450", "Resetting Puzzle Viewer...||3 4450"}) {
        Press(IDC_REVIEW);
        EXPECT_EQ(seen(), shown);
    }
}

// Windows will not replace a read-only file: then nothing changes and the viewer says so.
TEST_F(PuzzleConsole, DeleteRewritesTheFileWithoutTheShownRecordOrKeepsItWhole) {
    for (bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "read-only" : "writable");
        start();
        Press(IDC_REVIEW);
        Press(IDC_REVIEW);
        if (readOnly) chmod(folder.file("MVData.dat").c_str(), 0444);
        Press(IDC_DELETE);
        EXPECT_EQ(seen(), readOnly ? "||3 4450 4450 4450 -1" : "||2 4450 4450 4450");
        EXPECT_EQ(folder.read("MVData.dat"),
                  readOnly ? kThree : PuzzleFile({{"big top", "a place for clowns"}, {"juggler", "keeps balls up"}}));
        Press(IDC_REVIEW);
        EXPECT_EQ(TextOf(IDC_PHRASE_EDIT), readOnly ? "Puzzle not deleted..." : "Resetting Puzzle Viewer...");
    }
}

// Disable_Console 1 refuses the console with a beep; Disable_VCCntls leaves only Add.
TEST_F(PuzzleConsole, LocksRefuseTheConsoleOrEverythingButAdd) {
    const std::pair<const char*, const char*> toggles[] = {{"Disable_Console= 0\nDisable_VCCntls= 0", "||3 5600"},
                                                           {"Disable_Console= 1\nDisable_VCCntls= 0", "||3 -1"}};
    for (const auto& [config, heard] : toggles) {
        SCOPED_TRACE(config);
        start(config);
        Press(IDC_CONSOLE);
        EXPECT_EQ(Shown(hWnd), config == toggles[0].first);
        EXPECT_EQ(seen(), heard);
    }
    start("Disable_Console= 0\nDisable_VCCntls= 1");
    Press(IDC_REVIEW);
    Press(IDC_DELETE);
    headless_type(hEditWord, "Big Top");
    Press(IDC_ADD_PUZZLE);
    EXPECT_EQ(folder.read("MVData.dat"), kThree + "big top;no hint available:");
    EXPECT_EQ(seen(), "||4 -1 -1 4450");
}

}  // namespace
