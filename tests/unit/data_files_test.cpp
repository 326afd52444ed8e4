// The statistics, configuration and store files in a real temporary folder, sound and under faults.
#include "data/config_file.h"
#include "data/puzzle_console.h"
#include "data/startup_file.h"
#include "stats/stats_file.h"

#include "game_session.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <functional>
#include <set>
#include <tuple>

namespace {

namespace fs = std::filesystem;
#define PURGED "Data purged..."

// A new process, with the paths start-up would form.
void StartFresh(const TempFolder& folder) {
    StartFreshProcess(folder);
    ScoreFile = folder.file("MVStats.dat");
    TimerFile = folder.file("MVC_CONFIG.INI");
    WordsFile = folder.file("MVData.dat");
    LoadsFile = folder.file("OnLoad.dat");
}

// Runs `work` in a child process as a player who may write the folder's files but not create new ones beside
// them: as root the files are handed to "nobody", as anyone else the folder is made read-only.
void AsOwnerOfFilesOnly(const TempFolder& folder, const std::function<void()>& work) {
    chmod(folder.path().c_str(), 0755);
    if (pid_t child = fork(); child == 0) {
        for (const auto& entry : fs::directory_iterator(folder.path()))
            if (geteuid() == 0 && chown(entry.path().c_str(), 65534, 65534) != 0) _exit(2);
        if (geteuid() == 0 ? setgid(65534) != 0 || setuid(65534) != 0 : chmod(folder.path().c_str(), 0555) != 0)
            _exit(3);
        work();
        _exit(0);
    } else {
        int status = -1;
        waitpid(child, &status, 0);
        chmod(folder.path().c_str(), 0755);
        ASSERT_EQ(status, 0);
    }
}

// Every entry but temporary files, with its content; and the temporary files apart, which must never stay.
std::string Snapshot(const TempFolder& folder, std::string* leftovers = nullptr) {
    std::set<std::string> entries;
    for (const auto& entry : fs::directory_iterator(folder.path())) {
        const std::string name = entry.path().filename().string();
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".tmp") == 0) {
            if (leftovers) *leftovers += name + ' ';
        } else {
            entries.insert(name + (entry.is_directory() ? "/" : "=" + folder.read(name)));
        }
    }
    std::string all;
    for (const std::string& entry : entries) all += entry + '\n';
    return all;
}

