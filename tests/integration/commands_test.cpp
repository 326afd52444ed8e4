// The window procedure driven as the system drives it: buttons, keys, mouse,
// colour and paint requests, close requests and the end of the session,
// after a real start-up through WinMain.
#include "game_session.h"
#include "game/window_procedure.h"

#include <gtest/gtest.h>

namespace {

const int kClick = 4450, kMinimiseCue = 4500, kNewPuzzleCue = 4700, kConsoleCue = 5600;
const char kPuzzles[] = "big top;a place for clowns:";
const char kPurged[] = "Data purged...";

// The start-up data file's form of a plain puzzle file: character p (from 1)
// moved up by ((p - 1) mod 10) + 1.
std::string Scrambled(const std::string& plain) {
    std::string stored = plain;
    for (std::size_t i = 0; i < stored.size(); ++i)
        stored[i] = static_cast<char>(static_cast<unsigned char>(stored[i]) + static_cast<int>(i % 10) + 1);
    return stored;
}

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return WindowProcedure(window, message, wParam, lParam);
}

LRESULT Command(HWND window, int id, int notification = BN_CLICKED) {
    return Send(window, WM_COMMAND, MAKEWPARAM(id, notification), 0);
}

void WinTheGame() {
    for (char letter : std::string("BIGTOP")) ClickLetter(letter);
}

class Commands : public ::testing::Test {
protected:
    void SetUp() override {
        StartFreshProcess(folder);
        folder.write("MVData.dat", kPuzzles);
        writeBeforeStart(folder);
        main = StartUpWithoutLoop();
        ASSERT_NE(main, nullptr);
        headless_clear_logs();
    }
    virtual void writeBeforeStart(const TempFolder&) {}

    TempFolder folder;
    HWND main = nullptr;
};

// ---- Player switches ----

TEST_F(Commands, PlayerSwitchIsRefusedOnceAWrongGuessHasBeenMade) {
    struct Case {
        int gameRunning, numwrong, difficulty;
        bool accepted;
    };
    const Case cases[] = {
        {0, 0, 0, true},  {0, 4, 0, true},   // no game running
        {1, 0, 0, true},  {1, 0, 1, true},   // no balloon lost yet
        {1, 1, 0, false}, {1, 1, 1, false},  // one wrong guess
        {1, 2, 1, true},                     // the 5-balloon head start only
        {1, 2, 0, false}, {1, 3, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "running " << c.gameRunning << ", numwrong " << c.numwrong
                                        << ", difficulty " << c.difficulty);
        gameRunning = c.gameRunning;
        numwrong = c.numwrong;
        difficulty = c.difficulty;
        playertype = 1;
        SetFocus(hSolveMe);
        headless_clear_logs();
        Press(2950);
        EXPECT_EQ(playertype, c.accepted ? 2 : 1);
        EXPECT_EQ(CuesHeard(), c.accepted ? std::vector<int>{kClick} : std::vector<int>{});
        EXPECT_EQ(GetFocus(), c.accepted ? main : hSolveMe);
    }
}

TEST_F(Commands, PlayerTwoCanTakeOverAFiveBalloonGameButNotAfterAWrongLetter) {
    Press(3550);
    ClickLetter('Z');
    Press(2950);
    EXPECT_EQ(playertype, 1);

    Press(3550);
    Press(3400);  // five balloons: two already gone
    Press(2950);
    EXPECT_EQ(playertype, 2);
    WinTheGame();
    EXPECT_EQ(TextOf(1780), "1");  // booked to player two
    EXPECT_EQ(TextOf(1750), "0");
}

// ---- Reset Stats ----

class ResetStats : public Commands {
protected:
    void writeBeforeStart(const TempFolder& f) override {
        f.write("MVStats.dat", "90 1 3 Lion-Tamer 0 2 5 Juggling-Clown");
    }
    std::vector<std::string> boxes() {
        std::vector<std::string> texts;
        for (int id : {1690, 1750, 1810, 1870, 1720, 1780, 1840, 1900}) texts.push_back(TextOf(id));
        return texts;
    }
};

