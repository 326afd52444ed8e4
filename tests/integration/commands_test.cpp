// The window procedure driven as the system drives it: buttons, keys, mouse,
// colour and paint requests, close requests and the end of the session,
// after a real start-up through WinMain.
#include "game_session.h"
#include "game/window_procedure.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

const int kClick = 4450, kMinimiseCue = 4500, kNewPuzzleCue = 4700;
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
    void SetUp() override { start(); }
    void start(const std::string& statistics = "") {
        StartFreshProcess(folder);
        folder.write("MVData.dat", kPuzzles);
        if (!statistics.empty()) folder.write("MVStats.dat", statistics);
        main = StartUpWithoutLoop();
        ASSERT_NE(main, nullptr);
        headless_clear_logs();
    }

    TempFolder folder;
    HWND main = nullptr;
};

TEST_F(Commands, PlayerSwitchIsRefusedOnceAWrongGuessHasBeenMade) {
    struct Case {
        int gameRunning, numwrong, difficulty;
        bool accepted;
    };
    // No game running, no balloon lost, one wrong guess, only the 5-balloon head start lost, and more.
    const Case cases[] = {{0, 4, 0, true}, {1, 0, 0, true},  {1, 1, 0, false}, {1, 1, 1, false},
                          {1, 2, 1, true}, {1, 2, 0, false}, {1, 3, 1, false}};
    for (const Case& c : cases) {
        for (int player : {1, 2}) {
            SCOPED_TRACE(testing::Message() << "player " << player << ", running " << c.gameRunning << ", numwrong "
                                            << c.numwrong << ", difficulty " << c.difficulty);
            gameRunning = c.gameRunning;
            numwrong = c.numwrong;
            difficulty = c.difficulty;
            playertype = 3 - player;
            SetFocus(hSolveMe);
            headless_clear_logs();
            Press(player == 1 ? 2800 : 2950);
            EXPECT_EQ(playertype, c.accepted ? player : 3 - player);
            EXPECT_EQ(CuesHeard(), c.accepted ? std::vector<int>{kClick} : std::vector<int>{});
            EXPECT_EQ(GetFocus(), c.accepted ? main : hSolveMe);
        }
    }
}

TEST_F(Commands, PlayerTwoCanTakeOverAFiveBalloonGameAndWinsIt) {
    Press(3550);
    Press(3400);  // five balloons: two already gone
    Press(2950);
    EXPECT_EQ(playertype, 2);
    WinTheGame();
    EXPECT_EQ(TextOf(1780), "1");
    EXPECT_EQ(TextOf(1750), "0");
}

TEST_F(Commands, ResetStatsClearsTheCurrentPlayerOnlyWhenTheyHavePoints) {
    struct Case {
        const char* statistics;
        int player;
        std::string boxesAfter;  // player one's points, wins, losses, rank, then player two's
        bool click;
    };
    const Case cases[] = {
        {"90 1 3 Lion-Tamer 0 2 5 Juggling-Clown", 1, "0 0 0 Circus-Worker 0 2 5 Juggling-Clown", true},
        {"90 1 3 Lion-Tamer 0 2 5 Juggling-Clown", 2, "90 1 3 Lion-Tamer 0 2 5 Juggling-Clown", false},
        {"0 1 3 Lion-Tamer 40 2 5 Juggling-Clown", 2, "0 1 3 Lion-Tamer 0 0 0 Circus-Worker", true},
        {"0 1 3 Lion-Tamer 40 2 5 Juggling-Clown", 1, "0 1 3 Lion-Tamer 40 2 5 Juggling-Clown", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.statistics << ", player " << c.player);
        start(c.statistics);
        playertype = c.player;
        SetFocus(hSolveMe);
        Press(3100);
        std::string boxes;
        for (int id : {1690, 1750, 1810, 1870, 1720, 1780, 1840, 1900}) boxes += TextOf(id) + " ";
        EXPECT_EQ(boxes, c.boxesAfter + " ");
        EXPECT_EQ(CuesHeard(), c.click ? std::vector<int>{kClick} : std::vector<int>{});
        EXPECT_EQ(GetFocus(), main);
    }
}

TEST_F(Commands, SoundButtonClicksOnEveryPressAndSilencesTheGameOnOddPresses) {
    for (bool silenced : {true, false, true}) {
        SetFocus(hSolveMe);
        headless_clear_logs();
        Press(3250);
        EXPECT_EQ(GetFocus(), main);
        Press(3550);
        EXPECT_EQ(CuesHeard(), (silenced ? std::vector<int>{kClick} : std::vector<int>{kClick, kNewPuzzleCue}));
    }
}

