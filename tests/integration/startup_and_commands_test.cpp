// The real WinMain against the headless Win32 layer: start-up, the commands
// that are not about the running game, and the ways out.
#include "game_session.h"
#include "game/window_procedure.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using Cues = std::vector<int>;
const char kPuzzles[] = "big top;a place for clowns:";
const char kStats[] = "90 1 3 Lion-Tamer 40 2 5 Juggling-Clown";

// Both players' points, wins, losses and skill as shown, in the statistics file's order.
std::string StatsShown() {
    std::string shown;
    for (int id : {IDC_P1_POINTS, IDC_P1_WINS, IDC_P1_LOSSES, IDC_P1_SKILL, IDC_P2_POINTS, IDC_P2_WINS, IDC_P2_LOSSES,
                   IDC_P2_SKILL})
        shown += (shown.empty() ? "" : " ") + TextOf(id);
    return shown;
}

TEST(StartUp, PlacesTheMainWindowAboveTheHiddenConsoleAroundTheScreenCentre) {
    // 800 x 600 is smaller than the two windows together: they are not moved onto it.
    for (auto [width, height, left, top] : {std::tuple{1280, 1024, 190, 134}, {800, 600, -50, -78}}) {
        TempFolder folder;
        StartFreshProcess(folder);
        headless_set_screen_size(width, height);
        EXPECT_EQ(RunProgram({[left = left, top = top] {
                      HWND main = MainWindow();
                      EXPECT_EQ(std::make_tuple(main->x, main->y, main->width, main->height, Shown(main)),
                                std::make_tuple(left, top, 900, 620, true));
                      EXPECT_EQ(std::make_tuple(hWnd->x, hWnd->y, hWnd->width, hWnd->height, Shown(hWnd), hWnd->owner),
                                std::make_tuple(left, top + 620, 900, 106, false, main));
                      EXPECT_EQ(hWnd->className + " " + hWnd->text, "Add_Puzzles Add_Puzzle");
                      for (HWND window : {main, hWnd}) EXPECT_EQ(window->style, DWORD(WS_POPUP | WS_SYSMENU));
                      const std::vector<HeadlessClass>& classes = headless_classes();
                      EXPECT_EQ(classes.at(0).fields.hbrBackground->resourceId, IDB_MAIN_BACKGROUND);
                      EXPECT_EQ(classes.at(1).fields.hbrBackground->resourceId, IDB_CONSOLE_BACKGROUND);
                      for (const HeadlessClass& c : classes) EXPECT_EQ(c.fields.lpfnWndProc, &WindowProcedure);
                  }}),
                  0);
    }
}

