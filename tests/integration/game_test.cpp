// The real WinMain and WindowProcedure on the headless Win32 layer: start-up, games, commands, drawing, leaving.
#include "game_session.h"
#include "game/window_procedure.h"

#include <algorithm>
#include <map>
#include <numeric>

const std::string kHidden = " _ _ _   _ _ _", kShown = " B I G   T O P", kEmptyBin(28, ' ');
const Figures kNone{"0", "0", "0", "Circus-Worker"};

static int BalloonsShown() {  // those of the one clown picture shown; -1 unless exactly one is shown
    const std::vector<HWND> clowns{PopZero, PopOne, PopTwo, PopTre, PopFor, PopFiv, PopSix, PopSev};
    const auto shown = std::find_if(clowns.begin(), clowns.end(), Shown);
    return std::count_if(clowns.begin(), clowns.end(), Shown) == 1 ? int(shown - clowns.begin()) : -1;
}

struct GameTest : ::testing::Test {
    void start(bool newPuzzle = true, const std::string& stats = "0 0 0 Circus-Worker 0 0 0 Circus-Worker",
               const std::string& puzzles = "big top;a place for clowns:") {
        folder.write("MVData.dat", puzzles);
        folder.write("MVStats.dat", stats);
        ASSERT_NE(main = StartUpIn(folder), nullptr);
        if (newPuzzle) Press(IDC_NEW_PUZZLE);
        headless_clear_log();
    }
    void solve(const char* text) { SetWindowTextA(hSolveMe, text), Press(IDC_SOLVE_PUZZLE); }
    TempFolder folder;
    HWND main = nullptr;
};
using StartUp = GameTest; using Commands = GameTest; using Drawing = GameTest; using Saving = GameTest;

// The console, moved over the alphabet, passes a click on to the letter beneath.
TEST_F(GameTest, ALetterIsRevealedEverywhereAtOnceIgnoredWhenClickedAgainAndShownInTheMainWindowFromTheConsole) {
    start(true, "", "banana;a fruit:");
    ClickLetters("AAXX");
    EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), " _ A _ A _ A");
    EXPECT_EQ(CuesHeard(), (Cues{IDW_HIT, IDW_MISS}));
    ClickLetters("N");
    const Place b = PlaceOf(hLetters['B' - 'A']);
    MoveWindow(hWnd, b.x - 5, b.y - 5, 900, 106, TRUE);
    ClickAt(hWnd, 6, 6);
    EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), " B A N A N A");
    EXPECT_EQ(FiguresOf(1), (Figures{"50", "1", "0", "Circus-Worker"}));  // six characters, one balloon lost
    EXPECT_EQ(CuesHeard(), (Cues{IDW_HIT, IDW_HIT, IDW_WIN}));  // N, then B through the console
}

TEST_F(GameTest, NewPuzzleAbandonsTheGameAndStartsAFreshBoardKeepingOneLeftoverCharacter) {
    for (auto [typed, kept] : {std::pair{"x", "x"}, {"big", ""}}) {
        start();
        ClickLetters("OXA");
        headless_type(hSolveMe, typed);
        Press(IDC_NEW_PUZZLE);
        EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), kHidden);
        EXPECT_EQ(TextOf(IDC_START_LINE), kHidden);
        EXPECT_EQ(TextOf(IDC_LETTER_BIN), kEmptyBin);
        EXPECT_EQ(TextOf(IDC_HINT_LINE), "a place for clowns");
        EXPECT_EQ(TextOf(IDC_SOLUTION_EDIT), kept) << typed;
        EXPECT_EQ(FiguresOf(1), kNone);
        EXPECT_EQ(BalloonsShown(), 7);
        for (int i = 0; i < kLetterCount; ++i) EXPECT_TRUE(Shown(hLetters[i]) && KillLet[i] == 0) << i;
        Press(IDC_BALLOON_MODE);  // no wrong guess yet in the new game
        EXPECT_EQ(BalloonsShown(), 5);
    }
}

