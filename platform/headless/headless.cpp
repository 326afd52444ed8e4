// The headless Win32 stand-in: records instead of real windows. Each call
// keeps the part of the real behaviour that the game relies on; where Win32
// has a quirk that matters (PtInRect excludes the right and bottom edges, a
// null WM_SETTEXT empties the text, DestroyWindow takes owned windows along)
// it is kept here too.
#include "headless_records.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <list>
#include <map>
#include <memory>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const int kDefaultEditLimit = 30000;
HINSTANCE const kModule = reinterpret_cast<HINSTANCE>(0x400000);

struct OpenFile {
    std::string name;
    bool deleteOnClose;
};

struct World {
    std::vector<std::unique_ptr<HWND__>> windows;
    std::vector<HeadlessClass> classes;
    std::vector<std::unique_ptr<HGDIOBJ__>> objects;
    std::vector<std::unique_ptr<HDC__>> dcs;
    std::vector<std::unique_ptr<HICON__>> icons;
    std::map<int, std::pair<int, int>> bitmaps;
    std::map<int, std::unique_ptr<HGDIOBJ__>> stock;
    std::deque<MSG> queue;
    std::vector<HeadlessCue> cues;
    std::vector<HeadlessMessageBox> boxes;
    std::vector<HeadlessShellCall> shellCalls;
    std::vector<HeadlessBlit> blits;
    std::vector<HeadlessMove> moves;
    std::vector<std::string> failingClasses;
    std::list<OpenFile> openFiles;  // CreateFileW handles point at these
    std::function<bool()> idle;
    std::string modulePath = "C:\\Games\\Marivane\\Marivane.exe";
    int screenWidth = 1280, screenHeight = 1024;
    INT_PTR shellResult = 42;
    HWND focus = nullptr;
    DWORD lastError = 0;
    bool quit = false;       // PostQuitMessage was called
    int exitCode = 0;
    HWND lastPainted = nullptr;  // WM_PAINT was the last message handed out, for this window
};

World& world() {
    static World instance;
    return instance;
}

bool isLive(HWND hwnd) {
    if (!hwnd) return false;
    for (auto& w : world().windows)
        if (w.get() == hwnd) return !w->destroyed;
    return false;
}

std::string textOf(LPCSTR text) { return text ? std::string(text) : std::string(); }

// Wide text holds one byte of the narrow text in each character (see headless.h).
std::string narrowed(LPCWSTR wide) {
    std::string text;
    for (; wide && *wide; ++wide) text += static_cast<char>(*wide);
    return text;
}

const HeadlessClass* findClass(const std::string& name) {
    for (auto& c : world().classes)
        if (strcasecmp(c.name.c_str(), name.c_str()) == 0) return &c;
    return nullptr;
}

bool isSystemControlClass(const std::string& name) {
    for (const char* system : {"BUTTON", "STATIC", "EDIT"})
        if (strcasecmp(name.c_str(), system) == 0) return true;
    return false;
}

int editLimit(HWND hwnd) { return hwnd->textLimit > 0 ? hwnd->textLimit : kDefaultEditLimit; }

// Messages that the system control classes answer themselves; the rest
// (the texts among them) as DefWindowProcA does. A bitmap static takes the
// size of its bitmap, as Win32's does without SS_REALSIZECONTROL.
LRESULT controlProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case EM_LIMITTEXT:
        hwnd->textLimit = static_cast<int>(wParam);
        return 0;
    case STM_SETIMAGE: {
        HGDIOBJ previous = hwnd->image;
        hwnd->image = reinterpret_cast<HGDIOBJ>(lParam);
        if (hwnd->image && (hwnd->style & 0x1F) == SS_BITMAP) {
            hwnd->width = hwnd->image->width;
            hwnd->height = hwnd->image->height;
        }
        return reinterpret_cast<LRESULT>(previous);
    }
    case WM_SETFONT:
    case WM_CLEAR:  // there is no selection to clear
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

HGDIOBJ newObject(HGDIOBJ__::Kind kind) {
    world().objects.push_back(std::make_unique<HGDIOBJ__>());
    HGDIOBJ object = world().objects.back().get();
    object->kind = kind;
    return object;
}

HDC newDC(bool memory) {
    world().dcs.push_back(std::make_unique<HDC__>());
    HDC dc = world().dcs.back().get();
    dc->memory = memory;
    return dc;
}

