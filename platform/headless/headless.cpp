// The headless Win32 stand-in: records instead of real windows. Each call
// keeps the part of the real behaviour that the game relies on; where Win32
// has a quirk that matters (PtInRect excludes the right and bottom edges, a
// null WM_SETTEXT empties the text, DestroyWindow takes owned windows along)
// it is kept here too. GDI draws nothing: its calls only let the drawing code
// run, note which face lands on which button, and keep count of the objects
// and contexts alive.
#include "headless_records.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <list>
#include <map>
#include <optional>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <utility>

struct HGDIOBJ__ {
    HeadlessGdi kind;
    int resourceId = 0;  // a bitmap's resource id
    bool stock = false, deleted = false;
    int selections = 0;  // the live contexts it is selected into
};

struct HDC__ {
    HWND window = nullptr;  // null for a memory context
    std::map<HeadlessGdi, HGDIOBJ> selected;  // one object of each kind, as Win32 keeps
    int bkMode = OPAQUE;
    bool deleted = false;
};

namespace {

const int kDefaultEditLimit = 30000;
HINSTANCE const kModule = reinterpret_cast<HINSTANCE>(0x400000);

struct OpenFile { std::string name; bool deleteOnClose; };

struct World {
    std::deque<HWND__> windows;
    std::map<std::string, WNDPROC> classes;  // by upper-case name
    std::deque<HGDIOBJ__> objects;
    std::map<int, HGDIOBJ__> stock;
    std::deque<HDC__> dcs;
    std::deque<MSG> queue;
    std::vector<HeadlessEvent> log;
    std::vector<std::string> failingClasses;
    std::function<bool()> idle;
    std::function<int(const HeadlessEvent&)> boxAnswer;
    std::map<std::string, int> holds;  // attempts left by file name; HEADLESS_HELD_FOR_GOOD for good
    std::vector<DWORD> sleeps;
    std::string modulePath = "C:\\Games\\Marivane\\Marivane.exe";
    int screenWidth = 1280, screenHeight = 1024;
    INT_PTR shellResult = 42;
    HWND focus = nullptr;
    DWORD lastError = 0;
    std::optional<int> quit;  // PostQuitMessage's exit code, once it is called
    HWND lastPainted = nullptr;  // WM_PAINT was the last message handed out, for this window
};

World& world() {
    static World instance;
    return instance;
}

std::list<OpenFile> openFiles;  // CreateFileW handles point at these; they outlive a reset, as files do

void note(HeadlessEvent::Kind kind, HWND window, int number, std::string text = {}, std::string caption = {}) {
    world().log.push_back({kind, window, number, std::move(text), std::move(caption), 0, 0, 0, 0});
}

bool isLive(HWND hwnd) { return hwnd && !hwnd->destroyed; }

std::string textOf(LPCSTR text) { return text ? std::string(text) : std::string(); }

std::string upperCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

int resourceNumber(LPCSTR name) { return IS_INTRESOURCE(name) ? LOWORD(name) : 0; }

HGDIOBJ newObject(HeadlessGdi kind, int resourceId = 0) {
    world().objects.push_back({kind, resourceId});
    return &world().objects.back();
}

// Stock objects 0 to 5 are brushes; of the others the game asks only for
// fonts. No stock index names the default bitmap a new context holds.
const int kDefaultBitmap = -1, kWhiteBrush = 0, kSystemFont = 13;

HGDIOBJ stockObject(int index) {
    const HeadlessGdi kind = index == kDefaultBitmap ? HeadlessGdi::Bitmap
                             : index <= 5            ? HeadlessGdi::Brush
                                                     : HeadlessGdi::Font;
    HGDIOBJ__& object = world().stock.try_emplace(index, HGDIOBJ__{kind}).first->second;
    object.stock = true;
    return &object;
}

// A new context holds the default bitmap, brush and font.
HDC newDC(HWND window) {
    world().dcs.push_back({window, {}});
    HDC dc = &world().dcs.back();
    for (int index : {kDefaultBitmap, kWhiteBrush, kSystemFont}) SelectObject(dc, stockObject(index));
    return dc;
}

// Deleting or releasing a context deselects what it holds, so that it can be deleted.
BOOL freeDC(HDC dc) {
    if (!dc || dc->deleted) return FALSE;
    for (auto& [kind, object] : dc->selected) --object->selections;
    dc->deleted = true;
    return TRUE;
}

// The system control classes answer EM_LIMITTEXT themselves and the rest as
// DefWindowProcA does: a font, a picture or a selection changes nothing here.
LRESULT controlProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != EM_LIMITTEXT) return DefWindowProcA(hwnd, message, wParam, lParam);
    hwnd->textLimit = static_cast<int>(wParam);
    return 0;
}

