// The real WinMain against the headless Win32 layer: start-up, the commands
// that are not about the running game, and the ways out.
#include "game_session.h"
#include "game/window_procedure.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using Cues = std::vector<int>;
const char kStats[] = "90 1 3 Lion-Tamer 40 2 5 Juggling-Clown";

std::string StatsShown() {  // both players' figures, in the order of the statistics file
    std::string shown;
    for (int id : {IDC_P1_POINTS, IDC_P1_WINS, IDC_P1_LOSSES, IDC_P1_SKILL, IDC_P2_POINTS, IDC_P2_WINS, IDC_P2_LOSSES,
                   IDC_P2_SKILL})
        shown += (shown.empty() ? "" : " ") + TextOf(id);
    return shown;
}

TEST(StartUp, ShowsTheMainWindowAboveTheHiddenConsoleAroundTheScreenCentreEvenOffASmallScreen) {
    for (auto [width, height, left, top] : {std::tuple{1280, 1024, 190, 134}, {800, 600, -50, -78}}) {
        TempFolder folder;
        StartFreshProcess(folder);
        headless_set_screen_size(width, height);
        EXPECT_EQ(RunProgram({[left = left, top = top] {
                      HWND main = MainWindow();
                      EXPECT_EQ(std::make_tuple(main->x, main->y, main->width, main->height, Shown(main), main->style),
                                std::make_tuple(left, top, 900, 620, true, DWORD(WS_POPUP | WS_SYSMENU)));
                      EXPECT_EQ(std::make_tuple(hWnd->x, hWnd->y, hWnd->width, hWnd->height, Shown(hWnd), hWnd->owner),
                                std::make_tuple(left, top + 620, 900, 106, false, main));
                  }}),
                  0);
    }
}

TEST(StartUp, ShowsTheSavedFiguresAndTheSevenBalloonClownInTheShowStateGiven) {
    for (int showCommand : {SW_SHOWNORMAL, SW_SHOWMINIMIZED}) {
        TempFolder folder;
        StartFreshProcess(folder);
        folder.write("MVStats.dat", kStats);
        EXPECT_EQ(StartUpWithoutLoop(showCommand)->minimized, showCommand == SW_SHOWMINIMIZED);
        EXPECT_EQ(StatsShown() + " " + TextOf(IDC_BALLOON_COUNT), kStats + std::string(" 7"));
        for (HWND clown : {PopZero, PopOne, PopTwo, PopTre, PopFor, PopFiv, PopSix, PopSev})
            EXPECT_EQ(Shown(clown), clown == PopSev);
    }
}

TEST(StartUp, AFailedClassRegistrationEndsTheProgramWithCodeZero) {
    for (const char* failingClass : {"Marivane", "Add_Puzzles"}) {
        TempFolder folder;
        StartFreshProcess(folder);
        headless_fail_class_registration(failingClass);
        EXPECT_EQ(RunProgram({}), 0) << failingClass;
        for (HWND window : headless_windows()) EXPECT_FALSE(Shown(window)) << failingClass;
    }
}

// Windows programs may sit deeper than MAX_PATH, and their path may mix separators.
TEST(StartUp, TheDataFilesLieBesideAProgramWithALongSlashedPath) {
    const std::string dir = "C:\\Games/" + std::string(250, 'k') + "\\bin/";
    TempFolder folder;
    StartFreshProcess(folder);
    headless_set_module_path(dir + "Marivane.exe");
    ASSERT_NE(StartUpWithoutLoop(), nullptr);
    EXPECT_EQ(std::tie(getDrivePath, HelpFiler, ScoreFile, WordsFile, TimerFile, LoadsFile),
              std::make_tuple(dir, dir + "Quorrel-help.chm", dir + "MVStats.dat", dir + "MVData.dat",
                              dir + "MVC_CONFIG.INI", dir + "OnLoad.dat"));
}

struct Commands : ::testing::Test {
    void SetUp() override { start(kStats); }
    void start(const std::string& stats) {
        StartFreshProcess(folder);
        folder.write("MVStats.dat", stats);
        ASSERT_NE(main = StartUpWithoutLoop(), nullptr);
        headless_clear_logs();
    }
    TempFolder folder;
    HWND main = nullptr;
};

