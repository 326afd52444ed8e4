// Start-up through the real WinMain against the headless Win32 layer: the
// window classes, the two windows, every child control, the fonts, the
// pictures, the show state, the exit code and where the data files are
// looked for. The expected layout is written out here on its own, so that a
// slip in the program's control table shows up as a difference.
#include "game_session.h"
#include "game/window_procedure.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

const int kIdiApplication = 32512;  // IDI_APPLICATION and IDC_ARROW
const DWORD kButton = BS_OWNERDRAW;
const DWORD kPicture = SS_BITMAP;
const DWORD kText = SS_SIMPLE | SS_NOPREFIX;
const DWORD kPlainText = SS_SIMPLE;
const DWORD kCentred = SS_CENTER;
const DWORD kEdit = 0;
const bool kMain = false, kConsole = true;

struct ExpectedControl {
    int id;
    const char* className;
    DWORD style;  // besides WS_CHILD | WS_VISIBLE
    bool inConsole;
    int x, y, width, height;
    HWND* handle;
    int textLimit;      // 0: none set
    const char* text;   // at start, with no statistics file
    bool visible;
    int bitmap;         // the picture attached, 0 for none
};

// Every control in creation order.
const ExpectedControl kLayout[] = {
    {2800, "BUTTON", kButton, kMain, 761, 359, 102, 25, &hPlayerOne, 0, "", true, 0},
    {2950, "BUTTON", kButton, kMain, 761, 391, 102, 25, &hPlayerTwo, 0, "", true, 0},
    {3100, "BUTTON", kButton, kMain, 761, 432, 102, 23, &hResetStats, 0, "", true, 0},
    {3250, "BUTTON", kButton, kMain, 761, 459, 102, 24, &hAudioCntl, 0, "", true, 0},
    {3400, "BUTTON", kButton, kMain, 761, 487, 80, 23, &hSkillCntl, 0, "", true, 0},
    {3550, "BUTTON", kButton, kMain, 647, 432, 93, 23, &hNewGame, 0, "", true, 0},
    {3700, "BUTTON", kButton, kMain, 647, 460, 93, 23, &hShowWord, 0, "", true, 0},
    {3850, "BUTTON", kButton, kMain, 647, 487, 93, 23, &hWordHint, 0, "", true, 0},
    {4000, "BUTTON", kButton, kMain, 818, 3, 24, 18, &hMinimize, 0, "", true, 0},
    {4150, "BUTTON", kButton, kMain, 844, 3, 24, 19, &hHelpMe, 0, "", true, 0},
    {4300, "BUTTON", kButton, kMain, 870, 3, 24, 19, &hQuitGame, 0, "", true, 0},
    {4900, "BUTTON", kButton, kMain, 27, 575, 116, 23, &hPuzzled, 0, "", true, 0},
    {5050, "BUTTON", kButton, kMain, 560, 575, 49, 23, &hEndGame, 0, "", true, 0},
    {5350, "BUTTON", kButton, kMain, 493, 575, 65, 23, &hConsole, 0, "", true, 0},
    {5200, "BUTTON", kButton, kConsole, 757, 62, 116, 23, &hAddPuzzle, 0, "", true, 0},
    {5950, "BUTTON", kButton, kConsole, 831, 20, 42, 23, &hDelSelect, 0, "", true, 0},
    {6000, "BUTTON", kButton, kConsole, 757, 20, 72, 23, &hViewNext, 0, "", true, 0},
    {160, "STATIC", kPicture, kMain, 82, 483, 18, 20, &hLetters[0], 0, "", true, 130},
    {220, "STATIC", kPicture, kMain, 120, 483, 16, 20, &hLetters[1], 0, "", true, 190},
    {280, "STATIC", kPicture, kMain, 156, 483, 18, 20, &hLetters[2], 0, "", true, 250},
    {340, "STATIC", kPicture, kMain, 195, 483, 17, 20, &hLetters[3], 0, "", true, 310},
    {400, "STATIC", kPicture, kMain, 232, 483, 16, 20, &hLetters[4], 0, "", true, 370},
    {460, "STATIC", kPicture, kMain, 269, 483, 15, 20, &hLetters[5], 0, "", true, 430},
    {520, "STATIC", kPicture, kMain, 305, 483, 19, 20, &hLetters[6], 0, "", true, 490},
    {580, "STATIC", kPicture, kMain, 346, 483, 16, 20, &hLetters[7], 0, "", true, 550},
    {640, "STATIC", kPicture, kMain, 384, 483, 9, 20, &hLetters[8], 0, "", true, 610},
    {700, "STATIC", kPicture, kMain, 411, 483, 12, 20, &hLetters[9], 0, "", true, 670},
    {760, "STATIC", kPicture, kMain, 444, 483, 17, 20, &hLetters[10], 0, "", true, 730},
    {820, "STATIC", kPicture, kMain, 481, 483, 13, 20, &hLetters[11], 0, "", true, 790},
    {880, "STATIC", kPicture, kMain, 515, 483, 18, 20, &hLetters[12], 0, "", true, 850},
    {940, "STATIC", kPicture, kMain, 83, 518, 16, 20, &hLetters[13], 0, "", true, 910},
    {1000, "STATIC", kPicture, kMain, 118, 518, 20, 20, &hLetters[14], 0, "", true, 970},
    {1060, "STATIC", kPicture, kMain, 158, 518, 16, 20, &hLetters[15], 0, "", true, 1030},
    {1120, "STATIC", kPicture, kMain, 193, 518, 20, 21, &hLetters[16], 0, "", true, 1090},
    {1180, "STATIC", kPicture, kMain, 233, 518, 17, 20, &hLetters[17], 0, "", true, 1150},
    {1240, "STATIC", kPicture, kMain, 267, 518, 17, 20, &hLetters[18], 0, "", true, 1210},
    {1300, "STATIC", kPicture, kMain, 306, 518, 17, 20, &hLetters[19], 0, "", true, 1270},
    {1360, "STATIC", kPicture, kMain, 346, 518, 16, 20, &hLetters[20], 0, "", true, 1330},
    {1420, "STATIC", kPicture, kMain, 375, 518, 18, 20, &hLetters[21], 0, "", true, 1390},
    {1480, "STATIC", kPicture, kMain, 404, 518, 26, 20, &hLetters[22], 0, "", true, 1450},
    {1540, "STATIC", kPicture, kMain, 444, 518, 18, 20, &hLetters[23], 0, "", true, 1510},
    {1600, "STATIC", kPicture, kMain, 480, 518, 19, 20, &hLetters[24], 0, "", true, 1570},
    {1660, "STATIC", kPicture, kMain, 517, 518, 17, 20, &hLetters[25], 0, "", true, 1630},
    {1690, "STATIC", kText, kMain, 760, 112, 106, 18, &hPOneScore, 0, "0", true, 0},
    {1720, "STATIC", kText, kMain, 760, 247, 106, 18, &hPTwoScore, 0, "0", true, 0},
    {1750, "STATIC", kText, kMain, 760, 141, 40, 18, &hPOneWins, 0, "0", true, 0},
    {1780, "STATIC", kText, kMain, 760, 276, 40, 18, &hPTwoWins, 0, "0", true, 0},
    {1810, "STATIC", kText, kMain, 826, 141, 40, 18, &hPOneLose, 0, "0", true, 0},
    {1840, "STATIC", kText, kMain, 826, 276, 40, 18, &hPTwoLose, 0, "0", true, 0},
    {1870, "STATIC", kText, kMain, 760, 171, 106, 18, &hPOneSkill, 0, "Circus-Worker", true, 0},
    {1900, "STATIC", kText, kMain, 760, 306, 106, 18, &hPTwoSkill, 0, "Circus-Worker", true, 0},
    {1930, "STATIC", kCentred, kMain, 646, 525, 220, 17, &hGiveHint, 0, "", true, 0},
    {1960, "STATIC", kText, kMain, 28, 38, 846, 25, &hPuzzler, 0, "", true, 0},
    {5500, "STATIC", kPlainText, kMain, 28, 38, 846, 25, &hDblDash, 0, "", true, 0},
    {4350, "STATIC", kCentred, kMain, 656, 385, 75, 32, &hUsedBin, 0, "", true, 0},
    {4400, "STATIC", kText, kMain, 847, 490, 14, 18, &hPlySmarts, 0, "7", true, 0},
    {6100, "STATIC", kPicture, kMain, 279, 199, 90, 90, &PopZero, 0, "", false, 6050},
    {2350, "STATIC", kPicture, kMain, 258, 99, 119, 182, &PopOne, 0, "", false, 2000},
    {2400, "STATIC", kPicture, kMain, 258, 99, 119, 182, &PopTwo, 0, "", false, 2050},
    {2450, "STATIC", kPicture, kMain, 258, 99, 119, 182, &PopTre, 0, "", false, 2100},
    {2500, "STATIC", kPicture, kMain, 258, 99, 119, 182, &PopFor, 0, "", false, 2150},
    {2550, "STATIC", kPicture, kMain, 258, 99, 119, 182, &PopFiv, 0, "", false, 2200},
    {2600, "STATIC", kPicture, kMain, 258, 99, 119, 182, &PopSix, 0, "", false, 2250},
    {2650, "STATIC", kPicture, kMain, 258, 99, 119, 182, &PopSev, 0, "", true, 2300},
    {4750, "EDIT", kEdit, kMain, 150, 577, 338, 20, &hSolveMe, 0, "", true, 0},
    {5300, "EDIT", kEdit, kConsole, 302, 22, 352, 20, &hEditWord, 38, "", true, 0},
    {5250, "EDIT", kEdit, kConsole, 302, 64, 260, 20, &hEditHint, 34, "", true, 0},
};