TEST_F(GameTest, TheSeventhWrongGuessLosesAndOnlyThenSolutionShowsThePhrase) {
    for (bool bySolution : {false, true}) {
        start();
        ClickLetters("ACDEFH");
        Press(IDC_SOLUTION);  // refused while the game runs
        CuesHeard();
        bySolution ? solve("clowns") : ClickLetters("J");
        EXPECT_EQ(CuesHeard(), (bySolution ? Cues{IDW_CLICK, IDW_MISS, IDW_LOSS} : Cues{IDW_MISS, IDW_LOSS}));
        ClickLetters("BIGTOP");  // the game is over
        solve("big top");
        EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), kHidden);
        EXPECT_EQ(TextOf(IDC_LETTER_BIN), std::string("A C D E F H ") + (bySolution ? "# " : "J "));
        EXPECT_EQ(FiguresOf(1), (Figures{"0", "0", "1", "Circus-Worker"}));
        EXPECT_EQ(BalloonsShown(), 0);
        Press(IDC_SOLUTION);
        EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), kShown);
        EXPECT_EQ(GetFocus(), main);
    }
}

TEST_F(GameTest, ATypedSolutionWinsWhenItIsThePhraseInAnyCaseAndCostsABalloonWhenNot) {
    enum Outcome { kWon, kWrong, kIgnored };
    const struct { const char* typed; Outcome outcome; } cases[] = {
        {"Big tOP", kWon}, {"bigtop", kWrong}, {"big  top", kWrong}, {"big top ", kWrong}, {"", kIgnored}};
    for (const auto& [typed, outcome] : cases) {
        SCOPED_TRACE(typed);
        start();
        solve(typed);
        EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), outcome == kWon ? kShown : kHidden);
        EXPECT_EQ(TextOf(IDC_LETTER_BIN), outcome == kWrong ? "# " : kEmptyBin);
        EXPECT_EQ(FiguresOf(1), (outcome == kWon ? Figures{"70", "1", "0", "Circus-Worker"} : kNone));
        EXPECT_EQ(BalloonsShown(), outcome == kWrong ? 6 : 7);
    }
}

TEST_F(GameTest, BalloonModeSwitchesBetweenGamesOrBeforeTheFirstWrongGuessAndTheHeadStartCountsAsLost) {
    start(false);
    const auto press = [this](const char* label, int balloons, bool switched) {
        Press(IDC_BALLOON_MODE);
        EXPECT_EQ(TextOf(IDC_BALLOON_COUNT), label);
        EXPECT_EQ(BalloonsShown(), balloons);
        EXPECT_EQ(GetFocus() == main, switched);
    };
    press("7", 7, false);  // refused before the first game of the run
    Press(IDC_NEW_PUZZLE);
    press("5", 5, true);
    press("7", 7, true);
    press("5", 5, true);
    ClickLetters("X");
    press("5", 4, false);
    ClickLetters("ACDE");  // the fifth wrong guess loses; between games only the label changes
    press("7", 0, true);
    press("5", 0, true);
    Press(IDC_NEW_PUZZLE);
    solve("big top");
    EXPECT_EQ(FiguresOf(1), (Figures{"50", "1", "1", "Circus-Worker"}));
    EXPECT_EQ(BalloonsShown(), 5);
}

TEST_F(StartUp, ShowsTheMainWindowAboveTheHiddenConsoleAroundTheScreenCentreWithTheSavedFigures) {
    // On a screen lower than the block, its top moves just onto the screen; on one narrower, its right edge.
    const struct { int width, height, left, top, show; } screens[] = {
        {.width = 1280, .height = 1024, .left = 190, .top = 134, .show = SW_SHOWNORMAL},
        {.width = 800, .height = 600, .left = 800 - 900, .top = 0, .show = SW_SHOWMINIMIZED}};
    for (const auto& screen : screens) {
        StartFreshProcess(folder);
        folder.write("MVStats.dat", kStats);
        headless_set_screen_size(screen.width, screen.height);
        ASSERT_NE(main = StartUpWithoutLoop(screen.show), nullptr);
        EXPECT_EQ(PlaceOf(main), (Place{screen.left, screen.top, 900, 620}));
        const Place close = PlaceOf(ControlById(IDC_CLOSE));
        EXPECT_LE(close.x + close.width, screen.width) << "the close button within reach";
        EXPECT_TRUE(Shown(main));
        EXPECT_EQ(main->minimized, screen.show == SW_SHOWMINIMIZED);
        EXPECT_EQ(PlaceOf(hWnd), (Place{screen.left, screen.top + 620, 900, 106}));
        EXPECT_FALSE(Shown(hWnd));
        EXPECT_EQ(hWnd->owner, main);
        EXPECT_EQ(FiguresOf(1), (Figures{"90", "1", "3", "Lion-Tamer"}));
        EXPECT_EQ(FiguresOf(2), (Figures{"40", "2", "5", "Juggling-Clown"}));
    }
}

