// The puzzle console driven through the real window procedure.
#include "game_session.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>

namespace {

const std::string kThree =
    PuzzleFile({{"big top", "a place for clowns"}, {"lion", "king of the ring"}, {"juggler", "keeps balls up"}});

class PuzzleConsole : public ::testing::Test {
protected:
    // A first game is played: it counts the records of the file.
    void start(const std::string& config = "Disable_Console= 0\nDisable_VCCntls= 0", const std::string& file = kThree) {
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
    TempFolder folder;
};

TEST_F(PuzzleConsole, AddStoresTheLowerCasedRecordOrRefusesWithABeepKeepingTheFields) {
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {  // typed, stored, seen
        {"Big Top", "A place for clowns", "big top;A place for clowns:", "||4 4450"},
        {"Big Top", "", "big top;no hint available:", "||4 4450"},
        {"a;b", "hint", "", "a;b|hint|3 4450 -1"},  // a separator would split the record
        {"ab", "x;y", "", "ab|x;y|3 4450 -1"},
        {"", "a hint", "", "|a hint|3 4450 -1"},
        {"2024!", "a year", "", "2024!|a year|3 4450 -1"},  // no letter to guess: won at the first click
    };
    for (const auto& [phrase, hint, stored, heard] : cases) {
        start();
        headless_type(hEditWord, phrase);
        headless_type(hEditHint, hint);
        Press(IDC_ADD_PUZZLE);
        EXPECT_EQ(folder.read("MVData.dat") + " / " + seen(), kThree + stored + " / " + heard);
    }
}

TEST_F(PuzzleConsole, ReviewPagesThroughTheFileUntilThePassEndsOrANewPuzzleEndsIt) {
    start();
    for (const char* shown : {"big top|a place for clowns|3 4450", "lion|king of the ring|3 4450",
                              "juggler|keeps balls up|3 4450", "Resetting Puzzle Viewer...||3 4450",
                              "big top|a place for clowns|3 4450", "lion|king of the ring|3 4450"}) {
        Press(IDC_REVIEW);
        EXPECT_EQ(seen(), shown);
    }
    Press(IDC_NEW_PUZZLE);
    Press(IDC_REVIEW);
    EXPECT_EQ(TextOf(IDC_PHRASE_EDIT), "big top");
}

// Records without a letter, or unfinished, are shown and deleted like any other; only complete ones are counted.
// Windows will not replace a read-only file: then nothing changes and the viewer says so.
TEST_F(PuzzleConsole, DeleteRewritesTheFileWithoutTheShownRecordOrKeepsItWhole) {
    const std::tuple<std::string, int, bool, std::string, std::string> cases[] = {  // file, reviews, read-only
        {kThree, 2, false, "||2 4450 4450 4450", PuzzleFile({{"big top", "a place for clowns"}, {"juggler", "keeps balls up"}})},
        {kThree, 2, true, "||3 4450 4450 4450 -1", kThree},
        {kThree + "2024!;a year:", 4, false, "||3 4450 4450 4450 4450 4450", kThree},
        {kThree + "clowns;red no", 4, false, "||3 4450 4450 4450 4450 4450", kThree},
    };
    for (const auto& [file, reviews, readOnly, heard, kept] : cases) {
        SCOPED_TRACE(file + (readOnly ? " read-only" : ""));
        start("Disable_Console= 0\nDisable_VCCntls= 0", file);
        for (int i = 0; i < reviews; ++i) Press(IDC_REVIEW);
        if (readOnly) chmod(folder.file("MVData.dat").c_str(), 0444);
        Press(IDC_DELETE);
        EXPECT_EQ(seen(), heard);
        EXPECT_EQ(folder.read("MVData.dat"), kept);
        EXPECT_FALSE(folder.exists("MVData.dat.tmp"));
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
