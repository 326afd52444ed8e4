// A small in-memory stand-in for the Win32 calls the game makes, so that the
// game can be built and tested natively. It is a test double, not a GUI:
// windows are records, messages go through an in-process queue, and what a
// player would see and hear (texts, windows shown, hidden and moved, focus,
// sounds, beeps, message boxes, shell calls, button faces) goes into one
// ordered log for tests to read (see headless_records.h). Types and constants
// keep their Win32 names and values; the constants are typed constants, not
// macros, so #ifdef does not see them.
//
// Where it differs from Win32 in ways a test could trip on:
// - Of the messages Win32 sends by itself only WM_CREATE, WM_DESTROY and
//   WM_PAINT come (no WM_NCCREATE, WM_SHOWWINDOW, WM_MOVE, WM_SIZE,
//   WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS, WM_ERASEBKGND). Controls paint
//   only when their parent's EndPaint is called (then each visible owner-drawn
//   button asks for WM_DRAWITEM and each static or edit control for
//   WM_CTLCOLORSTATIC or WM_CTLCOLOREDIT), and a button also when clicked.
// - Input comes only from tests, straight to the window named (mouse and key
//   messages sent to it, or the headless_ helpers): a click is not hit-tested
//   against child windows, a key does not go to the window with the focus,
//   and TranslateMessage makes no WM_CHAR. Typing appends to an edit's text;
//   there is no caret or selection, so WM_CLEAR does nothing.
// - A window is invalidated only by being shown or by MoveWindow with repaint,
//   and only windows of registered classes are painted. Where Win32 would send
//   WM_PAINT for ever to a window that its WM_PAINT leaves invalid,
//   GetMessageA ends the loop with HEADLESS_NEVER_PAINTED; when nothing at all
//   is left to do it ends it with HEADLESS_STARVED instead of waiting.
// - Windows have no frame or caption, so a client area is the whole window.
//   Minimising changes no coordinates and leaves the owned windows alone.
// - DefWindowProcA knows only the text messages.
// - GDI draws nothing: every bitmap id loads, as a 1 x 1 bitmap, a bitmap
//   static keeps the size it was created with, and fonts and pictures are
//   accepted and ignored. SetTextColor keeps no colour. Icons and cursors load
//   as null and are not GDI objects here.
// - GDI counts what is alive (headless_live_gdi): bitmaps, brushes, fonts and
//   contexts, until DeleteObject, DeleteDC or EndPaint; the contexts the
//   system lends for WM_DRAWITEM and WM_CTLCOLOR* go back after the message.
//   As in Win32, an object selected into a live context is not deleted,
//   deleting a context deselects what it holds, and stock objects are not
//   counted. Unlike Win32 there is no limit of 10,000 objects, a bitmap may be
//   selected into two contexts at once, DeleteDC takes any context, and no
//   handle is reused: a deleted one stays dead. Nothing is freed when the
//   program ends, so what it never deleted stays counted.
// - MessageBoxA/W return at once, with no modal loop and nothing disabled: the
//   answer a test gives (headless_set_box_answer), else IDCANCEL for a box
//   with Retry and Cancel, so that no retry loop can hang a test, and IDOK
//   for any other. ShellExecuteW starts nothing; PlaySoundA and MessageBeep
//   only record.
// - Sleep returns at once; it only notes the time asked for (headless_sleeps).
// - Files are the real file system; a file or folder without the owner's
//   write permission counts as read-only, and CreateFileW makes no new file in
//   such a folder. CreateFileW knows only CREATE_NEW, and the handle serves
//   only CloseHandle. A file another program holds (headless_hold_file) is
//   held only against MoveFileExW onto it: streams still read and write it.
// - Wide text is the narrow text's bytes one to one: MultiByteToWideChar and
//   WideCharToMultiByte copy bytes instead of decoding UTF-8, and the W calls
//   narrow their names back the same way, so any name round-trips.
// - The work area is the whole screen. Files have no short names:
//   GetShortPathNameW gives the name it is given.
#pragma once

#include <cstddef>
#include <cstdint>

// ---- Basic types ----
typedef int BOOL, LONG;
typedef unsigned char BYTE;
typedef unsigned short WORD, ATOM;
typedef unsigned int UINT;
typedef std::uint32_t DWORD, COLORREF;
typedef std::intptr_t INT_PTR, LONG_PTR, LPARAM, LRESULT;
typedef std::uintptr_t UINT_PTR, WPARAM;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef wchar_t* LPWSTR;
typedef const wchar_t* LPCWSTR;
typedef void *LPVOID, *HANDLE, *HGLOBAL;
typedef struct _SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;

#define WINAPI
#define CALLBACK
#define TRUE 1
#define FALSE 0

// Distinct handle types, as with STRICT in the SDK.
typedef struct HWND__* HWND;
typedef struct HINSTANCE__ *HINSTANCE, *HMODULE;
typedef struct HMENU__* HMENU;
typedef struct HDC__* HDC;
typedef struct HICON__ *HICON, *HCURSOR;
// GDI objects share one record type so that SelectObject/DeleteObject take any of them.
typedef struct HGDIOBJ__ *HGDIOBJ, *HBITMAP, *HBRUSH, *HFONT;

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);

