// The functions of winmm.dll and shell32.dll that the game calls, loaded when
// first called. Each is looked up once; when its DLL or the function cannot be
// had, the call fails as the function itself fails.
#include "platform/win32.h"

#include <string>

// Here the names stand for the system's own functions again.
#undef PlaySoundA
#undef ShellExecuteW

namespace {

// From the system folder by its full name, so that a file of the same name
// beside the program is never loaded in its place.
HMODULE loadSystemLibrary(const wchar_t* name) {
    std::wstring path(MAX_PATH, L'\0');
    UINT length = GetSystemDirectoryW(&path[0], MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    path.resize(length);
    return LoadLibraryW((path + L"\\" + name).c_str());
}

// The function, or null. The library stays loaded for the rest of the run.
template <typename Function>
Function systemFunction(const wchar_t* library, const char* name) {
    HMODULE module = loadSystemLibrary(library);
    FARPROC found = module ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

}  // namespace

BOOL OnDemandPlaySoundA(LPCSTR sound, HMODULE module, DWORD flags) {
    static const auto play = systemFunction<decltype(&PlaySoundA)>(L"winmm.dll", "PlaySoundA");
    return play ? play(sound, module, flags) : FALSE;
}

// Without shell32 nothing can be opened: the caller sees ShellExecuteW's own failure.
HINSTANCE OnDemandShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                                INT show) {
    static const auto open = systemFunction<decltype(&ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
    if (!open) return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_DLLNOTFOUND));
    return open(owner, verb, file, parameters, directory, show);
}