// Windows programs may sit deeper than MAX_PATH, with mixed separators. The data paths come before the windows.
TEST_F(StartUp, FindsItsFilesBesideALongSlashedPathAndEndsWithCodeZeroAndNoWindowWhenAClassCannotBeRegistered) {
    const std::string dir = "C:\\Games/" + std::string(250, 'k') + "\\bin/";
    for (const char* refused : {szClassName, szClassName2}) {
        StartFreshProcess(folder);
        headless_set_module_path(dir + "Marivane.exe");
        headless_fail_class_registration(refused);
        headless_set_idle([] { return false; });
        EXPECT_EQ(WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), SW_SHOWNORMAL), 0) << refused;
        EXPECT_EQ(FindWindowA(szClassName2, nullptr), nullptr) << refused;
        EXPECT_EQ(getDrivePath, dir);
        EXPECT_EQ(HelpFiler, dir + "Quorrel-help.chm");
    }
}

TEST_F(Commands, PlayerButtonsSwitchOnlyBetweenGamesOrBeforeTheFirstWrongGuess) {
    start(false);
    const struct { int gameRunning = 1, numwrong, difficulty = 0; bool switches; } cases[] = {
        {.gameRunning = 0, .numwrong = 7, .switches = true}, {.numwrong = 0, .switches = true},
        {.numwrong = 1, .switches = false}, {.numwrong = 2, .switches = false},
        {.numwrong = 2, .difficulty = 1, .switches = true},  // five balloons: two gone at the start
        {.numwrong = 3, .difficulty = 1, .switches = false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.gameRunning << " " << c.numwrong << " " << c.difficulty);
        std::tie(gameRunning, numwrong, difficulty, playertype) = std::make_tuple(c.gameRunning, c.numwrong, c.difficulty, 1);
        headless_clear_log();
        Press(IDC_PLAYER_TWO);
        EXPECT_EQ(playertype, c.switches ? 2 : 1);
        EXPECT_EQ(CuesHeard(), (c.switches ? Cues{IDW_CLICK} : Cues{}));
        EXPECT_EQ(GetFocus() == main, c.switches);
        Press(IDC_PLAYER_ONE);
        EXPECT_EQ(playertype, 1);
    }
}

TEST_F(Commands, ResetStatsClearsTheCurrentPlayerOnlyWhenTheyHavePoints) {
    const struct { int player; const char* stats = kStats; bool clears = true; } cases[] = {
        {.player = 1}, {.player = 2}, {.player = 1, .stats = "0 0 4 Lion-Tamer 0 0 0 Ring-Master", .clears = false},
        {.player = 2, .stats = "9 1 0 Lion-Tamer -10 2 5 Ring-Master", .clears = false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stats);
        start(false, c.stats);
        const Figures before[] = {FiguresOf(1), FiguresOf(2)};
        playertype = c.player;
        Press(IDC_RESET_STATS);
        for (int player : {1, 2})
            EXPECT_EQ(FiguresOf(player), c.clears && player == c.player ? kNone : before[player - 1]) << player;
        EXPECT_EQ(CuesHeard(), (c.clears ? Cues{IDW_CLICK} : Cues{}));
        EXPECT_EQ(GetFocus(), main);
    }
}

// A double-click on an owner-drawn button notifies BN_DOUBLECLICKED for its second click.
TEST_F(Commands, HintsToggleTheHintLineOnEachClickOfADoubleClickToo) {
    start(false);
    Press(IDC_HINTS);
    headless_double_click_button(ControlById(IDC_HINTS));
    std::vector<HeadlessEvent::Kind> hintLine;
    for (const HeadlessEvent& event : headless_log())
        if (event.window == hGiveHint) hintLine.push_back(event.kind);
    EXPECT_EQ(hintLine, (std::vector{HeadlessEvent::Hidden, HeadlessEvent::Shown, HeadlessEvent::Hidden}));
}

