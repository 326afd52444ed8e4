// Start-up through the real WinMain against the headless Win32 layer. The
// expected layout is written out here on its own, so that a slip in the
// program's control table shows up as a difference.
#include "game_session.h"
#include "game/window_procedure.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

const int kSystemDefault = 32512;  // IDI_APPLICATION and IDC_ARROW

enum Kind { Button, Picture, Text, PlainText, Centred, Edit };
const std::pair<const char*, DWORD> kKinds[] = {
    {"BUTTON", BS_OWNERDRAW}, {"STATIC", SS_BITMAP}, {"STATIC", SS_SIMPLE | SS_NOPREFIX},
    {"STATIC", SS_SIMPLE},    {"STATIC", SS_CENTER}, {"EDIT", 0}};
enum Parent { Main, Console };

struct ExpectedControl {
    int id;
    Kind kind;
    Parent parent;
    int x, y, width, height;
    HWND* handle;
    const char* text = "";  // with no statistics file
    int bitmap = 0;
    bool visible = true;
    int textLimit = 0;
};

// Every control but the letter pictures, in creation order; the letters follow the 17 buttons.
const ExpectedControl kLayout[] = {
    {2800, Button, Main, 761, 359, 102, 25, &hPlayerOne},
    {2950, Button, Main, 761, 391, 102, 25, &hPlayerTwo},
    {3100, Button, Main, 761, 432, 102, 23, &hResetStats},
    {3250, Button, Main, 761, 459, 102, 24, &hAudioCntl},
    {3400, Button, Main, 761, 487, 80, 23, &hSkillCntl},
    {3550, Button, Main, 647, 432, 93, 23, &hNewGame},
    {3700, Button, Main, 647, 460, 93, 23, &hShowWord},
    {3850, Button, Main, 647, 487, 93, 23, &hWordHint},
    {4000, Button, Main, 818, 3, 24, 18, &hMinimize},
    {4150, Button, Main, 844, 3, 24, 19, &hHelpMe},
    {4300, Button, Main, 870, 3, 24, 19, &hQuitGame},
    {4900, Button, Main, 27, 575, 116, 23, &hPuzzled},
    {5050, Button, Main, 560, 575, 49, 23, &hEndGame},
    {5350, Button, Main, 493, 575, 65, 23, &hConsole},
    {5200, Button, Console, 757, 62, 116, 23, &hAddPuzzle},
    {5950, Button, Console, 831, 20, 42, 23, &hDelSelect},
    {6000, Button, Console, 757, 20, 72, 23, &hViewNext},
    {1690, Text, Main, 760, 112, 106, 18, &hPOneScore, "0"},
    {1720, Text, Main, 760, 247, 106, 18, &hPTwoScore, "0"},
    {1750, Text, Main, 760, 141, 40, 18, &hPOneWins, "0"},
    {1780, Text, Main, 760, 276, 40, 18, &hPTwoWins, "0"},
    {1810, Text, Main, 826, 141, 40, 18, &hPOneLose, "0"},
    {1840, Text, Main, 826, 276, 40, 18, &hPTwoLose, "0"},
    {1870, Text, Main, 760, 171, 106, 18, &hPOneSkill, "Circus-Worker"},
    {1900, Text, Main, 760, 306, 106, 18, &hPTwoSkill, "Circus-Worker"},
    {1930, Centred, Main, 646, 525, 220, 17, &hGiveHint},
    {1960, Text, Main, 28, 38, 846, 25, &hPuzzler},
    {5500, PlainText, Main, 28, 38, 846, 25, &hDblDash},
    {4350, Centred, Main, 656, 385, 75, 32, &hUsedBin},
    {4400, Text, Main, 847, 490, 14, 18, &hPlySmarts, "7"},
    {6100, Picture, Main, 279, 199, 90, 90, &PopZero, "", 6050, false},
    {2350, Picture, Main, 258, 99, 119, 182, &PopOne, "", 2000, false},
    {2400, Picture, Main, 258, 99, 119, 182, &PopTwo, "", 2050, false},
    {2450, Picture, Main, 258, 99, 119, 182, &PopTre, "", 2100, false},
    {2500, Picture, Main, 258, 99, 119, 182, &PopFor, "", 2150, false},
    {2550, Picture, Main, 258, 99, 119, 182, &PopFiv, "", 2200, false},
    {2600, Picture, Main, 258, 99, 119, 182, &PopSix, "", 2250, false},
    {2650, Picture, Main, 258, 99, 119, 182, &PopSev, "", 2300},
    {4750, Edit, Main, 150, 577, 338, 20, &hSolveMe},
    {5300, Edit, Console, 302, 22, 352, 20, &hEditWord, "", 0, true, 38},
    {5250, Edit, Console, 302, 64, 260, 20, &hEditHint, "", 0, true, 34},
};
const std::ptrdiff_t kButtons = 17;

