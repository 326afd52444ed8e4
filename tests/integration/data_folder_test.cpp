// Where the game keeps its files, through the real WinMain: beside the program when its folder takes new files and
// the player has no folder of their own yet, else in the player's folder, seeded with what lies beside the program.
#include "data/startup_file.h"
#include "game_session.h"

#include <sys/stat.h>
#include <cstdlib>
#include <filesystem>
#include <set>

const std::string kStarter = "big top;a tent:";

static std::set<std::string> FileNames(const TempFolder& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        names.insert(entry.path().filename().string());
    return names;
}

struct DataFolder : ::testing::Test {
    DataFolder() {
        program.write("MVStarters.dat", ScrambleStore(kStarter));
        program.write("MVStats.dat", kStats);
        setenv("LOCALAPPDATA", appData.path().c_str(), 1);
    }
    ~DataFolder() override { chmod(program.path().c_str(), 0755), unsetenv("LOCALAPPDATA"); }
    std::string playerFile(const std::string& name) const { return appData.read("Marivane/" + name); }
    TempFolder program, appData;
};

// A teacher's configuration beside the program still rules; without one the default lands in the player's folder,
// which stays their home once the program's folder is unlocked.
TEST_F(DataFolder, ALockedProgramFolderLeavesItUntouchedAndKeepsPuzzlesScoresAndSettingsInThePlayersFolderForGood) {
    program.write("MVC_CONFIG.INI", kUnlocked);
    chmod(program.path().c_str(), 0555);
    const auto programFiles = FileNames(program);
    StartFreshProcess(program);  // one run: the starter puzzle won by Player One, a puzzle added, then Quit
    RunProgram({[] { Press(IDC_NEW_PUZZLE), ClickLetters("BIGTOP"); },
                [] { Press(IDC_CONSOLE), headless_type(hEditWord, "Lion"), headless_type(hEditHint, "king of the ring"); },
                [] { Press(IDC_ADD_PUZZLE); }});
    StartUpIn(program);  // the next run finds the added puzzle and the scores
    EXPECT_EQ(playerFile("MVData.dat"), kStarter + "lion;king of the ring:");
    EXPECT_EQ(TextOf(IDC_P1_POINTS), "160");
    EXPECT_EQ(FileNames(program), programFiles);
    EXPECT_EQ(program.read("MVStats.dat"), kStats);
    EXPECT_EQ(TimerFile, program.file("MVC_CONFIG.INI"));
    EXPECT_EQ(HelpFiler, program.file("Quorrel-help.chm"));
    EXPECT_TRUE(Logged(HeadlessEvent::Box).empty());

    chmod(program.path().c_str(), 0755);
    std::filesystem::remove(program.file("MVC_CONFIG.INI"));
    StartUpIn(program);
    EXPECT_NE(playerFile("MVC_CONFIG.INI").find("Disable_Console= 1"), std::string::npos);
    EXPECT_EQ(WordsFile, appData.file("Marivane/MVData.dat"));
    EXPECT_EQ(TextOf(IDC_P1_POINTS), "160");
}

// A store, or else a plain file with records, wins over the starters; an unreadable starters file changes nothing.
// Beside a locked program a store, or else a plain puzzle file, seeds the player's folder, never over their own
// store. Each row ends with the plain puzzle file the start-up leaves, beside the program or in the player's folder.
TEST_F(DataFolder, TheStartersOrAPuzzleFileBesideTheProgramReachOnlyAPlayerWithNoPuzzlesYet) {
    const char *starters = kStarter.c_str(), *purged = "Data purged...", *none = nullptr;
    const struct { bool locked; const char *starters, *store, *plain, *own, *puzzles; Limit limit = kNoLimit; } cases[] = {
        {false, starters, none, purged, none, starters}, {false, starters, "s;t:", purged, none, "s;t:"},
        {false, starters, none, "p;q:", none, "p;q:"}, {false, none, none, none, none, ""},
        {false, starters, none, purged, none, purged, kUnreadable}, {true, none, "s;t:", none, none, "s;t:"},
        {true, none, none, "s;t:", none, "s;t:"}, {true, none, "s;t:", none, "o;r:", "o;r:"},
        {true, none, none, "s;t:", "o;r:", "o;r:"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.starters << ' ' << c.store << ' ' << c.plain << ' ' << c.own << ' ' << c.limit);
        TempFolder folder;
        for (auto [name, puzzles] : {std::pair{"MVStarters.dat", c.starters}, {"OnLoad.dat", c.store}})
            if (puzzles) folder.write(name, ScrambleStore(puzzles));
        if (c.plain) folder.write("MVData.dat", c.plain);
        std::filesystem::remove_all(appData.file("Marivane"));
        if (c.locked) std::filesystem::create_directory(appData.file("Marivane"));
        if (c.own) appData.write("Marivane/OnLoad.dat", ScrambleStore(c.own));
        Limited(c.limit, folder, [&] { chmod(folder.path().c_str(), c.locked ? 0555 : 0755), StartUpIn(folder); },
                "MVStarters.dat");
        chmod(folder.path().c_str(), 0755);
        EXPECT_EQ(c.locked ? playerFile("MVData.dat") : folder.read("MVData.dat"), c.puzzles);
        EXPECT_EQ(appData.exists("Marivane"), c.locked);
    }
}

TEST_F(DataFolder, WhenNoFolderCanBeWrittenOneBoxNamesTheFolderAndTheGamePlaysFromBesideTheProgram) {
    chmod(program.path().c_str(), 0555);
    for (bool playerFolderNamed : {true, false}) {
        chmod(appData.path().c_str(), 0555);
        if (!playerFolderNamed) unsetenv("LOCALAPPDATA");
        ASSERT_NE(StartUpIn(program), nullptr);
        const auto boxes = Logged(HeadlessEvent::Box);
        ASSERT_EQ(boxes.size(), 1u);
        const std::string named = playerFolderNamed ? appData.file("Marivane/") : program.path() + "/";
        EXPECT_NE(boxes[0].text.find("\n" + named + "\n"), std::string::npos) << boxes[0].text;
        EXPECT_EQ(WordsFile, program.file("MVData.dat"));
        EXPECT_EQ(TextOf(IDC_P1_POINTS), "90");
    }
}
