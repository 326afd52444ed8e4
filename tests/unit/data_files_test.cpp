// The statistics, configuration and store files in a real temporary folder, sound and under faults.
#include "app/data_folder.h"
#include "data/config_file.h"
#include "data/startup_file.h"
#include "stats/stats_file.h"
#include "game_session.h"

#include <climits>
#include <filesystem>

namespace fs = std::filesystem;
#define PURGED "Data purged..."

static void StartFresh(const TempFolder& folder) {
    StartFreshProcess(folder);
    FormDataPaths();
}

TEST(StatsFile, LoadsEachFieldClampedOrStopsAtTheFirstUnreadableOneAndSavesOneLine) {
    const struct { const char* content; const char* saved; } cases[] = {
        {.content = "99999999999 -7 -99999999999 Ring-Master 0 12 0 Tightrope-Walker",
         .saved = "2147483647 -7 -2147483648 Ring-Master 0 12 0 Tightrope-Walker"},
        // else the next number would be read for the skill
        {.content = "5 2 1", .saved = "5 2 1 Circus-Worker 0 0 0 Circus-Worker"},
        {.content = "8 9 x Ring-Master 3 4 5 Lion-Tamer", .saved = "8 9 0 Circus-Worker 0 0 0 Circus-Worker"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content);
        TempFolder folder;
        folder.write("MVStats.dat", c.content);
        StartFresh(folder);
        loadScores(), saveScores();
        EXPECT_EQ(folder.read("MVStats.dat"), c.saved);
    }
}

TEST(ConfigFile, WritesTheDefaultsOnlyWhenMissingElseReadsTheClampedIntegersAfterTheFirstTwoEqualsSigns) {
    const char defaults[] =
        "Disable_Console= 1\nDisable_VCCntls= 1\n\n//To Enable Edit Cntls:  set value(s) to '0'\n"
        "//Editing this file incorrectly, or removing\n//content may result in program failure.  If\n"
        "//proper file format is lost, delete file...";
    const struct { const char* content; int console, editing; bool unreadable = false; } cases[] = {
        {.content = nullptr, .console = 1, .editing = 0},  // the console is locked at once
        {.content = "Disable_VCCntls= 0\nDisable_Console= 1", .console = 0, .editing = 1},  // keys ignored: file order
        {.content = "Disable_Console= yes\nDisable_VCCntls= 1", .console = 0, .editing = 0},  // reading stops
        {.content = "Disable_Console= 99999999999\nDisable_VCCntls= -99999999999", .console = INT_MAX, .editing = INT_MIN},
        {.content = "Disable_Console= 0", .console = 1, .editing = 0, .unreadable = true}};  // kept: the player's own
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content ? c.content : "no file");
        TempFolder folder;
        if (c.content) folder.write("MVC_CONFIG.INI", c.content);
        StartFresh(folder);
        Limited(c.unreadable ? kUnreadable : c.content ? kNoNewFiles : kNoLimit, folder, Userchoice, "MVC_CONFIG.INI");
        EXPECT_EQ(ConsoleUse, c.console);
        EXPECT_EQ(EditingUse, c.editing);
        EXPECT_EQ(folder.read("MVC_CONFIG.INI"), c.content ? c.content : defaults) << "an existing file is kept";
    }
}

// The store keeps the form Windows' text mode gave it: an LF of the shifted bytes is stored as CR LF.
TEST(StartupFile, StoresEachByteShiftedByItsPositionWithCrBeforeLfAndRestoresIt) {
    const struct { std::string plain, stored; } cases[] = {
        {"abc", "bdf"}, {"aaaaaaaaaaa", "bcdefghijkb"}, {"\x09", "\r\n"}, {"\x0c", "\r"}, {"\x0c\x08", "\r\r\n"}};
    for (const auto& c : cases) {
        EXPECT_EQ(ScrambleStore(c.plain), c.stored);
        EXPECT_EQ(UnscrambleStore(c.stored), c.plain);
    }
}