TEST_F(Commands, PlayerButtonsSwitchOnlyBetweenGamesOrBeforeTheFirstWrongGuess) {
    // gameRunning, numwrong, difficulty (odd: five balloons, two of them gone at the start), switched
    for (auto [running, wrong, mode, switched] : {std::tuple{0, 7, 0, true}, {1, 0, 0, true}, {1, 1, 0, false},
                                                  {1, 2, 0, false}, {1, 2, 1, true}, {1, 3, 1, false}}) {
        std::tie(gameRunning, numwrong, difficulty, playertype) = std::make_tuple(running, wrong, mode, 1);
        headless_clear_logs();
        Press(IDC_PLAYER_TWO);
        EXPECT_EQ(std::make_tuple(playertype, CuesHeard(), GetFocus() == main),
                  std::make_tuple(switched ? 2 : 1, switched ? Cues{IDW_CLICK} : Cues{}, switched))
            << running << wrong << mode;
        Press(IDC_PLAYER_ONE);
        EXPECT_EQ(playertype, 1);
    }
}

TEST_F(Commands, ResetStatsClearsTheCurrentPlayerOnlyWhenTheyHavePoints) {
    const std::tuple<int, const char*, const char*> rows[] = {  // player, figures before, after
        {1, kStats, "0 0 0 Circus-Worker 40 2 5 Juggling-Clown"}, {2, kStats, "90 1 3 Lion-Tamer 0 0 0 Circus-Worker"},
        {1, "0 0 4 Lion-Tamer 0 0 0 Ring-Master", "0 0 4 Lion-Tamer 0 0 0 Ring-Master"},
        {2, "9 1 0 Lion-Tamer -10 2 5 Ring-Master", "9 1 0 Lion-Tamer -10 2 5 Ring-Master"}};
    for (auto [player, before, after] : rows) {
        start(before);
        playertype = player;
        Press(IDC_RESET_STATS);
        EXPECT_EQ(std::make_tuple(StatsShown(), CuesHeard(), GetFocus() == main),
                  std::make_tuple(after, std::string(before) == after ? Cues{} : Cues{IDW_CLICK}, true));
    }
}

// A double-click on an owner-drawn button notifies BN_DOUBLECLICKED for its second click.
TEST_F(Commands, HintsToggleTheHintLineOnEveryClickOfADoubleClickTooAndMinimiseSoundsWithTheSoundOff) {
    Press(IDC_HINTS);
    EXPECT_FALSE(Shown(hGiveHint));
    headless_double_click_button(ControlById(IDC_HINTS));
    EXPECT_EQ(std::make_tuple(Shown(hGiveHint), CuesHeard()), std::make_tuple(false, Cues(3, IDW_CLICK)));
    Press(IDC_SOUND);
    headless_clear_logs();
    Press(IDC_MINIMISE);
    EXPECT_EQ(std::make_tuple(CuesHeard(), main->minimized), std::make_tuple(Cues{IDW_MINIMISE}, true));
}

TEST_F(Commands, HelpOpensTheFileUnlessTheViewerIsOpenAndReportsAShellFailure) {
    for (auto [viewerOpen, shellResult, box] : {std::tuple{true, 42, "terminating request... help program is currently in use."},
                                                {false, 32, "Help files could not be opened..."}, {false, 33, ""}}) {
        HWND viewer = CreateWindowExA(0, "STATIC", viewerOpen ? "Quorrel-help" : "", 0, 0, 0, 9, 9, 0, 0, 0, 0);
        headless_set_shell_result(shellResult);
        headless_clear_logs();
        Press(IDC_HELP_ME);
        DestroyWindow(viewer);
        const std::string opened = headless_shell_calls().empty() ? "" : headless_shell_calls()[0].verb + " " + headless_shell_calls()[0].file;
        EXPECT_EQ(std::make_tuple(CuesHeard(), headless_message_boxes().empty() ? "" : headless_message_boxes()[0].text, opened),
                  std::make_tuple(Cues{IDW_CLICK}, box, viewerOpen ? "" : "open " + folder.file("Quorrel-help.chm")));
    }
}

TEST_F(Commands, ArrowKeysMoveBothWindowsTheLeadingOneFirstAndOtherKeysNothing) {
    const std::tuple<int, int, int, bool> rows[] = {  // key, step, console moved first
        {VK_LEFT, -2, 0, false}, {VK_UP, 0, -2, false}, {VK_RIGHT, 2, 0, false}, {VK_DOWN, 0, 2, true},
        {'A', 0, 0, false},      {0x24, 0, 0, false},   {0x29, 0, 0, false}};
    for (auto [key, dx, dy, consoleFirst] : rows) {
        const int x = main->x, y = main->y;
        headless_clear_logs();
        headless_post_key(main, key);
        headless_pump();
        ASSERT_EQ(headless_moves().size(), dx || dy ? 2u : 0u) << key;
        for (const HeadlessMove& m : headless_moves())
            EXPECT_EQ(std::make_tuple(m.x, m.y, m.width, m.height, m.repaint),
                      m.window == main ? std::make_tuple(x + dx, y + dy, 900, 620, TRUE)
                                       : std::make_tuple(x + dx, y + dy + 620, 900, 106, TRUE));
        if (dx || dy) EXPECT_EQ(headless_moves()[0].window, consoleFirst ? hWnd : main) << key;
    }
}