// Win32 makes WM_PAINT on demand, when no posted message is waiting, for a
// window that is still invalid; BeginPaint validates it.
void invalidate(HWND hwnd) {
    if (hwnd->proc) hwnd->invalid = true;
}

HWND windowToPaint() {
    for (HWND__& w : world().windows)
        if (w.invalid && w.visible && !w.minimized && !w.destroyed) return &w;
    return nullptr;
}

BOOL handOut(LPMSG msg, HWND hwnd, UINT message, WPARAM wParam) {
    *msg = MSG{hwnd, message, wParam, 0, 0, {0, 0}};
    return message != WM_QUIT;
}

void drawButton(HWND button, bool pressed) {
    DRAWITEMSTRUCT item{ODT_BUTTON, static_cast<UINT>(button->id), 0, pressed ? UINT(ODA_SELECT) : ODA_DRAWENTIRE,
                        pressed ? ODS_SELECTED : 0u, button, newDC(button), {0, 0, button->width, button->height}, 0};
    SendMessageA(button->parent, WM_DRAWITEM, static_cast<WPARAM>(button->id), reinterpret_cast<LPARAM>(&item));
    freeDC(item.hDC);
}

// A static or edit control asks its parent for its colours before it paints itself.
void askColours(HWND control) {
    HDC dc = newDC(control);
    UINT message = control->className == "EDIT" ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC;
    control->background = reinterpret_cast<HBRUSH>(
        SendMessageA(control->parent, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    control->backgroundMode = dc->bkMode;
    freeDC(dc);
}

// Every visible child paints itself after its parent has painted.
void paintChildren(HWND parent) {
    for (HWND__& child : world().windows) {
        if (child.parent != parent || !IsWindowVisible(&child)) continue;
        if (child.className == "BUTTON" && (child.style & 0xF) == BS_OWNERDRAW) drawButton(&child, false);
        else askColours(&child);
    }
}

void clickButton(HWND button, WORD notification) {
    SetFocus(button);
    drawButton(button, true);
    drawButton(button, false);
    SendMessageA(button->parent, WM_COMMAND, MAKEWPARAM(button->id, notification), reinterpret_cast<LPARAM>(button));
}

// Wide text holds one byte of the narrow text in each character (see headless.h).
template <typename From, typename To>
int copyText(const From* from, int count, To* to, int room) {
    if (to && room < count) return 0;
    if (to) std::transform(from, from + count, to, [](From c) { return To(static_cast<unsigned char>(c)); });
    return count;
}

std::string narrowed(LPCWSTR wide) {
    std::string text;
    for (; wide && *wide; ++wide) text += static_cast<char>(*wide);
    return text;
}

// Text handed out as the W calls do: with room for it and its terminator, its
// length; without, the room it needs.
DWORD handOutWide(const std::string& text, LPWSTR buffer, DWORD size) {
    const int length = static_cast<int>(text.size());
    if (text.size() >= size) return static_cast<DWORD>(length) + 1;
    copyText(text.c_str(), length + 1, buffer, length + 1);
    return static_cast<DWORD>(length);
}

// Sets the last error from a POSIX call's result and errno; TRUE when it succeeded.
BOOL fromPosix(int result, DWORD whenExists = ERROR_ALREADY_EXISTS) {
    const int error = errno;
    world().lastError = result == 0          ? 0
                        : error == EEXIST  ? whenExists
                        : error == ENOENT  ? ERROR_FILE_NOT_FOUND
                        : error == ENOTDIR ? ERROR_PATH_NOT_FOUND
                                           : ERROR_ACCESS_DENIED;
    return result == 0;
}

BOOL failWith(DWORD error) {
    world().lastError = error;
    return FALSE;
}

// Counts off one attempt on a file another program holds; true while it still holds it.
bool stillHeld(const std::string& name) {
    auto hold = world().holds.find(name);
    if (hold == world().holds.end() || hold->second == 0) return false;
    if (hold->second > 0) --hold->second;
    return true;
}

// Windows makes nothing in a folder the user may not write; root could.
bool inReadOnlyFolder(const std::string& name) {
    const std::size_t separator = name.find_last_of('/');
    struct stat folder;
    return stat(separator == std::string::npos ? "." : name.substr(0, separator + 1).c_str(), &folder) == 0 &&
           !(folder.st_mode & S_IWUSR);
}

}  // namespace

// ---------------------------------------------------------------- settings, records and input

void headless_reset() { world() = World(); }
void headless_set_screen_size(int width, int height) {
    world().screenWidth = width;
    world().screenHeight = height;
}
void headless_set_module_path(const std::string& path) { world().modulePath = path; }
void headless_set_shell_result(INT_PTR result) { world().shellResult = result; }
void headless_fail_class_registration(const std::string& name) { world().failingClasses.push_back(upperCase(name)); }
void headless_set_idle(std::function<bool()> idle) { world().idle = std::move(idle); }
void headless_set_box_answer(std::function<int(const HeadlessEvent&)> answer) {
    world().boxAnswer = std::move(answer);
}
void headless_hold_file(const std::string& path, int attempts) { world().holds[path] = attempts; }

int headless_live_gdi(HeadlessGdi kind) {
    const auto live = [](const auto& record) { return !record.deleted; };
    if (kind == HeadlessGdi::DC) return static_cast<int>(std::count_if(world().dcs.begin(), world().dcs.end(), live));
    return static_cast<int>(std::count_if(world().objects.begin(), world().objects.end(),
                                          [&](const HGDIOBJ__& o) { return o.kind == kind && live(o); }));
}

std::vector<HWND> headless_windows() {
    std::vector<HWND> all;
    for (HWND__& w : world().windows) all.push_back(&w);
    return all;
}

const std::vector<HeadlessEvent>& headless_log() { return world().log; }
void headless_clear_log() { world().log.clear(); }
const std::vector<DWORD>& headless_sleeps() { return world().sleeps; }

void headless_draw_button(HWND button, bool pressed) { drawButton(button, pressed); }
void headless_click_button(HWND button) { clickButton(button, BN_CLICKED); }

void headless_double_click_button(HWND button) {
    clickButton(button, BN_CLICKED);
    clickButton(button, BN_DOUBLECLICKED);
}

void headless_type(HWND edit, const std::string& text) {
    std::size_t limit = static_cast<std::size_t>(edit->textLimit > 0 ? edit->textLimit : kDefaultEditLimit);
    edit->text += text.substr(0, limit - std::min(edit->text.size(), limit));
}

// ---------------------------------------------------------------- process and memory

HMODULE GetModuleHandleA(LPCSTR) { return kModule; }
DWORD GetLastError() { return world().lastError; }
void Sleep(DWORD milliseconds) { world().sleeps.push_back(milliseconds); }

int GetSystemMetrics(int index) {
    return index == SM_CXSCREEN ? world().screenWidth : index == SM_CYSCREEN ? world().screenHeight : 0;
}

HGLOBAL GlobalAlloc(UINT, std::size_t bytes) { return std::calloc(bytes ? bytes : 1, 1); }
HGLOBAL GlobalFree(HGLOBAL memory) {
    std::free(memory);
    return nullptr;
}

// ---------------------------------------------------------------- classes and windows

ATOM RegisterClassExA(const WNDCLASSEXA* wc) {
    std::string name = upperCase(textOf(wc->lpszClassName));
    const auto& failing = world().failingClasses;
    if (std::find(failing.begin(), failing.end(), name) != failing.end() || world().classes.count(name)) return 0;
    world().classes[name] = wc->lpfnWndProc;
    return static_cast<ATOM>(0xC000 + world().classes.size());
}

HWND CreateWindowExA(DWORD, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE, LPVOID) {
    std::string name = upperCase(textOf(className));
    auto registered = world().classes.find(name);
    bool known = registered != world().classes.end() || name == "BUTTON" || name == "STATIC" || name == "EDIT";
    bool child = (style & WS_CHILD) != 0;
    if (!known || (child && !isLive(parent))) return nullptr;
    WNDPROC proc = registered != world().classes.end() ? registered->second : nullptr;
    int id = child ? static_cast<int>(reinterpret_cast<UINT_PTR>(menu)) : 0;
    world().windows.push_back({name, textOf(title), style, x, y, width, height, child ? parent : nullptr,
                               child ? nullptr : parent, id, proc, (style & WS_VISIBLE) != 0});
    HWND hwnd = &world().windows.back();
    invalidate(hwnd);
    if (hwnd->proc) SendMessageA(hwnd, WM_CREATE, 0, 0);
    return hwnd;
}

BOOL IsWindow(HWND hwnd) { return isLive(hwnd); }

BOOL DestroyWindow(HWND hwnd) {
    if (!isLive(hwnd)) return FALSE;
    // Owned windows go first, then the window itself, then its children.
    for (HWND__& other : world().windows)
        if (other.owner == hwnd) DestroyWindow(&other);
    SendMessageA(hwnd, WM_DESTROY, 0, 0);
    for (HWND__& other : world().windows)
        if (other.parent == hwnd) DestroyWindow(&other);
    hwnd->destroyed = true;
    hwnd->visible = false;
    if (world().focus == hwnd) world().focus = nullptr;
    return TRUE;
}

BOOL ShowWindow(HWND hwnd, int command) {
    if (!isLive(hwnd)) return FALSE;
    BOOL wasVisible = hwnd->visible;
    if (!wasVisible && command != SW_HIDE) invalidate(hwnd);
    hwnd->visible = command != SW_HIDE;
    if (command == SW_MINIMIZE || command == SW_SHOWMINIMIZED) hwnd->minimized = true;
    if (command == SW_SHOWNORMAL) hwnd->minimized = false;
    note(command == SW_HIDE ? HeadlessEvent::Hidden : HeadlessEvent::Shown, hwnd, command);
    return wasVisible;
}

BOOL UpdateWindow(HWND hwnd) {
    if (!isLive(hwnd)) return FALSE;
    if (hwnd->invalid && hwnd->visible) SendMessageA(hwnd, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL IsWindowVisible(HWND hwnd) {
    if (!isLive(hwnd) || !hwnd->visible) return FALSE;
    return hwnd->parent ? IsWindowVisible(hwnd->parent) : TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    if (!isLive(hwnd)) return FALSE;
    std::tie(hwnd->x, hwnd->y, hwnd->width, hwnd->height) = std::tie(x, y, width, height);
    if (repaint) invalidate(hwnd);
    world().log.push_back({HeadlessEvent::Moved, hwnd, repaint, {}, {}, x, y, width, height});
    return TRUE;
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
    POINT origin{0, 0};
    if (!ClientToScreen(hwnd, &origin)) return FALSE;
    *rect = {origin.x, origin.y, origin.x + hwnd->width, origin.y + hwnd->height};
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point) {
    if (!isLive(hwnd)) return FALSE;
    for (HWND w = hwnd; w; w = w->parent) {
        point->x += w->x;
        point->y += w->y;
    }
    return TRUE;
}

BOOL PtInRect(const RECT* rect, POINT point) {
    return point.x >= rect->left && point.x < rect->right && point.y >= rect->top && point.y < rect->bottom;
}

HWND SetFocus(HWND hwnd) {
    HWND previous = world().focus;
    if (hwnd && !isLive(hwnd)) return nullptr;
    world().focus = hwnd;
    note(HeadlessEvent::Focus, hwnd, 0);
    return previous;
}

HWND GetFocus() { return world().focus; }

HWND GetDlgItem(HWND parent, int id) {
    for (HWND__& w : world().windows)
        if (w.parent == parent && w.id == id && !w.destroyed) return &w;
    return nullptr;
}

BOOL SetDlgItemTextA(HWND parent, int id, LPCSTR text) { return SetWindowTextA(GetDlgItem(parent, id), text); }

UINT GetDlgItemTextA(HWND parent, int id, LPSTR buffer, int size) {
    return static_cast<UINT>(GetWindowTextA(GetDlgItem(parent, id), buffer, size));
}

int GetWindowTextLengthA(HWND hwnd) { return static_cast<int>(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0)); }

int GetWindowTextA(HWND hwnd, LPSTR buffer, int size) {
    if (size > 0) buffer[0] = '\0';
    if (!isLive(hwnd) || size <= 0) return 0;
    return static_cast<int>(SendMessageA(hwnd, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

BOOL SetWindowTextA(HWND hwnd, LPCSTR text) {
    return static_cast<BOOL>(SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

// Top-level windows only; the title must match exactly, as Win32's comparison does.
HWND FindWindowA(LPCSTR className, LPCSTR title) {
    for (HWND__& w : world().windows) {
        if (w.destroyed || (w.style & WS_CHILD)) continue;
        if (className && w.className != upperCase(className)) continue;
        if (title && w.text != title) continue;
        return &w;
    }
    return nullptr;
}

HWND GetWindow(HWND hwnd, UINT relation) {
    if (!isLive(hwnd) || relation != GW_OWNER) return nullptr;
    return isLive(hwnd->owner) ? hwnd->owner : nullptr;
}

// ---------------------------------------------------------------- messages

LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!hwnd || (!isLive(hwnd) && message != WM_DESTROY)) return 0;
    if (hwnd->proc) return hwnd->proc(hwnd, message, wParam, lParam);
    return controlProcedure(hwnd, message, wParam, lParam);
}

BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!isLive(hwnd)) return FALSE;
    world().queue.push_back(MSG{hwnd, message, wParam, lParam, 0, {0, 0}});
    return TRUE;
}

// Like Win32, a flag rather than a queued message: it comes out after every
// posted message, whenever it was asked for.
void PostQuitMessage(int exitCode) { world().quit = exitCode; }

// Posted messages first, then the quit flag, then WM_PAINT for an invalid
// window; with none of these the idle hook runs.
BOOL GetMessageA(LPMSG msg, HWND, UINT, UINT) {
    World& w = world();
    for (;;) {
        HWND painted = w.lastPainted;
        w.lastPainted = nullptr;
        if (!w.queue.empty()) {
            *msg = w.queue.front();
            w.queue.pop_front();
            return TRUE;
        }
        if (w.quit) {
            const int exitCode = *std::exchange(w.quit, std::nullopt);
            return handOut(msg, nullptr, WM_QUIT, static_cast<WPARAM>(exitCode));
        }
        if (HWND invalid = windowToPaint()) {
            // Win32 would send WM_PAINT for ever to a window that its WM_PAINT leaves invalid.
            if (invalid == painted) return handOut(msg, nullptr, WM_QUIT, static_cast<WPARAM>(HEADLESS_NEVER_PAINTED));
            w.lastPainted = invalid;
            return handOut(msg, invalid, WM_PAINT, 0);
        }
        if (!w.idle || !w.idle()) return handOut(msg, nullptr, WM_QUIT, static_cast<WPARAM>(HEADLESS_STARVED));
    }
}

BOOL TranslateMessage(const MSG*) { return FALSE; }
LRESULT DispatchMessageA(const MSG* msg) {
    return isLive(msg->hwnd) ? SendMessageA(msg->hwnd, msg->message, msg->wParam, msg->lParam) : 0;
}

LRESULT DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT) {
        hwnd->text = textOf(reinterpret_cast<LPCSTR>(lParam));
        note(HeadlessEvent::Text, hwnd, 0, hwnd->text);
        return TRUE;
    }
    if (message == WM_GETTEXTLENGTH) return static_cast<LRESULT>(hwnd->text.size());
    if (message != WM_GETTEXT) return 0;
    std::size_t count = std::min<std::size_t>(wParam - 1, hwnd->text.size());
    std::memcpy(reinterpret_cast<char*>(lParam), hwnd->text.data(), count);
    reinterpret_cast<char*>(lParam)[count] = '\0';
    return static_cast<LRESULT>(count);
}

// ---------------------------------------------------------------- resources and GDI

// Icons and cursors are never drawn: null stands for each.
HICON LoadIconA(HINSTANCE, LPCSTR) { return nullptr; }
HCURSOR LoadCursorA(HINSTANCE, LPCSTR) { return nullptr; }

HANDLE LoadImageA(HINSTANCE, LPCSTR name, UINT type, int, int, UINT) {
    return type == IMAGE_ICON ? nullptr : newObject(HeadlessGdi::Bitmap, resourceNumber(name));
}

// The brush keeps a copy of the pattern, so the bitmap may be deleted at once.
HBRUSH CreatePatternBrush(HBITMAP bitmap) {
    return bitmap && !bitmap->deleted ? newObject(HeadlessGdi::Brush) : nullptr;
}

HFONT CreateFontA(int, int, int, int, int, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, LPCSTR) {
    return newObject(HeadlessGdi::Font);
}

HGDIOBJ GetStockObject(int index) { return stockObject(index); }

// As in Win32, an object still selected into a live context is not deleted,
// and a stock object is never deleted.
BOOL DeleteObject(HGDIOBJ object) {
    if (!object || object->deleted || object->selections > 0) return FALSE;
    object->deleted = !object->stock;
    return TRUE;
}

// Every bitmap is 1 x 1: nothing is drawn, so no size matters.
int GetObjectA(HGDIOBJ object, int size, LPVOID out) {
    if (!object || object->deleted) return 0;
    BITMAP info{0, 1, 1, 4, 1, 24, nullptr};
    std::memcpy(out, &info, std::min<std::size_t>(sizeof info, static_cast<std::size_t>(size)));
    return static_cast<int>(sizeof info);
}

HDC CreateCompatibleDC(HDC) { return newDC(nullptr); }
BOOL DeleteDC(HDC dc) { return freeDC(dc); }

// The object takes the place of the one of its kind, which is handed back.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    if (!dc || dc->deleted || !object || object->deleted) return nullptr;
    HGDIOBJ& slot = dc->selected[object->kind];
    if (slot) --slot->selections;
    ++object->selections;
    return std::exchange(slot, object);
}