TEST(StartUp, ShowsTheSavedStatisticsEveryLetterAndTheSevenBalloonClownInTheShowStateGiven) {
    for (int showCommand : {SW_SHOWNORMAL, SW_SHOWMINIMIZED}) {
        TempFolder folder;
        StartFreshProcess(folder);
        folder.write("MVStats.dat", kStats);
        HWND main = StartUpWithoutLoop(showCommand);
        EXPECT_EQ(main->minimized, showCommand == SW_SHOWMINIMIZED);
        EXPECT_EQ(StatsShown(), kStats);
        EXPECT_EQ(TextOf(IDC_BALLOON_COUNT), "7");
        for (int i = 0; i < kLetterCount; ++i)
            EXPECT_TRUE(Shown(hLetters[i]) && hLetters[i]->image->resourceId == IDB_LETTER_A + IDB_LETTER_STEP * i);
        const HWND clowns[] = {PopZero, PopOne, PopTwo, PopTre, PopFor, PopFiv, PopSix, PopSev};
        for (int balloons = 0; balloons < 8; ++balloons) {
            EXPECT_EQ(Shown(clowns[balloons]), balloons == 7);
            const int bitmap = balloons ? IDB_BALLOONS_1 + IDB_BALLOONS_STEP * (balloons - 1) : IDB_SAD_CLOWN;
            EXPECT_EQ(clowns[balloons]->image->resourceId, bitmap);
        }
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
    const std::string directory = "C:\\Games/" + std::string(250, 'k') + "\\bin/";
    TempFolder folder;
    StartFreshProcess(folder);
    headless_set_module_path(directory + "Marivane.exe");
    ASSERT_NE(StartUpWithoutLoop(), nullptr);
    for (const auto& [path, name] : {std::pair{&getDrivePath, ""}, {&HelpFiler, "Quorrel-help.chm"},
                                     {&ScoreFile, "MVStats.dat"}, {&WordsFile, "MVData.dat"},
                                     {&TimerFile, "MVC_CONFIG.INI"}, {&LoadsFile, "OnLoad.dat"}})
        EXPECT_EQ(*path, directory + name);
}

struct Commands : ::testing::Test {
    void SetUp() override { start(kStats); }
    void start(const std::string& stats) {
        StartFreshProcess(folder);
        folder.write("MVData.dat", kPuzzles);
        folder.write("MVStats.dat", stats);
        main = StartUpWithoutLoop();
        ASSERT_NE(main, nullptr);
        headless_clear_logs();
    }
    TempFolder folder;
    HWND main = nullptr;
};

TEST_F(Commands, PlayerButtonsSwitchOnlyBetweenGamesOrBeforeTheFirstWrongGuess) {
    // gameRunning, numwrong, difficulty (odd: five balloons, two gone at the start), switched
    const std::tuple<int, int, int, bool> rows[] = {{0, 7, 0, true},  {1, 0, 0, true},  {1, 1, 0, false},
                                                    {1, 2, 0, false}, {1, 2, 1, true},  {1, 3, 1, false}};
    for (auto [running, wrong, mode, switched] : rows) {
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
    const std::tuple<int, const char*, const char*> rows[] = {
        {1, kStats, "0 0 0 Circus-Worker 40 2 5 Juggling-Clown"},
        {2, kStats, "90 1 3 Lion-Tamer 0 0 0 Circus-Worker"},
        {1, "0 0 4 Lion-Tamer 40 2 5 Juggling-Clown", "0 0 4 Lion-Tamer 40 2 5 Juggling-Clown"},
        {2, "90 1 3 Lion-Tamer -10 2 5 Ring-Master", "90 1 3 Lion-Tamer -10 2 5 Ring-Master"}};
    for (auto [player, stats, shown] : rows) {
        start(stats);
        playertype = player;
        Press(IDC_RESET_STATS);
        EXPECT_EQ(StatsShown(), shown);
        EXPECT_EQ(CuesHeard(), StatsShown() == stats ? Cues{} : Cues{IDW_CLICK}) << stats;
        EXPECT_EQ(GetFocus(), main);
    }
}

TEST_F(Commands, HintsHideTheHintLineOnOddPressesAndMinimiseIsHeardWithTheSoundOff) {
    Press(IDC_HINTS);
    EXPECT_FALSE(Shown(hGiveHint));
    Press(IDC_HINTS);
    EXPECT_TRUE(Shown(hGiveHint));
    Press(IDC_SOUND);
    headless_clear_logs();
    Press(IDC_MINIMISE);
    EXPECT_EQ(CuesHeard(), Cues{IDW_MINIMISE});
    EXPECT_TRUE(main->minimized);
}

// A double-click on an owner-drawn button notifies BN_DOUBLECLICKED for its second click.
TEST_F(Commands, ADoubleClickRunsTheCommandTwice) {
    headless_double_click_button(ControlById(IDC_HINTS));
    EXPECT_EQ(CuesHeard(), (Cues{IDW_CLICK, IDW_CLICK}));
    EXPECT_TRUE(Shown(hGiveHint));
}

TEST_F(Commands, HelpOpensTheFileUnlessTheViewerIsOpenAndReportsAShellFailure) {
    const std::tuple<bool, int, std::string> rows[] = {
        {true, 42, "terminating request... help program is currently in use."},
        {false, 32, "Help files could not be opened..."}, {false, 33, ""}};  // viewer open, shell result, box
    for (const auto& [viewerOpen, shellResult, box] : rows) {
        HWND viewer = CreateWindowExA(0, "STATIC", viewerOpen ? "Quorrel-help" : "", 0, 0, 0, 9, 9, 0, 0, 0, 0);
        headless_set_shell_result(shellResult);
        headless_clear_logs();
        Press(IDC_HELP_ME);
        DestroyWindow(viewer);
        EXPECT_EQ(CuesHeard(), Cues{IDW_CLICK});
        EXPECT_EQ(headless_message_boxes().empty() ? "" : headless_message_boxes()[0].text, box);
        EXPECT_EQ(headless_shell_calls().size(), viewerOpen ? 0u : 1u);
        for (const HeadlessShellCall& call : headless_shell_calls())
            EXPECT_EQ(std::tie(call.verb, call.file), std::make_tuple("open", folder.file("Quorrel-help.chm")));
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
        for (const HeadlessMove& m : headless_moves()) {
            const bool isMain = m.window == main;
            EXPECT_EQ(std::make_tuple(m.x, m.y, m.width, m.height, m.repaint),
                      std::make_tuple(x + dx, y + dy + (isMain ? 0 : 620), 900, isMain ? 620 : 106, TRUE));
        }
        if (dx || dy) EXPECT_EQ(headless_moves()[0].window, consoleFirst ? hWnd : main) << key;
    }
}

TEST_F(Commands, EachWindowTakesTheFocusOnMouseReleaseAndColoursItsControls) {
    for (HWND window : {main, hWnd}) {
        SetFocus(hSolveMe);
        SendMessageA(window, WM_LBUTTONUP, 0, 0);
        EXPECT_EQ(GetFocus(), window);
        for (UINT message : {WM_CTLCOLORSTATIC, WM_CTLCOLOREDIT}) {
            HDC dc = CreateCompatibleDC(nullptr);
            SetTextColor(dc, RGB(255, 0, 0));
            EXPECT_EQ(SendMessageA(window, message, reinterpret_cast<WPARAM>(dc), 0),
                      reinterpret_cast<LRESULT>(GetStockObject(LTGRAY_BRUSH)));  // light grey behind black text
            EXPECT_EQ(std::tie(dc->textColor, dc->bkMode), std::make_tuple(RGB(0, 0, 0), TRANSPARENT));
            DeleteDC(dc);
        }
    }
}

// Each face is loaded afresh, stretched over the item rectangle and freed.
TEST_F(Commands, EachButtonDrawsItsOwnFaceOrItsPressedTwinOverItsWholeRectangle) {
    HDC dc = CreateCompatibleDC(nullptr);
    const int objects = headless_live_gdi_objects(), dcs = headless_live_dcs();
    std::set<std::string> faces;
    for (HWND button : headless_windows()) {
        if (button->className != "BUTTON") continue;
        std::string face[2];
        for (UINT pressed : {0u, 1u}) {
            const RECT place{5, 7, 5 + button->width, 7 + button->height};
            DRAWITEMSTRUCT item{ODT_BUTTON, UINT(button->id), 0, 0, pressed ? ODS_SELECTED : 0u, button, dc, place, 0};
            headless_clear_logs();
            SendMessageA(button->parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
            ASSERT_EQ(headless_blits().size(), 1u) << button->id;
            const HeadlessBlit& b = headless_blits()[0];
            EXPECT_EQ(std::make_tuple(b.dest, b.destRect.left, b.destRect.top, b.destRect.right, b.destRect.bottom),
                      std::make_tuple(dc, 5, 7, button->width, button->height));
            face[pressed] = BitmapFile(b.sourceBitmapId);
        }
        EXPECT_EQ(face[1], face[0].substr(0, face[0].size() - 4) + "_down.bmp") << button->id;
        EXPECT_TRUE(faces.insert(face[0]).second) << face[0] << " serves two buttons";
    }
    EXPECT_EQ(faces.size(), 17u);
    EXPECT_EQ(std::make_tuple(objects, dcs), std::make_tuple(headless_live_gdi_objects(), headless_live_dcs()));
    DeleteDC(dc);
}

// Each way out saves the statistics and the puzzles and ends the program;
// later requests save nothing more, for a second scramble would store the
// purged puzzle file over the real store. An end of session that does not
// happen (FALSE) changes nothing.
TEST(Leaving, EveryWayOutSavesTheRunOnceThenEndsWithCodeZero) {
    const std::tuple<bool, UINT, WPARAM> waysOut[] = {{false, WM_COMMAND, IDC_QUIT},  {false, WM_COMMAND, IDC_CLOSE},
                                                      {false, WM_CLOSE, 0},           {true, WM_CLOSE, 0},
                                                      {false, WM_ENDSESSION, TRUE},   {true, WM_ENDSESSION, TRUE},
                                                      {false, WM_ENDSESSION, FALSE}};
    for (auto [toConsole, message, wParam] : waysOut) {
        SCOPED_TRACE(testing::Message() << "message " << message << ", " << wParam << " to console " << toConsole);
        TempFolder folder;
        StartFreshProcess(folder);
        folder.write("MVData.dat", kPuzzles);
        HWND main = nullptr;
        bool stillRunning = false;
        const auto leave = [&, toConsole = toConsole, message = message, wParam = wParam] {
            main = MainWindow();
            SendMessageA(toConsole ? hWnd : main, message, wParam, 0);
        };
        EXPECT_EQ(RunProgram({leave, [&] { stillRunning = !folder.exists("MVStats.dat"); }}), 0);
        EXPECT_EQ(stillRunning, message == WM_ENDSESSION && !wParam);
        const auto saved = [&folder] {
            return folder.read("MVStats.dat") + "|" + folder.read("MVData.dat") + "|" + folder.read("OnLoad.dat");
        };
        EXPECT_EQ(saved(), "0 0 0 Circus-Worker 0 0 0 Circus-Worker|Data purged...|ckj$yuwCj*qndgj&mw{*dnr{syA");
        for (const char* file : {"MVStats.dat", "MVData.dat", "OnLoad.dat"}) folder.write(file, "later");
        for (auto [again, request, parameter] : waysOut) SendMessageA(again ? hWnd : main, request, parameter, 0);
        EXPECT_EQ(saved(), "later|later|later");
    }
}

}  // namespace
