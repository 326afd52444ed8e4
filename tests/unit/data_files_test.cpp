// The statistics, configuration and start-up files, in a real temporary folder.
#include "data/config_file.h"
#include "data/startup_file.h"
#include "stats/stats_file.h"

#include "game_session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

namespace {

// A new process, with the paths start-up would form.
void StartFresh(const TempFolder& folder) {
    StartFreshProcess(folder);
    ScoreFile = folder.file("MVStats.dat");
    TimerFile = folder.file("MVC_CONFIG.INI");
    WordsFile = folder.file("MVData.dat");
    LoadsFile = folder.file("OnLoad.dat");
}

// Each file is loaded by a new process and saved again: the saved line shows what was read.
TEST(StatsFile, LoadsEachFieldOrStopsAtTheFirstUnreadableOneAndSavesOneLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"2147483647 -7 -2147483648 Ring-Master 0 12 0 Tightrope-Walker",
         "2147483647 -7 -2147483648 Ring-Master 0 12 0 Tightrope-Walker"},
        // An empty skill is saved as the starting rank: else the next number would be read for it.
        {"5 2 1", "5 2 1 Circus-Worker 0 0 0 Circus-Worker"},
        {"8 9 x Ring-Master 3 4 5 Lion-Tamer", "8 9 0 Circus-Worker 0 0 0 Circus-Worker"},
    };
    for (const auto& [content, saved] : cases) {
        TempFolder folder;
        folder.write("MVStats.dat", content);
        StartFresh(folder);
        loadScores();
        saveScores();
        EXPECT_EQ(folder.read("MVStats.dat"), saved) << content;
    }
}

TEST(ConfigFile, WritesTheDefaultsWhenMissingElseReadsTheIntegersAfterTheFirstTwoEqualsSigns) {
    const char defaults[] =
        "Disable_Console= 1\nDisable_VCCntls= 1\n\n//To Enable Edit Cntls:  set value(s) to '0'\n"
        "//Editing this file incorrectly, or removing\n//content may result in program failure.  If\n"
        "//proper file format is lost, delete file...";
    const std::tuple<const char*, int, int> cases[] = {
        {nullptr, 1, 0},  // the console is locked at once
        {"Disable_VCCntls= 0\nDisable_Console= 1", 0, 1},  // keys ignored: taken in file order
        {"Disable_Console= yes\nDisable_VCCntls= 1", 0, 0},  // an unreadable value stops the reading
    };
    for (const auto& [content, console, editing] : cases) {
        SCOPED_TRACE(content ? content : "no file");
        TempFolder folder;
        if (content) folder.write("MVC_CONFIG.INI", content);
        StartFresh(folder);
        Userchoice();
        EXPECT_EQ(std::make_pair(ConsoleUse, EditingUse), std::make_pair(console, editing));
        EXPECT_EQ(folder.read("MVC_CONFIG.INI"), content ? content : defaults) << "an existing file is kept";
    }
}

// The plain file may be the only copy of the puzzles, and the store the only copy of earlier ones:
// neither is replaced unless what replaces it is sound.
TEST(StartupFile, QuitStoresEachCharacterShiftedByItsPositionAndStartRestoresIt) {
    std::string everyValueAtEveryShift;
    for (int i = 0; i < 11 * 256; ++i) everyValueAtEveryShift += static_cast<char>(i);
    for (const std::string& plain : {std::string("abc"), everyValueAtEveryShift}) {
        TempFolder folder;
        folder.write("MVData.dat", plain);
        StartFresh(folder);
        OnExits();
        const std::string stored = folder.read("OnLoad.dat");
        EXPECT_TRUE(plain != "abc" || stored == "bdf") << stored;
        OnExits();  // the purge text is never stored over the puzzles
        EXPECT_EQ(folder.read("OnLoad.dat") + '|' + folder.read("MVData.dat"), stored + "|Data purged...");
        StartFresh(folder);
        OnLoads();
        EXPECT_EQ(folder.read("MVData.dat"), plain);
    }
}

TEST(StartupFile, StoreThatCannotBeWrittenIsKeptAndNothingIsPurged) {
    TempFolder folder;
    folder.write("OnLoad.dat", "bdf");
    folder.write("MVData.dat", "cab");
    // Every write to /dev/full fails with "no space left", seen only at the flush.
    std::filesystem::create_symlink("/dev/full", folder.file("OnLoad.dat.tmp"));
    StartFresh(folder);
    OnExits();
    EXPECT_EQ(folder.read("OnLoad.dat") + '|' + folder.read("MVData.dat"), "bdf|cab");
}

}  // namespace
