// The real Marivane.exe under Wine in a private Xvfb display, driven with real input through xdotool and read back
// through probe.exe, our own program that lists the game's windows and controls. One session and one fresh Wine
// prefix for all tests; every wait polls with a time limit; children are ended by pid and Wine's processes by the
// prefix's wineserver. Each test leaves a screenshot in <work>/shots.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "data/startup_file.h"
#include "resource.h"

namespace {

namespace fs = std::filesystem;
using Seconds = std::chrono::duration<double>;
using Files = std::vector<std::pair<std::string, std::string>>;

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Rect& o) const { return x == o.x && y == o.y && width == o.width && height == o.height; }
};
enum Window { MAIN = -1, CONSOLE = -2 };  // the game's two windows, addressed like its controls

// Where controls belong, in client coordinates of their window: stand-in rows until the layout source is included.
struct Placed {
    int id;
    Window window;
    Rect at;
};
const Placed kLayout[] = {
#define CONTROL(id, window, x, y, width, height) {id, window, {x, y, width, height}},
    CONTROL(IDC_NEW_PUZZLE, MAIN, 647, 432, 93, 23) CONTROL(IDC_QUIT, MAIN, 560, 575, 49, 23)
    CONTROL(IDC_CONSOLE, MAIN, 493, 575, 65, 23) CONTROL(IDC_SOLUTION_EDIT, MAIN, 150, 577, 338, 20)
    CONTROL(IDC_PUZZLE_LINE, MAIN, 28, 38, 846, 25) CONTROL(IDC_REVIEW, CONSOLE, 757, 20, 72, 23)
    CONTROL(IDC_ADD_PUZZLE, CONSOLE, 757, 62, 116, 23) CONTROL(IDC_PHRASE_EDIT, CONSOLE, 302, 22, 352, 20)
#undef CONTROL
};

const int kScreenWidth = 1280, kScreenHeight = 1024;
const std::pair<std::string, std::string> kUnlocked{"MVC_CONFIG.INI", "Disable_Console= 0\nDisable_VCCntls= 0"};
const char kPassEnded[] = "Resetting Puzzle Viewer...";

template <typename Condition>
bool WaitUntil(Condition done, Seconds limit, Seconds interval = Seconds(0.1)) {
    for (auto deadline = std::chrono::steady_clock::now() + limit; !done(); std::this_thread::sleep_for(interval))
        if (std::chrono::steady_clock::now() >= deadline) return false;
    return true;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Child {
    pid_t pid = -1;
    int exitCode = -1;  // once reaped; a signal counts as 128 + its number
};

Child Spawn(std::vector<std::string> argv, const std::string& outputFile, const std::string& workingDir = ".") {
    std::vector<char*> pointers;
    for (auto& argument : argv) pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    const int output = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int input = open("/dev/null", O_RDONLY | O_CLOEXEC);
    Child child;
    child.pid = output >= 0 && input >= 0 ? fork() : -1;
    if (child.pid == 0) {  // in the child: only async-signal-safe calls until exec
        dup2(input, STDIN_FILENO);
        dup2(output, STDOUT_FILENO);
        dup2(output, STDERR_FILENO);
        if (chdir(workingDir.c_str()) == 0) execv(pointers[0], pointers.data());
        _exit(127);
    }
    close(output);
    close(input);
    return child;
}

bool Running(Child& child) {
    int status = 0;
    if (child.pid <= 0) return false;
    if (waitpid(child.pid, &status, WNOHANG) != child.pid) return true;
    child.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    child.pid = -1;
    return false;
}

// The exit code, or -1 while it still runs after `limit`.
int WaitForExit(Child& child, Seconds limit) {
    WaitUntil([&] { return !Running(child); }, limit, Seconds(0.01));
    return child.pid > 0 ? -1 : child.exitCode;
}

void Stop(Child& child, int signal) {
    for (int sent : {signal, SIGKILL})
        if (Running(child)) kill(child.pid, sent), WaitForExit(child, Seconds(5));
}

std::string sessionFolder, shotsFolder;
Child xvfb, keeper;
int launches = 0;

// Runs a short program to its end; its output, or nullopt when it failed or overran `limit`.
std::optional<std::string> RunTool(const std::vector<std::string>& argv, Seconds limit = Seconds(15)) {
    const std::string log = sessionFolder + "/" + fs::path(argv[0]).filename().string() + ".log";
    Child tool = Spawn(argv, log);
    const int exitCode = WaitForExit(tool, limit);
    Stop(tool, SIGKILL);  // when it overran
    return exitCode == 0 ? std::optional(ReadFile(log)) : std::nullopt;
}

bool Xdotool(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), E2E_XDOTOOL);
    return RunTool(arguments).has_value();
}

