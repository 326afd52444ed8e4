// File names as the program keeps them, in UTF-8, and the forms they take on
// their way to the file system: wide characters for the Win32 calls, and a
// filesystem path for the file streams. So any name Windows allows works, a
// folder named outside the ANSI code page included.
#pragma once

#include <filesystem>
#include <string>

std::wstring WideName(const std::string& name);
std::string Utf8Name(const std::wstring& wide);
std::filesystem::path DiskPath(const std::string& name);
