#include "game_session.h"

#include "resource.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

TempFolder::TempFolder() : path_((fs::temp_directory_path() / "marivane-test-XXXXXX").string()) {
    if (!mkdtemp(path_.data())) throw std::runtime_error("cannot make a temporary folder");
}
TempFolder::~TempFolder() { fs::remove_all(path_); }
void TempFolder::write(const std::string& name, const std::string& text) const { std::ofstream(file(name)) << text; }
bool TempFolder::exists(const std::string& name) const { return fs::exists(file(name)); }
std::string TempFolder::read(const std::string& name) const {
    std::ostringstream content;
    content << std::ifstream(file(name), std::ios::binary).rdbuf();
    return content.str();
}

void StartFreshProcess(const TempFolder& folder) {
    headless_reset();
    ResetSharedState();
    headless_set_module_path(folder.file("Marivane.exe"));
}

int RunProgram(const std::vector<std::function<void()>>& steps) {
    std::size_t next = 0;
    headless_set_idle([&] {
        if (next < steps.size()) steps[next]();
        if (next++ == steps.size() && IsWindow(MainWindow())) Press(IDC_QUIT);
        return next <= steps.size() + 1;
    });
    return WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), SW_SHOWNORMAL);
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
void ClickLetter(char c) { ClickAt(MainWindow(), hLetters[c - 'A']->x + 4, hLetters[c - 'A']->y + 4); }
std::string TextOf(int id) { return ControlById(id)->text; }
bool Shown(HWND window) { return window->visible; }

std::vector<int> CuesHeard() {
    std::vector<int> heard;
    for (const HeadlessCue& cue : headless_cues()) heard.push_back(cue.kind == HeadlessCue::Sound ? cue.id : -1);
    headless_clear_logs();
    return heard;
}