struct RECT { LONG left, top, right, bottom; };
struct POINT { LONG x, y; };
typedef RECT* LPRECT;
typedef POINT* LPPOINT;
struct MSG { HWND hwnd; UINT message; WPARAM wParam; LPARAM lParam; DWORD time; POINT pt; };
typedef MSG* LPMSG;
struct PAINTSTRUCT { HDC hdc; BOOL fErase; RECT rcPaint; };

struct WNDCLASSEXA {
    UINT cbSize; UINT style; WNDPROC lpfnWndProc; int cbClsExtra; int cbWndExtra; HINSTANCE hInstance;
    HICON hIcon; HCURSOR hCursor; HBRUSH hbrBackground; LPCSTR lpszMenuName; LPCSTR lpszClassName;
    HICON hIconSm;
};

struct DRAWITEMSTRUCT {
    UINT CtlType; UINT CtlID; UINT itemID; UINT itemAction; UINT itemState; HWND hwndItem; HDC hDC;
    RECT rcItem; UINT_PTR itemData;
};

struct BITMAP {
    LONG bmType; LONG bmWidth; LONG bmHeight; LONG bmWidthBytes; WORD bmPlanes; WORD bmBitsPixel;
    LPVOID bmBits;
};

// ---- Macros ----
#define LOWORD(l) ((WORD)(((UINT_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((UINT_PTR)(l)) >> 16) & 0xffff))
#define MAKELONG(a, b) ((LONG)(((WORD)(((UINT_PTR)(a)) & 0xffff)) | ((DWORD)((WORD)(((UINT_PTR)(b)) & 0xffff))) << 16))
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))
#define MAKEINTRESOURCEA(i) ((LPSTR)((UINT_PTR)((WORD)(i))))
#define IS_INTRESOURCE(r) ((((UINT_PTR)(r)) >> 16) == 0)
#define RGB(r, g, b) ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define IDI_APPLICATION MAKEINTRESOURCEA(32512)
#define IDC_ARROW MAKEINTRESOURCEA(32512)
#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)

// ---- Constants, of the type of the SDK's literals: long where it writes an L, int otherwise ----
// Messages and notifications
constexpr int WM_CREATE = 0x0001, WM_DESTROY = 0x0002, WM_SETTEXT = 0x000C, WM_GETTEXT = 0x000D,
    WM_GETTEXTLENGTH = 0x000E, WM_PAINT = 0x000F, WM_CLOSE = 0x0010, WM_QUIT = 0x0012, WM_ENDSESSION = 0x0016,
    WM_DRAWITEM = 0x002B, WM_SETFONT = 0x0030, WM_KEYDOWN = 0x0100, WM_COMMAND = 0x0111,
    WM_CTLCOLOREDIT = 0x0133, WM_CTLCOLORSTATIC = 0x0138, WM_LBUTTONDOWN = 0x0201, WM_LBUTTONUP = 0x0202,
    WM_CLEAR = 0x0303, EM_LIMITTEXT = 0x00C5, STM_SETIMAGE = 0x0172, BN_CLICKED = 0, BN_DOUBLECLICKED = 5;
// Window and control styles, showing, owner drawing
constexpr long WS_POPUP = 0x80000000L, WS_CHILD = 0x40000000L, WS_VISIBLE = 0x10000000L, WS_SYSMENU = 0x00080000L,
    BS_OWNERDRAW = 0x0000000BL, SS_CENTER = 0x00000001L, SS_SIMPLE = 0x0000000BL, SS_BITMAP = 0x0000000EL,
    SS_NOPREFIX = 0x00000080L, ES_LEFT = 0x0000L;
constexpr int CS_VREDRAW = 0x0001, CS_HREDRAW = 0x0002, GW_OWNER = 4;
constexpr int SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOWMINIMIZED = 2, SW_SHOW = 5, SW_MINIMIZE = 6;
constexpr int ODT_BUTTON = 4, ODA_DRAWENTIRE = 0x0001, ODA_SELECT = 0x0002, ODS_SELECTED = 0x0001;
// GDI, the screen, keys
constexpr int SRCCOPY = 0x00CC0020, TRANSPARENT = 1, OPAQUE = 2, LTGRAY_BRUSH = 1, DEFAULT_GUI_FONT = 17,
    FW_BOLD = 700, ANSI_CHARSET = 0, OUT_DEFAULT_PRECIS = 0, CLIP_DEFAULT_PRECIS = 0, DEFAULT_QUALITY = 0,
    FIXED_PITCH = 1, FF_MODERN = 3 << 4, IMAGE_BITMAP = 0, IMAGE_ICON = 1, LR_DEFAULTCOLOR = 0x0000,
    LR_CREATEDIBSECTION = 0x2000;
