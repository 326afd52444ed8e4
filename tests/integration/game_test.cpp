// The real WinMain and WindowProcedure on the headless Win32 layer: start-up, games, commands, leaving.
#include "game_session.h"
#include "game/window_procedure.h"
#include "resource.h"

#include <gtest/gtest.h>
#include <algorithm>

namespace {

using Cues = std::vector<int>;
const std::string kHidden = " _ _ _   _ _ _", kShown = " B I G   T O P", kEmptyBin(28, ' ');
const char kStats[] = "90 1 3 Lion-Tamer 40 2 5 Juggling-Clown";
const auto kFigures = {IDC_P1_POINTS, IDC_P1_WINS, IDC_P1_LOSSES, IDC_P1_SKILL,  // both players', in the order
                       IDC_P2_POINTS, IDC_P2_WINS, IDC_P2_LOSSES, IDC_P2_SKILL};  // of the statistics file

int BalloonsShown() {  // those of the one clown picture shown; -1 unless exactly one is shown
    const std::vector<HWND> clowns{PopZero, PopOne, PopTwo, PopTre, PopFor, PopFiv, PopSix, PopSev};
    const auto shown = std::find_if(clowns.begin(), clowns.end(), Shown);
    return std::count_if(clowns.begin(), clowns.end(), Shown) == 1 ? int(shown - clowns.begin()) : -1;
}

std::string Texts(std::initializer_list<int> ids) {
    std::string texts;
    for (int id : ids) texts += (texts.empty() ? "" : " ") + TextOf(id);
    return texts;
}

struct GameTest : ::testing::Test {
    void start(bool newPuzzle = true, const std::string& stats = "0 0 0 Circus-Worker 0 0 0 Circus-Worker",
               const std::string& puzzles = "big top;a place for clowns:") {
        StartFreshProcess(folder);
        folder.write("MVData.dat", puzzles);
        folder.write("MVStats.dat", stats);
        ASSERT_NE(main = StartUpWithoutLoop(), nullptr);
        if (newPuzzle) Press(IDC_NEW_PUZZLE);
        headless_clear_logs();
    }
    void click(const std::string& letters) { for (char letter : letters) ClickLetter(letter); }
    void solve(const char* text) { SetWindowTextA(hSolveMe, text), Press(IDC_SOLVE_PUZZLE); }
    std::string seen() {  // the puzzle line, the letter bin, player one's figures and the balloons
        return TextOf(IDC_PUZZLE_LINE) + "|" + TextOf(IDC_LETTER_BIN) + "|" +
               Texts({IDC_P1_POINTS, IDC_P1_WINS, IDC_P1_LOSSES}) + "|" + std::to_string(BalloonsShown());
    }
    TempFolder folder;
    HWND main = nullptr;
};
using StartUp = GameTest;
using Commands = GameTest;

TEST_F(GameTest, ALetterIsRevealedEverywhereAtOnceAndIgnoredWhenClickedAgain) {
    start(true, "", "banana;a fruit:");
    click("AAXX");
    EXPECT_EQ(seen(), " _ A _ A _ A|X |0 0 0|6");
    EXPECT_EQ(CuesHeard(), (Cues{IDW_HIT, IDW_MISS}));
    click("NB");
    EXPECT_EQ(seen(), " B A N A N A|X |50 1 0|6");  // six characters, one balloon lost
    EXPECT_EQ(CuesHeard(), (Cues{IDW_HIT, IDW_HIT, IDW_WIN}));
}

TEST_F(GameTest, NewPuzzleAbandonsTheGameAndStartsAFreshBoardKeepingOneLeftoverCharacter) {
    for (auto [typed, kept] : {std::pair{"x", "x"}, {"big", ""}}) {
        start();
        click("OXA");
        headless_type(hSolveMe, typed);
        Press(IDC_NEW_PUZZLE);
        EXPECT_EQ(seen() + "|" + Texts({IDC_START_LINE}) + Texts({IDC_HINT_LINE}) + "|" + Texts({IDC_SOLUTION_EDIT}),
                  kHidden + "|" + kEmptyBin + "|0 0 0|7|" + kHidden + "a place for clowns|" + kept);
        for (int i = 0; i < kLetterCount; ++i) EXPECT_TRUE(Shown(hLetters[i]) && KillLet[i] == 0) << i;
        Press(IDC_BALLOON_MODE);  // no wrong guess yet in the new game
        EXPECT_EQ(BalloonsShown(), 5);
    }
}

TEST_F(GameTest, TheSeventhWrongGuessLosesAndOnlyThenSolutionShowsThePhrase) {
    for (bool bySolution : {false, true}) {
        start();
        click("ACDEFH");
        Press(IDC_SOLUTION);
        EXPECT_EQ(seen(), kHidden + "|A C D E F H |0 0 0|1");
        CuesHeard();
        bySolution ? solve("clowns") : click("J");
        EXPECT_EQ(CuesHeard(), (bySolution ? Cues{IDW_CLICK, IDW_MISS, IDW_LOSS} : Cues{IDW_MISS, IDW_LOSS}));
        click("BIGTOP");  // the game is over
        solve("big top");
        EXPECT_EQ(seen() + Texts({IDC_P1_SKILL}),
                  kHidden + "|A C D E F H " + (bySolution ? "# " : "J ") + "|0 0 1|0Circus-Worker");
        Press(IDC_SOLUTION);
        EXPECT_EQ(std::make_pair(Texts({IDC_PUZZLE_LINE}), GetFocus()), std::make_pair(kShown, main));
    }
}

TEST_F(GameTest, ATypedSolutionWinsWhenItIsThePhraseInAnyCaseAndCostsABalloonWhenNot) {
    for (const auto& [typed, after] :  // what is seen after it
         {std::pair{"big top", kShown + "|" + kEmptyBin + "|70 1 0|7"}, {"bigtop", kHidden + "|# |0 0 0|6"},
          {"Big tOP", kShown + "|" + kEmptyBin + "|70 1 0|7"}, {"big  top", kHidden + "|# |0 0 0|6"},
          {"big top ", kHidden + "|# |0 0 0|6"}, {"", kHidden + "|" + kEmptyBin + "|0 0 0|7"}}) {
        start();
        solve(typed);
        EXPECT_EQ(seen(), after) << typed;
    }
}

TEST_F(GameTest, BalloonModeSwitchesBetweenGamesOrBeforeTheFirstWrongGuessAndTheHeadStartCountsAsLost) {
    start(false);
    const auto press = [this] {
        Press(IDC_BALLOON_MODE);
        return Texts({IDC_BALLOON_COUNT}) + std::to_string(BalloonsShown()) + (GetFocus() == main ? "" : " no focus");
    };
    EXPECT_EQ(press(), "77 no focus");  // refused before the first game of the run
    Press(IDC_NEW_PUZZLE);
    for (const char* after : {"55", "77", "55"}) EXPECT_EQ(press(), after);
    click("X");
    EXPECT_EQ(press(), "54 no focus");
    click("ACDE");  // the fifth wrong guess loses; between games only the label changes
    for (const char* after : {"70", "50"}) EXPECT_EQ(press(), after);
    Press(IDC_NEW_PUZZLE);
    solve("big top");
    EXPECT_EQ(seen(), kShown + "|" + kEmptyBin + "|50 1 1|5");
}

TEST_F(GameTest, ALetterClickedThroughTheConsoleIsShownInTheMainWindow) {
    start();
    click("BIGTO");
    RECT p;  // the console, moved over the alphabet, passes a click on to the letter beneath
    GetWindowRect(hLetters['P' - 'A'], &p);
    MoveWindow(hWnd, p.left - 5, p.top - 5, 900, 106, TRUE);
    ClickAt(hWnd, 6, 6);
    EXPECT_EQ(seen(), kShown + "|" + kEmptyBin + "|70 1 0|7");
}

TEST_F(StartUp, ShowsTheMainWindowAboveTheHiddenConsoleAroundTheScreenCentreWithTheSavedFigures) {
    // On a screen lower or narrower than the block, its top-left corner moves just onto the screen.
    for (auto [width, height, left, top, show] :
         {std::tuple{1280, 1024, 190, 134, SW_SHOWNORMAL}, {1280, 720, 190, 0, SW_SHOWNORMAL},
          {800, 600, 0, 0, SW_SHOWMINIMIZED}}) {
        StartFreshProcess(folder);
        folder.write("MVStats.dat", kStats);
        headless_set_screen_size(width, height);
        ASSERT_NE(main = StartUpWithoutLoop(show), nullptr);
        EXPECT_EQ(std::make_tuple(main->x, main->y, main->width, main->height, Shown(main), main->minimized),
                  std::make_tuple(left, top, 900, 620, true, show == SW_SHOWMINIMIZED));
        EXPECT_EQ(std::make_tuple(hWnd->x, hWnd->y, hWnd->width, hWnd->height, Shown(hWnd), hWnd->owner),
                  std::make_tuple(left, top + 620, 900, 106, false, main));
        EXPECT_EQ(Texts(kFigures) + Texts({IDC_BALLOON_COUNT}) + std::to_string(BalloonsShown()),
                  kStats + std::string("77"));
    }
}

// Windows programs may sit deeper than MAX_PATH, and their path may mix separators. No puzzle file lies
// there: New Puzzle says so and starts no game, so neither clicks nor a typed solution can book one.
TEST_F(StartUp, TheDataFilesLieBesideAProgramWithALongSlashedPathAndWithoutPuzzlesNoGameRuns) {
    const std::string dir = "C:\\Games/" + std::string(250, 'k') + "\\bin/";
    StartFreshProcess(folder);
    headless_set_module_path(dir + "Marivane.exe");
    ASSERT_NE(main = StartUpWithoutLoop(), nullptr);
    EXPECT_EQ(getDrivePath + "|" + HelpFiler, dir + "|" + dir + "Quorrel-help.chm");
    Press(IDC_NEW_PUZZLE);
    click("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_EQ(seen() + "|" + TextOf(IDC_HINT_LINE),
              "ERROR! NO PUZZLE PHRASES - DATABASE/FILE APPEARS TO BE MISSING|" + kEmptyBin + "|0 0 0|7|No data");
}

TEST_F(Commands, PlayerButtonsSwitchOnlyBetweenGamesOrBeforeTheFirstWrongGuess) {
    start(false);  // gameRunning, numwrong, difficulty (odd: five balloons, two gone at the start), switched
    for (auto [running, wrong, mode, switched] : {std::tuple{0, 7, 0, true}, {1, 0, 0, true}, {1, 1, 0, false},
                                                  {1, 2, 0, false}, {1, 2, 1, true}, {1, 3, 1, false}}) {
        std::tie(gameRunning, numwrong, difficulty, playertype) = std::make_tuple(running, wrong, mode, 1);
        headless_clear_logs();
        Press(IDC_PLAYER_TWO);
        EXPECT_EQ(std::make_tuple(playertype, CuesHeard(), GetFocus() == main),
                  std::make_tuple(switched ? 2 : 1, switched ? Cues{IDW_CLICK} : Cues{}, switched));
        Press(IDC_PLAYER_ONE);
        EXPECT_EQ(playertype, 1) << running << wrong << mode;
    }
}

TEST_F(Commands, ResetStatsClearsTheCurrentPlayerOnlyWhenTheyHavePoints) {
    for (auto [player, before, after] :  // the figures before and after
         {std::tuple{1, kStats, "0 0 0 Circus-Worker 40 2 5 Juggling-Clown"},
          {2, kStats, "90 1 3 Lion-Tamer 0 0 0 Circus-Worker"},
          {1, "0 0 4 Lion-Tamer 0 0 0 Ring-Master", "0 0 4 Lion-Tamer 0 0 0 Ring-Master"},
          {2, "9 1 0 Lion-Tamer -10 2 5 Ring-Master", "9 1 0 Lion-Tamer -10 2 5 Ring-Master"}}) {
        start(false, before);
        playertype = player;
        Press(IDC_RESET_STATS);
        EXPECT_EQ(std::make_tuple(Texts(kFigures), CuesHeard(), GetFocus() == main),
                  std::make_tuple(after, std::string(before) == after ? Cues{} : Cues{IDW_CLICK}, true));
    }
}

// A double-click on an owner-drawn button notifies BN_DOUBLECLICKED for its second click.
TEST_F(Commands, HintsToggleTheHintLineOnEachClickOfADoubleClickToo) {
    start(false);
    Press(IDC_HINTS);
    EXPECT_FALSE(Shown(hGiveHint));
    headless_double_click_button(ControlById(IDC_HINTS));
    EXPECT_EQ(std::make_tuple(Shown(hGiveHint), CuesHeard()), std::make_tuple(false, Cues(3, IDW_CLICK)));
}

TEST_F(Commands, TheSoundButtonMutesTheGameCuesOnOddPressesButNeverTheClicksOrMinimise) {
    start(false);
    Press(IDC_SOUND);
    Press(IDC_NEW_PUZZLE);
    Press(IDC_MINIMISE);
    EXPECT_EQ(std::make_pair(CuesHeard(), main->minimized), std::make_pair(Cues{IDW_CLICK, IDW_MINIMISE}, true));
    Press(IDC_SOUND);
    Press(IDC_NEW_PUZZLE);
    EXPECT_EQ(CuesHeard(), (Cues{IDW_CLICK, IDW_NEW_PUZZLE}));
}

TEST_F(Commands, ArrowKeysMoveBothWindowsTheLeadingOneFirstAndOtherKeysNothingAndAReleaseTakesTheFocus) {
    start(false);  // key, step, console moved first
    for (auto [key, dx, dy, consoleFirst] : {std::tuple{VK_LEFT, -2, 0, false}, {VK_UP, 0, -2, false},
                                             {VK_RIGHT, 2, 0, false}, {VK_DOWN, 0, 2, true}, {'A', 0, 0, false},
                                             {0x24, 0, 0, false}, {0x29, 0, 0, false}}) {
        const int x = main->x, y = main->y;
        headless_clear_logs();
        headless_post_key(main, key);
        headless_pump();
        ASSERT_EQ(headless_moves().size(), dx || dy ? 2u : 0u) << key;
        for (const HeadlessMove& m : headless_moves())
            EXPECT_EQ(std::make_tuple(m.x, m.y, m.width, m.height, m.repaint),
                      m.window == main ? std::make_tuple(x + dx, y + dy, 900, 620, TRUE)
                                       : std::make_tuple(x + dx, y + dy + 620, 900, 106, TRUE));
        if (dx || dy) { EXPECT_EQ(headless_moves()[0].window, consoleFirst ? hWnd : main) << key; }
    }
    for (HWND window : {main, hWnd}) EXPECT_EQ((SendMessageA(window, WM_LBUTTONUP, 0, 0), GetFocus()), window);
}

// Each way out saves the run and ends the program; a request still on its way then saves nothing (a second
// scramble would store the purged puzzle file over the real store). A session going on changes nothing.
TEST(Leaving, EveryWayOutSavesTheRunOnceThenEndsWithCodeZero) {
    const std::tuple<bool, UINT, WPARAM> waysOut[] = {  // to the console, message, wParam
        {false, WM_COMMAND, IDC_QUIT}, {false, WM_COMMAND, IDC_CLOSE}, {false, WM_CLOSE, 0},        {true, WM_CLOSE, 0},
        {false, WM_ENDSESSION, TRUE},  {true, WM_ENDSESSION, TRUE},    {false, WM_ENDSESSION, FALSE}};
    for (auto [toConsole, message, wParam] : waysOut) {
        TempFolder dir;
        StartFreshProcess(dir);
        dir.write("MVData.dat", "big top;a place for clowns:");
        bool goesOn = false;
        const auto leave = [=] { SendMessageA(toConsole ? hWnd : MainWindow(), message, wParam, 0); };
        EXPECT_EQ(RunProgram({leave, [&] { goesOn = !dir.exists("MVStats.dat"); }}), 0);
        EXPECT_EQ(goesOn, message == WM_ENDSESSION && !wParam) << message << toConsole;
        const auto saved = [&] { return dir.read("MVStats.dat") + dir.read("MVData.dat") + dir.read("OnLoad.dat"); };
        EXPECT_EQ(saved(), "0 0 0 Circus-Worker 0 0 0 Circus-WorkerData purged...ckj$yuwCj*qndgj&mw{*dnr{syA");
        for (const char* file : {"MVStats.dat", "MVData.dat", "OnLoad.dat"}) dir.write(file, "later");
        for (auto [console, request, wp] : waysOut) WindowProcedure(headless_windows()[console], request, wp, 0);
        EXPECT_EQ(saved(), "laterlaterlater") << message << toConsole;
    }
}

}  // namespace
