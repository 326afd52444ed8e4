#include "game/drawing.h"

#include "resource.h"

#include <iterator>

// Each owner-drawn button's normal and pressed face. Three buttons do not
// follow the id - 100 / id - 50 pattern of the others, so this stays a table.
const ButtonFace kButtonFaces[] = {
    {IDC_PLAYER_ONE, IDB_PLAYER_ONE, IDB_PLAYER_ONE_DOWN},
    {IDC_PLAYER_TWO, IDB_PLAYER_TWO, IDB_PLAYER_TWO_DOWN},
    {IDC_RESET_STATS, IDB_RESET_STATS, IDB_RESET_STATS_DOWN},
    {IDC_SOUND, IDB_SOUND, IDB_SOUND_DOWN},
    {IDC_BALLOON_MODE, IDB_BALLOON_MODE, IDB_BALLOON_MODE_DOWN},
    {IDC_NEW_PUZZLE, IDB_NEW_PUZZLE, IDB_NEW_PUZZLE_DOWN},
    {IDC_SOLUTION, IDB_SOLUTION, IDB_SOLUTION_DOWN},
    {IDC_HINTS, IDB_HINTS, IDB_HINTS_DOWN},
    {IDC_MINIMISE, IDB_MINIMISE, IDB_MINIMISE_DOWN},
    {IDC_HELP_ME, IDB_HELP, IDB_HELP_DOWN},
    {IDC_CLOSE, IDB_CLOSE, IDB_CLOSE_DOWN},
    {IDC_SOLVE_PUZZLE, IDB_SOLVE_PUZZLE, IDB_SOLVE_PUZZLE_DOWN},
    {IDC_QUIT, IDB_QUIT, IDB_QUIT_DOWN},
    {IDC_ADD_PUZZLE, IDB_ADD_PUZZLE, IDB_ADD_PUZZLE_DOWN},
    {IDC_CONSOLE, IDB_CONSOLE, IDB_CONSOLE_DOWN},
    {IDC_DELETE, IDB_DELETE, IDB_DELETE_DOWN},
    {IDC_REVIEW, IDB_REVIEW, IDB_REVIEW_DOWN},
};
const int kButtonFaceCount = static_cast<int>(std::size(kButtonFaces));

namespace {

const ButtonFace* faceOf(int buttonId) {
    for (const ButtonFace& face : kButtonFaces)
        if (face.buttonId == buttonId) return &face;
    return nullptr;
}

}  // namespace

// Loads the face afresh, stretches it over the whole button and frees it.
void DrawButton(WPARAM wParam, LPARAM lParam) {
    const ButtonFace* face = faceOf(LOWORD(wParam));
    const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (!face || !item) return;
    int bitmapId = (item->itemState & ODS_SELECTED) ? face->pressedBitmap : face->normalBitmap;
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId),
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap) return;
    BITMAP size{};
    GetObjectA(bitmap, sizeof size, &size);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    const RECT& r = item->rcItem;
    StretchBlt(item->hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, memory, 0, 0, size.bmWidth,
               size.bmHeight, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(bitmap);
}

HBRUSH ControlColours(HDC dc) {
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
}

// Nothing to draw: the class brush paints the background and every control
// paints itself. Validating stops further WM_PAINT messages.
void PaintWindow(HWND hwnd) {
    PAINTSTRUCT paint;
    BeginPaint(hwnd, &paint);
    EndPaint(hwnd, &paint);
}