// One line of the probe: a window (id MAIN or CONSOLE, 0 for another program's) or a control of the window above.
struct Seen {
    int id = 0;
    bool shown = false, minimised = false;
    Rect at, origin;  // origin: the screen position of a control's window
    std::string text;
};

std::vector<Seen> Probe() {
    std::vector<Seen> seen;
    std::istringstream lines(RunTool({E2E_WINE, E2E_PROBE_EXE}).value_or(""));
    Rect window;
    for (std::string line, kind, className; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream in(line);
        Seen s;
        if (in >> kind && kind == "W") in >> className >> s.shown >> s.minimised;
        else in >> s.id >> s.shown;
        in >> s.at.x >> s.at.y >> s.at.width >> s.at.height;
        in.get();  // the blank before the text, which may itself begin with blanks
        std::getline(in, s.text);
        if (kind == "W") s.id = className == "Marivane" ? MAIN : className == "Add_Puzzles" ? CONSOLE : 0;
        if (kind == "W") window = s.at;
        else s.origin = window;
        seen.push_back(s);
    }
    return seen;
}

const Seen* Find(const std::vector<Seen>& seen, int id) {
    for (const Seen& s : seen)
        if (s.id == id) return &s;
    return nullptr;
}

std::string Text(int id) {
    const auto seen = Probe();
    const Seen* s = Find(seen, id);
    return s ? s->text : "";
}

bool Titled(const std::string& title) {
    for (const Seen& s : Probe())
        if (s.id <= 0 && s.shown && s.text == title) return true;
    return false;
}

// What a step waits for on one window or control; unset fields do not matter.
struct Want {
    int id;
    std::optional<std::string> text;
    std::optional<bool> shown, minimised;
    std::optional<Rect> at;
};
Want Text(int id, const std::string& text) { return {id, text, {}, {}, {}}; }
Want Shown(int id, bool shown = true) { return {id, {}, shown, {}, {}}; }
Want Minimised(int id, bool minimised = true) { return {id, {}, {}, minimised, {}}; }
Want Place(int id, Rect at) { return {id, {}, {}, {}, at}; }

bool Met(const Want& w, const Seen* s) {
    return s && (!w.text || *w.text == s->text) && (!w.shown || *w.shown == s->shown) &&
           (!w.minimised || *w.minimised == s->minimised) && (!w.at || *w.at == s->at);
}

std::string Describe(const Want& w) {
    std::ostringstream out;
    if (w.text) out << " text '" << *w.text << "'";
    if (w.shown) out << (*w.shown ? " shown" : " hidden") << (w.minimised.value_or(false) ? " minimised" : "");
    if (w.at) out << " at " << w.at->x << "," << w.at->y << " size " << w.at->width << "x" << w.at->height;
    return out.str();
}

// Polls the probe until every want holds; a failure names the step, what it wanted and what was seen.
bool Await(const std::string& step, const std::vector<Want>& wants, Seconds limit = Seconds(10)) {
    std::vector<Seen> seen;
    auto met = [&] {
        seen = Probe();
        for (const Want& w : wants)
            if (!Met(w, Find(seen, w.id))) return false;
        return true;
    };
    if (WaitUntil(met, limit)) return true;
    std::ostringstream report;
    for (const Want& w : wants) {
        const Seen* s = Find(seen, w.id);
        if (!Met(w, s))
            report << "\n  #" << w.id << " wanted" << Describe(w) << ", saw"
                   << (s ? Describe({s->id, s->text, s->shown, s->minimised, s->at}) : " nothing");
    }
    ADD_FAILURE() << "step '" << step << "':" << report.str();
    return false;
}

bool Step(const std::string& step, bool given, const std::vector<Want>& wants) {
    if (!given) ADD_FAILURE() << "step '" << step << "': the input could not be given";
    return given && Await(step, wants);
}