// A bitmap stretched onto a window's context is the face the player sees there.
BOOL StretchBlt(HDC dest, int, int, int, int, HDC src, int, int, int, int, DWORD) {
    if (dest->deleted || src->deleted) return FALSE;
    HGDIOBJ bitmap = src->selected[HeadlessGdi::Bitmap];
    if (dest->window && !bitmap->stock) note(HeadlessEvent::Face, dest->window, bitmap->resourceId);
    return TRUE;
}

COLORREF SetTextColor(HDC, COLORREF) { return RGB(0, 0, 0); }
int SetBkMode(HDC dc, int mode) { return std::exchange(dc->bkMode, mode); }

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
    hwnd->invalid = false;
    *paint = PAINTSTRUCT{newDC(hwnd), FALSE, {0, 0, hwnd->width, hwnd->height}};
    return paint->hdc;
}

// The children paint themselves once their parent is done.
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
    paintChildren(hwnd);
    return freeDC(paint->hdc);
}

// ---------------------------------------------------------------- sound, message boxes and shell

BOOL PlaySoundA(LPCSTR sound, HMODULE, DWORD) {
    note(HeadlessEvent::Sound, nullptr, resourceNumber(sound));
    return TRUE;
}

BOOL MessageBeep(UINT type) {
    note(HeadlessEvent::Beep, nullptr, static_cast<int>(type));
    return TRUE;
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    note(HeadlessEvent::Box, owner, static_cast<int>(type), textOf(text), textOf(caption));
    if (world().boxAnswer) return world().boxAnswer(world().log.back());
    return (type & 0xF) == MB_RETRYCANCEL ? IDCANCEL : IDOK;
}

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    return MessageBoxA(owner, narrowed(text).c_str(), narrowed(caption).c_str(), type);
}