TEST_F(ResetStats, ClearsTheCurrentPlayersFiguresWhenTheyHavePoints) {
    SetFocus(hSolveMe);
    Press(3100);
    EXPECT_EQ(boxes(), (std::vector<std::string>{"0", "0", "0", "Circus-Worker", "0", "2", "5", "Juggling-Clown"}));
    EXPECT_EQ(pscoreone, 0);
    EXPECT_EQ(plossone, 0);
    EXPECT_EQ(CuesHeard(), std::vector<int>{kClick});
    EXPECT_EQ(GetFocus(), main);
}

TEST_F(ResetStats, OnlyReturnsTheFocusWhenTheCurrentPlayerHasNoPoints) {
    Press(2950);  // player two: 0 points, though 2 wins and 5 losses
    headless_clear_logs();
    SetFocus(hSolveMe);
    Press(3100);
    EXPECT_EQ(boxes(), (std::vector<std::string>{"90", "1", "3", "Lion-Tamer", "0", "2", "5", "Juggling-Clown"}));
    EXPECT_EQ(plosstwo, 5);
    EXPECT_TRUE(CuesHeard().empty());
    EXPECT_EQ(GetFocus(), main);
}

TEST_F(ResetStats, ClearsPlayerTwoAfterAGameWonByPlayerTwo) {
    Press(2950);
    Press(3550);
    WinTheGame();
    ASSERT_NE(TextOf(1720), "0");
    Press(3100);
    EXPECT_EQ(boxes(), (std::vector<std::string>{"90", "1", "3", "Lion-Tamer", "0", "0", "0", "Circus-Worker"}));
}

// ---- Toggles and minimising ----

TEST_F(Commands, SoundButtonClicksOnEveryPressAndSilencesTheGameOnOddPresses) {
    SetFocus(hSolveMe);
    Press(3250);
    EXPECT_EQ(GetFocus(), main);
    Press(3550);
    EXPECT_EQ(CuesHeard(), std::vector<int>{kClick});  // the new puzzle is silent

    headless_clear_logs();
    Press(3250);
    Press(3550);
    EXPECT_EQ(CuesHeard(), (std::vector<int>{kClick, kNewPuzzleCue}));
}

TEST_F(Commands, HintsButtonHidesTheHintLineOnOddPressesAndLeavesTheFocus) {
    SetFocus(hSolveMe);
    for (bool shownAfter : {false, true, false}) {
        headless_clear_logs();
        Press(3850);
        EXPECT_EQ(Shown(hGiveHint), shownAfter);
        EXPECT_EQ(CuesHeard(), std::vector<int>{kClick});
    }
    EXPECT_EQ(GetFocus(), hSolveMe);
}

TEST_F(Commands, MinimiseButtonMinimisesTheMainWindowWithItsOwnCueEvenWhenSilenced) {
    Press(3250);  // sounds off
    headless_clear_logs();
    Press(4000);
    EXPECT_TRUE(main->minimized);
    EXPECT_FALSE(hWnd->minimized);
    EXPECT_FALSE(Shown(hWnd));
    EXPECT_EQ(CuesHeard(), std::vector<int>{kMinimiseCue});
}

// ---- Arrow keys ----

struct Place {
    int x, y;
};

Place PlaceOf(HWND window) { return {window->x, window->y}; }

TEST_F(Commands, TenRightArrowsMoveBothWindowsTwentyPixels) {
    Place mainBefore = PlaceOf(main), consoleBefore = PlaceOf(hWnd);
    for (int press = 0; press < 10; ++press) headless_post_key(main, VK_RIGHT);
    headless_pump();
    EXPECT_EQ(main->x, mainBefore.x + 20);
    EXPECT_EQ(main->y, mainBefore.y);
    EXPECT_EQ(hWnd->x, consoleBefore.x + 20);
    EXPECT_EQ(hWnd->y, consoleBefore.y);
    EXPECT_EQ(headless_moves().size(), 20u);
    EXPECT_EQ(main->repaints, 10);
    EXPECT_EQ(hWnd->repaints, 10);
}