bool Click(int id) {
    const auto seen = Probe();
    const Seen* s = Find(seen, id);
    return s && Xdotool({"mousemove", std::to_string(s->origin.x + s->at.x + s->at.width / 2),
                         std::to_string(s->origin.y + s->at.y + s->at.height / 2), "click", "1"});
}
int Letter(char letter) { return IDC_LETTER_A + IDC_LETTER_STEP * (letter - 'A'); }
bool ClickLetters(const std::string& letters) {
    for (char letter : letters)
        if (!Click(Letter(letter))) return false;
    return true;
}
bool Type(int id, const std::string& text) { return Click(id) && Xdotool({"type", text}); }
int Balloons(int left) { return left == 0 ? IDC_SAD_CLOWN : IDC_BALLOONS_1 + IDC_BALLOONS_STEP * (left - 1); }

// The puzzle line for a phrase: upper case, a blank before every character, letters hidden when asked.
std::string Spaced(const std::string& phrase, bool hidden) {
    std::string line;
    for (unsigned char c : phrase) line += std::string(" ") + (hidden && std::isalpha(c) ? '_' : char(std::toupper(c)));
    return line;
}

// Wrong letters one by one, the balloon picture checked after each; the last one loses the game.
bool LoseBy(const std::string& letters) {
    for (int lost = 1, left = int(letters.size()); lost <= int(letters.size()); ++lost)
        if (!Step(std::string("wrong letter ") + letters[lost - 1], Click(Letter(letters[lost - 1])),
                  {Shown(Balloons(left - lost)), Shown(Balloons(left - lost + 1), false)}))
            return false;
    return true;
}

bool ShowConsole() { return Step("show the console", Click(IDC_CONSOLE), {Shown(CONSOLE)}); }

bool AddPuzzle(const std::string& phrase, const std::string& hint) {
    return Step("type " + phrase, Type(IDC_PHRASE_EDIT, phrase) && Type(IDC_HINT_EDIT, hint),
                {Text(IDC_PHRASE_EDIT, phrase), Text(IDC_HINT_EDIT, hint)}) &&
           Step("add " + phrase, Click(IDC_ADD_PUZZLE), {Text(IDC_PHRASE_EDIT, ""), Text(IDC_HINT_EDIT, "")});
}

// Presses Review until the pass ends; the phrases shown on the way.
std::vector<std::string> ReviewAll() {
    std::vector<std::string> phrases;
    for (std::string last = Text(IDC_PHRASE_EDIT), now; phrases.size() < 10 && Click(IDC_REVIEW); last = now) {
        if (!WaitUntil([&] { return (now = Text(IDC_PHRASE_EDIT)) != last; }, Seconds(10)) || now == kPassEnded) break;
        phrases.push_back(now);
    }
    return phrases;
}

void Shoot(const std::string& name) {
    std::this_thread::sleep_for(Seconds(0.5));  // the state is read back; give the painting a moment
    const auto seen = Probe();
    const Seen *main = Find(seen, MAIN), *console = Find(seen, CONSOLE);
    if (!main || !console) return;
    const Rect& at = main->at;
    const int height = at.height + (console->shown ? console->at.height : 0);
    const std::string crop = std::to_string(at.width) + "x" + std::to_string(height) + "+" + std::to_string(at.x) +
                             "+" + std::to_string(at.y);
    fs::create_directories(shotsFolder);
    RunTool({E2E_IMPORT, "-window", "root", "-crop", crop, "+repage", shotsFolder + "/" + name + ".png"}, Seconds(30));
}