HICON newIcon(int id, bool system, int width, int height) {
    world().icons.push_back(std::make_unique<HICON__>());
    HICON icon = world().icons.back().get();
    icon->resourceId = id;
    icon->system = system;
    icon->width = width;
    icon->height = height;
    return icon;
}

int resourceNumber(LPCSTR name) { return IS_INTRESOURCE(name) ? LOWORD(name) : 0; }

// Win32 makes WM_PAINT on demand, when no posted message is waiting, for a
// window that is still invalid; BeginPaint validates it.
void invalidate(HWND hwnd) {
    if (hwnd->proc) hwnd->invalid = true;
}

HWND windowToPaint() {
    for (auto& w : world().windows)
        if (w->invalid && w->visible && !w->minimized && !w->destroyed) return w.get();
    return nullptr;
}

void markDestroyed(HWND hwnd) {
    hwnd->destroyed = true;
    hwnd->visible = false;
    if (world().focus == hwnd) world().focus = nullptr;
}

}  // namespace

// ---------------------------------------------------------------- settings

void headless_reset() {
    // The stock objects stay: real ones live as long as the system.
    auto stock = std::move(world().stock);
    world() = World();
    world().stock = std::move(stock);
}

void headless_set_screen_size(int width, int height) {
    world().screenWidth = width;
    world().screenHeight = height;
}

void headless_set_module_path(const std::string& path) { world().modulePath = path; }
void headless_add_bitmap(int id, int width, int height) { world().bitmaps[id] = {width, height}; }
void headless_set_shell_result(INT_PTR result) { world().shellResult = result; }
void headless_fail_class_registration(const std::string& name) { world().failingClasses.push_back(name); }
void headless_set_idle(std::function<bool()> idle) { world().idle = std::move(idle); }

std::vector<HWND> headless_windows() {
    std::vector<HWND> all;
    for (auto& w : world().windows) all.push_back(w.get());
    return all;
}

const std::vector<HeadlessClass>& headless_classes() { return world().classes; }
const std::vector<HeadlessCue>& headless_cues() { return world().cues; }
const std::vector<HeadlessMessageBox>& headless_message_boxes() { return world().boxes; }
const std::vector<HeadlessShellCall>& headless_shell_calls() { return world().shellCalls; }
const std::vector<HeadlessBlit>& headless_blits() { return world().blits; }
const std::vector<HeadlessMove>& headless_moves() { return world().moves; }

void headless_clear_logs() {
    world().cues.clear();
    world().boxes.clear();
    world().shellCalls.clear();
    world().blits.clear();
    world().moves.clear();
}

int headless_live_gdi_objects() {
    return static_cast<int>(std::count_if(world().objects.begin(), world().objects.end(),
                                          [](auto& o) { return !o->deleted; }));
}

int headless_live_dcs() {
    return static_cast<int>(
        std::count_if(world().dcs.begin(), world().dcs.end(), [](auto& d) { return !d->deleted; }));
}


// ---------------------------------------------------------------- input

namespace {

void drawButton(HWND button, bool pressed) {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(button->id);
    item.itemAction = pressed ? ODA_SELECT : ODA_DRAWENTIRE;
    item.itemState = pressed ? ODS_SELECTED : 0;
    item.hwndItem = button;
    item.hDC = newDC(false);
    item.rcItem = {0, 0, button->width, button->height};
    SendMessageA(button->parent, WM_DRAWITEM, static_cast<WPARAM>(button->id), reinterpret_cast<LPARAM>(&item));
    item.hDC->deleted = true;
}

void clickButton(HWND button, WORD notification) {
    SetFocus(button);
    drawButton(button, true);
    drawButton(button, false);
    SendMessageA(button->parent, WM_COMMAND, MAKEWPARAM(button->id, notification), reinterpret_cast<LPARAM>(button));
}

}  // namespace

void headless_click_button(HWND button) { clickButton(button, BN_CLICKED); }

void headless_double_click_button(HWND button) {
    clickButton(button, BN_CLICKED);
    clickButton(button, BN_DOUBLECLICKED);
}