// The letter pictures A to Z: x, y, width, height. Ids run 160 + 60 n, bitmaps 130 + 60 n.
const int kLetterRects[26][4] = {
    {82, 483, 18, 20},  {120, 483, 16, 20}, {156, 483, 18, 20}, {195, 483, 17, 20}, {232, 483, 16, 20},
    {269, 483, 15, 20}, {305, 483, 19, 20}, {346, 483, 16, 20}, {384, 483, 9, 20},  {411, 483, 12, 20},
    {444, 483, 17, 20}, {481, 483, 13, 20}, {515, 483, 18, 20}, {83, 518, 16, 20},  {118, 518, 20, 20},
    {158, 518, 16, 20}, {193, 518, 20, 21}, {233, 518, 17, 20}, {267, 518, 17, 20}, {306, 518, 17, 20},
    {346, 518, 16, 20}, {375, 518, 18, 20}, {404, 518, 26, 20}, {444, 518, 18, 20}, {480, 518, 19, 20},
    {517, 518, 17, 20},
};

std::vector<ExpectedControl> ExpectedLayout() {
    std::vector<ExpectedControl> layout(std::begin(kLayout), std::begin(kLayout) + kButtons);
    for (int i = 0; i < 26; ++i) {
        const int* r = kLetterRects[i];
        layout.push_back({160 + 60 * i, Picture, Main, r[0], r[1], r[2], r[3], &hLetters[i], "", 130 + 60 * i});
    }
    layout.insert(layout.end(), std::begin(kLayout) + kButtons, std::end(kLayout));
    return layout;
}

// x, y, width and height.
using Place = std::array<int, 4>;
Place PlaceOf(HWND window) { return {window->x, window->y, window->width, window->height}; }

