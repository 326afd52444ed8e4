// Button faces and control colours.
#pragma once

#include "platform/win32.h"

struct ButtonFace {
    int buttonId;
    int normalBitmap;
    int pressedBitmap;
};

extern const ButtonFace kButtonFaces[];
extern const int kButtonFaceCount;

void DrawButton(WPARAM wParam, LPARAM lParam);
HBRUSH ControlColours(HDC dc);
void PaintWindow(HWND hwnd);