void headless_post_click(HWND window, int x, int y) {
    PostMessageA(window, WM_LBUTTONDOWN, 0x0001, MAKELPARAM(x, y));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void headless_post_key(HWND window, int virtualKey) {
    PostMessageA(window, WM_KEYDOWN, static_cast<WPARAM>(virtualKey), 1);
}

void headless_type(HWND edit, const std::string& text) {
    std::size_t room = static_cast<std::size_t>(editLimit(edit)) - std::min(edit->text.size(),
                                                                           static_cast<std::size_t>(editLimit(edit)));
    edit->text += text.substr(0, room);
}

void headless_pump() {
    MSG msg;
    while (!world().queue.empty()) {
        msg = world().queue.front();
        world().queue.pop_front();
        DispatchMessageA(&msg);
    }
}

// ---------------------------------------------------------------- module and memory

DWORD GetModuleFileNameW(HMODULE, LPWSTR buffer, DWORD size) {
    const std::string& path = world().modulePath;
    if (size == 0) return 0;
    // Too small: truncated, terminated, and the full buffer size returned.
    const DWORD copied = std::min<DWORD>(static_cast<DWORD>(path.size()), size - 1);
    std::transform(path.begin(), path.begin() + copied, buffer, [](char c) { return static_cast<unsigned char>(c); });
    buffer[copied] = L'\0';
    world().lastError = copied < path.size() ? ERROR_INSUFFICIENT_BUFFER : 0;
    return copied < path.size() ? size : copied;
}

HMODULE GetModuleHandleA(LPCSTR) { return kModule; }
DWORD GetLastError() { return world().lastError; }

int GetSystemMetrics(int index) {
    if (index == SM_CXSCREEN) return world().screenWidth;
    if (index == SM_CYSCREEN) return world().screenHeight;
    return 0;
}

BOOL SystemParametersInfoW(UINT action, UINT, LPVOID value, UINT) {
    if (action != SPI_GETWORKAREA) return FALSE;
    *static_cast<RECT*>(value) = RECT{0, 0, world().screenWidth, world().screenHeight};
    return TRUE;
}

DWORD GetEnvironmentVariableW(LPCWSTR name, LPWSTR buffer, DWORD size) {
    const char* value = std::getenv(narrowed(name).c_str());
    if (!value) return 0;
    const DWORD length = static_cast<DWORD>(std::strlen(value));
    if (length >= size) return length + 1;  // too small: the size it needs
    MultiByteToWideChar(CP_UTF8, 0, value, static_cast<int>(length) + 1, buffer, static_cast<int>(size));
    return length;
}

int MultiByteToWideChar(UINT, DWORD, LPCSTR text, int size, LPWSTR wide, int wideSize) {
    if (wide && wideSize < size) return 0;
    if (wide) std::transform(text, text + size, wide, [](char c) { return static_cast<unsigned char>(c); });
    return size;
}

int WideCharToMultiByte(UINT, DWORD, LPCWSTR wide, int wideSize, LPSTR text, int size, LPCSTR, BOOL*) {
    if (text && size < wideSize) return 0;
    if (text) std::transform(wide, wide + wideSize, text, [](wchar_t c) { return static_cast<char>(c); });
    return wideSize;
}

HGLOBAL GlobalAlloc(UINT, std::size_t bytes) { return std::calloc(bytes ? bytes : 1, 1); }

HGLOBAL GlobalFree(HGLOBAL memory) {
    std::free(memory);
    return nullptr;
}

// ---------------------------------------------------------------- files

namespace {

BOOL failWith(DWORD error) {
    world().lastError = error;
    return FALSE;
}

DWORD errorFromErrno(int error) {
    if (error == ENOENT) return ERROR_FILE_NOT_FOUND;
    if (error == ENOTDIR) return ERROR_PATH_NOT_FOUND;
    return ERROR_ACCESS_DENIED;
}

}  // namespace

// A file without the owner's write permission counts as read-only, as the
// read-only attribute would on Windows (root's privileges notwithstanding).
DWORD GetFileAttributesW(LPCWSTR path) {
    struct stat info;
    if (stat(narrowed(path).c_str(), &info) != 0) {
        failWith(errorFromErrno(errno));
        return INVALID_FILE_ATTRIBUTES;
    }
    world().lastError = 0;
    DWORD readOnly = (info.st_mode & S_IWUSR) ? 0 : FILE_ATTRIBUTE_READONLY;
    if (S_ISDIR(info.st_mode)) return FILE_ATTRIBUTE_DIRECTORY | readOnly;
    return readOnly ? readOnly : FILE_ATTRIBUTE_NORMAL;
}

// POSIX rename replaces its target atomically, as MOVEFILE_REPLACE_EXISTING
// does; like Win32 it is refused without that flag, and a folder or a
// read-only file is never replaced.
BOOL MoveFileExW(LPCWSTR existing, LPCWSTR target, DWORD flags) {
    DWORD attributes = GetFileAttributesW(target);
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (!(flags & MOVEFILE_REPLACE_EXISTING)) return failWith(ERROR_ALREADY_EXISTS);
        if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return failWith(ERROR_ACCESS_DENIED);
    }
    if (std::rename(narrowed(existing).c_str(), narrowed(target).c_str()) != 0) return failWith(errorFromErrno(errno));
    world().lastError = 0;
    return TRUE;
}