// A copy of the program in a folder of its own (or shared, for two copies), and its runs.
struct Game {
    std::string folder, log;
    Child process;
    Game(const std::string& name, const Files& files, const std::string& from = "") : folder(sessionFolder + "/" + name) {
        fs::create_directories(folder);
        if (!from.empty()) fs::copy(from, folder, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        fs::copy_file(MARIVANE_EXE, folder + "/Marivane.exe", fs::copy_options::skip_existing);
        for (const auto& [file, content] : files) std::ofstream(folder + "/" + file, std::ios::binary) << content;
    }
    ~Game() { Stop(process, SIGKILL); }
    std::string File(const std::string& name) const { return ReadFile(folder + "/" + name); }
    std::string Store() const { return UnscrambleStore(File("OnLoad.dat")); }

    // Starts one more copy and waits for `copies` main windows; sounds and beeps go to the log.
    bool Launch(int copies = 1) {
        log = folder + "-" + std::to_string(++launches) + ".log";
        process = Spawn({"/usr/bin/env", "WINEDEBUG=+winmm,+relay", E2E_WINE, folder + "/Marivane.exe"}, log, folder);
        auto up = [&] {
            int windows = 0;
            for (const Seen& s : Probe()) windows += s.id == MAIN && s.shown;
            return windows == copies || !Running(process);
        };
        return WaitUntil(up, Seconds(60)) && Running(process);
    }

    // Presses Quit and waits for the exit code; Wine ends a process some 2 s after its last window is gone.
    int Quit() { return Click(IDC_QUIT) ? WaitForExit(process, Seconds(30)) : -1; }

    int Beeps() const {
        const std::string trace = ReadFile(log), call = "Call user32.MessageBeep";
        int beeps = 0;
        for (auto at = trace.find(call); at != std::string::npos; at = trace.find(call, at + 1)) ++beeps;
        return beeps;
    }

    // The sound resources asked for, in call order, from lines "...PlaySound pszSound='00000000000011F8' ...".
    std::vector<int> Sounds() const {
        const std::string trace = ReadFile(log), marker = "PlaySound pszSound='";
        std::vector<int> sounds;
        for (auto at = trace.find(marker); at != std::string::npos; at = trace.find(marker, at + 1))
            sounds.push_back(int(std::strtol(trace.c_str() + at + marker.size(), nullptr, 16)));
        return sounds;
    }
};

TEST(Marivane, FirstStartFromTheReleaseFolderLosesAGameAndKeepsTheStarterStore) {
    Game game("release", {}, E2E_RELEASE_DIR);
    const std::string starters = game.Store();
    ASSERT_TRUE(game.Launch());
    const int left = kScreenWidth / 2 - 450, top = kScreenHeight / 2 - 378;
    std::vector<Want> placed = {Place(MAIN, {left, top, 900, 620}), Shown(MAIN),
                                Place(CONSOLE, {left, top + 620, 900, 106}), Shown(CONSOLE, false)};
    for (const Placed& control : kLayout) placed.push_back(Place(control.id, control.at));
    EXPECT_TRUE(Await("first start", placed));
    EXPECT_NE(game.File("MVC_CONFIG.INI").find("Disable_Console= 1"), std::string::npos) << "no locking configuration";
    ASSERT_TRUE(Click(IDC_CONSOLE));
    EXPECT_TRUE(WaitUntil([&] { return game.Beeps() == 1; }, Seconds(10))) << "S/H Con: no beep";
    EXPECT_TRUE(Await("S/H Con refused", {Shown(CONSOLE, false)}));

    std::string mask, solution, wrong;
    ASSERT_TRUE(Click(IDC_NEW_PUZZLE) && WaitUntil([&] { return !(mask = Text(IDC_PUZZLE_LINE)).empty(); }, Seconds(10)));
    std::vector<std::string> candidates;  // the starter puzzles that fit the puzzle line
    for (std::istringstream records(starters); std::getline(records, solution, ':');)
        if (Spaced(solution = solution.substr(0, solution.find(';')), true) == mask) candidates.push_back(solution);
    for (char letter = 'A'; letter <= 'Z' && wrong.size() < 7; ++letter) {
        bool absent = true;
        for (const auto& phrase : candidates) absent = absent && Spaced(phrase, false).find(letter) == std::string::npos;
        if (absent) wrong += letter;
    }
    ASSERT_FALSE(candidates.empty()) << "the puzzle line '" << mask << "' fits no starter puzzle";
    ASSERT_TRUE(LoseBy(wrong) && Await("loss booked", {Text(IDC_P1_LOSSES, "1")}));
    ASSERT_TRUE(Click(IDC_SOLUTION) &&
                WaitUntil([&] { return (solution = Text(IDC_PUZZLE_LINE)).find('_') == std::string::npos; }, Seconds(10)));
    bool starter = false;
    for (const auto& phrase : candidates) starter = starter || Spaced(phrase, false) == solution;
    EXPECT_TRUE(starter) << "Solution shows '" << solution << "', no starter puzzle with the mask '" << mask << "'";
    Shoot("loss");
    ASSERT_TRUE(Click(IDC_CLOSE));
    EXPECT_EQ(WaitForExit(game.process, Seconds(30)), 0) << "X did not end the program";
    EXPECT_EQ(game.File("MVStats.dat"), "0 0 1 Circus-Worker 0 0 0 Circus-Worker");
    EXPECT_EQ(game.Store(), starters);
}

TEST(Marivane, BooksBothPlayersWithRanksMovesBothWindowsAndSilencesOnlyTheSwitchableSounds) {
    // Player One has 24 games behind him and Player Two 24 wins: the next game gives each a rank.
    Game game("players", {{"OnLoad.dat", ScrambleStore("lollipop;a sweet on a stick:")},
                          {"MVStats.dat", "1000 21 3 Circus-Worker 500 24 0 Circus-Worker"}, kUnlocked});
    ASSERT_TRUE(game.Launch());
    ASSERT_TRUE(Step("new puzzle", Click(IDC_NEW_PUZZLE), {Text(IDC_PUZZLE_LINE, Spaced("lollipop", true))}));
    ASSERT_TRUE(Step("L, three times in the phrase", Click(Letter('L')),
                     {Text(IDC_PUZZLE_LINE, " L _ L L _ _ _ _"), Shown(Letter('L'), false)}));
    ASSERT_TRUE(Step("X, wrong", Click(Letter('X')), {Text(IDC_LETTER_BIN, "X "), Shown(Balloons(6))}));
    Shoot("midgame");
    ASSERT_TRUE(Step("O, I and P win", ClickLetters("OIP"),
                     {Text(IDC_PUZZLE_LINE, Spaced("lollipop", false)), Text(IDC_P1_POINTS, "1070"),
                      Text(IDC_P1_WINS, "22"), Text(IDC_P1_SKILL, "Lion-Tamer")}));
    ASSERT_TRUE(Step("sound off, five balloons", Click(IDC_SOUND) && Click(IDC_BALLOON_MODE),
                     {Text(IDC_BALLOON_COUNT, "5")}));
    ASSERT_TRUE(Step("new five-balloon game", Click(IDC_NEW_PUZZLE), {Shown(Balloons(5)), Shown(Balloons(7), false)}));
    ASSERT_TRUE(LoseBy("ABCDE"));
    ASSERT_TRUE(Await("loss booked", {Text(IDC_P1_LOSSES, "4"), Text(IDC_P1_SKILL, "Lion-Tamer")}));

    // The arrow keys move both windows by 2 pixels a press; minimise and restore keep them together.
    const Rect main{kScreenWidth / 2 - 450 + 4, kScreenHeight / 2 - 378 + 2, 900, 620};
    const Rect below{main.x, main.y + 620, 900, 106};
    ASSERT_TRUE(ShowConsole());
    ASSERT_TRUE(Step("arrows", Xdotool({"key", "Right", "Right", "Down"}), {Place(MAIN, main), Place(CONSOLE, below)}));
    ASSERT_TRUE(Step("minimise", Click(IDC_MINIMISE), {Minimised(MAIN)}));
    ASSERT_TRUE(Step("restore", RunTool({E2E_WINE, E2E_PROBE_EXE, "restore"}).has_value(),
                     {Minimised(MAIN, false), Place(MAIN, main), Shown(CONSOLE), Place(CONSOLE, below)}));
    ASSERT_TRUE(Step("hide the console", Click(IDC_CONSOLE), {Shown(CONSOLE, false)}));

    ASSERT_TRUE(Step("sound on, seven balloons, Player Two",
                     Click(IDC_SOUND) && Click(IDC_BALLOON_MODE) && Click(IDC_PLAYER_TWO), {Text(IDC_BALLOON_COUNT, "7")}));
    ASSERT_TRUE(Step("new puzzle", Click(IDC_NEW_PUZZLE), {Shown(Balloons(7))}));
    ASSERT_TRUE(Step("solution typed in mixed case", Type(IDC_SOLUTION_EDIT, "LolLiPop") && Click(IDC_SOLVE_PUZZLE),
                     {Text(IDC_PUZZLE_LINE, Spaced("lollipop", false)), Text(IDC_P1_POINTS, "1070"),
                      Text(IDC_P1_WINS, "22"), Text(IDC_P1_LOSSES, "4"), Text(IDC_P1_SKILL, "Lion-Tamer"),
                      Text(IDC_P2_POINTS, "580"), Text(IDC_P2_WINS, "25"), Text(IDC_P2_LOSSES, "0"),
                      Text(IDC_P2_SKILL, "Ring-Master")}));
    ASSERT_EQ(game.Quit(), 0);
    EXPECT_EQ(game.File("MVStats.dat"), "1070 22 4 Lion-Tamer 580 25 0 Ring-Master");
    EXPECT_EQ(game.Sounds(), (std::vector<int>{IDW_NEW_PUZZLE, IDW_HIT, IDW_MISS, IDW_HIT, IDW_HIT, IDW_HIT, IDW_WIN,
                                               IDW_CLICK, IDW_CLICK, IDW_CONSOLE, IDW_MINIMISE, IDW_CONSOLE, IDW_CLICK,
                                               IDW_CLICK, IDW_CLICK, IDW_NEW_PUZZLE, IDW_CLICK, IDW_WIN}));
}

TEST(Marivane, ConsoleAddsReviewsAndDeletesAcrossRunsWithControlCharactersInThePuzzles) {
    // Scrambled, the 0x14 becomes 0x1A, the byte at which a text-mode read stops, as at the 0x1A in "thr\x1Aee".
    const std::string bigTop = "big top;clowns:", control = "\x14" "ab;x:", juggler = "juggler;balls:",
                      stop = "thr\x1A" "ee;h3:", added = "tent pole;holds it up:";
    Game game("console", {{"OnLoad.dat", ScrambleStore(bigTop + control + juggler + stop)}, kUnlocked});
    const std::vector<std::string> kept = {"big top", "\x14" "ab", "thr\x1A" "ee", "tent pole"};
    ASSERT_TRUE(game.Launch() && ShowConsole());
    ASSERT_TRUE(Step("review", Click(IDC_REVIEW), {Text(IDC_PHRASE_EDIT, "big top"), Text(IDC_HINT_EDIT, "clowns")}));
    Shoot("console");
    ASSERT_TRUE(Step("review", Click(IDC_REVIEW), {Text(IDC_PHRASE_EDIT, "\x14" "ab"), Text(IDC_HINT_EDIT, "x")}));
    ASSERT_TRUE(Step("review", Click(IDC_REVIEW), {Text(IDC_PHRASE_EDIT, "juggler")}));
    ASSERT_TRUE(Step("delete", Click(IDC_DELETE), {Text(IDC_PHRASE_EDIT, ""), Text(IDC_HINT_EDIT, "")}));
    EXPECT_EQ(game.File("MVData.dat"), bigTop + control + stop);
    ASSERT_TRUE(AddPuzzle("Tent Pole", "holds it up"));
    ASSERT_TRUE(Step("review after the delete", Click(IDC_REVIEW), {Text(IDC_PHRASE_EDIT, kPassEnded)}));
    EXPECT_EQ(ReviewAll(), kept) << "review pass";
    ASSERT_EQ(game.Quit(), 0);
    EXPECT_EQ(game.Store(), bigTop + control + stop + added);
    ASSERT_TRUE(game.Launch() && ShowConsole());
    EXPECT_EQ(ReviewAll(), kept) << "review pass after a restart";
    ASSERT_EQ(game.Quit(), 0);
    EXPECT_EQ(game.Store(), bigTop + control + stop + added);
}

TEST(Marivane, AltF4AndAKilledRunKeepTheRunsStatisticsAndPuzzles) {
    const std::string lollipop = "lollipop;a sweet on a stick:", ring = "ring toss;win a prize:",
                      tent = "tent pole;holds it up:";
    Game game("kept", {{"OnLoad.dat", ScrambleStore(lollipop)}, kUnlocked});
    ASSERT_TRUE(game.Launch());
    ASSERT_TRUE(Step("new puzzle", Click(IDC_NEW_PUZZLE), {Text(IDC_PUZZLE_LINE, Spaced("lollipop", true))}));
    ASSERT_TRUE(Step("typed solution", Type(IDC_SOLUTION_EDIT, "lollipop") && Click(IDC_SOLVE_PUZZLE),
                     {Text(IDC_P1_POINTS, "80")}));
    ASSERT_TRUE(Step("a game running", Click(IDC_NEW_PUZZLE), {Text(IDC_PUZZLE_LINE, Spaced("lollipop", true))}));
    ASSERT_TRUE(ShowConsole() && AddPuzzle("ring toss", "win a prize"));
    ASSERT_TRUE(Click(IDC_PUZZLE_LINE));  // a click on the main window gives it the keyboard focus
    Shoot("alt-f4");
    ASSERT_TRUE(Xdotool({"key", "alt+F4"}));
    ASSERT_EQ(WaitForExit(game.process, Seconds(30)), 0) << "Alt+F4 did not end the program";
    EXPECT_EQ(game.File("MVStats.dat"), "80 1 0 Circus-Worker 0 0 0 Circus-Worker");
    EXPECT_EQ(game.Store(), lollipop + ring);
    // A run killed after adding a puzzle: the next start keeps the plain file, the next exit stores it.
    ASSERT_TRUE(game.Launch() && ShowConsole() && AddPuzzle("tent pole", "holds it up"));
    Stop(game.process, SIGKILL);
    ASSERT_TRUE(game.Launch());
    EXPECT_EQ(game.File("MVData.dat"), lollipop + ring + tent);
    ASSERT_EQ(game.Quit(), 0);
    EXPECT_EQ(game.Store(), lollipop + ring + tent);
}

TEST(Marivane, TwoCopiesInOneFolderMergeTheLaterQuittersPuzzleIntoTheStore) {
    const std::string two = "big top;clowns:juggler;balls:";
    Game first("copies", {{"OnLoad.dat", ScrambleStore(two)}, kUnlocked}), second("copies", {});
    ASSERT_TRUE(first.Launch() && second.Launch(2));
    ASSERT_TRUE(Click(IDC_QUIT));  // both lie on the same spot: the later one, on top, takes the click
    ASSERT_EQ(WaitForExit(second.process, Seconds(30)), 0) << "the later copy did not quit";
    EXPECT_EQ(first.File("MVData.dat"), "Data purged...");
    ASSERT_TRUE(ShowConsole() && AddPuzzle("ring toss", "win a prize"));
    Shoot("two-copies");
    ASSERT_EQ(first.Quit(), 0);
    EXPECT_EQ(first.Store(), two + "ring toss;win a prize:");
}

TEST(Marivane, PhrasesWithoutALetterAreNeverDrawnAndAddPuzzleRefusesThem) {
    const std::string puzzles = "2024;a year:?!;shouts:  ;two blanks:;nothing:big top;a place for clowns:";
    Game game("letterless", {{"OnLoad.dat", ScrambleStore(puzzles)}, kUnlocked});
    ASSERT_TRUE(game.Launch());
    for (int round = 1; round <= 4; ++round) {  // drawn among five, one of them playable
        ASSERT_TRUE(Step("new puzzle " + std::to_string(round), Click(IDC_NEW_PUZZLE),
                         {Text(IDC_PUZZLE_LINE, Spaced("big top", true)), Text(IDC_HINT_LINE, "a place for clowns")}));
        ASSERT_TRUE(Step("B", Click(Letter('B')), {Text(IDC_PUZZLE_LINE, " B _ _   _ _ _")}));
    }
    ASSERT_TRUE(ShowConsole());
    ASSERT_TRUE(Step("type 2024", Type(IDC_PHRASE_EDIT, "2024") && Type(IDC_HINT_EDIT, "a year"),
                     {Text(IDC_PHRASE_EDIT, "2024"), Text(IDC_HINT_EDIT, "a year")}));
    ASSERT_TRUE(Click(IDC_ADD_PUZZLE));
    EXPECT_TRUE(WaitUntil([&] { return game.Beeps() == 1; }, Seconds(10))) << "Add Puzzle with '2024': no beep";
    EXPECT_TRUE(Await("2024 refused", {Text(IDC_PHRASE_EDIT, "2024"), Text(IDC_HINT_EDIT, "a year")}));
    Shoot("letterless");
    ASSERT_EQ(game.Quit(), 0);
    EXPECT_EQ(game.Store(), puzzles);
}

// Last: the help viewer stays open until the session ends.
TEST(Marivane, HelpOpensTheViewerAndASecondPressWhileItIsOpenIsRefused) {
    Game game("help", {{"Quorrel-help.chm", ReadFile(MARIVANE_HELP_FILE)}});
    ASSERT_TRUE(game.Launch() && Click(IDC_HELP_ME));
    EXPECT_TRUE(WaitUntil([] { return Titled("Quorrel-help"); }, Seconds(30))) << "no help viewer";
    ASSERT_TRUE(Click(IDC_HELP_ME));
    EXPECT_TRUE(WaitUntil([] { return Titled("System - Permission Denied"); }, Seconds(30))) << "no refusal";
    Shoot("help");
}

bool StartDisplay() {
    // Xvfb picks a free display number itself and prints it alone on a line, so two sessions never race for one.
    const std::string log = sessionFolder + "/xvfb.log";
    const std::string screen = std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight) + "x24";
    xvfb = Spawn({E2E_XVFB, "-displayfd", "1", "-nolisten", "tcp", "-screen", "0", screen}, log);
    std::string display;
    auto ready = [&] {
        std::istringstream lines(ReadFile(log));
        for (std::string line; display.empty() && std::getline(lines, line);)
            if (!line.empty() && line.find_first_not_of("0123456789") == std::string::npos) display = ":" + line;
        return !display.empty() || !Running(xvfb);
    };
    if (!WaitUntil(ready, Seconds(15)) || !Running(xvfb)) return false;
    setenv("DISPLAY", display.c_str(), 1);
    return true;
}