// A plain file with records is newer than the store: a killed run or another running copy left it; records after
// the purge text came after another copy quit. A store is given as its puzzles, nullptr for none. A held file is never
// written over, nor the other; faults limit writes, put a folder at the store or half-write a temp file: none stays.
TEST(StartupFile, StartAndQuitKeepANewerPlainFileJoinRecordsAddedAfterAPurgeAndUnderAFaultStoreOrKeepBoth) {
    const struct {
        bool quit = false;
        const char *plain, *store = "s;t:", *plainAfter, *storeAfter = "s;t:";
        const char *unreadable = "", *folderAt = "", *halfWrittenAt = "";
        Limit limit = kNoLimit;
    } cases[] = {
        {.plain = nullptr, .plainAfter = "s;t:"}, {.plain = "", .plainAfter = "s;t:"},
        {.plain = "x;y:", .plainAfter = "x;y:"}, {.plain = PURGED "x;y:", .plainAfter = "s;t:x;y:"},
        {.plain = PURGED "x;y:", .store = nullptr, .plainAfter = "x;y:", .storeAfter = nullptr},
        {.plain = PURGED, .store = "", .plainAfter = "", .storeAfter = ""},
        {.quit = true, .plain = "x;y:", .plainAfter = PURGED, .storeAfter = "x;y:"},
        {.quit = true, .plain = "", .plainAfter = PURGED, .storeAfter = ""},
        {.quit = true, .plain = PURGED "x;y:", .plainAfter = PURGED, .storeAfter = "s;t:x;y:"},
        {.quit = true, .plain = PURGED "x;y:", .store = nullptr, .plainAfter = PURGED, .storeAfter = "x;y:"},
        {.quit = true, .plain = nullptr, .plainAfter = nullptr},
        {.plain = PURGED, .plainAfter = PURGED, .unreadable = "MVData.dat"},
        {.plain = PURGED "x;y:", .plainAfter = PURGED "x;y:", .unreadable = "OnLoad.dat"},
        {.quit = true, .plain = "x;y:", .plainAfter = "x;y:", .unreadable = "MVData.dat"},
        {.quit = true, .plain = PURGED "x;y:", .plainAfter = PURGED "x;y:", .unreadable = "OnLoad.dat"},
        {.quit = true, .plain = "x;y:", .plainAfter = "x;y:", .limit = kFullDisk},
        {.quit = true, .plain = "x;y:", .plainAfter = "x;y:", .limit = kReadOnlyFolder},
        {.quit = true, .plain = "x;y:", .plainAfter = PURGED, .storeAfter = "x;y:", .limit = kNoNewFiles},
        {.quit = true, .plain = "x;y:", .store = nullptr, .plainAfter = "x;y:", .storeAfter = "a folder",
         .folderAt = "OnLoad.dat"},
        {.quit = true, .plain = "x;y:", .plainAfter = PURGED, .storeAfter = "x;y:", .halfWrittenAt = "OnLoad.dat.tmp"}};
    const auto content = [](const TempFolder& folder, const char* name, bool scrambled) {
        if (fs::is_directory(folder.file(name))) return std::string("a folder");
        const std::string stored = folder.read(name);
        return !folder.exists(name) ? "none" : scrambled ? UnscrambleStore(stored) : stored;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.quit ? "quit" : "start") << " on " << (c.plain ? c.plain : "none")
                     << ", limit " << c.limit << ", at " << c.unreadable << c.folderAt << c.halfWrittenAt);
        TempFolder folder;
        if (c.plain) folder.write("MVData.dat", c.plain);
        if (c.store) folder.write("OnLoad.dat", ScrambleStore(c.store));
        if (*c.folderAt) fs::create_directory(folder.file(c.folderAt));
        if (*c.halfWrittenAt) folder.write(c.halfWrittenAt, "half");
        StartFresh(folder);
        Limited(*c.unreadable ? kUnreadable : c.limit, folder, [&] { c.quit ? OnExits() : OnLoads(); }, c.unreadable);
        EXPECT_EQ(content(folder, "MVData.dat", false), c.plainAfter ? c.plainAfter : "none");
        EXPECT_EQ(content(folder, "OnLoad.dat", true), c.storeAfter ? c.storeAfter : "none");
        for (const char* tmp : {"OnLoad.dat.tmp", "MVData.dat.tmp"}) EXPECT_FALSE(folder.exists(tmp)) << tmp;
    }
}