// Muted: the cues of a game (new puzzle, hit, miss, win, loss). Never muted: clicks, minimise and the console.
TEST_F(Commands, TheSoundButtonMutesTheGameCuesOnOddPressesButNeverTheClicksTheConsoleOrMinimise) {
    start(false);
    ConsoleUse = 0;
    Press(IDC_SOUND);
    Press(IDC_NEW_PUZZLE);
    ClickLetters("BX");
    solve("big tip");
    solve("big top");
    EXPECT_EQ(CuesHeard(), (Cues{IDW_CLICK, IDW_CLICK, IDW_CLICK}));  // Sound and both Solves
    Press(IDC_NEW_PUZZLE);
    ClickLetters("ACDEFHJ");
    Press(IDC_CONSOLE);
    Press(IDC_MINIMISE);
    EXPECT_EQ(CuesHeard(), (Cues{IDW_CONSOLE, IDW_MINIMISE}));
    EXPECT_TRUE(main->minimized);
    Press(IDC_SOUND);
    Press(IDC_NEW_PUZZLE);
    EXPECT_EQ(CuesHeard(), (Cues{IDW_CLICK, IDW_NEW_PUZZLE}));
}

TEST_F(Commands, ArrowKeysMoveBothWindowsTheLeadingOneFirstAndOtherKeysNothingAndAReleaseTakesTheFocus) {
    start(false);
    const struct { int key, dx = 0, dy = 0; bool consoleFirst = false; } keys[] = {
        {.key = VK_LEFT, .dx = -2}, {.key = VK_UP, .dy = -2}, {.key = VK_RIGHT, .dx = 2},
        {.key = VK_DOWN, .dy = 2, .consoleFirst = true}};
    for (const auto& k : keys) {
        SCOPED_TRACE(k.key);
        const int x = main->x, y = main->y;
        headless_clear_log();
        SendMessageA(main, WM_KEYDOWN, WPARAM(k.key), 1);
        const auto moves = Logged(HeadlessEvent::Moved);
        ASSERT_EQ(moves.size(), 2u);
        EXPECT_EQ(moves[0].window, k.consoleFirst ? hWnd : main);
        for (const HeadlessEvent& move : moves) EXPECT_EQ(move.number, TRUE) << "repainted";
        EXPECT_EQ(PlaceOf(main), (Place{x + k.dx, y + k.dy, 900, 620}));
        EXPECT_EQ(PlaceOf(hWnd), (Place{x + k.dx, y + k.dy + 620, 900, 106}));
    }
    headless_clear_log();
    for (int key : {int('A'), 0x24, 0x29}) SendMessageA(main, WM_KEYDOWN, WPARAM(key), 1);
    EXPECT_EQ(Logged(HeadlessEvent::Moved).size(), 0u);
    for (HWND window : {main, hWnd}) {
        SendMessageA(window, WM_LBUTTONUP, 0, 0);
        EXPECT_EQ(Logged(HeadlessEvent::Focus).back().window, window);
    }
}