TEST(Windows, HaveTheirClassesTitlesAndPlacesInOneBlockAroundTheScreenCentre) {
    struct Screen {
        int width, height;
        int left, mainTop, consoleTop;
    };
    // 800 x 600 is smaller than the 900 x 726 block; at odd sizes the halves are truncated.
    for (const Screen& s :
         {Screen{1280, 1024, 190, 134, 754}, Screen{800, 600, -50, -78, 542}, Screen{1367, 769, 233, 6, 626}}) {
        SCOPED_TRACE(testing::Message() << s.width << " x " << s.height);
        TempFolder folder;
        StartFreshProcess(folder);
        headless_set_screen_size(s.width, s.height);
        HWND main = StartUpWithoutLoop();
        ASSERT_TRUE(main && hWnd);
        ASSERT_EQ(headless_classes().size(), 2u);
        const struct {
            HWND window;
            const char *className, *title;
            HWND owner;
            int top, height;
            int background, smallIcon, smallIconSize;
        } windows[] = {{main, "Marivane", "Marivane", nullptr, s.mainTop, 620, 48, 32, 16},
                       {hWnd, "Add_Puzzles", "Add_Puzzle", main, s.consoleTop, 106, 100, kSystemDefault, 32}};
        for (std::size_t i = 0; i < std::size(windows); ++i) {
            const auto& w = windows[i];
            SCOPED_TRACE(w.className);
            EXPECT_EQ(w.window->className, w.className);
            EXPECT_EQ(w.window->text, w.title);
            EXPECT_EQ(w.window->style, static_cast<DWORD>(WS_POPUP | WS_SYSMENU));  // created hidden
            EXPECT_EQ(w.window->owner, w.owner);
            EXPECT_EQ(PlaceOf(w.window), (Place{s.left, w.top, 900, w.height}));

            const HeadlessClass& registered = headless_classes()[i];
            const WNDCLASSEXA& wc = registered.fields;
            EXPECT_EQ(registered.name, w.className);
            EXPECT_EQ(wc.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
            EXPECT_EQ(wc.lpfnWndProc, &WindowProcedure);
            ASSERT_TRUE(wc.hIcon && wc.hCursor && wc.hIconSm && wc.hbrBackground);
            EXPECT_TRUE(wc.hIcon->system && wc.hIcon->resourceId == kSystemDefault);
            EXPECT_TRUE(wc.hCursor->system && wc.hCursor->resourceId == kSystemDefault);
            EXPECT_EQ(wc.hIconSm->resourceId, w.smallIcon);
            EXPECT_EQ(wc.hIconSm->system, w.smallIcon == kSystemDefault);
            EXPECT_EQ(wc.hIconSm->width, w.smallIconSize);
            // The window picture as a pattern brush, at the window's size.
            EXPECT_EQ(wc.hbrBackground->kind, HGDIOBJ__::Brush);
            EXPECT_EQ(wc.hbrBackground->resourceId, w.background);
            EXPECT_EQ(wc.hbrBackground->width, 900);
            EXPECT_EQ(wc.hbrBackground->height, w.height);
        }
        // Alive: the two brushes (their bitmaps are freed), the display font and the 34 attached pictures.
        EXPECT_EQ(headless_live_gdi_objects(), 2 + 1 + 34);
        EXPECT_EQ(headless_live_dcs(), 0);
    }
}

TEST(Controls, AreCreatedInOrderWithTheirPlacesTextsFontsAndPictures) {
    TempFolder folder;
    StartFreshProcess(folder);
    HWND main = StartUpWithoutLoop();
    ASSERT_NE(main, nullptr);
    HFONT display = hPuzzler->font;
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(display->fontFace, "Courier New");
    EXPECT_EQ(display->fontHeight, 22);
    EXPECT_EQ(display->fontWeight, 700);
    EXPECT_EQ(display->fontPitchAndFamily, static_cast<DWORD>(FIXED_PITCH | FF_MODERN));

    const std::vector<ExpectedControl> layout = ExpectedLayout();
    const std::vector<HWND> windows = headless_windows();
    ASSERT_EQ(windows.size(), 2 + layout.size());
    EXPECT_EQ(windows[0], main);
    EXPECT_EQ(windows[1], hWnd);
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const ExpectedControl& e = layout[i];
        HWND control = windows[2 + i];
        SCOPED_TRACE("control " + std::to_string(i + 1) + ", id " + std::to_string(e.id));
        EXPECT_EQ(control->id, e.id);
        EXPECT_EQ(*e.handle, control);
        EXPECT_EQ(control->className, kKinds[e.kind].first);
        EXPECT_EQ(control->style, WS_CHILD | WS_VISIBLE | kKinds[e.kind].second);
        EXPECT_EQ(control->parent, e.parent == Console ? hWnd : main);
        EXPECT_EQ(PlaceOf(control), (Place{e.x, e.y, e.width, e.height}));
        EXPECT_EQ(control->textLimit, e.textLimit);
        EXPECT_EQ(control->text, e.text);
        EXPECT_EQ(Shown(control), e.visible);
        HFONT font = e.id == 1960 || e.id == 5500 ? display : e.id == 1930 ? GetStockObject(DEFAULT_GUI_FONT) : nullptr;
        EXPECT_EQ(control->font, font);
        EXPECT_EQ(control->image ? control->image->resourceId : 0, e.bitmap);
    }
}

