// Test support: the real WinMain and WindowProcedure on the headless Win32 layer, data files in a temporary folder.
#pragma once

#include "app/state.h"
#include "headless/headless_records.h"
#include "resource.h"

#include <functional>
#include <gtest/gtest.h>
#include <ostream>
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
HWND StartUpIn(const TempFolder& folder);                  // the same, in a fresh process

HWND MainWindow();
HWND ControlById(int id);                 // a control of either window
void Press(int id);                       // a full click on an owner-drawn button
void ClickAt(HWND window, int x, int y);  // a click at client coordinates, dispatched at once
void ClickLetters(const std::string& letters);  // a click on each letter picture in turn
std::string TextOf(int id);
inline bool Shown(HWND window) { return window->visible; }  // the window's own visibility flag

// What the player heard since the last look: sound resource ids, kBeep for each beep. Empties the log.
using Cues = std::vector<int>;
const int kBeep = -1;
Cues CuesHeard();
std::vector<HeadlessEvent> Logged(HeadlessEvent::Kind kind);  // the log's events of one kind

// A player's points, wins, losses and skill as the main window shows them.
struct Figures {
    std::string points, wins, losses, skill;
    bool operator==(const Figures&) const = default;
};
Figures FiguresOf(int player);
std::ostream& operator<<(std::ostream& out, const Figures& figures);

struct Place {  // a window's place on the screen and its size
    int x, y, width, height;
    bool operator==(const Place&) const = default;
};
Place PlaceOf(HWND window);
std::ostream& operator<<(std::ostream& out, const Place& place);

// Runs `work` as a player who may create no file in the folder but write its files, or not even those, or with
// every write failing, or with the named file unreadable, as when held; as root, "nobody" acts, given the files.
enum Limit { kNoLimit, kNoNewFiles, kReadOnlyFolder, kFullDisk, kUnreadable };
void Limited(Limit limit, const TempFolder& folder, const std::function<void()>& work, const std::string& file = "");

// Both players' saved figures; a configuration that unlocks the console and its editing.
const char kStats[] = "90 1 3 Lion-Tamer 40 2 5 Juggling-Clown", kUnlocked[] = "Disable_Console= 0\nDisable_VCCntls= 0";
