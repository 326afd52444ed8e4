#include "data/startup_file.h"

#include "game_session.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

const std::string kPurged = "Data purged...";

class StartupFile : public ::testing::Test {
protected:
    TempFolder folder;

    void SetUp() override { startFresh(); }

    // A new process, with the paths start-up would form.
    void startFresh() {
        StartFreshProcess(folder);
        WordsFile = folder.file("MVData.dat");
        LoadsFile = folder.file("OnLoad.dat");
    }

    std::string plain() const { return folder.read("MVData.dat"); }
    std::string store() const { return folder.read("OnLoad.dat"); }
    // A folder where a file should be: it can be neither written nor read.
    void block(const std::string& name) const { fs::create_directory(folder.file(name)); }
};

struct ScrambleCase {
    const char* name;
    std::string plain, stored;
};

const ScrambleCase kScrambleCases[] = {
    {"shifts 1, 2, 3", "abc", "bdf"},
    {"the eleventh character starts again at 1", "aaaaaaaaaaa", "bcdefghijkb"},
    {"wraps past 255", "\xFF\xFE\xF7", std::string("\x00\x00\xFA", 3)},
    {"line breaks and blanks are characters too", "a b\nc", "b\"e\x0Eh"},
    {"empty", "", ""},
};

TEST_F(StartupFile, QuitStoresEachCharacterShiftedByItsPositionAndPurgesThePlainFile) {
    for (const ScrambleCase& c : kScrambleCases) {
        SCOPED_TRACE(c.name);
        startFresh();
        folder.write("MVData.dat", c.plain);
        OnExits();
        EXPECT_EQ(store(), c.stored);
        EXPECT_EQ(plain(), kPurged);

        OnLoads();
        EXPECT_EQ(plain(), c.plain);
        EXPECT_EQ(store(), c.stored);
    }
}

TEST_F(StartupFile, EveryCharacterValueSurvivesQuitAndStartAtEveryShift) {
    std::string puzzles;
    for (int round = 0; round < 11; ++round)
        for (int value = 0; value < 256; ++value) puzzles += static_cast<char>(value);
    folder.write("MVData.dat", puzzles);
    OnExits();
    ASSERT_EQ(store().size(), puzzles.size());
    startFresh();
    OnLoads();
    EXPECT_EQ(plain(), puzzles);
}

TEST_F(StartupFile, StartWithoutAStoreLeavesThePlainFileAsItIs) {
    OnLoads();
    EXPECT_FALSE(folder.exists("MVData.dat"));
    folder.write("MVData.dat", "big top;clowns:");
    OnLoads();
    EXPECT_EQ(plain(), "big top;clowns:");
}

TEST_F(StartupFile, StartThatCannotWriteThePlainFileLeavesItAsItWas) {
    folder.write("OnLoad.dat", "bdf");
    folder.write("MVData.dat", kPurged);
    block("MVData.dat.tmp");
    OnLoads();
    EXPECT_EQ(plain(), kPurged);
}

TEST_F(StartupFile, QuitWithoutAPlainFileTouchesNothing) {
    folder.write("OnLoad.dat", "bdf");
    OnExits();
    EXPECT_EQ(store(), "bdf");
    EXPECT_FALSE(folder.exists("MVData.dat"));
}

TEST_F(StartupFile, PlainFileThatCannotBeReadIsNotTakenForAnEmptyOne) {
    folder.write("OnLoad.dat", "bdf");
    block("MVData.dat");  // opens, but every read fails
    OnExits();
    EXPECT_EQ(store(), "bdf");
}

TEST_F(StartupFile, PuzzlesAreNotPurgedWhenTheStoreCannotBeWritten) {
    folder.write("OnLoad.dat", "bdf");
    folder.write("MVData.dat", "big top;clowns:");
    block("OnLoad.dat.tmp");
    OnExits();
    EXPECT_EQ(store(), "bdf");
    EXPECT_EQ(plain(), "big top;clowns:");
}

TEST_F(StartupFile, PurgeThatCannotBeWrittenStillLeavesTheNewStore) {
    folder.write("MVData.dat", "abc");
    block("MVData.dat.tmp");
    OnExits();
    EXPECT_EQ(store(), "bdf");
    EXPECT_EQ(plain(), "abc");
}

// A plain file that holds only the purge text has no puzzles to store: the
// start-up could not unpack the store, or there never was one.
TEST_F(StartupFile, PurgeTextIsNeverScrambledIntoTheStore) {
    folder.write("OnLoad.dat", "bdf");
    folder.write("MVData.dat", kPurged);
    OnExits();
    EXPECT_EQ(store(), "bdf");
    EXPECT_EQ(plain(), kPurged);

    fs::remove(folder.file("OnLoad.dat"));
    OnExits();
    EXPECT_FALSE(folder.exists("OnLoad.dat"));
    EXPECT_EQ(plain(), kPurged);
}

TEST_F(StartupFile, QuitClosesTheViewersStreamOnlyWhileAPassIsOn) {
    for (int pass : {0, 1}) {
        SCOPED_TRACE(pass);
        startFresh();
        folder.write("MVData.dat", "abc");
        pfinds.open(WordsFile);
        prelim = pass;
        OnExits();
        EXPECT_EQ(pfinds.is_open(), pass == 0);
        EXPECT_EQ(plain(), kPurged);
        EXPECT_EQ(store(), "bdf");
    }
}

TEST_F(StartupFile, RegularQuitStoresTheRunsPuzzlesAndTheNextStartRestoresThem) {
    const std::string puzzles = PuzzleFile({{"big top", "a place for clowns"}, {"lion", "king of the ring"}});
    folder.write("MVData.dat", puzzles);
    RunProgram({});
    EXPECT_EQ(plain(), kPurged);
    EXPECT_EQ(store().size(), puzzles.size());

    startFresh();
    RunProgram({[&] { EXPECT_EQ(plain(), puzzles); }});
    EXPECT_EQ(plain(), kPurged);
}

}  // namespace