// Any notification code in the high word runs the command, not only BN_CLICKED.
TEST_F(Commands, HintsButtonHidesTheHintLineOnOddPressesAndLeavesTheFocus) {
    SetFocus(hSolveMe);
    for (auto [notification, shownAfter] : {std::pair{BN_CLICKED, false}, {5, true}, {0x1234, false}}) {
        headless_clear_logs();
        EXPECT_EQ(Command(main, 3850, notification), 0);
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
    EXPECT_EQ(CuesHeard(), std::vector<int>{kMinimiseCue});
}

TEST_F(Commands, TenRightArrowsMoveBothWindowsTwentyPixels) {
    const std::pair mainBefore{main->x, main->y}, consoleBefore{hWnd->x, hWnd->y};
    for (int press = 0; press < 10; ++press) headless_post_key(main, VK_RIGHT);
    headless_pump();
    EXPECT_EQ(std::pair(main->x, main->y), std::pair(mainBefore.first + 20, mainBefore.second));
    EXPECT_EQ(std::pair(hWnd->x, hWnd->y), std::pair(consoleBefore.first + 20, consoleBefore.second));
}

TEST_F(Commands, EachArrowMovesBothWindowsTheLeadingOneFirstEachWithItsOwnSize) {
    using Move = std::tuple<HWND, int, int, int, int, BOOL>;  // window, x, y, width, height, repaint
    struct Case {
        int key, dx, dy;
        bool consoleFirst;
    };
    const Case cases[] = {
        {VK_LEFT, -2, 0, false}, {VK_UP, 0, -2, false}, {VK_RIGHT, 2, 0, false}, {VK_DOWN, 0, 2, true}};
    for (HWND receiver : {main, hWnd}) {  // the console too moves the pair
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "key " << c.key << (receiver == main ? " to main" : " to console"));
            const Move mainMove{main, main->x + c.dx, main->y + c.dy, 900, 620, TRUE};
            const Move consoleMove{hWnd, hWnd->x + c.dx, hWnd->y + c.dy, 900, 106, TRUE};
            headless_clear_logs();
            EXPECT_EQ(Send(receiver, WM_KEYDOWN, static_cast<WPARAM>(c.key), 1), 0);
            std::vector<Move> moves;
            for (const HeadlessMove& m : headless_moves())
                moves.emplace_back(m.window, m.x, m.y, m.width, m.height, m.repaint);
            const std::vector<Move> expected =
                c.consoleFirst ? std::vector<Move>{consoleMove, mainMove} : std::vector<Move>{mainMove, consoleMove};
            EXPECT_EQ(moves, expected);
        }
    }
}

TEST_F(Commands, EachWindowTakesTheFocusOnMouseReleasePaintsAndColoursItsControls) {
    for (HWND window : {main, hWnd}) {
        SetFocus(hSolveMe);
        EXPECT_EQ(Send(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5)), 0);
        EXPECT_EQ(GetFocus(), window);

        int paints = window->paints, dcs = headless_live_dcs(), objects = headless_live_gdi_objects();
        EXPECT_EQ(Send(window, WM_PAINT), 0);
        EXPECT_EQ(window->paints, paints + 1);  // validated
        EXPECT_EQ(headless_live_dcs(), dcs);

        // Statics and edits: black transparent text on the light grey stock brush.
        for (UINT message : {WM_CTLCOLORSTATIC, WM_CTLCOLOREDIT}) {
            HDC dc = CreateCompatibleDC(nullptr);
            SetTextColor(dc, RGB(255, 0, 0));
            LRESULT brush = Send(window, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hSolveMe));
            EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetStockObject(LTGRAY_BRUSH)));
            EXPECT_EQ(dc->textColor, RGB(0, 0, 0));
            EXPECT_EQ(dc->bkMode, TRANSPARENT);
            DeleteDC(dc);
        }
        EXPECT_EQ(headless_live_gdi_objects(), objects);
    }
}

