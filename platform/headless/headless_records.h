// The headless stand-in's records: its windows, and one log of what a player
// would see and hear, in the order it happened. Tests read it and drive the
// program here, with the input a player would give and the settings a real
// machine would supply.
#pragma once

#include "headless.h"

#include <functional>
#include <string>
#include <vector>

// A window or control. Top-level windows keep screen coordinates, children
// coordinates in their parent's client area. All windows are borderless, so a
// client area starts at the window's own top-left corner.
struct HWND__ {
    std::string className;
    std::string text;
    DWORD style = 0;
    int x = 0, y = 0, width = 0, height = 0;
    HWND parent = nullptr;  // children only
    HWND owner = nullptr;   // top-level windows only
    int id = 0;             // children only: the menu argument of CreateWindowExA
    WNDPROC proc = nullptr; // null for the system control classes
    bool visible = false, minimized = false, destroyed = false;
    bool invalid = false;   // windows of registered classes: waiting for WM_PAINT to validate them
    int textLimit = 0;      // EM_LIMITTEXT; 0 means the default of 30000
    // A static or edit control's colours, as its parent last answered WM_CTLCOLOR*.
    HBRUSH background = nullptr;
    int backgroundMode = OPAQUE;
};

// One thing a player sees or hears.
struct HeadlessEvent {
    enum Kind { Text, Shown, Hidden, Moved, Focus, Sound, Beep, Box, Shell, Face } kind;
    HWND window;          // the window concerned; for Box and Shell the owner
    int number;           // Sound: resource id; Beep: type; Face: bitmap id; Box: type;
                          // Shell: show state; Shown: show state; Moved: repaint
    std::string text;     // Text: the new text; Box: its text; Shell: the file
    std::string caption;  // Box: its caption; Shell: the verb
    int x, y, width, height;  // Moved: the place and size given
};

// ---- Lifecycle and settings ----
void headless_reset();  // forget every window, class, object, message and the log
void headless_set_screen_size(int width, int height);
void headless_set_module_path(const std::string& path);
void headless_set_shell_result(INT_PTR result);
void headless_fail_class_registration(const std::string& className);
// Called by GetMessageA, again and again, while the queue is empty; it returns
// false when it has nothing more to do. GetMessageA then ends the loop as if
// WM_QUIT with code HEADLESS_STARVED had arrived, so a test can never hang.
void headless_set_idle(std::function<bool()> idle);
const int HEADLESS_STARVED = -9999;
// The exit code GetMessageA ends the loop with when a window's WM_PAINT left it invalid.
const int HEADLESS_NEVER_PAINTED = -9998;
// Answers each message box, given as it is logged, from then on; an empty function restores the
// default answers (see headless.h).
void headless_set_box_answer(std::function<int(const HeadlessEvent& box)> answer);
// Another program holds the file open without delete sharing: the next `attempts` calls of MoveFileExW
// onto it fail with ERROR_ACCESS_DENIED, as Windows refuses them; HEADLESS_HELD_FOR_GOOD holds it until
// it is held for 0 attempts, that is let go.
void headless_hold_file(const std::string& path, int attempts);
const int HEADLESS_HELD_FOR_GOOD = -1;

// ---- Records ----
std::vector<HWND> headless_windows();  // every window ever created, in creation order
const std::vector<HeadlessEvent>& headless_log();
void headless_clear_log();
const std::vector<DWORD>& headless_sleeps();  // the milliseconds of every Sleep, in order

// ---- GDI: the objects and contexts alive, by kind; stock objects are not counted ----
enum class HeadlessGdi { DC, Bitmap, Brush, Font };
int headless_live_gdi(HeadlessGdi kind);

// ---- Input, as the system would deliver it ----
// The system asks an owner-drawn button for its face, as when it is pressed or let go.
void headless_draw_button(HWND button, bool pressed);
// A full press of an owner-drawn button: it takes the focus, is drawn pressed,
// drawn normal, then WM_COMMAND with BN_CLICKED is sent to its parent.
void headless_click_button(HWND button);
// Two presses in quick succession: the second notifies BN_DOUBLECLICKED.
void headless_double_click_button(HWND button);
// Types text into an edit control as a user would: at the end, within the text limit.
void headless_type(HWND edit, const std::string& text);
