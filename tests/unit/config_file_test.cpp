#include "data/config_file.h"

#include "game_session.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

const char kDefaultFile[] =
    "Disable_Console= 1\n"
    "Disable_VCCntls= 1\n"
    "\n"
    "//To Enable Edit Cntls:  set value(s) to '0'\n"
    "//Editing this file incorrectly, or removing\n"
    "//content may result in program failure.  If\n"
    "//proper file format is lost, delete file...";

class ConfigFile : public ::testing::Test {
protected:
    TempFolder folder;

    void SetUp() override { startFresh(); }

    // A new process, with the path start-up would form.
    void startFresh() {
        StartFreshProcess(folder);
        TimerFile = folder.file("MVC_CONFIG.INI");
    }

    void expectSwitches(int console, int editing) {
        EXPECT_EQ(ConsoleUse, console);
        EXPECT_EQ(EditingUse, editing);
    }
};

TEST_F(ConfigFile, MissingFileIsWrittenWithTheDefaultsAndLocksTheConsoleAtOnce) {
    Userchoice();
    EXPECT_EQ(folder.read("MVC_CONFIG.INI"), kDefaultFile);
    EXPECT_FALSE(folder.exists("MVC_CONFIG.INI.tmp"));
    expectSwitches(1, 0);

    startFresh();
    Userchoice();
    expectSwitches(1, 1);
    EXPECT_EQ(folder.read("MVC_CONFIG.INI"), kDefaultFile);
}

struct ReadCase {
    const char* name;
    const char* content;
    int console, editing;
};

const ReadCase kReadCases[] = {
    {"both unlocked", "Disable_Console= 0\nDisable_VCCntls= 0", 0, 0},
    {"only editing locked", "Disable_Console= 0\nDisable_VCCntls= 1\n", 0, 1},
    {"keys swapped: taken in file order", "Disable_VCCntls= 0\nDisable_Console= 1", 0, 1},
    {"other non-zero value", "Disable_Console= 2\nDisable_VCCntls= 1", 2, 1},
    {"no blank after '='", "Disable_Console=1\nDisable_VCCntls=0", 1, 0},
    {"line breaks and signs before the values", "Disable_Console=\n\n  7\nDisable_VCCntls=\t-3", 7, -3},
    {"a value ends at the first non-digit", "A= 4x B=5", 4, 5},
    {"empty file", "", 0, 0},
    {"no '=' at all", "Disable_Console 1\nDisable_VCCntls 1", 0, 0},
    {"only one '='", "Disable_Console= 1", 1, 0},
    {"text instead of a number stops the reading", "Disable_Console= yes\nDisable_VCCntls= 1", 0, 0},
    {"second value unreadable", "Disable_Console= 1\nDisable_VCCntls= no", 1, 0},
};

TEST_F(ConfigFile, ReadsTheIntegersAfterTheFirstTwoEqualsSignsAndNeverRewrites) {
    for (const ReadCase& c : kReadCases) {
        SCOPED_TRACE(c.name);
        startFresh();
        folder.write("MVC_CONFIG.INI", c.content);
        Userchoice();
        expectSwitches(c.console, c.editing);
        EXPECT_EQ(folder.read("MVC_CONFIG.INI"), c.content);
    }
}

TEST_F(ConfigFile, DefaultFileThatCannotBeWrittenStillLocksAndIsTriedAgainNextTime) {
    fs::create_directory(folder.file("MVC_CONFIG.INI.tmp"));
    Userchoice();
    expectSwitches(1, 0);
    EXPECT_FALSE(folder.exists("MVC_CONFIG.INI"));

    fs::remove(folder.file("MVC_CONFIG.INI.tmp"));
    startFresh();
    Userchoice();
    EXPECT_EQ(folder.read("MVC_CONFIG.INI"), kDefaultFile);
}

TEST_F(ConfigFile, ExistingFileThatCannotBeOpenedLocksButIsNotOverwritten) {
    // A link to itself exists but can never be opened.
    fs::create_symlink("MVC_CONFIG.INI", folder.file("MVC_CONFIG.INI"));
    Userchoice();
    expectSwitches(1, 0);
    EXPECT_TRUE(fs::is_symlink(folder.file("MVC_CONFIG.INI")));
    EXPECT_FALSE(folder.exists("MVC_CONFIG.INI.tmp"));
}

}  // namespace