TEST(StatsFile, LoadsEachFieldClampedOrStopsAtTheFirstUnreadableOneAndSavesOneLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"99999999999 -7 -99999999999 Ring-Master 0 12 0 Tightrope-Walker",
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

TEST(ConfigFile, WritesTheDefaultsOnlyWhenMissingElseReadsTheClampedIntegersAfterTheFirstTwoEqualsSigns) {
    const char defaults[] =
        "Disable_Console= 1\nDisable_VCCntls= 1\n\n//To Enable Edit Cntls:  set value(s) to '0'\n"
        "//Editing this file incorrectly, or removing\n//content may result in program failure.  If\n"
        "//proper file format is lost, delete file...";
    const std::tuple<const char*, int, int> cases[] = {
        {nullptr, 1, 0},  // the console is locked at once
        {"Disable_VCCntls= 0\nDisable_Console= 1", 0, 1},  // keys ignored: taken in file order
        {"Disable_Console= yes\nDisable_VCCntls= 1", 0, 0},  // an unreadable value stops the reading
        {"Disable_Console= 99999999999\nDisable_VCCntls= -99999999999", INT_MAX, INT_MIN},
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
    TempFolder folder;  // there, but not readable by the player
    folder.write("MVC_CONFIG.INI", "Disable_Console= 0");
    chmod(folder.file("MVC_CONFIG.INI").c_str(), 0200);
    StartFresh(folder);
    AsOwnerOfFilesOnly(folder, Userchoice);
    EXPECT_EQ(folder.read("MVC_CONFIG.INI"), "Disable_Console= 0");
}

// The store keeps the form Windows' text mode gave it: an LF of the shifted bytes is stored as CR LF.
TEST(StartupFile, StoresEachByteShiftedByItsPositionWithCrBeforeLfAndRestoresEveryByte) {
    const std::pair<std::string, std::string> plainAndStored[] = {
        {"abc", "bdf"}, {"aaaaaaaaaaa", "bcdefghijkb"}, {"\x09", "\r\n"}, {"\x0c", "\r"}, {"\x0c\x08", "\r\r\n"},
        {"\x19", "\x1a"}};
    for (const auto& [plain, stored] : plainAndStored) {
        EXPECT_EQ(ScrambleStore(plain), stored);
        EXPECT_EQ(UnscrambleStore(stored), plain);
    }
    std::string everyValueAtEveryShift;
    for (int i = 0; i < 11 * 256; ++i) everyValueAtEveryShift += static_cast<char>(i);
    TempFolder folder;
    folder.write("MVData.dat", everyValueAtEveryShift + "\r\n\r\r\n");
    StartFresh(folder);
    OnExits();
    StartFresh(folder);
    OnLoads();
    EXPECT_EQ(folder.read("MVData.dat"), everyValueAtEveryShift + "\r\n\r\r\n");
}

// A plain file holding records is newer than the store (a killed run, or another copy running); records after
// the purge text were added after another copy stored the puzzles. Stores are given as the puzzles they hold.
TEST(StartupFile, StartKeepsANewerPlainFileAndBothJoinRecordsAddedAfterAPurgeToTheStore) {
    const std::tuple<bool, const char*, const char*, const char*, const char*> cases[] = {
        // quit, plain file and store before, plain file and store after; nullptr: no such file
        {false, nullptr, "s;t:", "s;t:", "s;t:"},     {false, PURGED, "s;t:", "s;t:", "s;t:"},
        {false, "", "s;t:", "s;t:", "s;t:"},          {false, "x;y:", "s;t:", "x;y:", "s;t:"},
        {false, PURGED "x;y:", "s;t:", "s;t:x;y:", "s;t:"}, {false, PURGED "x;y:", nullptr, "x;y:", nullptr},
        {false, PURGED, nullptr, PURGED, nullptr},    {true, "x;y:", "s;t:", PURGED, "x;y:"},
        {true, "", "s;t:", PURGED, ""},               {true, PURGED, "s;t:", PURGED, "s;t:"},
        {true, PURGED "x;y:", "s;t:", PURGED, "s;t:x;y:"}, {true, PURGED "x;y:", nullptr, PURGED, "x;y:"},
        {true, nullptr, "s;t:", nullptr, "s;t:"},
    };
    for (const auto& [quit, plain, store, plainAfter, storeAfter] : cases) {
        SCOPED_TRACE(std::string(quit ? "quit" : "start") + " on " + (plain ? plain : "none"));
        TempFolder folder;
        if (plain) folder.write("MVData.dat", plain);
        if (store) folder.write("OnLoad.dat", ScrambleStore(store));
        StartFresh(folder);
        quit ? OnExits() : OnLoads();
        EXPECT_EQ(folder.exists("MVData.dat") ? folder.read("MVData.dat") : "none", plainAfter ? plainAfter : "none");
        EXPECT_EQ(folder.exists("OnLoad.dat") ? UnscrambleStore(folder.read("OnLoad.dat")) : "none",
                  storeAfter ? storeAfter : "none");
    }
}

TEST(StartupFile, TwoCopiesSideBySideLoseNoRecordWhicheverQuitsFirst) {
    TempFolder folder;
    folder.write("MVData.dat", PURGED);
    folder.write("OnLoad.dat", ScrambleStore("s;t:"));
    StartFresh(folder);
    auto add = [](const char* record) {
        exportwords = record;
        ExportWord();
    };
    OnLoads();  // the first copy starts
    OnLoads();  // the second copy starts and keeps the file the first one runs on
    add("a;b:");
    OnExits();  // the first copy quits
    add("c;d:");
    OnExits();  // the second copy quits
    OnLoads();
    EXPECT_EQ(folder.read("MVData.dat"), "s;t:a;b:c;d:");
}

// An exit that saves the store and the statistics, under each fault: it either saves as without the fault or
// leaves every file as it was, and no temporary file stays behind.
TEST(Faults, AnExitUnderAFaultSavesAsUsualOrKeepsEveryFileAsItWas) {
    enum Outcome { kSaved, kKept };
    auto full = [](const TempFolder& f) {
        for (const char* name : {"OnLoad.dat.tmp", "MVStats.dat.tmp"})
            fs::create_symlink("/dev/full", f.file(name));  // every write fails with "no space left"
    };
    auto readOnly = [](const TempFolder& f) {
        for (const char* name : {"MVData.dat", "OnLoad.dat", "MVStats.dat"}) chmod(f.file(name).c_str(), 0444);
    };
    auto folders = [](const TempFolder& f) {
        for (const char* name : {"OnLoad.dat", "MVStats.dat"}) {
            fs::remove(f.file(name));
            fs::create_directory(f.file(name));
        }
    };
    auto crashed = [](const TempFolder& f) {  // killed between writing the temporary files and moving them
        for (const char* name : {"MVData.dat.tmp", "OnLoad.dat.tmp", "MVStats.dat.tmp"}) f.write(name, "half");
    };
    const std::tuple<const char*, std::function<void(const TempFolder&)>, bool, Outcome> cases[] = {
        {"none", [](const TempFolder&) {}, false, kSaved}, {"full disk", full, false, kKept},
        {"read-only folder", readOnly, true, kKept},         {"folder refusing new files", nullptr, true, kSaved},
        {"data files replaced by folders", folders, false, kKept}, {"crash before the move", crashed, false, kSaved},
    };
    const std::string saved = "MVData.dat=" PURGED "\nMVStats.dat=1 3 3 Lion-Tamer 4 5 6 Ring-Master\nOnLoad.dat=" +
                              ScrambleStore("new;records:") + "\n";
    for (const auto& [fault, plant, ownerOnly, outcome] : cases) {
        SCOPED_TRACE(fault);
        TempFolder folder;
        folder.write("MVData.dat", "new;records:");
        folder.write("OnLoad.dat", ScrambleStore("old;records:"));
        folder.write("MVStats.dat", "1 2 3 Lion-Tamer 4 5 6 Ring-Master");
        if (plant) plant(folder);
        const std::string before = Snapshot(folder);
        StartFresh(folder);
        auto exit = [] {
            loadScores();
            pwinsone += 1;
            OnExits();
            saveScores();
        };
        ownerOnly ? AsOwnerOfFilesOnly(folder, exit) : exit();
        std::string leftovers;
        const std::string after = Snapshot(folder, &leftovers);
        EXPECT_EQ(after, outcome == kKept ? before : saved);
        EXPECT_EQ(leftovers, "");
    }
}

}  // namespace
