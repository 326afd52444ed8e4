#include "data/startup_file.h"

#include "game_session.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

const char kPurged[] = "Data purged...";

// A new process, with the paths start-up would form.
void StartFresh(const TempFolder& folder) {
    StartFreshProcess(folder);
    WordsFile = folder.file("MVData.dat");
    LoadsFile = folder.file("OnLoad.dat");
}

TEST(StartupFile, QuitStoresEachCharacterShiftedByItsPositionAndStartRestoresIt) {
    std::string everyValueAtEveryShift;
    for (int i = 0; i < 11 * 256; ++i) everyValueAtEveryShift += static_cast<char>(i);
    const struct {
        std::string plain;
        const char* stored;
    } cases[] = {{"abc", "bdf"}, {"aaaaaaaaaaa", "bcdefghijkb"}, {"", ""}, {everyValueAtEveryShift, nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.plain.substr(0, 11));
        TempFolder folder;
        StartFresh(folder);
        folder.write("MVData.dat", c.plain);
        OnExits();
        EXPECT_EQ(folder.read("MVData.dat"), kPurged);
        const std::string stored = folder.read("OnLoad.dat");
        EXPECT_EQ(stored.size(), c.plain.size());
        if (c.stored) {
            EXPECT_EQ(stored, c.stored);
        }
        StartFresh(folder);
        OnLoads();
        EXPECT_EQ(folder.read("MVData.dat"), c.plain);
    }
}

// The plain file may be the only copy of the puzzles, and the store the only
// copy of earlier ones: neither is replaced unless what replaces it is sound.
TEST(StartupFile, FilesThatCannotBeReadOrWrittenOrHoldNoPuzzlesKeepTheOtherFile) {
    const struct {
        const char* name;
        bool atStart;
        const char *store, *plain, *blocked, *storeAfter, *plainAfter;
    } cases[] = {
        {"start without a store", true, nullptr, "cab", nullptr, "", "cab"},
        {"start cannot write the plain file", true, "bdf", kPurged, "MVData.dat.tmp", "bdf", kPurged},
        {"quit without a plain file", false, "bdf", nullptr, nullptr, "bdf", ""},
        {"plain file cannot be read", false, "bdf", nullptr, "MVData.dat", "bdf", ""},
        {"store cannot be written: no purge", false, "bdf", "cab", "OnLoad.dat.tmp", "bdf", "cab"},
        {"purge cannot be written", false, nullptr, "abc", "MVData.dat.tmp", "bdf", "abc"},
        {"purge text over a store", false, "bdf", kPurged, nullptr, "bdf", kPurged},
        {"purge text without a store", false, nullptr, kPurged, nullptr, "", kPurged},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        StartFresh(folder);
        if (c.store) folder.write("OnLoad.dat", c.store);
        if (c.plain) folder.write("MVData.dat", c.plain);
        if (c.blocked) fs::create_directory(folder.file(c.blocked));  // a folder where a file should be
        c.atStart ? OnLoads() : OnExits();
        EXPECT_EQ(folder.read("OnLoad.dat"), c.storeAfter);
        if (!fs::is_directory(folder.file("MVData.dat"))) {
            EXPECT_EQ(folder.read("MVData.dat"), c.plainAfter);
        }
    }
}

// Windows will not replace a file that is still open.
TEST(StartupFile, QuitClosesTheViewersStreamWhileAPassIsOn) {
    TempFolder folder;
    StartFresh(folder);
    folder.write("MVData.dat", "abc");
    pfinds.open(WordsFile);
    prelim = 1;
    OnExits();
    EXPECT_FALSE(pfinds.is_open());
}

TEST(StartupFile, ProgramRestoresThePuzzlesAtStartAndStoresThemAgainAtQuit) {
    TempFolder folder;
    StartFreshProcess(folder);
    folder.write("OnLoad.dat", "bdf");
    folder.write("MVData.dat", kPurged);
    RunProgram({[&] { EXPECT_EQ(folder.read("MVData.dat"), "abc"); }});
    EXPECT_EQ(folder.read("MVData.dat"), kPurged);
    EXPECT_EQ(folder.read("OnLoad.dat"), "bdf");
}

}  // namespace