TEST_F(Commands, EachArrowMovesBothWindowsTheLeadingOneFirstEachWithItsOwnSize) {
    struct Case {
        int key, dx, dy;
        bool consoleFirst;
    };
    const Case cases[] = {
        {VK_LEFT, -2, 0, false}, {VK_UP, 0, -2, false}, {VK_RIGHT, 2, 0, false}, {VK_DOWN, 0, 2, true}};
    for (HWND receiver : {main, hWnd}) {  // the console too moves the pair
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "key " << c.key << (receiver == main ? " to main" : " to console"));
            Place mainBefore = PlaceOf(main), consoleBefore = PlaceOf(hWnd);
            headless_clear_logs();
            EXPECT_EQ(Send(receiver, WM_KEYDOWN, static_cast<WPARAM>(c.key), 1), 0);
            const std::vector<HeadlessMove>& moves = headless_moves();
            ASSERT_EQ(moves.size(), 2u);
            const HeadlessMove& mainMove = moves[c.consoleFirst ? 1 : 0];
            const HeadlessMove& consoleMove = moves[c.consoleFirst ? 0 : 1];
            EXPECT_EQ(mainMove.window, main);
            EXPECT_EQ(mainMove.x, mainBefore.x + c.dx);
            EXPECT_EQ(mainMove.y, mainBefore.y + c.dy);
            EXPECT_EQ(mainMove.width, 900);
            EXPECT_EQ(mainMove.height, 620);
            EXPECT_TRUE(mainMove.repaint);
            EXPECT_EQ(consoleMove.window, hWnd);
            EXPECT_EQ(consoleMove.x, consoleBefore.x + c.dx);
            EXPECT_EQ(consoleMove.y, consoleBefore.y + c.dy);
            EXPECT_EQ(consoleMove.width, 900);
            EXPECT_EQ(consoleMove.height, 106);
            EXPECT_TRUE(consoleMove.repaint);
        }
    }
}

TEST_F(Commands, OtherKeysMoveNothing) {
    // Home (36) and Select (41) border the arrows; 65 is the A key.
    for (int key : {36, 41, 65, 13, 0}) {
        SCOPED_TRACE(key);
        EXPECT_EQ(Send(main, WM_KEYDOWN, static_cast<WPARAM>(key), 1), 0);
    }
    EXPECT_TRUE(headless_moves().empty());
}

TEST_F(Commands, ArrowsMoveThePairFurtherOffASmallScreen) {
    StartFreshProcess(folder);
    headless_set_screen_size(800, 600);
    main = StartUpWithoutLoop();
    Send(main, WM_KEYDOWN, VK_LEFT, 1);
    Send(main, WM_KEYDOWN, VK_UP, 1);
    EXPECT_EQ(PlaceOf(main).x, -52);
    EXPECT_EQ(PlaceOf(main).y, -80);
    EXPECT_EQ(PlaceOf(hWnd).x, -52);
    EXPECT_EQ(PlaceOf(hWnd).y, 540);
}

// ---- Mouse, colours, painting ----

TEST_F(Commands, ReleasingTheMouseButtonFocusesTheWindowUnderIt) {
    for (HWND window : {main, hWnd}) {
        SetFocus(hSolveMe);
        EXPECT_EQ(Send(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5)), 0);
        EXPECT_EQ(GetFocus(), window);
    }
}

TEST_F(Commands, StaticsAndEditsGetBlackTransparentTextOnTheLightGreyStockBrush) {
    for (UINT message : {WM_CTLCOLORSTATIC, WM_CTLCOLOREDIT}) {
        for (HWND window : {main, hWnd}) {
            SCOPED_TRACE(message);
            HDC dc = CreateCompatibleDC(nullptr);
            SetTextColor(dc, RGB(255, 0, 0));
            SetBkMode(dc, OPAQUE);
            int before = headless_live_gdi_objects();
            LRESULT brush = Send(window, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hSolveMe));
            EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetStockObject(LTGRAY_BRUSH)));
            EXPECT_EQ(dc->textColor, RGB(0, 0, 0));
            EXPECT_EQ(dc->bkMode, TRANSPARENT);
            EXPECT_EQ(headless_live_gdi_objects(), before);
            DeleteDC(dc);
        }
    }
}