class StartUp : public ::testing::Test {
protected:
    void SetUp() override {
        StartFreshProcess(folder);
        main = StartUpWithoutLoop();
        ASSERT_NE(main, nullptr);
    }
    TempFolder folder;
    HWND main = nullptr;
};

TEST_F(StartUp, BothWindowClassesUseTheOneProcedureAndTheirWindowPictures) {
    struct ExpectedClass {
        const char* name;
        int background;
        int width, height;
        int smallIcon;
        bool smallIconFromSystem;
        int smallIconSize;
    };
    const ExpectedClass expected[] = {
        {"Marivane", 48, 900, 620, 32, false, 16},
        {"Add_Puzzles", 100, 900, 106, kIdiApplication, true, 32},
    };
    const std::vector<HeadlessClass>& classes = headless_classes();
    ASSERT_EQ(classes.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(expected[i].name);
        const WNDCLASSEXA& wc = classes[i].fields;
        EXPECT_EQ(classes[i].name, expected[i].name);
        EXPECT_EQ(wc.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
        EXPECT_EQ(wc.lpfnWndProc, &WindowProcedure);
        EXPECT_EQ(wc.cbClsExtra, 0);
        EXPECT_EQ(wc.cbWndExtra, 0);
        EXPECT_EQ(wc.hInstance, GetModuleHandleA(nullptr));
        EXPECT_EQ(wc.lpszMenuName, nullptr);
        ASSERT_NE(wc.hIcon, nullptr);
        EXPECT_EQ(wc.hIcon->resourceId, kIdiApplication);
        EXPECT_TRUE(wc.hIcon->system);
        ASSERT_NE(wc.hCursor, nullptr);
        EXPECT_EQ(wc.hCursor->resourceId, kIdiApplication);
        EXPECT_TRUE(wc.hCursor->system);
        ASSERT_NE(wc.hIconSm, nullptr);
        EXPECT_EQ(wc.hIconSm->resourceId, expected[i].smallIcon);
        EXPECT_EQ(wc.hIconSm->system, expected[i].smallIconFromSystem);
        EXPECT_EQ(wc.hIconSm->width, expected[i].smallIconSize);
        EXPECT_EQ(wc.hIconSm->height, expected[i].smallIconSize);
        ASSERT_NE(wc.hbrBackground, nullptr);
        EXPECT_EQ(wc.hbrBackground->kind, HGDIOBJ__::Brush);
        EXPECT_FALSE(wc.hbrBackground->deleted);
        EXPECT_EQ(wc.hbrBackground->resourceId, expected[i].background);
        EXPECT_EQ(wc.hbrBackground->width, expected[i].width);
        EXPECT_EQ(wc.hbrBackground->height, expected[i].height);
    }
}

TEST_F(StartUp, KeepsOnlyTheBrushesTheFontAndTheAttachedPicturesAlive) {
    // The two background bitmaps are freed once their brushes exist.
    const int brushes = 2, fonts = 1, pictures = 1 + 7 + 26;
    EXPECT_EQ(headless_live_gdi_objects(), brushes + fonts + pictures);
    EXPECT_EQ(headless_live_dcs(), 0);
}

TEST_F(StartUp, CreatesEveryControlInOrderWithItsPlaceStyleAndLimit) {
    const std::vector<HWND> windows = headless_windows();
    ASSERT_EQ(windows.size(), 2 + std::size(kLayout));
    EXPECT_EQ(windows[0], main);
    EXPECT_EQ(windows[1], hWnd);
    for (std::size_t i = 0; i < std::size(kLayout); ++i) {
        const ExpectedControl& e = kLayout[i];
        HWND control = windows[2 + i];
        SCOPED_TRACE("control " + std::to_string(i + 1) + ", id " + std::to_string(e.id));
        EXPECT_EQ(control->id, e.id);
        EXPECT_EQ(control->className, e.className);
        EXPECT_EQ(control->style, WS_CHILD | WS_VISIBLE | e.style);
        EXPECT_EQ(control->exStyle, 0u);
        EXPECT_EQ(control->parent, e.inConsole ? hWnd : main);
        EXPECT_EQ(control->x, e.x);
        EXPECT_EQ(control->y, e.y);
        EXPECT_EQ(control->width, e.width);
        EXPECT_EQ(control->height, e.height);
        EXPECT_EQ(control->textLimit, e.textLimit);
        EXPECT_EQ(*e.handle, control);
    }
}

TEST_F(StartUp, ControlsStartWithTheirTextsAndVisibility) {
    for (const ExpectedControl& e : kLayout) {
        SCOPED_TRACE("id " + std::to_string(e.id));
        EXPECT_EQ(TextOf(e.id), e.text);
        EXPECT_EQ(Shown(*e.handle), e.visible);
    }
}

TEST_F(StartUp, DisplayFontOnThePuzzleLinesAndGuiFontOnTheHintLine) {
    HFONT display = ControlById(1960)->font;
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(ControlById(5500)->font, display);
    EXPECT_EQ(display->kind, HGDIOBJ__::Font);
    EXPECT_FALSE(display->stock);
    EXPECT_EQ(display->fontFace, "Courier New");
    EXPECT_EQ(display->fontHeight, 22);
    EXPECT_EQ(display->fontWeight, 700);
    EXPECT_EQ(display->fontPitchAndFamily, static_cast<DWORD>(FIXED_PITCH | FF_MODERN));
    EXPECT_EQ(ControlById(1930)->font, GetStockObject(DEFAULT_GUI_FONT));
    for (const ExpectedControl& e : kLayout) {
        if (e.id == 1960 || e.id == 5500 || e.id == 1930) continue;
        SCOPED_TRACE("id " + std::to_string(e.id));
        EXPECT_EQ(ControlById(e.id)->font, nullptr);  // the system font
    }
}

TEST_F(StartUp, EachPictureShowsItsOwnBitmapAtItsNaturalSize) {
    for (const ExpectedControl& e : kLayout) {
        SCOPED_TRACE("id " + std::to_string(e.id));
        HGDIOBJ image = ControlById(e.id)->image;
        if (e.bitmap == 0) {
            EXPECT_EQ(image, nullptr);
            continue;
        }
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->kind, HGDIOBJ__::Bitmap);
        EXPECT_FALSE(image->deleted);
        EXPECT_EQ(image->resourceId, e.bitmap);
        // Every picture control has exactly its bitmap's size.
        EXPECT_EQ(image->width, e.width);
        EXPECT_EQ(image->height, e.height);
    }
}