bool StartSession() {
    fs::remove_all(sessionFolder);
    fs::create_directories(sessionFolder);
    setenv("WINEPREFIX", (sessionFolder + "/wineprefix").c_str(), 1);
    setenv("WINEARCH", "win64", 1);
    setenv("WINEDEBUG", "-all", 1);
    setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);  // no offers to install Mono or Gecko
    // The +relay trace of the games then shows their beeps and nothing else.
    if (!StartDisplay() || !RunTool({E2E_WINE, "wineboot", "-i"}, Seconds(240)) ||
        !RunTool({E2E_WINE, "reg", "add", "HKCU\\Software\\Wine\\Debug", "/v", "RelayInclude", "/d", "user32.MessageBeep",
              "/f"}, Seconds(60)) ||
        !RunTool({E2E_WINESERVER, "-w"}, Seconds(120)))
        return false;
    // The keeper's window is never shown, but Wine's desktop process is up once its X window exists.
    keeper = Spawn({E2E_WINE, E2E_KEEPER_EXE}, sessionFolder + "/keeper.log");
    auto up = [] { return !Running(keeper) || Xdotool({"search", "--name", "^Marivane e2e keeper$"}); };
    return WaitUntil(up, Seconds(60)) && Running(keeper);
}

void StopSession() {
    Stop(keeper, SIGKILL);
    RunTool({E2E_WINESERVER, "-k"}, Seconds(30));  // ends every Wine process of this prefix and nothing else
    std::error_code ignored;
    fs::remove_all(sessionFolder + "/wineprefix", ignored);  // some 700 MB, made anew by every session
    Stop(xvfb, SIGTERM);                                     // not SIGKILL: Xvfb removes its socket
}

}  // namespace

int main(int argc, char** argv) {
    // `e2e_test --store <puzzle file> <store>` scrambles a puzzle file into a store, for a release folder.
    if (argc == 4 && std::string(argv[1]) == "--store")
        return !(std::ofstream(argv[3], std::ios::binary) << ScrambleStore(ReadFile(argv[2])));
    ::testing::InitGoogleTest(&argc, argv);
    sessionFolder = std::string(E2E_WORK_DIR) + "/session";
    shotsFolder = std::string(E2E_WORK_DIR) + "/shots";
    const bool started = StartSession();
    if (!started) std::cerr << "the Wine session did not start, see the logs in " << sessionFolder << "\n";
    const int result = started ? RUN_ALL_TESTS() : 1;
    StopSession();
    return result;
}