TEST_F(Commands, EachWindowTakesTheFocusOnMouseReleaseAndColoursItsControlsBlackOnLightGrey) {
    HDC dc = CreateCompatibleDC(nullptr);
    for (HWND window : {main, hWnd}) {
        SetFocus(hSolveMe);
        SendMessageA(window, WM_LBUTTONUP, 0, 0);
        for (UINT message : {WM_CTLCOLORSTATIC, WM_CTLCOLOREDIT}) {
            std::tie(dc->textColor, dc->bkMode) = std::make_tuple(RGB(255, 0, 0), OPAQUE);
            EXPECT_EQ(SendMessageA(window, message, reinterpret_cast<WPARAM>(dc), 0), LRESULT(GetStockObject(LTGRAY_BRUSH)));
            EXPECT_EQ(std::make_tuple(GetFocus(), dc->textColor, dc->bkMode), std::make_tuple(window, RGB(0, 0, 0), TRANSPARENT));
        }
    }
}

// Each face is loaded afresh, stretched over the item rectangle and freed; a
// pressed button shows the "_down" twin of its own face.
TEST_F(Commands, EachButtonDrawsItsFaceOrWhilePressedItsTwinOverItsWholeRectangle) {
    HDC dc = CreateCompatibleDC(nullptr);
    const int objects = headless_live_gdi_objects();
    for (HWND b : headless_windows()) {
        std::string face[2];
        for (UINT state : {0, ODS_SELECTED}) {
            DRAWITEMSTRUCT item{ODT_BUTTON, UINT(b->id), 0, 0, state, b, dc, {5, 7, 5 + b->width, 7 + b->height}, 0};
            headless_clear_logs();
            if (b->className == "BUTTON") SendMessageA(b->parent, WM_DRAWITEM, b->id, LPARAM(&item));
            for (const HeadlessBlit& blit : headless_blits()) {  // destRect: left, top, width, height
                face[state] += BitmapFile(blit.sourceBitmapId);
                EXPECT_EQ(std::make_tuple(blit.dest, blit.destRect.left, blit.destRect.top, blit.destRect.right,
                                          blit.destRect.bottom), std::make_tuple(dc, 5, 7, b->width, b->height));
            }
        }
        if (b->className == "BUTTON") EXPECT_EQ(face[1], face[0].substr(0, face[0].size() - 4) + "_down.bmp") << b->id;
    }
    EXPECT_EQ(headless_live_gdi_objects(), objects);
}

// Each way out saves the figures and the puzzles and ends the program; later
// requests save nothing, for a second scramble would store the purged puzzle
// file over the real store. An end of session that does not happen changes nothing.
TEST(Leaving, EveryWayOutSavesTheRunOnceThenEndsWithCodeZero) {
    const std::tuple<bool, UINT, WPARAM> waysOut[] = {  // to the console, message, wParam
        {false, WM_COMMAND, IDC_QUIT}, {false, WM_COMMAND, IDC_CLOSE}, {false, WM_CLOSE, 0},        {true, WM_CLOSE, 0},
        {false, WM_ENDSESSION, TRUE},  {true, WM_ENDSESSION, TRUE},    {false, WM_ENDSESSION, FALSE}};
    for (auto [toConsole, message, wParam] : waysOut) {
        TempFolder folder;
        StartFreshProcess(folder);
        folder.write("MVData.dat", "big top;a place for clowns:");
        bool goesOn = false;
        const auto leave = [=] { SendMessageA(toConsole ? hWnd : MainWindow(), message, wParam, 0); };
        EXPECT_EQ(RunProgram({leave, [&] { goesOn = !folder.exists("MVStats.dat"); }}), 0);
        EXPECT_EQ(goesOn, message == WM_ENDSESSION && !wParam) << message << toConsole;
        const auto saved = [&] { return folder.read("MVStats.dat") + "|" + folder.read("MVData.dat") + "|" + folder.read("OnLoad.dat"); };
        EXPECT_EQ(saved(), "0 0 0 Circus-Worker 0 0 0 Circus-Worker|Data purged...|ckj$yuwCj*qndgj&mw{*dnr{syA");
        for (const char* file : {"MVStats.dat", "MVData.dat", "OnLoad.dat"}) folder.write(file, "later");
        for (auto [again, request, parameter] : waysOut) SendMessageA(headless_windows()[again], request, parameter, 0);
        EXPECT_EQ(saved(), "later|later|later") << message << toConsole;
    }
}

}  // namespace