TEST(StartUpWithStatistics, ScoreBoxesShowTheLoadedFiguresEachInItsOwnBox) {
    TempFolder folder;
    StartFreshProcess(folder);
    folder.write("MVStats.dat", "250 9 4 Lion-Tamer 30 2 7 Juggling-Clown");
    StartUpWithoutLoop();
    const std::pair<int, const char*> expected[] = {
        {1690, "250"}, {1750, "9"}, {1810, "4"}, {1870, "Lion-Tamer"},
        {1720, "30"},  {1780, "2"}, {1840, "7"}, {1900, "Juggling-Clown"},
    };
    for (auto& box : expected) EXPECT_EQ(TextOf(box.first), box.second) << "id " << box.first;
}

// ---- The two windows on screens of different sizes ----

struct ScreenCase {
    int width, height;
    int left, mainTop, consoleTop;
};

class OnScreen : public ::testing::TestWithParam<ScreenCase> {};

TEST_P(OnScreen, MainWindowAndConsoleFormOneBlockAroundTheCentre) {
    const ScreenCase& screen = GetParam();
    TempFolder folder;
    StartFreshProcess(folder);
    headless_set_screen_size(screen.width, screen.height);
    HWND main = StartUpWithoutLoop();
    ASSERT_NE(main, nullptr);
    ASSERT_NE(hWnd, nullptr);

    EXPECT_EQ(main->className, "Marivane");
    EXPECT_EQ(main->text, "Marivane");
    EXPECT_EQ(main->style, static_cast<DWORD>(WS_POPUP | WS_SYSMENU));  // created hidden
    EXPECT_EQ(main->exStyle, 0u);
    EXPECT_EQ(main->owner, nullptr);
    EXPECT_EQ(main->parent, nullptr);
    EXPECT_EQ(main->x, screen.left);
    EXPECT_EQ(main->y, screen.mainTop);
    EXPECT_EQ(main->width, 900);
    EXPECT_EQ(main->height, 620);

    EXPECT_EQ(hWnd->className, "Add_Puzzles");
    EXPECT_EQ(hWnd->text, "Add_Puzzle");
    EXPECT_EQ(hWnd->style, static_cast<DWORD>(WS_POPUP | WS_SYSMENU));
    EXPECT_EQ(hWnd->exStyle, 0u);
    EXPECT_EQ(hWnd->owner, main);
    EXPECT_EQ(hWnd->parent, nullptr);
    EXPECT_EQ(hWnd->x, screen.left);
    EXPECT_EQ(hWnd->y, screen.consoleTop);
    EXPECT_EQ(hWnd->width, 900);
    EXPECT_EQ(hWnd->height, 106);
}

