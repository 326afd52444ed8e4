// The headless stand-in's records: the window, GDI and device context
// records it keeps, the logs of sounds, beeps, message boxes, shell calls and
// blits, the settings a real machine would supply (screen size, program path,
// shell result) and the input a user would give. Tests read and drive it here.
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
    bool visible = false;
    bool minimized = false;
    bool destroyed = false;
    bool invalid = false;   // windows of registered classes: waiting for WM_PAINT to validate them
    int textLimit = 0;      // EM_LIMITTEXT; 0 means the default of 30000
    HGDIOBJ image = nullptr; // STM_SETIMAGE
};

struct HGDIOBJ__ {
    enum Kind { Bitmap, Brush, Font } kind = Bitmap;
    bool stock = false;
    bool deleted = false;
    int resourceId = 0;      // bitmaps; for pattern brushes the source bitmap's id
    int width = 0, height = 0;
};

struct HDC__ {
    bool memory = false;
    bool deleted = false;
    HGDIOBJ selected = nullptr;
    COLORREF textColor = RGB(0, 0, 0);
    int bkMode = OPAQUE;
};

struct HICON__ {
    int resourceId = 0;
    bool system = false;     // loaded with no instance, e.g. IDI_APPLICATION
    int width = 0, height = 0;
};

struct HeadlessClass {
    std::string name;
    WNDCLASSEXA fields{};
};

// Something the player hears: a PlaySoundA request or a MessageBeep.
struct HeadlessCue {
    enum Kind { Sound, Beep } kind;
    int id;      // sound resource id, or the beep type
    DWORD flags; // PlaySoundA flags
    bool operator==(const HeadlessCue& other) const {
        return kind == other.kind && id == other.id && flags == other.flags;
    }
};

struct HeadlessMessageBox {
    HWND owner;
    std::string text, caption;
    UINT type;
};

struct HeadlessShellCall {
    HWND owner;
    std::string verb, file, parameters, directory;
    int show;
};

// One MoveWindow call, in the order they were made.
struct HeadlessMove {
    HWND window;
    int x, y, width, height;
    BOOL repaint;
};

struct HeadlessBlit {
    HDC dest;
    RECT destRect;           // left, top, width, height as passed
    int sourceBitmapId;
    int sourceWidth, sourceHeight;
    DWORD rop;
};

// ---- Lifecycle and settings ----
void headless_reset();  // forget every window, class, object, message and log
void headless_set_screen_size(int width, int height);
void headless_set_module_path(const std::string& path);
void headless_add_bitmap(int id, int width, int height);
void headless_set_shell_result(INT_PTR result);
void headless_fail_class_registration(const std::string& className);
// Called by GetMessageA, again and again, while the queue is empty; it returns
// false when it has nothing more to do. GetMessageA then ends the loop as if
// WM_QUIT with code HEADLESS_STARVED had arrived, so a test can never hang.
void headless_set_idle(std::function<bool()> idle);
const int HEADLESS_STARVED = -9999;
// The exit code GetMessageA ends the loop with when a window's WM_PAINT left it invalid.
const int HEADLESS_NEVER_PAINTED = -9998;

// ---- Records ----
std::vector<HWND> headless_windows();  // every window ever created, in creation order
const std::vector<HeadlessClass>& headless_classes();
const std::vector<HeadlessCue>& headless_cues();
const std::vector<HeadlessMessageBox>& headless_message_boxes();
const std::vector<HeadlessShellCall>& headless_shell_calls();
const std::vector<HeadlessBlit>& headless_blits();
const std::vector<HeadlessMove>& headless_moves();
void headless_clear_logs();            // empties cues, boxes, shell calls, blits and moves
int headless_live_gdi_objects();       // created and not yet deleted, stock objects excluded
int headless_live_dcs();

// ---- Input, as the system would deliver it ----
// A full press of an owner-drawn button: it takes the focus, is drawn pressed,
// drawn normal, then WM_COMMAND with BN_CLICKED is sent to its parent.
void headless_click_button(HWND button);
// Two presses in quick succession: the second notifies BN_DOUBLECLICKED.
void headless_double_click_button(HWND button);
// Posts a left click (down and up) at client coordinates of a top-level window.
void headless_post_click(HWND window, int x, int y);
void headless_post_key(HWND window, int virtualKey);
// Types text into an edit control as a user would: at the end, within the text limit.
void headless_type(HWND edit, const std::string& text);
// Dispatches queued messages until the queue is empty.
void headless_pump();
