// A small in-memory stand-in for the Win32 calls the game makes, so that the
// game can be built and tested natively. It is a test double, not a GUI:
// windows are records, messages go through an in-process queue, and what a
// player would see and hear (texts, windows shown, hidden and moved, focus,
// sounds, beeps, message boxes, shell calls, button faces) goes into one
// ordered log for tests to read (see headless_records.h). Types and constants
// keep their Win32 names and values.
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
// - GDI draws nothing and frees nothing: every bitmap id loads, as a 1 x 1
//   bitmap, a bitmap static keeps the size it was created with, and fonts and
//   pictures are accepted and ignored. SetTextColor keeps no colour. Icons
//   and cursors load as null.
// - MessageBoxA/W return IDOK at once, with no modal loop; ShellExecuteW starts
//   nothing; PlaySoundA and MessageBeep only record.
// - Files are the real file system; a file or folder without the owner's
//   write permission counts as read-only, and CreateFileW makes no new file in
//   such a folder. CreateFileW knows only CREATE_NEW, and the handle serves
//   only CloseHandle.
// - Wide text is the narrow text's bytes one to one: MultiByteToWideChar and
//   WideCharToMultiByte copy bytes instead of decoding UTF-8, and the W calls
//   narrow their names back the same way, so any name round-trips.
// - The work area is the whole screen. Files have no short names:
//   GetShortPathNameW gives the name it is given.
#pragma once

#include <cstddef>
#include <cstdint>

// ---- Basic types ----
typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef unsigned int UINT;
typedef std::uint32_t DWORD;
typedef int LONG;
typedef std::intptr_t INT_PTR;
typedef std::intptr_t LONG_PTR;
typedef std::uintptr_t UINT_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef WORD ATOM;
typedef DWORD COLORREF;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef wchar_t* LPWSTR;
typedef const wchar_t* LPCWSTR;
typedef void* LPVOID;
typedef void* HANDLE;
typedef struct _SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;

#define WINAPI
#define CALLBACK
#define TRUE 1
#define FALSE 0

// Distinct handle types, as with STRICT in the SDK.
#define HEADLESS_HANDLE(name) struct name##__; typedef struct name##__* name
HEADLESS_HANDLE(HWND);
HEADLESS_HANDLE(HINSTANCE);
HEADLESS_HANDLE(HMENU);
HEADLESS_HANDLE(HDC);
HEADLESS_HANDLE(HICON);
#undef HEADLESS_HANDLE
typedef HINSTANCE HMODULE;
typedef HICON HCURSOR;
typedef void* HGLOBAL;
// GDI objects share one record type so that SelectObject/DeleteObject take any of them.
struct HGDIOBJ__;
typedef HGDIOBJ__* HGDIOBJ;
typedef HGDIOBJ HBITMAP;
typedef HGDIOBJ HBRUSH;
typedef HGDIOBJ HFONT;

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);

struct RECT { LONG left, top, right, bottom; };
struct POINT { LONG x, y; };
typedef RECT* LPRECT;
typedef POINT* LPPOINT;

struct MSG {
    HWND hwnd; UINT message; WPARAM wParam; LPARAM lParam; DWORD time; POINT pt;
};
typedef MSG* LPMSG;

struct WNDCLASSEXA {
    UINT cbSize; UINT style; WNDPROC lpfnWndProc; int cbClsExtra; int cbWndExtra; HINSTANCE hInstance;
    HICON hIcon; HCURSOR hCursor; HBRUSH hbrBackground; LPCSTR lpszMenuName; LPCSTR lpszClassName;
    HICON hIconSm;
};

struct PAINTSTRUCT {
    HDC hdc; BOOL fErase; RECT rcPaint;
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

// ---- Messages ----
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_ENDSESSION 0x0016
#define WM_DRAWITEM 0x002B
#define WM_SETFONT 0x0030
#define WM_KEYDOWN 0x0100
#define WM_COMMAND 0x0111
#define WM_CTLCOLOREDIT 0x0133
#define WM_CTLCOLORSTATIC 0x0138
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_CLEAR 0x0303
#define EM_LIMITTEXT 0x00C5
#define STM_SETIMAGE 0x0172
#define BN_CLICKED 0
#define BN_DOUBLECLICKED 5

// ---- Window and control styles ----
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_VISIBLE 0x10000000L
#define WS_SYSMENU 0x00080000L
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define BS_OWNERDRAW 0x0000000BL
#define SS_CENTER 0x00000001L
#define SS_SIMPLE 0x0000000BL
#define SS_BITMAP 0x0000000EL
#define SS_NOPREFIX 0x00000080L
#define ES_LEFT 0x0000L

// ---- GetWindow ----
#define GW_OWNER 4

// ---- ShowWindow ----
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_SHOWMINIMIZED 2
#define SW_MINIMIZE 6
#define SW_SHOW 5

// ---- Owner drawing ----
#define ODT_BUTTON 4
#define ODA_DRAWENTIRE 0x0001
#define ODA_SELECT 0x0002
#define ODS_SELECTED 0x0001

// ---- GDI ----
#define SRCCOPY 0x00CC0020
#define TRANSPARENT 1
#define OPAQUE 2
#define LTGRAY_BRUSH 1
#define DEFAULT_GUI_FONT 17
#define FW_BOLD 700
#define ANSI_CHARSET 0
#define OUT_DEFAULT_PRECIS 0
#define CLIP_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY 0
#define FIXED_PITCH 1
#define FF_MODERN (3 << 4)
#define IMAGE_BITMAP 0
#define IMAGE_ICON 1
#define LR_DEFAULTCOLOR 0x0000
#define LR_CREATEDIBSECTION 0x2000

// ---- System metrics, icons, cursors ----
#define SM_CXSCREEN 0
#define SM_CYSCREEN 1
#define SPI_GETWORKAREA 0x0030
#define IDI_APPLICATION MAKEINTRESOURCEA(32512)
#define IDC_ARROW MAKEINTRESOURCEA(32512)

// ---- Keys ----
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28

// ---- Sounds, message boxes, memory ----
#define SND_ASYNC 0x0001
#define SND_NODEFAULT 0x0002
#define SND_RESOURCE 0x00040004L
#define MB_OK 0x00000000L
#define MB_ICONWARNING 0x00000030L
#define MB_TOPMOST 0x00040000L
#define IDOK 1
#define GMEM_FIXED 0x0000
#define GMEM_ZEROINIT 0x0040
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)
#define ERROR_INSUFFICIENT_BUFFER 122

// ---- Files and text ----
#define CP_UTF8 65001
#define GENERIC_WRITE 0x40000000L
#define CREATE_NEW 1
#define FILE_ATTRIBUTE_TEMPORARY 0x00000100
#define FILE_FLAG_DELETE_ON_CLOSE 0x04000000
#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)
#define ERROR_FILE_EXISTS 80
#define MOVEFILE_REPLACE_EXISTING 0x00000001
#define MOVEFILE_WRITE_THROUGH 0x00000008
#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#define ERROR_FILE_NOT_FOUND 2
#define ERROR_PATH_NOT_FOUND 3
#define ERROR_ACCESS_DENIED 5
#define ERROR_ALREADY_EXISTS 183

// ---- Functions ----
// Module and process
HMODULE GetModuleHandleA(LPCSTR name);
DWORD GetLastError();
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
