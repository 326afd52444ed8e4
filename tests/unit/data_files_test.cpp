// The statistics, configuration and store files in a real temporary folder, sound and under faults.
#include "data/config_file.h"
#include "data/startup_file.h"
#include "stats/stats_file.h"

#include "game_session.h"
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <filesystem>
#include <functional>
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

enum Limit { kNoLimit, kNoNewFiles, kReadOnlyFolder, kFullDisk };

// Runs `work` as a player who may create no file in the folder, but write its files (as root: they go to
// "nobody", who then acts) or not even those, or with every write failing.
void Limited(Limit limit, const TempFolder& folder, const std::function<void()>& work) {
    const bool noNewFiles = limit == kNoNewFiles || limit == kReadOnlyFolder, nobody = noNewFiles && !geteuid();
    rlimit size{};
    bool ok = getrlimit(RLIMIT_FSIZE, &size) == 0 && std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR;
    const rlimit none = {0, size.rlim_max};
    ok = ok && (limit != kFullDisk || setrlimit(RLIMIT_FSIZE, &none) == 0);
    for (const auto& entry : fs::directory_iterator(folder.path()))
        ok = ok && (!nobody || chown(entry.path().c_str(), 65534, 65534) == 0) &&
             (limit != kReadOnlyFolder || chmod(entry.path().c_str(), 0444) == 0);
    ok = ok && chmod(folder.path().c_str(), noNewFiles && !nobody ? 0555 : 0755) == 0 && (!nobody || !seteuid(65534));
    work();
    ok = (!nobody || seteuid(0) == 0) && setrlimit(RLIMIT_FSIZE, &size) == 0 && ok;
    chmod(folder.path().c_str(), 0755);
    EXPECT_TRUE(ok) << "the fault was not set up";
}

TEST(StatsFile, LoadsEachFieldClampedOrStopsAtTheFirstUnreadableOneAndSavesOneLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"99999999999 -7 -99999999999 Ring-Master 0 12 0 Tightrope-Walker",
         "2147483647 -7 -2147483648 Ring-Master 0 12 0 Tightrope-Walker"},
        {"5 2 1", "5 2 1 Circus-Worker 0 0 0 Circus-Worker"},  // else the next number would be read for the skill
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
    const std::tuple<const char*, mode_t, int, int> cases[] = {  // content, its mode, the two switches read
        {nullptr, 0, 1, 0},  // the console is locked at once
        {"Disable_VCCntls= 0\nDisable_Console= 1", 0644, 0, 1},  // keys ignored: taken in file order
        {"Disable_Console= yes\nDisable_VCCntls= 1", 0644, 0, 0},  // an unreadable value stops the reading
        {"Disable_Console= 99999999999\nDisable_VCCntls= -99999999999", 0644, INT_MAX, INT_MIN},
        {"Disable_Console= 0", 0200, 1, 0},  // there, but not readable: it still holds the player's settings
    };
    for (const auto& [content, mode, console, editing] : cases) {
        SCOPED_TRACE(content ? content : "no file");
        TempFolder folder;
        if (content) folder.write("MVC_CONFIG.INI", content);
        chmod(folder.file("MVC_CONFIG.INI").c_str(), mode);
        StartFresh(folder);
        Limited(content ? kNoNewFiles : kNoLimit, folder, Userchoice);
        EXPECT_EQ(std::make_pair(ConsoleUse, EditingUse), std::make_pair(console, editing));
        EXPECT_EQ(folder.read("MVC_CONFIG.INI"), content ? content : defaults) << "an existing file is kept";
    }
}

// The store keeps the form Windows' text mode gave it: an LF of the shifted bytes is stored as CR LF.
TEST(StartupFile, StoresEachByteShiftedByItsPositionWithCrBeforeLfAndRestoresEveryByte) {
    const std::pair<std::string, std::string> plainAndStored[] = {
        {"abc", "bdf"}, {"aaaaaaaaaaa", "bcdefghijkb"}, {"\x09", "\r\n"}, {"\x0c", "\r"}, {"\x0c\x08", "\r\r\n"}};
    for (const auto& [plain, stored] : plainAndStored)
        EXPECT_EQ(ScrambleStore(plain) + '|' + UnscrambleStore(stored), stored + '|' + plain);
    std::string everyValueAtEveryShift = "\r\n\r\r\n";
    for (int i = 0; i < 11 * 256; ++i) everyValueAtEveryShift += static_cast<char>(i);
    EXPECT_EQ(UnscrambleStore(ScrambleStore(everyValueAtEveryShift)), everyValueAtEveryShift);
}

// A plain file holding records is newer than the store: a killed run left it, or another copy runs on it.
// Records after the purge text were added after another copy quit. A store is given as the puzzles it holds.
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
        EXPECT_EQ((folder.exists("MVData.dat") ? folder.read("MVData.dat") : "none") + " / " +
                      (folder.exists("OnLoad.dat") ? UnscrambleStore(folder.read("OnLoad.dat")) : "none"),
                  std::string(plainAfter ? plainAfter : "none") + " / " + (storeAfter ? storeAfter : "none"));
    }
}

// A quit under each fault stores the puzzles as without it or keeps both files, and leaves no temporary file.
TEST(Faults, AQuitUnderAFaultStoresThePuzzlesAsUsualOrKeepsBothFilesAsTheyWere) {
    const std::tuple<const char*, const char*, const char*, Limit, bool> cases[] = {
        // fault; a folder put in the place of, a half-written temporary file left at; limit; stored
        {"full disk", nullptr, nullptr, kFullDisk, false},
        {"read-only folder", nullptr, nullptr, kReadOnlyFolder, false},
        {"folder refusing new files", nullptr, nullptr, kNoNewFiles, true},
        {"store replaced by a folder", "OnLoad.dat", nullptr, kNoLimit, false},
        {"crash before the store was moved", nullptr, "OnLoad.dat.tmp", kNoLimit, true},
        {"crash before the purge was moved", nullptr, "MVData.dat.tmp", kNoLimit, true}};
    for (const auto& [fault, folderAt, halfWrittenAt, limit, stored] : cases) {
        SCOPED_TRACE(fault);
        TempFolder folder;
        folder.write("MVData.dat", "new;records:");
        folder.write("OnLoad.dat", ScrambleStore("old;records:"));
        if (folderAt && fs::remove(folder.file(folderAt))) fs::create_directory(folder.file(folderAt));
        if (halfWrittenAt) folder.write(halfWrittenAt, "half");
        auto files = [&] { return folder.read("MVData.dat") + '|' + folder.read("OnLoad.dat") + '|'; };
        const std::string before = files();
        StartFresh(folder);
        Limited(limit, folder, OnExits);
        EXPECT_EQ(files() + (folder.exists("OnLoad.dat.tmp") || folder.exists("MVData.dat.tmp") ? "left" : ""),
                  stored ? PURGED "|" + ScrambleStore("new;records:") + '|' : before);
    }
}

}  // namespace