INSTANTIATE_TEST_SUITE_P(Screens, OnScreen,
                         ::testing::Values(ScreenCase{1280, 1024, 190, 134, 754},
                                           // smaller than the 900 x 726 block: partly off screen
                                           ScreenCase{800, 600, -50, -78, 542},
                                           // odd sizes: the halves are truncated
                                           ScreenCase{1367, 769, 233, 6, 626}));

// ---- Show state, message loop and exit code ----

struct ShowCase {
    int showCommand;
    bool minimized;
};

class ShowState : public ::testing::TestWithParam<ShowCase> {};

TEST_P(ShowState, MainWindowTakesTheGivenShowStateAndTheConsoleStaysHidden) {
    TempFolder folder;
    StartFreshProcess(folder);
    bool mainVisible = false, mainMinimized = false, consoleVisible = true;
    int mainPaints = 0;
    int exitCode = RunProgram({[&] {
                                  mainVisible = Shown(MainWindow());
                                  mainMinimized = MainWindow()->minimized;
                                  mainPaints = MainWindow()->paints;
                                  consoleVisible = Shown(hWnd);
                              }},
                              GetParam().showCommand);
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(mainVisible);
    EXPECT_EQ(mainMinimized, GetParam().minimized);
    EXPECT_EQ(mainPaints, 1);  // updated once after being shown
    EXPECT_FALSE(consoleVisible);
}