constexpr int SM_CXSCREEN = 0, SM_CYSCREEN = 1, SPI_GETWORKAREA = 0x0030;
constexpr int VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28;
// Sounds, message boxes, memory
constexpr int SND_ASYNC = 0x0001, SND_NODEFAULT = 0x0002, IDOK = 1, IDCANCEL = 2, IDRETRY = 4;
constexpr long SND_RESOURCE = 0x00040004L, MB_OK = 0x00000000L, MB_RETRYCANCEL = 0x00000005L,
    MB_ICONWARNING = 0x00000030L, MB_TASKMODAL = 0x00002000L, MB_TOPMOST = 0x00040000L;
constexpr int GMEM_FIXED = 0x0000, GMEM_ZEROINIT = 0x0040, GPTR = GMEM_FIXED | GMEM_ZEROINIT;
// Files, text and errors
constexpr long GENERIC_WRITE = 0x40000000L;
constexpr int CP_UTF8 = 65001, CREATE_NEW = 1, FILE_ATTRIBUTE_READONLY = 0x00000001,
    FILE_ATTRIBUTE_DIRECTORY = 0x00000010, FILE_ATTRIBUTE_NORMAL = 0x00000080, FILE_ATTRIBUTE_TEMPORARY = 0x00000100,
    FILE_FLAG_DELETE_ON_CLOSE = 0x04000000, MOVEFILE_REPLACE_EXISTING = 0x00000001, MOVEFILE_WRITE_THROUGH = 0x00000008;
constexpr DWORD INVALID_FILE_ATTRIBUTES = (DWORD)-1;
constexpr int ERROR_FILE_NOT_FOUND = 2, ERROR_PATH_NOT_FOUND = 3, ERROR_ACCESS_DENIED = 5,
    ERROR_SHARING_VIOLATION = 32, ERROR_LOCK_VIOLATION = 33, ERROR_FILE_EXISTS = 80, ERROR_INSUFFICIENT_BUFFER = 122,
    ERROR_ALREADY_EXISTS = 183;

// ---- Functions ----
// Module and process
HMODULE GetModuleHandleA(LPCSTR name);
DWORD GetLastError();
void Sleep(DWORD milliseconds);
int GetSystemMetrics(int index);
HGLOBAL GlobalAlloc(UINT flags, std::size_t bytes);
HGLOBAL GlobalFree(HGLOBAL memory);

// Classes and windows
ATOM RegisterClassExA(const WNDCLASSEXA* wc);
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);
BOOL ShowWindow(HWND hwnd, int command);
BOOL UpdateWindow(HWND hwnd);
BOOL IsWindowVisible(HWND hwnd);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL GetWindowRect(HWND hwnd, LPRECT rect);
BOOL ClientToScreen(HWND hwnd, LPPOINT point);
BOOL PtInRect(const RECT* rect, POINT point);
HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND GetDlgItem(HWND parent, int id);
BOOL SetDlgItemTextA(HWND parent, int id, LPCSTR text);
UINT GetDlgItemTextA(HWND parent, int id, LPSTR buffer, int size);
int GetWindowTextLengthA(HWND hwnd);
int GetWindowTextA(HWND hwnd, LPSTR buffer, int size);
BOOL SetWindowTextA(HWND hwnd, LPCSTR text);
HWND FindWindowA(LPCSTR className, LPCSTR title);
HWND GetWindow(HWND hwnd, UINT relation);

// Messages
LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
BOOL GetMessageA(LPMSG msg, HWND hwnd, UINT first, UINT last);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageA(const MSG* msg);
LRESULT DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Resources and GDI
HICON LoadIconA(HINSTANCE instance, LPCSTR name);
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int width, int height, UINT flags);
HBRUSH CreatePatternBrush(HBITMAP bitmap);
HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCSTR face);
HGDIOBJ GetStockObject(int index);
BOOL DeleteObject(HGDIOBJ object);
int GetObjectA(HGDIOBJ object, int size, LPVOID out);
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                int srcHeight, DWORD rop);
COLORREF SetTextColor(HDC dc, COLORREF color);
int SetBkMode(HDC dc, int mode);
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);

// Sound, beeps, message boxes, shell
BOOL PlaySoundA(LPCSTR sound, HMODULE module, DWORD flags);
BOOL MessageBeep(UINT type);
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// Files, module and shell: the real file system, with the Win32 rules for replacing a file
DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size);
BOOL SystemParametersInfoW(UINT action, UINT parameter, LPVOID value, UINT winIni);
DWORD GetEnvironmentVariableW(LPCWSTR name, LPWSTR buffer, DWORD size);
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int size, LPWSTR wide, int wideSize);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideSize, LPSTR text, int size,
                        LPCSTR defaultChar, BOOL* usedDefault);
DWORD GetFileAttributesW(LPCWSTR path);
BOOL MoveFileExW(LPCWSTR existing, LPCWSTR target, DWORD flags);
BOOL CreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES security);
HANDLE CreateFileW(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security, DWORD disposition,
                   DWORD flags, HANDLE templateFile);
BOOL CloseHandle(HANDLE handle);
DWORD GetShortPathNameW(LPCWSTR longPath, LPWSTR shortPath, DWORD size);
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
HINSTANCE ShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory, int show);

// The program's entry point, defined by the game; headless tests call it.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
