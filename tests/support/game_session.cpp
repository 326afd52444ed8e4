#include "game_session.h"

#include "resource.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

std::string readWholeFile(const fs::path& path) {
    std::ostringstream content;
    content << std::ifstream(path, std::ios::binary).rdbuf();
    return content.str();
}

std::map<int, std::string> bitmapFiles;

// Each BITMAP line of the resource script, with the size from the file's header.
void registerResourceBitmaps() {
    const fs::path res = MARIVANE_RES_DIR;
    const std::string script = readWholeFile(res / "Marivane.rc"), header = readWholeFile(res / "resource.h");
    const std::regex line(R"((\w+)\s+BITMAP\s+\"([^\"]+)\")");
    for (std::sregex_iterator it(script.begin(), script.end(), line), end; it != end; ++it) {
        std::smatch define;
        std::string id = (*it)[1];
        if (std::regex_search(header, define, std::regex("#define " + id + "\\s+(\\d+)"))) id = define[1];
        const std::string bmp = readWholeFile(res / (*it)[2].str()) + std::string(26, '\0');
        auto int32 = [&](int at) { std::int32_t v; std::memcpy(&v, bmp.data() + at, 4); return std::abs(v); };
        headless_add_bitmap(std::stoi(id), int32(18), int32(22));
        bitmapFiles[std::stoi(id)] = (*it)[2];
    }
}

}  // namespace

TempFolder::TempFolder() : path_((fs::temp_directory_path() / "marivane-test-XXXXXX").string()) {
    if (!mkdtemp(path_.data())) throw std::runtime_error("cannot make a temporary folder");
}
TempFolder::~TempFolder() { fs::remove_all(path_); }
void TempFolder::write(const std::string& name, const std::string& text) const { std::ofstream(file(name)) << text; }
std::string TempFolder::read(const std::string& name) const { return readWholeFile(file(name)); }
bool TempFolder::exists(const std::string& name) const { return fs::exists(file(name)); }

void StartFreshProcess(const TempFolder& folder) {
    headless_reset();
    ResetSharedState();
    headless_set_module_path(folder.file("Marivane.exe"));
    registerResourceBitmaps();
}

std::string BitmapFile(int id) { return bitmapFiles[id]; }

int RunProgram(const std::vector<std::function<void()>>& steps, int showCommand) {
    std::size_t next = 0;
    headless_set_idle([&] {
        if (next < steps.size()) steps[next]();
        if (next++ == steps.size() && IsWindow(MainWindow())) Press(IDC_QUIT);
        return next <= steps.size() + 1;
    });
    return WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), showCommand);
}

HWND StartUpWithoutLoop(int showCommand) {
    headless_set_idle([] { return false; });  // the loop ends at its first idle moment
    int exitCode = WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), showCommand);
    return exitCode == HEADLESS_STARVED ? MainWindow() : nullptr;
}

HWND MainWindow() { return FindWindowA("Marivane", "Marivane"); }
HWND ControlById(int id) { return GetDlgItem(GetDlgItem(MainWindow(), id) ? MainWindow() : hWnd, id); }
void Press(int id) { headless_click_button(ControlById(id)); }
void ClickAt(HWND window, int x, int y) { headless_post_click(window, x, y), headless_pump(); }
void ClickLetter(char letter) {
    HWND picture = hLetters[letter - 'A'];
    ClickAt(MainWindow(), picture->x + picture->width / 2, picture->y + picture->height / 2);
}
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