namespace {

// Windows makes nothing in a folder the user may not write; root could.
bool inReadOnlyFolder(const std::string& name) {
    const std::size_t separator = name.find_last_of('/');
    struct stat folder;
    return stat(separator == std::string::npos ? "." : name.substr(0, separator + 1).c_str(), &folder) == 0 &&
           !(folder.st_mode & S_IWUSR);
}

}  // namespace

BOOL CreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES) {
    if (inReadOnlyFolder(narrowed(path))) return failWith(ERROR_ACCESS_DENIED);
    if (mkdir(narrowed(path).c_str(), 0777) != 0) return failWith(errno == EEXIST ? ERROR_ALREADY_EXISTS : errorFromErrno(errno));
    world().lastError = 0;
    return TRUE;
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
    if (descriptor < 0) {
        failWith(errno == EEXIST ? ERROR_FILE_EXISTS : errorFromErrno(errno));
        return INVALID_HANDLE_VALUE;
    }
    close(descriptor);
    world().openFiles.push_back({name, (flags & FILE_FLAG_DELETE_ON_CLOSE) != 0});
    world().lastError = 0;
    return &world().openFiles.back();
}

BOOL CloseHandle(HANDLE handle) {
    auto& files = world().openFiles;
    auto file = std::find_if(files.begin(), files.end(), [&](const OpenFile& f) { return &f == handle; });
    if (file == files.end()) return FALSE;
    if (file->deleteOnClose) unlink(file->name.c_str());
    files.erase(file);
    return TRUE;
}

DWORD GetShortPathNameW(LPCWSTR longPath, LPWSTR shortPath, DWORD size) {
    const std::wstring name(longPath);
    if (name.size() >= size) return static_cast<DWORD>(name.size() + 1);  // too small: the size it needs
    std::copy(name.c_str(), name.c_str() + name.size() + 1, shortPath);
    return static_cast<DWORD>(name.size());
}

// ---------------------------------------------------------------- classes and windows

ATOM RegisterClassExA(const WNDCLASSEXA* wc) {
    std::string name = textOf(wc->lpszClassName);
    bool failing = std::find(world().failingClasses.begin(), world().failingClasses.end(), name) !=
                   world().failingClasses.end();
    if (failing || findClass(name) || wc->cbSize != sizeof(WNDCLASSEXA)) return 0;
    world().classes.push_back({name, *wc});
    return static_cast<ATOM>(0xC000 + world().classes.size());
}

HWND CreateWindowExA(DWORD, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE, LPVOID) {
    std::string name = textOf(className);
    const HeadlessClass* registered = findClass(name);
    if (!registered && !isSystemControlClass(name)) return nullptr;
    bool child = (style & WS_CHILD) != 0;
    if (child && !isLive(parent)) return nullptr;
    world().windows.push_back(std::make_unique<HWND__>());
    HWND hwnd = world().windows.back().get();
    hwnd->className = name;
    hwnd->text = textOf(title);
    hwnd->style = style;
    hwnd->x = x;
    hwnd->y = y;
    hwnd->width = width;
    hwnd->height = height;
    hwnd->parent = child ? parent : nullptr;
    hwnd->owner = child ? nullptr : parent;
    hwnd->id = child ? static_cast<int>(reinterpret_cast<UINT_PTR>(menu)) : 0;
    hwnd->proc = registered ? registered->fields.lpfnWndProc : nullptr;
    hwnd->visible = (style & WS_VISIBLE) != 0;
    invalidate(hwnd);
    if (hwnd->proc) SendMessageA(hwnd, WM_CREATE, 0, 0);
    return hwnd;
}

BOOL IsWindow(HWND hwnd) { return isLive(hwnd); }

BOOL DestroyWindow(HWND hwnd) {
    if (!isLive(hwnd)) return FALSE;
    // Owned windows go first, then the window itself, then its children.
    for (HWND other : headless_windows())
        if (other->owner == hwnd && !other->destroyed) DestroyWindow(other);
    SendMessageA(hwnd, WM_DESTROY, 0, 0);
    for (HWND other : headless_windows())
        if (other->parent == hwnd && !other->destroyed) DestroyWindow(other);
    markDestroyed(hwnd);
    return TRUE;
}

