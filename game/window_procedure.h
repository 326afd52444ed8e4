#pragma once

#include "platform/win32.h"

// The one window procedure of both windows, the main window and the console.
LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
