#include "game_session.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

TempFolder::TempFolder() : path_((fs::temp_directory_path() / "marivane-test-XXXXXX").string()) {
    if (!mkdtemp(path_.data())) throw std::runtime_error("cannot make a temporary folder");
}
TempFolder::~TempFolder() { fs::remove_all(path_); }
void TempFolder::write(const std::string& name, const std::string& text) const { std::ofstream(file(name)) << text; }
bool TempFolder::exists(const std::string& name) const { return fs::exists(file(name)); }
std::string TempFolder::read(const std::string& name) const {
    return (std::ostringstream() << std::ifstream(file(name), std::ios::binary).rdbuf()).str();
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
HWND StartUpIn(const TempFolder& folder) { return StartFreshProcess(folder), StartUpWithoutLoop(); }

HWND MainWindow() { return FindWindowA("Marivane", "Marivane"); }
HWND ControlById(int id) { return GetDlgItem(GetDlgItem(MainWindow(), id) ? MainWindow() : hWnd, id); }
void Press(int id) { headless_click_button(ControlById(id)); }
void ClickAt(HWND window, int x, int y) {
    SendMessageA(window, WM_LBUTTONDOWN, 0x0001, MAKELPARAM(x, y));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}
void ClickLetters(const std::string& letters) {
    for (char c : letters) ClickAt(MainWindow(), hLetters[c - 'A']->x + 4, hLetters[c - 'A']->y + 4);
}
std::string TextOf(int id) { return ControlById(id)->text; }

Cues CuesHeard() {
    Cues heard;
    for (const HeadlessEvent& event : headless_log())
        if (event.kind == HeadlessEvent::Sound || event.kind == HeadlessEvent::Beep)
            heard.push_back(event.kind == HeadlessEvent::Sound ? event.number : kBeep);
    headless_clear_log();
    return heard;
}

std::vector<HeadlessEvent> Logged(HeadlessEvent::Kind kind) {
    std::vector<HeadlessEvent> events;
    for (const HeadlessEvent& event : headless_log())
        if (event.kind == kind) events.push_back(event);
    return events;
}

Figures FiguresOf(int player) {
    const bool one = player == 1;
    return {TextOf(one ? IDC_P1_POINTS : IDC_P2_POINTS), TextOf(one ? IDC_P1_WINS : IDC_P2_WINS),
            TextOf(one ? IDC_P1_LOSSES : IDC_P2_LOSSES), TextOf(one ? IDC_P1_SKILL : IDC_P2_SKILL)};
}
std::ostream& operator<<(std::ostream& out, const Figures& f) {
    return out << "points " << f.points << ", wins " << f.wins << ", losses " << f.losses << ", skill " << f.skill;
}

Place PlaceOf(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}
std::ostream& operator<<(std::ostream& out, const Place& p) {
    return out << "at " << p.x << ", " << p.y << ", " << p.width << " x " << p.height;
}

void Limited(Limit limit, const TempFolder& folder, const std::function<void()>& work, const std::string& file) {
    const bool noNewFiles = limit == kNoNewFiles || limit == kReadOnlyFolder;
    const bool nobody = (noNewFiles || limit == kUnreadable) && !geteuid();
    rlimit size{};
    bool ok = getrlimit(RLIMIT_FSIZE, &size) == 0 && std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR;
    const rlimit none = {0, size.rlim_max};
    ok = ok && (limit != kFullDisk || setrlimit(RLIMIT_FSIZE, &none) == 0);
    ok = ok && (limit != kUnreadable || chmod(folder.file(file).c_str(), 0200) == 0);
    for (const auto& entry : fs::directory_iterator(folder.path()))
        ok = ok && (!nobody || chown(entry.path().c_str(), 65534, 65534) == 0) &&
             (limit != kReadOnlyFolder || chmod(entry.path().c_str(), 0444) == 0);
    ok = ok && (limit != kUnreadable || !nobody || chown(folder.path().c_str(), 65534, 65534) == 0);
    ok = ok && chmod(folder.path().c_str(), noNewFiles && !nobody ? 0555 : 0755) == 0 && (!nobody || !seteuid(65534));
    work();
    ok = (!nobody || seteuid(0) == 0) && setrlimit(RLIMIT_FSIZE, &size) == 0 && ok;
    chmod(folder.path().c_str(), 0755);
    if (limit == kUnreadable) chmod(folder.file(file).c_str(), 0644);
    EXPECT_TRUE(ok) << "the fault was not set up";
}