// The viewer is open while a window titled "Quorrel-help" exists; a shell result of 32 or less is a failure.
TEST_F(Commands, HelpOpensTheHelpFileUnlessItsViewerIsOpenAndSaysWhenItCannot) {
    const struct { INT_PTR shellResult; bool viewerOpen = false; const char *box = nullptr, *caption = nullptr; } cases[] = {
        {.shellResult = 33}, {.shellResult = 32, .box = "Help files could not be opened...", .caption = "Error - Marivane"},
        {.shellResult = 33, .viewerOpen = true, .box = "terminating request... help program is currently in use.",
         .caption = "System - Permission Denied"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shellResult);
        start(false);
        headless_set_shell_result(c.shellResult);
        if (c.viewerOpen) CreateWindowExA(0, "STATIC", "Quorrel-help", 0, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
        Press(IDC_HELP_ME);
        const auto shell = Logged(HeadlessEvent::Shell), boxes = Logged(HeadlessEvent::Box);
        ASSERT_EQ(shell.size(), c.viewerOpen ? 0u : 1u);
        ASSERT_EQ(boxes.size(), c.box ? 1u : 0u);
        for (const HeadlessEvent& open : shell) {
            EXPECT_EQ(open.text, folder.file("Quorrel-help.chm"));
            EXPECT_EQ(open.window, nullptr) << "no owner";
        }
        for (const HeadlessEvent& box : boxes) {
            EXPECT_EQ(box.text, c.box);
            EXPECT_EQ(box.caption, c.caption);
            EXPECT_EQ(box.number, c.viewerOpen ? MB_OK | MB_TOPMOST : MB_OK);
            EXPECT_EQ(box.window, nullptr) << "no owner: the game stays usable";
        }
    }
}

// Each main-window button paints its face after the window, another face when pressed; then every shown static and
// edit control of both windows asks for its colours. Faces live only for a draw, so repaints leave no more GDI
// objects than the first paint; at quit only a picture per picture control, the font and each class's brush remain.
TEST_F(Drawing, EachButtonShowsItsPressedFaceWhilePressedOtherControlsAreLightGreyAndRepaintsLeaveTheObjectsFlat) {
    const auto pressEach = [] {
        const auto startFaces = Logged(HeadlessEvent::Face);
        const auto isMainButton = [](HWND w) { return w->parent == MainWindow() && w->className == "BUTTON"; };
        EXPECT_EQ(startFaces.size(), std::size_t(std::ranges::count_if(headless_windows(), isMainButton)));
        for (const HeadlessEvent& face : startFaces) {
            headless_clear_log();
            headless_draw_button(face.window, true);
            ASSERT_EQ(Logged(HeadlessEvent::Face).size(), 1u) << face.window->id;
            EXPECT_NE(Logged(HeadlessEvent::Face)[0].number, face.number) << face.window->id;
            EXPECT_TRUE(face.window->id != IDC_HINTS || face.number == IDB_HINTS) << "the hints face before any press";
        }
        ShowWindow(hWnd, SW_SHOW);
    };
    const HeadlessGdi kinds[] = {HeadlessGdi::DC, HeadlessGdi::Bitmap, HeadlessGdi::Brush, HeadlessGdi::Font};
    std::map<HeadlessGdi, int> firstPaint;
    const auto coloursAndCount = [&] {
        for (HWND control : headless_windows()) {
            if (!control->parent || control->className == "BUTTON" || !Shown(control)) continue;
            EXPECT_EQ(control->background, GetStockObject(LTGRAY_BRUSH)) << control->id;
            EXPECT_EQ(control->backgroundMode, TRANSPARENT) << control->id;
        }
        for (HeadlessGdi k : kinds) firstPaint[k] = headless_live_gdi(k);
    };
    const auto repaint = [] {
        for (HWND w : headless_windows()) {
            if (w->className == "BUTTON") headless_draw_button(w, true), headless_draw_button(w, false);
            if (!w->parent) MoveWindow(w, w->x, w->y, w->width, w->height, TRUE);
        }
    };
    const auto compare = [&] { for (HeadlessGdi k : kinds) EXPECT_EQ(headless_live_gdi(k), firstPaint[k]) << int(k); };
    std::vector<std::function<void()>> steps{pressEach, coloursAndCount};
    steps.insert(steps.end(), 50, repaint);
    steps.push_back(compare);
    StartFreshProcess(folder);
    EXPECT_EQ(RunProgram(steps), 0);
    const auto isPicture = [](HWND w) { return w->className == "STATIC" && (w->style & 0x1F) == SS_BITMAP; };
    const auto isTopLevel = [](HWND w) { return !w->parent; };
    EXPECT_EQ(headless_live_gdi(HeadlessGdi::DC), 0);
    EXPECT_EQ(headless_live_gdi(HeadlessGdi::Bitmap), std::ranges::count_if(headless_windows(), isPicture));
    EXPECT_EQ(headless_live_gdi(HeadlessGdi::Brush), std::ranges::count_if(headless_windows(), isTopLevel));
    EXPECT_EQ(headless_live_gdi(HeadlessGdi::Font), 1);
}

// A request still on its way saves nothing: a second scramble would store the purged puzzle file over the store.
TEST(Leaving, EveryWayOutSavesTheRunOnceThenEndsWithCodeZero) {
    const struct { bool toConsole; UINT message; WPARAM wParam; } waysOut[] = {
        {false, WM_COMMAND, IDC_QUIT}, {false, WM_COMMAND, IDC_CLOSE}, {false, WM_CLOSE, 0},        {true, WM_CLOSE, 0},
        {false, WM_ENDSESSION, TRUE},  {true, WM_ENDSESSION, TRUE},    {false, WM_ENDSESSION, FALSE}};
    for (const auto& way : waysOut) {
        SCOPED_TRACE(testing::Message() << way.message << (way.toConsole ? " to the console" : ""));
        TempFolder dir;
        StartFreshProcess(dir);
        dir.write("MVData.dat", "big top;a place for clowns:");
        bool goesOn = false;
        const auto leave = [&] { PostMessageA(way.toConsole ? hWnd : MainWindow(), way.message, way.wParam, 0); };
        EXPECT_EQ(RunProgram({leave, [&] { goesOn = !dir.exists("MVStats.dat"); }}), 0);
        EXPECT_EQ(goesOn, way.message == WM_ENDSESSION && !way.wParam);
        EXPECT_EQ(dir.read("MVStats.dat"), "0 0 0 Circus-Worker 0 0 0 Circus-Worker");
        EXPECT_EQ(dir.read("MVData.dat"), "Data purged...");
        for (const char* file : {"MVStats.dat", "MVData.dat", "OnLoad.dat"}) dir.write(file, "later");
        for (const auto& again : waysOut)
            WindowProcedure(headless_windows()[again.toConsole], again.message, again.wParam, 0);
        for (const char* file : {"MVStats.dat", "MVData.dat", "OnLoad.dat"}) EXPECT_EQ(dir.read(file), "later") << file;
    }
}

// A save waits a second, in growing pauses, for a file another program holds (a scan, a backup, a sync), then a box
// names it after each second until it is saved or Cancel ends the game. Statistics unread at start-up stay as found.
TEST_F(Saving, AHeldFileIsSavedOnceLetGoElseABoxNamesItAfterEachSecondAndAFileUnreadableAtStartIsLeftAsFound) {
    const struct { std::string file; int heldFor; bool letGoAtSecondBox = false, unreadableAtStart = false; } cases[] = {
        {"MVStats.dat", 4}, {"OnLoad.dat", 4}, {"MVStats.dat", HEADLESS_HELD_FOR_GOOD, true},
        {"OnLoad.dat", HEADLESS_HELD_FOR_GOOD, true}, {"MVStats.dat", HEADLESS_HELD_FOR_GOOD},
        {"OnLoad.dat", HEADLESS_HELD_FOR_GOOD}, {"MVStats.dat", 0, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.file << " held for " << c.heldFor << ", unread " << c.unreadableAtStart);
        Limited(c.unreadableAtStart ? kUnreadable : kNoLimit, folder, [&] { start(false, kStats); }, c.file);
        headless_hold_file(folder.file(c.file), c.heldFor);
        std::vector<DWORD> round;  // the pauses before the first box
        int boxes = 0;
        headless_set_box_answer([&](const HeadlessEvent& box) {
            const std::string what = c.file == "OnLoad.dat" ? "The puzzles" : "The figures";
            EXPECT_EQ(box.text.find(what + " were not saved: Marivane could not write\n" + folder.file(c.file)), 0u);
            EXPECT_EQ(box.caption, "Marivane");
            EXPECT_EQ(box.number, int(MB_RETRYCANCEL | MB_ICONWARNING | MB_TASKMODAL));
            const bool retry = ++boxes == 1 || (boxes == 2 && c.letGoAtSecondBox);
            if (boxes == 1) round = headless_sleeps();
            if (boxes == 2 && retry) headless_hold_file(folder.file(c.file), 0);
            return retry ? IDRETRY : IDCANCEL;
        });
        Press(IDC_RESET_STATS), Press(IDC_QUIT);
        EXPECT_FALSE(IsWindow(main)) << "the game ends, saved or not";
        const bool heldForGood = c.heldFor == HEADLESS_HELD_FOR_GOOD, lost = heldForGood && !c.letGoAtSecondBox;
        EXPECT_EQ(boxes, heldForGood ? 2 : 0);
        const std::vector<DWORD>& pauses = heldForGood ? round : headless_sleeps();
        EXPECT_EQ(std::adjacent_find(pauses.begin(), pauses.end(), std::greater_equal<>()), pauses.end()) << "growing";
        const double waited = std::accumulate(pauses.begin(), pauses.end(), 0.0);  // ms
        EXPECT_TRUE(heldForGood ? waited > 900 && waited < 1100 : waited < 200) << waited;
        const bool statsKept = c.unreadableAtStart || (lost && c.file == "MVStats.dat");
        EXPECT_EQ(folder.read("MVStats.dat"), statsKept ? kStats : "0 0 0 Circus-Worker 40 2 5 Juggling-Clown");
        EXPECT_EQ(folder.read("MVData.dat"), lost && !statsKept ? "big top;a place for clowns:" : "Data purged...");
    }
}
