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
#else
#include "headless/headless.h"
#endif