TEST_F(Commands, OtherCommandsKeysAndMessagesGetDefaultProcessingAndChangeNothing) {
    const std::string before = TextOf(1960) + TextOf(1930) + TextOf(4400);
    for (int id : {9999, 0, 160, 1960, 4750, 5300}) {
        EXPECT_EQ(Command(main, id), 0) << id;
        EXPECT_EQ(Command(hWnd, id), 0) << id;
    }
    // Home (36) and Select (41) border the arrows; 65 is the A key.
    for (int key : {36, 41, 65, 13, 0}) EXPECT_EQ(Send(main, WM_KEYDOWN, static_cast<WPARAM>(key), 1), 0) << key;
    for (UINT message : {WM_MOUSEMOVE, WM_KEYUP, WM_CHAR, WM_SIZE, WM_NULL})
        EXPECT_EQ(Send(main, message, 1, 1), 0) << message;
    EXPECT_EQ(Send(main, WM_QUERYENDSESSION), TRUE);
    EXPECT_EQ(Send(main, WM_ENDSESSION, FALSE), 0);  // cancelled: nothing to save

    EXPECT_TRUE(CuesHeard().empty());
    EXPECT_TRUE(headless_moves().empty());
    EXPECT_EQ(TextOf(1960) + TextOf(1930) + TextOf(4400), before);
    EXPECT_EQ(playertype, 1);
    EXPECT_TRUE(IsWindow(main) && IsWindow(hWnd));
    EXPECT_FALSE(folder.exists("MVStats.dat") || folder.exists("OnLoad.dat"));
    EXPECT_EQ(folder.read("MVData.dat"), kPuzzles);
}

// The files as they stood when the main window received WM_DESTROY.
const TempFolder* watchedFolder = nullptr;
std::vector<std::string> filesAtDestroy;
const char* const kSavedFiles[] = {"MVStats.dat", "MVData.dat", "OnLoad.dat"};

LRESULT CALLBACK RecordFilesOnDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY && filesAtDestroy.empty())
        for (const char* name : kSavedFiles) filesAtDestroy.push_back(watchedFolder->read(name));
    return WindowProcedure(window, message, wParam, lParam);
}

// Each saves the run once and only then destroys the window.
TEST(Leaving, EveryWayOutSavesStatisticsAndPuzzlesThenEndsWithCodeZero) {
    const std::pair<const char*, std::function<void()>> waysOut[] = {
        {"Quit button", [] { Press(5050); }},
        {"X button", [] { Press(4300); }},
        {"WM_CLOSE to the main window", [] { PostMessageA(MainWindow(), WM_CLOSE, 0, 0); }},
        {"WM_CLOSE to the console", [] { PostMessageA(hWnd, WM_CLOSE, 0, 0); }},
        {"Alt+F4", [] { PostMessageA(MainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"end of session, main window", [] { SendMessageA(MainWindow(), WM_ENDSESSION, TRUE, 0); }},
        {"end of session, console", [] { SendMessageA(hWnd, WM_ENDSESSION, TRUE, 0); }},
    };
    const std::vector<std::string> saved{"70 1 0 Circus-Worker 0 0 0 Circus-Worker", kPurged, Scrambled(kPuzzles)};
    for (const auto& [name, leave] : waysOut) {
        SCOPED_TRACE(name);
        TempFolder folder;
        StartFreshProcess(folder);
        folder.write("MVData.dat", kPuzzles);
        watchedFolder = &folder;
        filesAtDestroy.clear();
        bool stillRunning = false;  // the loop went on after the way out
        int exitCode = RunProgram({[] {
                                       MainWindow()->proc = RecordFilesOnDestroy;  // as SetWindowLongPtr would
                                       Press(3550);
                                       WinTheGame();
                                       headless_clear_logs();
                                   },
                                   leave, [&] { stillRunning = true; }});
        EXPECT_FALSE(stillRunning);
        EXPECT_EQ(exitCode, 0);
        EXPECT_TRUE(CuesHeard().empty());
        EXPECT_EQ(filesAtDestroy, saved);
        for (std::size_t i = 0; i < std::size(kSavedFiles); ++i) EXPECT_EQ(folder.read(kSavedFiles[i]), saved[i]);
        for (HWND window : headless_windows()) EXPECT_TRUE(window->destroyed);
    }
}

TEST_F(Commands, CloseRequestsAfterTheExitSaveNothingMore) {
    Send(main, WM_CLOSE);
    ASSERT_FALSE(IsWindow(main));
    // These stand for a later run's files: a second exit would overwrite them
    // (a second scramble would store the purged file over the real store).
    for (const char* name : kSavedFiles) folder.write(name, "later");
    for (HWND window : {main, hWnd}) {
        Send(window, WM_CLOSE);
        Send(window, WM_ENDSESSION, TRUE);
        Command(window, 5050);
        Command(window, 4300);
    }
    for (const char* name : kSavedFiles) EXPECT_EQ(folder.read(name), "later") << name;
}

}  // namespace
