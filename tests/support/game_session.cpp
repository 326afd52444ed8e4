#include "game_session.h"

#include "game/window_procedure.h"
#include "resource.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

std::string readWholeFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace

TempFolder::TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "marivane-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void TempFolder::write(const std::string& name, const std::string& content) const {
    std::ofstream(file(name), std::ios::binary) << content;
}

std::string TempFolder::read(const std::string& name) const { return readWholeFile(file(name)); }

bool TempFolder::exists(const std::string& name) const { return fs::exists(file(name)); }

namespace {

int numericId(const std::string& token, const std::string& header) {
    if (std::isdigit(static_cast<unsigned char>(token[0]))) return std::stoi(token);
    std::smatch match;
    if (std::regex_search(header, match, std::regex("#define " + token + "\\s+(\\d+)"))) return std::stoi(match[1]);
    return -1;
}

// Tells the headless LoadImageA about every BITMAP line of the resource
// script, with the width and height from the file's own header.
void registerResourceBitmaps() {
    const fs::path res = MARIVANE_RES_DIR;
    const std::string script = readWholeFile(res / "Marivane.rc");
    const std::string header = readWholeFile(res / "resource.h");
    std::regex line(R"((\w+)\s+BITMAP\s+\"([^\"]+)\")");
    for (std::sregex_iterator it(script.begin(), script.end(), line), end; it != end; ++it) {
        std::ifstream bmp(res / (*it)[2].str(), std::ios::binary);
        unsigned char info[26] = {};
        if (!bmp.read(reinterpret_cast<char*>(info), sizeof info)) continue;
        auto int32 = [&](int at) { return info[at] | info[at + 1] << 8 | info[at + 2] << 16 | info[at + 3] << 24; };
        headless_add_bitmap(numericId((*it)[1].str(), header), int32(18), std::abs(int32(22)));
    }
}

// Steps of RunProgram, kept here because the idle hook outlives no test.
std::vector<std::function<void()>> pendingSteps;
std::size_t nextStep;

}  // namespace

void StartFreshProcess(const TempFolder& folder) {
    headless_reset();
    ResetSharedState();
    headless_set_module_path(folder.file("Marivane.exe"));
    registerResourceBitmaps();
}

int RunProgram(const std::vector<std::function<void()>>& steps, int showCommand) {
    pendingSteps = steps;
    nextStep = 0;
    headless_set_idle([] {
        if (nextStep < pendingSteps.size()) {
            pendingSteps[nextStep++]();
            return true;
        }
        if (nextStep++ == pendingSteps.size() && IsWindow(MainWindow())) {
            Press(IDC_QUIT);
            return true;
        }
        return false;
    });
    int exitCode = WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), showCommand);
    headless_set_idle(nullptr);
    return exitCode;
}

HWND StartUpWithoutLoop() {
    HWND main = nullptr;
    // The first idle moment is the start of the message loop: stop there.
    headless_set_idle([&main] {
        main = MainWindow();
        return false;
    });
    WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), SW_SHOWNORMAL);
    headless_set_idle(nullptr);
    return main;
}

HWND MainWindow() { return FindWindowA("Marivane", "Marivane"); }

HWND ControlById(int id) {
    HWND control = GetDlgItem(MainWindow(), id);
    return control ? control : GetDlgItem(hWnd, id);
}

void Press(int id) { headless_click_button(ControlById(id)); }

void ClickAt(HWND window, int x, int y) {
    headless_post_click(window, x, y);
    headless_pump();
}

void ClickLetter(char letter) {
    HWND picture = hLetters[letter - 'A'];
    ClickAt(MainWindow(), picture->x + picture->width / 2, picture->y + picture->height / 2);
}

void TypeSolution(const std::string& text) { headless_type(hSolveMe, text); }

std::string TextOf(int id) { return ControlById(id)->text; }

bool Shown(HWND window) { return window->visible; }

std::vector<int> CuesHeard() {
    std::vector<int> heard;
    for (const HeadlessCue& cue : headless_cues()) heard.push_back(cue.kind == HeadlessCue::Sound ? cue.id : -1);
    return heard;
}

std::string PuzzleFile(const std::vector<std::pair<std::string, std::string>>& records) {
    std::string content;
    for (auto& record : records) content += record.first + ";" + record.second + ":";
    return content;
}