HINSTANCE ShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR, LPCWSTR, int show) {
    note(HeadlessEvent::Shell, owner, show, narrowed(file), narrowed(verb));
    return reinterpret_cast<HINSTANCE>(world().shellResult);
}

// ---------------------------------------------------------------- module, text and files

// Too small a buffer: the name truncated and terminated, and the buffer's size returned.
DWORD GetModuleFileNameW(HMODULE, LPWSTR buffer, DWORD size) {
    const std::string& path = world().modulePath;
    if (size == 0) return 0;
    const bool fits = path.size() < size;
    handOutWide(fits ? path : path.substr(0, size - 1), buffer, size);
    world().lastError = fits ? 0 : ERROR_INSUFFICIENT_BUFFER;
    return fits ? static_cast<DWORD>(path.size()) : size;
}

BOOL SystemParametersInfoW(UINT action, UINT, LPVOID value, UINT) {
    if (action != SPI_GETWORKAREA) return FALSE;
    *static_cast<RECT*>(value) = RECT{0, 0, world().screenWidth, world().screenHeight};
    return TRUE;
}

DWORD GetEnvironmentVariableW(LPCWSTR name, LPWSTR buffer, DWORD size) {
    const char* value = std::getenv(narrowed(name).c_str());
    return value ? handOutWide(value, buffer, size) : 0;
}

