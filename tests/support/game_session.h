// Test support: the real program (WinMain and WindowProcedure) against the
// headless Win32 layer, with its data files in a fresh temporary folder.
#pragma once

#include "app/state.h"
#include "headless/headless_test.h"

#include <functional>
#include <string>
#include <vector>

// A temporary folder that stands for the program's own folder.
struct TempFolder {
    TempFolder();
    ~TempFolder();
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    void write(const std::string& name, const std::string& content) const;
    std::string read(const std::string& name) const;  // empty when missing
    bool exists(const std::string& name) const;
    std::string path_;
};

// Puts the process back to its start, its program file in `folder` and the
// bitmaps of the resource script known to LoadImageA.
void StartFreshProcess(const TempFolder& folder);
std::string BitmapFile(int id);  // the file the resource script names for a bitmap
// Runs WinMain, calling the next step whenever the message loop runs dry, and
// Quit after the last. Returns WinMain's exit code.
int RunProgram(const std::vector<std::function<void()>>& steps, int showCommand = SW_SHOWNORMAL);
// Start-up up to the message loop, so that a test can drive the window procedure.
HWND StartUpWithoutLoop(int showCommand = SW_SHOWNORMAL);

HWND MainWindow();
HWND ControlById(int id);                 // a control of either window
void Press(int id);                       // a full click on an owner-drawn button
void ClickAt(HWND window, int x, int y);  // a click at client coordinates, dispatched at once
void ClickLetter(char letter);            // a click in the middle of a letter picture
std::string TextOf(int id);
bool Shown(HWND window);      // the window's own visibility flag
std::vector<int> CuesHeard();  // sound resource ids, and -1 for a beep, in order
std::string PuzzleFile(const std::vector<std::pair<std::string, std::string>>& records);  // 'phrase;hint:'...
