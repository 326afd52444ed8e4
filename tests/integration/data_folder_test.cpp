// Where the game keeps its files: beside the program when that folder takes new files and the player has no
// folder of their own yet, otherwise in the player's own folder, seeded from beside the program; and the starter
// puzzles shipped beside the program. Driven through the real WinMain.
#include "data/startup_file.h"
#include "game_session.h"
#include "resource.h"

#include <gtest/gtest.h>
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
    void lockProgramFolder() { chmod(program.path().c_str(), 0555); }
    // One run: the starter puzzle won by Player One, a puzzle added in the console, then Quit.
    void playWinAndAdd() {
        StartFreshProcess(program);
        RunProgram({[] { Press(IDC_NEW_PUZZLE); }, [] { for (char letter : std::string("BIGTOP")) ClickLetter(letter); },
                    [] { Press(IDC_CONSOLE), headless_type(hEditWord, "Lion"), headless_type(hEditHint, "king of the ring"); },
                    [] { Press(IDC_ADD_PUZZLE); }});
    }
    std::string playerFile(const std::string& name) const { return appData.read("Marivane/" + name); }
    TempFolder program, appData;
};

// A teacher's configuration beside the program still rules; without one the default lands in the player's folder,
// which stays their home once the program's folder is unlocked.
TEST_F(DataFolder, ALockedProgramFolderLeavesItUntouchedAndKeepsPuzzlesScoresAndSettingsInThePlayersFolderForGood) {
    program.write("MVC_CONFIG.INI", kUnlocked);
    lockProgramFolder();
    const auto programFiles = FileNames(program);
    playWinAndAdd();
    StartFreshProcess(program);  // the next run finds the added puzzle and the scores
    StartUpWithoutLoop();
    EXPECT_EQ(playerFile("MVData.dat"), kStarter + "lion;king of the ring:");
    EXPECT_EQ(TextOf(IDC_P1_POINTS), "160");
    EXPECT_EQ(FileNames(program), programFiles);
    EXPECT_EQ(program.read("MVStats.dat"), kStats);
    EXPECT_EQ(TimerFile, program.file("MVC_CONFIG.INI"));
    EXPECT_EQ(HelpFiler, program.file("Quorrel-help.chm"));
    EXPECT_TRUE(Logged(HeadlessEvent::Box).empty());

    chmod(program.path().c_str(), 0755);
    std::filesystem::remove(program.file("MVC_CONFIG.INI"));
    StartFreshProcess(program);
    StartUpWithoutLoop();
    EXPECT_NE(playerFile("MVC_CONFIG.INI").find("Disable_Console= 1"), std::string::npos);
    EXPECT_EQ(WordsFile, appData.file("Marivane/MVData.dat"));
    EXPECT_EQ(TextOf(IDC_P1_POINTS), "160");
}

// Beside a program whose folder takes new files. A store or a plain file with records wins over the starters; an
// unreadable starters file changes nothing. The first regular quit stores the puzzles played.
TEST_F(DataFolder, TheStartersReachOnlyAPlayerWithNoPuzzlesYet) {
    const char *starters = kStarter.c_str(), *purged = "Data purged...", *none = nullptr;
    const struct { const char *starters, *store, *plain, *stored; Limit limit = kNoLimit; } cases[] = {
        {starters, none, purged, starters}, {starters, "s;t:", purged, "s;t:"}, {starters, none, "p;q:", "p;q:"},
        {none, none, none, none}, {starters, none, purged, none, kUnreadable}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.starters << ", " << c.store << ", " << c.plain << ", " << c.limit);
        TempFolder folder;
        for (auto [name, puzzles] : {std::pair{"MVStarters.dat", c.starters}, {"OnLoad.dat", c.store}})
            if (puzzles) folder.write(name, ScrambleStore(puzzles));
        if (c.plain) folder.write("MVData.dat", c.plain);
        StartFreshProcess(folder);
        std::string line;
        Limited(c.limit, folder, [&] { RunProgram({[&] { Press(IDC_NEW_PUZZLE), line = TextOf(IDC_PUZZLE_LINE); }}); },
                "MVStarters.dat");
        EXPECT_EQ(line == "ERROR! NO PUZZLE PHRASES - DATABASE/FILE APPEARS TO BE MISSING", !c.stored);
        EXPECT_EQ(folder.exists("OnLoad.dat") ? UnscrambleStore(folder.read("OnLoad.dat")) : "none",
                  c.stored ? c.stored : "none");
    }
    EXPECT_FALSE(appData.exists("Marivane"));
}

// Beside a locked program a store, or else a plain puzzle file, seeds the player's folder, never over their puzzles.
TEST_F(DataFolder, APuzzleFileBesideALockedProgramSeedsThePlayersFolderButNeverOverTheirOwn) {
    for (const std::string own : {"", "o;r:"})
        for (const std::string teachers : {"OnLoad.dat", "MVData.dat"}) {
            SCOPED_TRACE(teachers + " beside the program, the player's own store " + own);
            TempFolder teacher;
            teacher.write(teachers, teachers == "OnLoad.dat" ? ScrambleStore("s;t:") : "s;t:");
            std::filesystem::remove_all(appData.file("Marivane"));
            std::filesystem::create_directory(appData.file("Marivane"));
            if (!own.empty()) appData.write("Marivane/OnLoad.dat", ScrambleStore(own));
            chmod(teacher.path().c_str(), 0555);
            StartFreshProcess(teacher);
            StartUpWithoutLoop();
            chmod(teacher.path().c_str(), 0755);
            EXPECT_EQ(playerFile("MVData.dat"), own.empty() ? "s;t:" : own);
        }
}

TEST_F(DataFolder, WhenNoFolderCanBeWrittenOneBoxNamesTheFolderAndTheGamePlaysFromBesideTheProgram) {
    lockProgramFolder();
    for (bool playerFolderNamed : {true, false}) {
        chmod(appData.path().c_str(), 0555);
        if (!playerFolderNamed) unsetenv("LOCALAPPDATA");
        StartFreshProcess(program);
        ASSERT_NE(StartUpWithoutLoop(), nullptr);
        const auto boxes = Logged(HeadlessEvent::Box);
        ASSERT_EQ(boxes.size(), 1u);
        const std::string named = playerFolderNamed ? appData.file("Marivane/") : program.path() + "/";
        EXPECT_NE(boxes[0].text.find("\n" + named + "\n"), std::string::npos) << boxes[0].text;
        EXPECT_EQ(WordsFile, program.file("MVData.dat"));
        EXPECT_EQ(TextOf(IDC_P1_POINTS), "90");
    }
}