TEST_F(Commands, PaintingValidatesAndReleasesItsDeviceContext) {
    for (HWND window : {main, hWnd}) {
        int paints = window->paints, dcs = headless_live_dcs();
        EXPECT_EQ(Send(window, WM_PAINT), 0);
        EXPECT_EQ(window->paints, paints + 1);
        EXPECT_EQ(headless_live_dcs(), dcs);
    }
}

// ---- Default processing ----

TEST_F(Commands, UnknownCommandsAndMessagesChangeNothing) {
    const std::string before = TextOf(1960) + TextOf(1930) + TextOf(4400);
    for (int id : {9999, 0, 160, 1960, 4750, 5300}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(Command(main, id), 0);
        EXPECT_EQ(Command(hWnd, id), 0);
    }
    for (UINT message : {WM_MOUSEMOVE, WM_KEYUP, WM_CHAR, WM_SIZE, WM_NULL})
        EXPECT_EQ(Send(main, message, 1, 1), 0) << message;
    EXPECT_TRUE(CuesHeard().empty());
    EXPECT_TRUE(headless_moves().empty());
    EXPECT_EQ(TextOf(1960) + TextOf(1930) + TextOf(4400), before);
    EXPECT_TRUE(IsWindow(main));
    EXPECT_EQ(playertype, 1);
}

TEST_F(Commands, QueryEndSessionIsLeftToDefaultProcessingAndSavesNothing) {
    EXPECT_EQ(Send(main, WM_QUERYENDSESSION), TRUE);
    EXPECT_TRUE(IsWindow(main));
    EXPECT_FALSE(folder.exists("MVStats.dat"));
    EXPECT_EQ(folder.read("MVData.dat"), kPuzzles);
}

TEST_F(Commands, ANotificationCodeInTheHighWordStillRunsTheCommand) {
    Command(main, 3850, 5);  // BN_DOUBLECLICKED
    EXPECT_FALSE(Shown(hGiveHint));
    Command(main, 3850, 0x1234);
    EXPECT_TRUE(Shown(hGiveHint));
}

// ---- Leaving: every way out saves the run once ----

struct WayOut {
    const char* name;
    std::function<void()> leave;
};

