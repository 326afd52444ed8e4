#include "game/drawing.h"

#include "resource.h"

#include <iterator>

// Each owner-drawn button's normal and pressed face, from the buttons of the
// layout. Three buttons do not follow the id - 100 / id - 50 pattern of the
// others, so the pairs are looked up, not computed.
#define FACE(stem, normal, pressed) normal, pressed
#define FACE_OF_BUTTON(id, ...) {id, __VA_ARGS__},
#define FACE_OF_PICTURE(...)
#define FACE_OF_TEXT(...)
#define FACE_OF_NOPREFIX_TEXT(...)
#define FACE_OF_CENTRED(...)
#define FACE_OF_EDIT(...)
const ButtonFace kButtonFaces[] = {
#define CONTROL(id, window, x, y, width, height, kind, handle, font, limit, text, face) FACE_OF_##kind(id, face)
#include "app/layout.def"
#undef CONTROL
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
    // DeleteObject refuses a bitmap still selected into a live context.
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
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