INSTANTIATE_TEST_SUITE_P(ShowStates, ShowState,
                         ::testing::Values(ShowCase{SW_SHOWNORMAL, false}, ShowCase{SW_SHOWMINIMIZED, true}));

TEST(MessageLoop, ReturnsTheQuitMessagesCode) {
    struct Case {
        const char* how;
        std::function<void()> end;
        int exitCode;
    };
    const Case cases[] = {
        {"Quit button", [] { Press(5050); }, 0},
        {"console destroyed alone", [] { DestroyWindow(hWnd); }, 0},
        {"quit message with code 7", [] { PostQuitMessage(7); }, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        TempFolder folder;
        StartFreshProcess(folder);
        EXPECT_EQ(RunProgram({c.end}), c.exitCode);
    }
}

TEST(MessageLoop, DispatchesPostedMessagesToTheWindowTheyAreFor) {
    TempFolder folder;
    StartFreshProcess(folder);
    folder.write("MVData.dat", PuzzleFile({{"big top", "a place for clowns"}}));
    RunProgram({[] { PostMessageA(MainWindow(), WM_COMMAND, 3550, 0); },
                [] { EXPECT_EQ(TextOf(1960), " _ _ _   _ _ _"); }});
}

TEST(FailedRegistration, EndsTheProgramWithCodeZeroAndNoMessage) {
    struct Case {
        const char* failingClass;
        std::size_t windowsCreated;  // the main window exists when only the console's class fails
    };
    for (const Case& c : {Case{"Marivane", 0}, Case{"Add_Puzzles", 1}}) {
        SCOPED_TRACE(c.failingClass);
        TempFolder folder;
        StartFreshProcess(folder);
        headless_fail_class_registration(c.failingClass);
        EXPECT_EQ(RunProgram({}), 0);
        const std::vector<HWND> windows = headless_windows();
        ASSERT_EQ(windows.size(), c.windowsCreated);
        for (HWND window : windows) EXPECT_FALSE(Shown(window));
        EXPECT_TRUE(headless_message_boxes().empty());
        EXPECT_TRUE(headless_cues().empty());
    }
}

// ---- Where the data files are looked for ----

// Runs start-up with the given program file; the working folder is a fresh
// temporary one, so files taken relative to it land nowhere else.
class DataPaths : public ::testing::Test {
protected:
    void SetUp() override { previous = std::filesystem::current_path(); }
    void TearDown() override { std::filesystem::current_path(previous); }

    void startFrom(const std::string& programFile) {
        StartFreshProcess(workingFolder);
        std::filesystem::current_path(workingFolder.path());
        headless_set_module_path(programFile);
        ASSERT_NE(StartUpWithoutLoop(), nullptr);
    }

    void expectFilesIn(const std::string& directory) {
        EXPECT_EQ(getDrivePath, directory);
        EXPECT_EQ(HelpFiler, directory + "Quorrel-help.chm");
        EXPECT_EQ(ScoreFile, directory + "MVStats.dat");
        EXPECT_EQ(WordsFile, directory + "MVData.dat");
        EXPECT_EQ(TimerFile, directory + "MVC_CONFIG.INI");
        EXPECT_EQ(LoadsFile, directory + "OnLoad.dat");
    }

    std::filesystem::path previous;
    TempFolder workingFolder;
};

TEST_F(DataPaths, AreTheProgramsDirectoryWhateverItsSeparators) {
    const std::string longDirectory = "C:\\" + std::string(150, 'a') + "\\" + std::string(150, 'b') + "\\";
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\Games\\Marivane\\Marivane.exe", "C:\\Games\\Marivane\\"},
        {"/opt/games/marivane/Marivane.exe", "/opt/games/marivane/"},
        {"C:\\Games/Marivane\\bin/Marivane.exe", "C:\\Games/Marivane\\bin/"},
        {"C:/Games/Marivane\\Marivane.exe", "C:/Games/Marivane\\"},
        {longDirectory + "Marivane.exe", longDirectory},
        {"Marivane.exe", ""},  // no directory: the working folder
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.first);
        startFrom(c.first);
        expectFilesIn(c.second);
    }
}

TEST_F(DataPaths, ReachTheFilesBesideAProgramWithALongPath) {
    TempFolder home;
    std::filesystem::path deep = home.path();
    for (int level = 0; level < 6; ++level) deep /= std::string(50, static_cast<char>('k' + level));
    std::filesystem::create_directories(deep);
    const std::string directory = deep.string() + "/";
    ASSERT_GT(directory.size() + std::string("Marivane.exe").size(), 260u);
    {
        std::ofstream(directory + "MVData.dat") << PuzzleFile({{"big top", "a place for clowns"}});
        std::ofstream(directory + "MVStats.dat") << "90 1 0 Circus-Worker 0 0 0 Circus-Worker";
    }
    startFrom(directory + "Marivane.exe");
    expectFilesIn(directory);

    EXPECT_EQ(TextOf(1690), "90");
    Press(3550);
    EXPECT_EQ(TextOf(1960), " _ _ _   _ _ _");
    Press(4150);
    ASSERT_EQ(headless_shell_calls().size(), 1u);
    EXPECT_EQ(headless_shell_calls()[0].file, directory + "Quorrel-help.chm");
}

}  // namespace