const WayOut kWaysOut[] = {
    {"Quit button", [] { Press(5050); }},
    {"X button", [] { Press(4300); }},
    {"WM_CLOSE to the main window", [] { PostMessageA(MainWindow(), WM_CLOSE, 0, 0); }},
    {"WM_CLOSE to the console", [] { PostMessageA(hWnd, WM_CLOSE, 0, 0); }},
    {"Alt+F4", [] { PostMessageA(MainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
    {"end of session, main window", [] { SendMessageA(MainWindow(), WM_ENDSESSION, TRUE, 0); }},
    {"end of session, console", [] { SendMessageA(hWnd, WM_ENDSESSION, TRUE, 0); }},
};

TEST(Leaving, EveryWayOutSavesStatisticsAndPuzzlesAndEndsWithCodeZero) {
    for (const WayOut& way : kWaysOut) {
        SCOPED_TRACE(way.name);
        TempFolder folder;
        StartFreshProcess(folder);
        folder.write("MVData.dat", kPuzzles);
        bool stillRunning = false;  // the loop went on after the way out
        int exitCode = RunProgram({[] {
                                       Press(3550);
                                       WinTheGame();
                                       headless_clear_logs();
                                   },
                                   way.leave, [&] { stillRunning = true; }});
        EXPECT_FALSE(stillRunning);
        EXPECT_EQ(exitCode, 0);
        EXPECT_TRUE(CuesHeard().empty());
        EXPECT_EQ(folder.read("MVStats.dat"), "70 1 0 Circus-Worker 0 0 0 Circus-Worker");
        EXPECT_EQ(folder.read("MVData.dat"), kPurged);
        EXPECT_EQ(folder.read("OnLoad.dat"), Scrambled(kPuzzles));
        for (HWND window : headless_windows()) EXPECT_TRUE(window->destroyed);
    }
}

// The files as they stood when the main window received WM_DESTROY.
struct FilesAtDestroy {
    bool seen = false;
    std::string stats, words, store;
};
FilesAtDestroy filesAtDestroy;
const TempFolder* watchedFolder = nullptr;

LRESULT CALLBACK RecordFilesOnDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY && !filesAtDestroy.seen)
        filesAtDestroy = {true, watchedFolder->read("MVStats.dat"), watchedFolder->read("MVData.dat"),
                          watchedFolder->read("OnLoad.dat")};
    return WindowProcedure(window, message, wParam, lParam);
}

TEST_F(Commands, TheWindowIsDestroyedOnlyAfterPuzzlesAndStatisticsAreSaved) {
    filesAtDestroy = {};
    watchedFolder = &folder;
    main->proc = RecordFilesOnDestroy;  // subclassed, as SetWindowLongPtr would
    Press(5050);
    ASSERT_TRUE(filesAtDestroy.seen);
    EXPECT_EQ(filesAtDestroy.stats, "0 0 0 Circus-Worker 0 0 0 Circus-Worker");
    EXPECT_EQ(filesAtDestroy.words, kPurged);
    EXPECT_EQ(filesAtDestroy.store, Scrambled(kPuzzles));
    EXPECT_FALSE(IsWindow(main));
    EXPECT_FALSE(IsWindow(hWnd));
}

TEST_F(Commands, CloseRequestsAfterTheExitSaveNothingMore) {
    Send(main, WM_CLOSE);
    ASSERT_FALSE(IsWindow(main));
    // Anything written now stands for a later run's files: a second exit
    // would overwrite them.
    folder.write("MVStats.dat", "later");
    folder.write("MVData.dat", "later;run:");
    folder.write("OnLoad.dat", "later store");
    for (HWND window : {main, hWnd}) {
        Send(window, WM_CLOSE);
        Send(window, WM_ENDSESSION, TRUE);
        Command(window, 5050);
        Command(window, 4300);
    }
    EXPECT_EQ(folder.read("MVStats.dat"), "later");
    EXPECT_EQ(folder.read("MVData.dat"), "later;run:");
    EXPECT_EQ(folder.read("OnLoad.dat"), "later store");
}

TEST_F(Commands, ACancelledEndOfSessionChangesNothing) {
    EXPECT_EQ(Send(main, WM_ENDSESSION, FALSE), 0);
    EXPECT_TRUE(IsWindow(main));
    EXPECT_TRUE(IsWindow(hWnd));
    EXPECT_FALSE(folder.exists("MVStats.dat"));
    EXPECT_FALSE(folder.exists("OnLoad.dat"));
    EXPECT_EQ(folder.read("MVData.dat"), kPuzzles);
}

// ---- The console's commands ----

class ConsoleCommands : public Commands {
protected:
    void writeBeforeStart(const TempFolder& f) override {
        f.write("MVC_CONFIG.INI", "Disable_Console= 0\nDisable_VCCntls= 0\n");
    }
};

TEST_F(ConsoleCommands, ShowHideConsoleTogglesTheConsoleWithItsCue) {
    for (bool shownAfter : {true, false}) {
        headless_clear_logs();
        SetFocus(hSolveMe);
        Press(5350);
        EXPECT_EQ(Shown(hWnd), shownAfter);
        EXPECT_EQ(CuesHeard(), std::vector<int>{kConsoleCue});
        EXPECT_EQ(GetFocus(), main);
    }
}

TEST_F(ConsoleCommands, ReviewDeleteAndAddReachTheirHandlersFromTheConsole) {
    Press(5350);
    Press(6000);  // sent to the console, its parent
    EXPECT_EQ(TextOf(5300), "big top");
    EXPECT_EQ(TextOf(5250), "a place for clowns");

    Press(5950);
    EXPECT_EQ(TextOf(5300), "");
    EXPECT_EQ(folder.read("MVData.dat"), "");

    headless_type(hEditWord, "Ring Toss");
    headless_type(hEditHint, "a fair game");
    Press(5200);
    EXPECT_EQ(folder.read("MVData.dat"), "ring toss;a fair game:");
}

}  // namespace
