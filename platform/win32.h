// The one place where the program takes in the Win32 API.
// On Windows these are the SDK headers; elsewhere the in-memory stand-in
// under platform/headless, which lets the game logic run in native tests.
#pragma once

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>

// winmm.dll and shell32.dll, with the libraries they bring in, would cost the
// start-up 20 to 30 ms under Wine: they are loaded on the first sound and the
// first help press instead (platform/win32_on_demand.cpp). The game calls them
// by their own names.
BOOL OnDemandPlaySoundA(LPCSTR sound, HMODULE module, DWORD flags);
HINSTANCE OnDemandShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                                INT show);
#define PlaySoundA OnDemandPlaySoundA
#define ShellExecuteW OnDemandShellExecuteW
#else
#include "headless/headless.h"
#endif
