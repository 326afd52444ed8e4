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

// A new process reads the configuration; gives back both switches.
std::pair<int, int> SwitchesRead(const TempFolder& folder) {
    StartFreshProcess(folder);
    TimerFile = folder.file("MVC_CONFIG.INI");
    Userchoice();
    return {ConsoleUse, EditingUse};
}

TEST(ConfigFile, WritesTheDefaultsWhenMissingElseReadsTheIntegersAfterTheFirstTwoEqualsSigns) {
    const struct {
        const char* content;
        int console, editing;
    } cases[] = {
        {nullptr, 1, 0},  // the console is locked at once
        {kDefaultFile, 1, 1},
        {"Disable_Console= 0\nDisable_VCCntls= 0", 0, 0},
        {"Disable_VCCntls= 0\nDisable_Console= 1", 0, 1},  // keys ignored: taken in file order
        {"Disable_Console= 2\nDisable_VCCntls= 1", 2, 1},
        {"Disable_Console=\n\n  7\nDisable_VCCntls=\t-3", 7, -3},
        {"", 0, 0},
        {"Disable_Console 1\nDisable_VCCntls 1", 0, 0},
        {"Disable_Console= yes\nDisable_VCCntls= 1", 0, 0},  // an unreadable value stops the reading
        {"Disable_Console= 1\nDisable_VCCntls= no", 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content ? c.content : "no file");
        TempFolder folder;
        if (c.content) folder.write("MVC_CONFIG.INI", c.content);
        EXPECT_EQ(SwitchesRead(folder), std::make_pair(c.console, c.editing));
        EXPECT_EQ(folder.read("MVC_CONFIG.INI"), c.content ? c.content : kDefaultFile) << "an existing file is kept";
    }
}

TEST(ConfigFile, FileThatCannotBeWrittenOrOpenedLocksAndIsNeverOverwritten) {
    TempFolder unwritable;
    fs::create_directory(unwritable.file("MVC_CONFIG.INI.tmp"));
    EXPECT_EQ(SwitchesRead(unwritable), std::make_pair(1, 0));
    fs::remove(unwritable.file("MVC_CONFIG.INI.tmp"));
    SwitchesRead(unwritable);
    EXPECT_EQ(unwritable.read("MVC_CONFIG.INI"), kDefaultFile) << "tried again at the next start";

    TempFolder unopenable;
    fs::create_symlink("MVC_CONFIG.INI", unopenable.file("MVC_CONFIG.INI"));  // exists, never opens
    EXPECT_EQ(SwitchesRead(unopenable), std::make_pair(1, 0));
    EXPECT_TRUE(fs::is_symlink(unopenable.file("MVC_CONFIG.INI")));
}

}  // namespace
