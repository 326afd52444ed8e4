// The real WinMain against the headless Win32 layer: start-up, then the window
// procedure driven as the system drives it. The expected layout is written out
// here on its own, so that a slip in the program's control table shows up.
#include "game_session.h"
#include "game/window_procedure.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <tuple>

namespace {

const int kClick = 4450;
const char kPuzzles[] = "big top;a place for clowns:";

// Class name, title, style, owner, place and visibility of a window, and the
// procedure and background bitmap of the class registered in that place.
std::string Describe(HWND window, std::size_t registered) {
    const WNDCLASSEXA& wc = headless_classes().at(registered).fields;
    std::ostringstream text;
    text << window->className << " '" << window->text << "' " << std::hex << window->style << std::dec
         << (window->owner == MainWindow() ? " owned " : " ") << window->x << ',' << window->y << ' ' << window->width
         << 'x' << window->height << (Shown(window) ? " shown" : " hidden") << ", class "
         << headless_classes()[registered].name << (wc.lpfnWndProc == &WindowProcedure ? " ours" : " foreign")
         << " bitmap " << (wc.hbrBackground ? wc.hbrBackground->resourceId : 0);
    return text.str();
}

// Id, kind (B owner-drawn button, P picture, T text without prefixes, S plain
// text, C centred text, E edit box; lower case on the console), place, text
// limit, text and visibility of a control.
std::string DescribeControl(HWND control) {
    const std::pair<const char*, DWORD> kinds[] = {
        {"BUTTON", BS_OWNERDRAW}, {"STATIC", SS_BITMAP}, {"STATIC", SS_SIMPLE | SS_NOPREFIX},
        {"STATIC", SS_SIMPLE},    {"STATIC", SS_CENTER}, {"EDIT", 0}};
    char kind = '?';
    for (std::size_t k = 0; k < std::size(kinds); ++k)
        if (control->className == kinds[k].first && control->style == (WS_CHILD | WS_VISIBLE | kinds[k].second))
            kind = "BPTSCE"[k];
    if (control->parent == hWnd)
        kind = static_cast<char>(kind + 'a' - 'A');
    else if (control->parent != MainWindow())
        kind = '!';
    std::ostringstream text;
    text << control->id << ' ' << kind << ' ' << control->x << ',' << control->y << ' ' << control->width << 'x'
         << control->height;
    if (control->textLimit != 0) text << " <" << control->textLimit;
    if (!control->text.empty()) text << ' ' << control->text;
    if (!Shown(control)) text << " hidden";
    return text.str();
}

// In creation order; the texts are those shown without a statistics file.
const char* const kControls[] = {
    "2800 B 761,359 102x25", "2950 B 761,391 102x25", "3100 B 761,432 102x23", "3250 B 761,459 102x24",
    "3400 B 761,487 80x23",  "3550 B 647,432 93x23",  "3700 B 647,460 93x23",  "3850 B 647,487 93x23",
    "4000 B 818,3 24x18",    "4150 B 844,3 24x19",    "4300 B 870,3 24x19",    "4900 B 27,575 116x23",
    "5050 B 560,575 49x23",  "5350 B 493,575 65x23",  "5200 b 757,62 116x23",  "5950 b 831,20 42x23",
    "6000 b 757,20 72x23",
    "160 P 82,483 18x20",   "220 P 120,483 16x20",  "280 P 156,483 18x20",  "340 P 195,483 17x20",
    "400 P 232,483 16x20",  "460 P 269,483 15x20",  "520 P 305,483 19x20",  "580 P 346,483 16x20",
    "640 P 384,483 9x20",   "700 P 411,483 12x20",  "760 P 444,483 17x20",  "820 P 481,483 13x20",
    "880 P 515,483 18x20",  "940 P 83,518 16x20",   "1000 P 118,518 20x20", "1060 P 158,518 16x20",
    "1120 P 193,518 20x21", "1180 P 233,518 17x20", "1240 P 267,518 17x20", "1300 P 306,518 17x20",
    "1360 P 346,518 16x20", "1420 P 375,518 18x20", "1480 P 404,518 26x20", "1540 P 444,518 18x20",
    "1600 P 480,518 19x20", "1660 P 517,518 17x20",
    "1690 T 760,112 106x18 0", "1720 T 760,247 106x18 0", "1750 T 760,141 40x18 0", "1780 T 760,276 40x18 0",
    "1810 T 826,141 40x18 0",  "1840 T 826,276 40x18 0",  "1870 T 760,171 106x18 Circus-Worker",
    "1900 T 760,306 106x18 Circus-Worker", "1930 C 646,525 220x17", "1960 T 28,38 846x25", "5500 S 28,38 846x25",
    "4350 C 656,385 75x32", "4400 T 847,490 14x18 7", "6100 P 279,199 90x90 hidden",
    "2350 P 258,99 119x182 hidden", "2400 P 258,99 119x182 hidden", "2450 P 258,99 119x182 hidden",
    "2500 P 258,99 119x182 hidden", "2550 P 258,99 119x182 hidden", "2600 P 258,99 119x182 hidden",
    "2650 P 258,99 119x182", "4750 E 150,577 338x20", "5300 e 302,22 352x20 <38", "5250 e 302,64 260x20 <34",
};

TEST(StartUp, ShowsTheMainWindowAndItsControlsAboveTheHiddenConsoleAroundTheScreenCentreAndEndsWithCodeZero) {
    // 800 x 600 is smaller than the 900 x 726 block of the two windows.
    const std::tuple<int, int, std::string, std::string> screens[] = {
        {1280, 1024, "Marivane 'Marivane' 80080000 190,134 900x620 shown, class Marivane ours bitmap 48",
         "Add_Puzzles 'Add_Puzzle' 80080000 owned 190,754 900x106 hidden, class Add_Puzzles ours bitmap 100"},
        {800, 600, "Marivane 'Marivane' 80080000 -50,-78 900x620 shown, class Marivane ours bitmap 48",
         "Add_Puzzles 'Add_Puzzle' 80080000 owned -50,542 900x106 hidden, class Add_Puzzles ours bitmap 100"}};
    for (const auto& [width, height, main, console] : screens) {
        SCOPED_TRACE(testing::Message() << width << " x " << height);
        TempFolder folder;
        StartFreshProcess(folder);
        headless_set_screen_size(width, height);
        const auto expectWindowsAndControls = [&main = main, &console = console] {
            EXPECT_EQ(Describe(MainWindow(), 0), main);
            EXPECT_EQ(Describe(hWnd, 1), console);
            const std::vector<HWND> windows = headless_windows();
            ASSERT_EQ(windows.size(), 2 + std::size(kControls));
            for (std::size_t i = 0; i < std::size(kControls); ++i)
                EXPECT_EQ(DescribeControl(windows[2 + i]), kControls[i]);
        };
        EXPECT_EQ(RunProgram({expectWindowsAndControls}), 0);
    }
}

TEST(StartUp, AFailedClassRegistrationEndsTheProgramWithCodeZero) {
    for (const char* failingClass : {"Marivane", "Add_Puzzles"}) {
        SCOPED_TRACE(failingClass);
        TempFolder folder;
        StartFreshProcess(folder);
        headless_fail_class_registration(failingClass);
        EXPECT_EQ(RunProgram({}), 0);
        for (HWND window : headless_windows()) EXPECT_FALSE(Shown(window));
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
    void SetUp() override {
        StartFreshProcess(folder);
        folder.write("MVData.dat", kPuzzles);
        folder.write("MVStats.dat", "90 1 3 Lion-Tamer 0 2 5 Juggling-Clown");
        main = StartUpWithoutLoop();
        ASSERT_NE(main, nullptr);
    }

    TempFolder folder;
    HWND main = nullptr;
};

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return WindowProcedure(window, message, wParam, lParam);
}

// After a press with the focus in the solution box: the cues heard, the player,
// focus, hint line, minimised main window and both players' statistics boxes.
std::string PressFromSolutionBox(int id) {
    SetFocus(hSolveMe);
    headless_clear_logs();
    Press(id);
    std::ostringstream state;
    for (int cue : CuesHeard()) state << cue << ' ';
    state << "player " << playertype << (GetFocus() == hSolveMe ? ", focus kept" : "")
          << (Shown(hGiveHint) ? "" : ", no hint") << (MainWindow()->minimized ? ", minimised" : "") << ',';
    for (int id : {1690, 1750, 1810, 1870, 1720, 1780, 1840, 1900}) state << ' ' << TextOf(id);
    return state.str();
}

TEST_F(Commands, PlayerSwitchResetStatsTogglesAndMinimise) {
    const std::string loaded = "90 1 3 Lion-Tamer 0 2 5 Juggling-Clown";
    const std::string cleared = "0 0 0 Circus-Worker 0 2 5 Juggling-Clown";
    // gameRunning, numwrong, difficulty, the button pressed, the state after.
    const std::tuple<int, int, int, int, std::string> steps[] = {
        {0, 4, 0, 2950, "4450 player 2, " + loaded},         // no game running
        {1, 1, 0, 2800, "player 2, focus kept, " + loaded},  // refused after a wrong guess
        {1, 2, 0, 2800, "player 2, focus kept, " + loaded},
        {1, 2, 1, 2800, "4450 player 1, " + loaded},  // five balloons: two gone before any guess
        {1, 0, 0, 2950, "4450 player 2, " + loaded},
        {0, 0, 0, 3100, "player 2, " + loaded},  // player two has no points
        {0, 0, 0, 2800, "4450 player 1, " + loaded},
        {0, 0, 0, 3100, "4450 player 1, " + cleared},
        {0, 0, 0, 3850, "4450 player 1, focus kept, no hint, " + cleared},
        {0, 0, 0, 3850, "4450 player 1, focus kept, " + cleared},
        {0, 0, 0, 3250, "4450 player 1, " + cleared},  // sound off
        {0, 0, 0, 3550, "player 1, " + cleared},
        {0, 0, 0, 4000, "4500 player 1, focus kept, minimised, " + cleared},  // heard though the sound is off
        {0, 0, 0, 3250, "4450 player 1, minimised, " + cleared},
        {0, 0, 0, 3550, "4700 player 1, minimised, " + cleared},
    };
    for (const auto& [running, wrong, mode, button, after] : steps) {
        SCOPED_TRACE(testing::Message() << "button " << button << ", numwrong " << wrong);
        std::tie(gameRunning, numwrong, difficulty) = std::make_tuple(running, wrong, mode);
        EXPECT_EQ(PressFromSolutionBox(button), after);
    }
}

TEST_F(Commands, HelpOpensTheFileUnlessTheViewerIsOpenAndReportsAShellFailure) {
    // The viewer comes first, so the later rows show that closing it lets help open again.
    for (const auto& [viewerOpen, shellResult, box] :
         {std::tuple{true, 42, std::string("terminating request... help program is currently in use.")},
          {false, 32, std::string("Help files could not be opened...")}, {false, 33, std::string()}}) {
        SCOPED_TRACE(shellResult);
        HWND viewer = CreateWindowExA(0, "STATIC", viewerOpen ? "Quorrel-help" : "", 0, 0, 0, 9, 9, 0, 0, 0, 0);
        headless_set_shell_result(shellResult);
        headless_clear_logs();
        EXPECT_EQ(Send(main, WM_COMMAND, 4150), 0);
        DestroyWindow(viewer);
        EXPECT_EQ(CuesHeard(), std::vector<int>{kClick});
        std::string boxes;
        for (const HeadlessMessageBox& shown : headless_message_boxes()) boxes += shown.text;
        EXPECT_EQ(boxes, box);
        EXPECT_EQ(headless_shell_calls().size(), viewerOpen ? 0u : 1u);
        for (const HeadlessShellCall& call : headless_shell_calls())
            EXPECT_EQ(std::tie(call.verb, call.file), std::make_tuple("open", folder.file("Quorrel-help.chm")));
    }
}

TEST_F(Commands, ArrowKeysMoveBothWindowsTheLeadingOneFirstEachWithItsOwnSize) {
    // At 1280 x 1024 the main window starts at 190, 134 and the console at 190, 754.
    for (int press = 0; press < 10; ++press) headless_post_key(main, VK_RIGHT);
    headless_pump();
    EXPECT_EQ(std::tie(main->x, main->y, hWnd->x, hWnd->y), std::make_tuple(210, 134, 210, 754));
    headless_clear_logs();
    Send(hWnd, WM_KEYDOWN, VK_DOWN);
    Send(hWnd, WM_KEYDOWN, VK_LEFT);
    std::ostringstream moves;
    for (const HeadlessMove& m : headless_moves())
        moves << (m.window == hWnd ? "console " : "main ") << m.x << ',' << m.y << ' ' << m.width << 'x' << m.height
              << "; ";
    EXPECT_EQ(moves.str(),
              "console 210,756 900x106; main 210,136 900x620; main 208,136 900x620; console 208,756 900x106; ");
}

TEST_F(Commands, EachWindowTakesTheFocusOnMouseReleaseAndColoursItsControls) {
    for (HWND window : {main, hWnd}) {
        SetFocus(hSolveMe);
        Send(window, WM_LBUTTONUP);
        EXPECT_EQ(GetFocus(), window);
        for (UINT message : {WM_CTLCOLORSTATIC, WM_CTLCOLOREDIT}) {
            HDC dc = CreateCompatibleDC(nullptr);
            SetTextColor(dc, RGB(255, 0, 0));
            EXPECT_EQ(Send(window, message, reinterpret_cast<WPARAM>(dc)),
                      reinterpret_cast<LRESULT>(GetStockObject(LTGRAY_BRUSH)));  // light grey behind black text
            EXPECT_EQ(std::tie(dc->textColor, dc->bkMode), std::make_tuple(RGB(0, 0, 0), TRANSPARENT));
            DeleteDC(dc);
        }
    }
}

// Each face is loaded afresh, stretched over the item rectangle and freed.
TEST_F(Commands, EachButtonDrawsItsNormalOrPressedFaceOverItsWholeRectangle) {
    const std::array<int, 3> faces[] = {  // button, normal face, pressed face
        {2800, 2700, 2750}, {2950, 2850, 2900}, {3100, 3000, 3050}, {3250, 3150, 3200}, {3400, 3300, 3350},
        {3550, 3450, 3500}, {3700, 3600, 3650}, {3850, 3750, 3800}, {4000, 3900, 3950}, {4150, 4050, 4100},
        {4300, 4200, 4250}, {4900, 4800, 4850}, {5050, 4950, 5000}, {5200, 5400, 5450}, {5350, 5100, 5150},
        {5950, 5850, 5900}, {6000, 5750, 5800}};
    HDC dc = CreateCompatibleDC(nullptr);
    const int objects = headless_live_gdi_objects(), dcs = headless_live_dcs();
    for (auto [id, normal, pressed] : faces) {
        for (UINT state : {0u, static_cast<UINT>(ODS_SELECTED)}) {
            HWND button = ControlById(id);
            const RECT place{5, 7, 5 + button->width, 7 + button->height};
            DRAWITEMSTRUCT item{ODT_BUTTON, static_cast<UINT>(id), 0, 0, state, button, dc, place, 0};
            headless_clear_logs();
            SendMessageA(button->parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
            ASSERT_EQ(headless_blits().size(), 1u) << id;
            const HeadlessBlit& b = headless_blits()[0];
            const RECT& to = b.destRect;  // left, top, width, height
            EXPECT_EQ(std::tie(b.dest, b.sourceBitmapId, to.left, to.top, to.right, to.bottom),
                      std::make_tuple(dc, state ? pressed : normal, 5, 7, button->width, button->height));
        }
    }
    EXPECT_EQ(std::tie(objects, dcs), std::make_tuple(headless_live_gdi_objects(), headless_live_dcs()));
    DeleteDC(dc);
}

// Each saves the statistics and the puzzles and ends the program; requests
// after that save nothing more, for a second scramble would store the purged
// puzzle file over the real store.
TEST(Leaving, EveryWayOutSavesTheRunOnceThenEndsWithCodeZero) {
    // To the console or not: Quit, X, a close request and the end of the session.
    const std::tuple<bool, UINT, WPARAM> waysOut[] = {{false, WM_COMMAND, 5050}, {false, WM_COMMAND, 4300},
                                                      {false, WM_CLOSE, 0},      {true, WM_CLOSE, 0},
                                                      {false, WM_ENDSESSION, 1}, {true, WM_ENDSESSION, 1}};
    for (auto [toConsole, message, wParam] : waysOut) {
        SCOPED_TRACE(testing::Message() << "message " << message << " to console " << toConsole);
        TempFolder folder;
        StartFreshProcess(folder);
        folder.write("MVData.dat", kPuzzles);
        HWND main = nullptr;
        bool stillRunning = false;
        const auto leave = [&, toConsole = toConsole, message = message, wParam = wParam] {
            main = MainWindow();
            SendMessageA(toConsole ? hWnd : main, message, wParam, 0);
        };
        EXPECT_EQ(RunProgram({leave, [&] { stillRunning = true; }}), 0);
        EXPECT_FALSE(stillRunning);
        const auto saved = [&folder] {
            return folder.read("MVStats.dat") + "|" + folder.read("MVData.dat") + "|" + folder.read("OnLoad.dat");
        };
        EXPECT_EQ(saved(), "0 0 0 Circus-Worker 0 0 0 Circus-Worker|Data purged...|ckj$yuwCj*qndgj&mw{*dnr{syA");
        for (const char* file : {"MVStats.dat", "MVData.dat", "OnLoad.dat"}) folder.write(file, "later");
        for (auto [again, request, parameter] : waysOut) Send(again ? hWnd : main, request, parameter);
        EXPECT_EQ(saved(), "later|later|later");
    }
}

}  // namespace
