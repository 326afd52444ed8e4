// Where the game keeps its files: beside the program when that folder takes new files, otherwise in the
// player's own folder, seeded from beside the program. Driven through the real WinMain.
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
        program.write("OnLoad.dat", ScrambleStore(kStarter));
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

// A teacher's configuration beside the program still rules; without one the default lands in the player's folder.
TEST_F(DataFolder, ALockedProgramFolderLeavesItUntouchedAndKeepsPuzzlesScoresAndSettingsInThePlayersFolder) {
    program.write("MVC_CONFIG.INI", kUnlocked);
    lockProgramFolder();
    const auto programFiles = FileNames(program);
    playWinAndAdd();
    StartFreshProcess(program);  // the next run finds the added puzzle and the scores
    StartUpWithoutLoop();
    EXPECT_EQ(playerFile("MVData.dat"), kStarter + "lion;king of the ring:");
    EXPECT_EQ(TextOf(IDC_P1_POINTS), "160");
    EXPECT_EQ(FileNames(program), programFiles);
    EXPECT_EQ(UnscrambleStore(program.read("OnLoad.dat")), kStarter);
    EXPECT_EQ(program.read("MVStats.dat"), kStats);
    EXPECT_EQ(TimerFile, program.file("MVC_CONFIG.INI"));
    EXPECT_EQ(HelpFiler, program.file("Quorrel-help.chm"));
    EXPECT_TRUE(Logged(HeadlessEvent::Box).empty());

    chmod(program.path().c_str(), 0755);
    std::filesystem::remove(program.file("MVC_CONFIG.INI"));
    lockProgramFolder();
    StartFreshProcess(program);
    StartUpWithoutLoop();
    EXPECT_NE(playerFile("MVC_CONFIG.INI").find("Disable_Console= 1"), std::string::npos);
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
