// Test support: runs the real program (WinMain and WindowProcedure) against
// the headless Win32 layer, with its data files in a fresh temporary folder.
#pragma once

#include "app/state.h"
#include "headless/headless_test.h"

#include <functional>
#include <string>
#include <vector>

// A temporary folder that stands for the program's own folder.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    void write(const std::string& name, const std::string& content) const;
    std::string read(const std::string& name) const;  // empty when missing
    bool exists(const std::string& name) const;

private:
    std::string path_;
};

// Puts the process back to its start: headless world and shared state, the
// program file inside `folder`, and the bitmaps of the resource script.
void StartFreshProcess(const TempFolder& folder);
// The file name the resource script gives a bitmap id.
std::string BitmapFile(int id);

// Runs WinMain. Each time the message loop runs dry the next step is called;
// after the last step the Quit button is pressed. Returns WinMain's exit code.
int RunProgram(const std::vector<std::function<void()>>& steps, int showCommand = SW_SHOWNORMAL);
// Start-up up to the message loop, so a test can drive the window procedure.
HWND StartUpWithoutLoop(int showCommand = SW_SHOWNORMAL);

HWND MainWindow();
HWND ControlById(int id);                 // a control of either window
void Press(int id);                       // a full click on an owner-drawn button
void ClickAt(HWND window, int x, int y);  // a click at client coordinates, dispatched at once
void ClickLetter(char letter);            // a click in the middle of a letter picture
void TypeSolution(const std::string& text);
std::string TextOf(int id);
bool Shown(HWND window);  // the window's own visibility flag

// Sound resource ids and beeps (as -1) in the order they were asked for.
std::vector<int> CuesHeard();
// The records 'phrase;hint:' back to back.
std::string PuzzleFile(const std::vector<std::pair<std::string, std::string>>& records);
