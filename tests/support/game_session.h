// Test support: the real program (WinMain and WindowProcedure) against the
// headless Win32 layer, with its data files in a fresh temporary folder.
#pragma once

#include "app/state.h"
#include "headless/headless_records.h"

#include <functional>
#include <string>
#include <vector>

struct TempFolder {  // stands for the program's own folder
    TempFolder();
    ~TempFolder();
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    void write(const std::string& name, const std::string& content) const;
    std::string read(const std::string& name) const;  // empty when missing
    bool exists(const std::string& name) const;
    std::string path_;
};

void StartFreshProcess(const TempFolder& folder);  // a new process, its program file in `folder`
// WinMain's exit code; each step is run when the message loop runs dry, Quit pressed after the last.
int RunProgram(const std::vector<std::function<void()>>& steps);
HWND StartUpWithoutLoop(int showCommand = SW_SHOWNORMAL);  // start-up up to the message loop

HWND MainWindow();
HWND ControlById(int id);                 // a control of either window
void Press(int id);                       // a full click on an owner-drawn button
void ClickAt(HWND window, int x, int y);  // a click at client coordinates, dispatched at once
void ClickLetter(char letter);            // a click in the middle of a letter picture
std::string TextOf(int id);
bool Shown(HWND window);       // the window's own visibility flag
// The sound resource ids, and -1 for each beep, in order since the last look; empties the headless logs.
std::vector<int> CuesHeard();
inline std::string PuzzleFile(const std::vector<std::pair<std::string, std::string>>& records) {
    std::string content;  // the records 'phrase;hint:' back to back
    for (auto& record : records) content += record.first + ";" + record.second + ":";
    return content;
}