DWORD GetShortPathNameW(LPCWSTR longPath, LPWSTR shortPath, DWORD size) {
    return handOutWide(narrowed(longPath), shortPath, size);
}

int MultiByteToWideChar(UINT, DWORD, LPCSTR text, int size, LPWSTR wide, int wideSize) {
    return copyText(text, size, wide, wideSize);
}

int WideCharToMultiByte(UINT, DWORD, LPCWSTR wide, int wideSize, LPSTR text, int size, LPCSTR, BOOL*) {
    return copyText(wide, wideSize, text, size);
}

// A file without the owner's write permission counts as read-only, as the
// read-only attribute would on Windows (root's privileges notwithstanding).
DWORD GetFileAttributesW(LPCWSTR path) {
    struct stat info;
    if (!fromPosix(stat(narrowed(path).c_str(), &info))) return INVALID_FILE_ATTRIBUTES;
    DWORD readOnly = (info.st_mode & S_IWUSR) ? 0 : FILE_ATTRIBUTE_READONLY;
    if (S_ISDIR(info.st_mode)) return FILE_ATTRIBUTE_DIRECTORY | readOnly;
    return readOnly ? readOnly : FILE_ATTRIBUTE_NORMAL;
}

// POSIX rename replaces its target atomically, as MOVEFILE_REPLACE_EXISTING
// does; like Win32 it is refused without that flag, and a folder, a
// read-only file or a file another program holds is never replaced.
BOOL MoveFileExW(LPCWSTR existing, LPCWSTR target, DWORD flags) {
    if (stillHeld(narrowed(target))) return failWith(ERROR_ACCESS_DENIED);
    DWORD attributes = GetFileAttributesW(target);
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (!(flags & MOVEFILE_REPLACE_EXISTING)) return failWith(ERROR_ALREADY_EXISTS);
        if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return failWith(ERROR_ACCESS_DENIED);
    }
    return fromPosix(std::rename(narrowed(existing).c_str(), narrowed(target).c_str()));
}

BOOL CreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES) {
    if (inReadOnlyFolder(narrowed(path))) return failWith(ERROR_ACCESS_DENIED);
    return fromPosix(mkdir(narrowed(path).c_str(), 0777));
}

// A new file, refused in a read-only folder as Windows refuses it in one the
// user may not write.
HANDLE CreateFileW(LPCWSTR path, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD disposition, DWORD flags, HANDLE) {
    const std::string name = narrowed(path);
    if (disposition != CREATE_NEW || inReadOnlyFolder(name)) {
        failWith(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    const int descriptor = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (!fromPosix(descriptor < 0 ? -1 : 0, ERROR_FILE_EXISTS)) return INVALID_HANDLE_VALUE;
    close(descriptor);
    openFiles.push_back({name, (flags & FILE_FLAG_DELETE_ON_CLOSE) != 0});
    return &openFiles.back();
}

BOOL CloseHandle(HANDLE handle) {
    auto file = std::find_if(openFiles.begin(), openFiles.end(), [&](const OpenFile& f) { return &f == handle; });
    if (file == openFiles.end()) return FALSE;
    if (file->deleteOnClose) unlink(file->name.c_str());
    openFiles.erase(file);
    return TRUE;
}