BOOL ShowWindow(HWND hwnd, int command) {
    if (!isLive(hwnd)) return FALSE;
    BOOL wasVisible = hwnd->visible;
    if (!wasVisible && command != SW_HIDE) invalidate(hwnd);
    switch (command) {
    case SW_HIDE:
        hwnd->visible = false;
        break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
        hwnd->visible = true;
        hwnd->minimized = true;
        break;
    case SW_SHOWNORMAL:
        hwnd->visible = true;
        hwnd->minimized = false;
        break;
    default:
        hwnd->visible = true;
        break;
    }
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
    hwnd->x = x;
    hwnd->y = y;
    hwnd->width = width;
    hwnd->height = height;
    if (repaint) invalidate(hwnd);
    world().moves.push_back({hwnd, x, y, width, height, repaint});
    return TRUE;
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
    if (!isLive(hwnd)) return FALSE;
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
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
    return previous;
}

HWND GetFocus() { return world().focus; }

HWND GetDlgItem(HWND parent, int id) {
    for (auto& w : world().windows)
        if (w->parent == parent && w->id == id && !w->destroyed) return w.get();
    return nullptr;
}

BOOL SetDlgItemTextA(HWND parent, int id, LPCSTR text) {
    HWND item = GetDlgItem(parent, id);
    if (!item) return FALSE;
    return static_cast<BOOL>(SendMessageA(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

UINT GetDlgItemTextA(HWND parent, int id, LPSTR buffer, int size) {
    HWND item = GetDlgItem(parent, id);
    if (!item || size <= 0) {
        if (size > 0) buffer[0] = '\0';
        return 0;
    }
    return static_cast<UINT>(GetWindowTextA(item, buffer, size));
}

int GetWindowTextLengthA(HWND hwnd) {
    return isLive(hwnd) ? static_cast<int>(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0)) : 0;
}

int GetWindowTextA(HWND hwnd, LPSTR buffer, int size) {
    if (!isLive(hwnd) || size <= 0) return 0;
    return static_cast<int>(SendMessageA(hwnd, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

BOOL SetWindowTextA(HWND hwnd, LPCSTR text) {
    if (!isLive(hwnd)) return FALSE;
    return static_cast<BOOL>(SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

HWND FindWindowA(LPCSTR className, LPCSTR title) {
    for (auto& w : world().windows) {
        if (w->destroyed || (w->style & WS_CHILD)) continue;
        if (className && strcasecmp(w->className.c_str(), className) != 0) continue;
        if (title && strcasecmp(w->text.c_str(), title) != 0) continue;
        return w.get();
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
    if (hwnd && !isLive(hwnd)) return FALSE;
    world().queue.push_back(MSG{hwnd, message, wParam, lParam, 0, {0, 0}});
    return TRUE;
}

// Like Win32, a flag rather than a queued message: it comes out after every
// posted message, whenever it was asked for.
void PostQuitMessage(int exitCode) {
    world().quit = true;
    world().exitCode = exitCode;
}

namespace {

BOOL handOut(LPMSG msg, HWND hwnd, UINT message, WPARAM wParam) {
    *msg = MSG{hwnd, message, wParam, 0, 0, {0, 0}};
    return message != WM_QUIT;
}

}  // namespace

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
            w.quit = false;
            return handOut(msg, nullptr, WM_QUIT, static_cast<WPARAM>(w.exitCode));
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
    if (!isLive(msg->hwnd)) return 0;
    return SendMessageA(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(hwnd, &paint);
        EndPaint(hwnd, &paint);
        return 0;
    }
    case WM_SETTEXT:
        hwnd->text = textOf(reinterpret_cast<LPCSTR>(lParam));
        return TRUE;
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(hwnd->text.size());
    case WM_GETTEXT: {
        if (wParam == 0) return 0;
        std::size_t count = std::min<std::size_t>(wParam - 1, hwnd->text.size());
        std::memcpy(reinterpret_cast<char*>(lParam), hwnd->text.data(), count);
        reinterpret_cast<char*>(lParam)[count] = '\0';
        return static_cast<LRESULT>(count);
    }
    default:
        return 0;
    }
}

// ---------------------------------------------------------------- resources and GDI

HICON LoadIconA(HINSTANCE instance, LPCSTR name) { return newIcon(resourceNumber(name), instance == nullptr, 32, 32); }
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) { return newIcon(resourceNumber(name), instance == nullptr, 32, 32); }

HANDLE LoadImageA(HINSTANCE, LPCSTR name, UINT type, int width, int height, UINT) {
    int id = resourceNumber(name);
    if (type == IMAGE_ICON) return newIcon(id, false, width, height);
    auto found = world().bitmaps.find(id);
    if (type != IMAGE_BITMAP || found == world().bitmaps.end()) return nullptr;
    HGDIOBJ bitmap = newObject(HGDIOBJ__::Bitmap);
    bitmap->resourceId = id;
    bitmap->width = found->second.first;
    bitmap->height = found->second.second;
    return bitmap;
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
    if (!bitmap || bitmap->deleted || bitmap->kind != HGDIOBJ__::Bitmap) return nullptr;
    HGDIOBJ brush = newObject(HGDIOBJ__::Brush);
    brush->resourceId = bitmap->resourceId;
    brush->width = bitmap->width;
    brush->height = bitmap->height;
    return brush;
}

HFONT CreateFontA(int, int, int, int, int, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, LPCSTR) {
    return newObject(HGDIOBJ__::Font);
}

HGDIOBJ GetStockObject(int index) {
    auto& slot = world().stock[index];
    if (!slot) {
        slot = std::make_unique<HGDIOBJ__>();
        slot->kind = index == DEFAULT_GUI_FONT ? HGDIOBJ__::Font : HGDIOBJ__::Brush;
        slot->stock = true;
        slot->resourceId = index;
    }
    return slot.get();
}

BOOL DeleteObject(HGDIOBJ object) {
    if (!object || object->deleted) return FALSE;
    if (!object->stock) object->deleted = true;
    return TRUE;
}

int GetObjectA(HGDIOBJ object, int size, LPVOID out) {
    if (!object || object->deleted || object->kind != HGDIOBJ__::Bitmap || size < static_cast<int>(sizeof(BITMAP)))
        return 0;
    BITMAP info{};
    info.bmWidth = object->width;
    info.bmHeight = object->height;
    info.bmWidthBytes = ((object->width * 24 + 31) / 32) * 4;
    info.bmPlanes = 1;
    info.bmBitsPixel = 24;
    std::memcpy(out, &info, sizeof info);
    return static_cast<int>(sizeof info);
}

HDC CreateCompatibleDC(HDC) { return newDC(true); }

BOOL DeleteDC(HDC dc) {
    if (!dc || dc->deleted) return FALSE;
    dc->deleted = true;
    return TRUE;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    if (!dc || dc->deleted || !object) return nullptr;
    HGDIOBJ previous = dc->selected ? dc->selected : GetStockObject(WHITE_BRUSH);
    dc->selected = object;
    return previous;
}

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int, int, int srcWidth, int srcHeight,
                DWORD rop) {
    if (!dest || !src || src->deleted || !src->selected || src->selected->kind != HGDIOBJ__::Bitmap) return FALSE;
    world().blits.push_back({dest, {x, y, width, height}, src->selected->resourceId, srcWidth, srcHeight, rop});
    return TRUE;
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
    COLORREF previous = dc->textColor;
    dc->textColor = color;
    return previous;
}

int SetBkMode(HDC dc, int mode) {
    int previous = dc->bkMode;
    dc->bkMode = mode;
    return previous;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
    hwnd->invalid = false;
    *paint = PAINTSTRUCT{newDC(false), FALSE, {0, 0, hwnd->width, hwnd->height}};
    return paint->hdc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* paint) { return DeleteDC(paint->hdc); }

// ---------------------------------------------------------------- sound, boxes, shell

BOOL PlaySoundA(LPCSTR sound, HMODULE, DWORD flags) {
    world().cues.push_back({HeadlessCue::Sound, resourceNumber(sound), flags});
    return TRUE;
}

BOOL MessageBeep(UINT type) {
    world().cues.push_back({HeadlessCue::Beep, static_cast<int>(type), 0});
    return TRUE;
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    world().boxes.push_back({owner, textOf(text), textOf(caption), type});
    return IDOK;
}

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    return MessageBoxA(owner, narrowed(text).c_str(), narrowed(caption).c_str(), type);
}

HINSTANCE ShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory, int show) {
    world().shellCalls.push_back(
        {owner, narrowed(verb), narrowed(file), narrowed(parameters), narrowed(directory), show});
    return reinterpret_cast<HINSTANCE>(world().shellResult);
}