TEST(MessageLoop, ShowsTheMainWindowAsAskedAndReturnsTheQuitCode) {
    struct Case {
        const char* how;
        int showCommand;
        std::function<void()> end;
        int exitCode;
    };
    const Case cases[] = {
        {"shown normally, Quit button", SW_SHOWNORMAL, [] { Press(5050); }, 0},
        {"minimised, console destroyed alone", SW_SHOWMINIMIZED, [] { DestroyWindow(hWnd); }, 0},
        {"quit message with code 7", SW_SHOWNORMAL, [] { PostQuitMessage(7); }, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        TempFolder folder;
        StartFreshProcess(folder);
        int exitCode = RunProgram({[&c] {
                                      EXPECT_TRUE(Shown(MainWindow()));
                                      EXPECT_EQ(MainWindow()->minimized, c.showCommand == SW_SHOWMINIMIZED);
                                      EXPECT_EQ(MainWindow()->paints, 1);  // updated once after being shown
                                      EXPECT_FALSE(Shown(hWnd));
                                      c.end();
                                  }},
                                  c.showCommand);
        EXPECT_EQ(exitCode, c.exitCode);
    }
}

TEST(FailedRegistration, EndsTheProgramWithCodeZeroAndNoMessage) {
    // The main window exists when only the console's class fails.
    for (const auto& [failingClass, windowsCreated] : {std::pair{"Marivane", 0u}, std::pair{"Add_Puzzles", 1u}}) {
        SCOPED_TRACE(failingClass);
        TempFolder folder;
        StartFreshProcess(folder);
        headless_fail_class_registration(failingClass);
        EXPECT_EQ(RunProgram({}), 0);
        const std::vector<HWND> windows = headless_windows();
        ASSERT_EQ(windows.size(), windowsCreated);
        for (HWND window : windows) EXPECT_FALSE(Shown(window));
        EXPECT_TRUE(headless_message_boxes().empty());
        EXPECT_TRUE(headless_cues().empty());
    }
}

// The working folder is a fresh temporary one, so files taken relative to it land nowhere else.
class DataPaths : public ::testing::Test {
protected:
    void TearDown() override { std::filesystem::current_path(previous); }
    std::filesystem::path previous = std::filesystem::current_path();
};

TEST_F(DataPaths, AreTheProgramsDirectoryWhicheverSeparatorComesLastAndHoweverLong) {
    TempFolder workingFolder, home;
    std::filesystem::current_path(workingFolder.path());
    std::filesystem::path deep = home.path();
    for (int level = 0; level < 6; ++level) deep /= std::string(50, static_cast<char>('k' + level));
    std::filesystem::create_directories(deep);
    const std::string longDirectory = deep.string() + "/";
    ASSERT_GT(longDirectory.size() + std::string("Marivane.exe").size(), 260u);
    std::ofstream(longDirectory + "MVData.dat") << PuzzleFile({{"big top", "a place for clowns"}});
    std::ofstream(longDirectory + "MVStats.dat") << "250 9 4 Lion-Tamer 30 2 7 Juggling-Clown";

    const std::pair<std::string, std::string> cases[] = {
        {"C:\\Games\\Marivane\\Marivane.exe", "C:\\Games\\Marivane\\"},
        {"C:\\Games/Marivane\\bin/Marivane.exe", "C:\\Games/Marivane\\bin/"},
        {"C:/Games/Marivane\\Marivane.exe", "C:/Games/Marivane\\"},
        {"Marivane.exe", ""},                             // no directory: the working folder
        {longDirectory + "Marivane.exe", longDirectory},  // last, so that its files are checked below
    };
    for (auto& [programFile, directory] : cases) {
        SCOPED_TRACE(programFile);
        StartFreshProcess(workingFolder);
        headless_set_module_path(programFile);
        ASSERT_NE(StartUpWithoutLoop(), nullptr);
        EXPECT_EQ(getDrivePath, directory);
        EXPECT_EQ(HelpFiler, directory + "Quorrel-help.chm");
        EXPECT_EQ(ScoreFile, directory + "MVStats.dat");
        EXPECT_EQ(WordsFile, directory + "MVData.dat");
        EXPECT_EQ(TimerFile, directory + "MVC_CONFIG.INI");
        EXPECT_EQ(LoadsFile, directory + "OnLoad.dat");
    }

    // The files beside the long path are read: each loaded figure in its own box, and a puzzle drawn.
    const std::pair<int, const char*> boxes[] = {
        {1690, "250"}, {1750, "9"}, {1810, "4"}, {1870, "Lion-Tamer"},
        {1720, "30"},  {1780, "2"}, {1840, "7"}, {1900, "Juggling-Clown"},
    };
    for (auto& [id, text] : boxes) EXPECT_EQ(TextOf(id), text) << "id " << id;
    Press(3550);
    EXPECT_EQ(TextOf(1960), " _ _ _   _ _ _");
}

}  // namespace
