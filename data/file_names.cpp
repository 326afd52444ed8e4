#include "data/file_names.h"

#include "platform/win32.h"

std::wstring WideName(const std::string& name) {
    if (name.empty()) return std::wstring();
    const int size = static_cast<int>(name.size());
    std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, name.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, name.data(), size, &wide[0], static_cast<int>(wide.size()));
    return wide;
}

std::string Utf8Name(const std::wstring& wide) {
    if (wide.empty()) return std::string();
    const int size = static_cast<int>(wide.size());
    std::string name(
        static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr)),
        '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, &name[0], static_cast<int>(name.size()), nullptr, nullptr);
    return name;
}

// Decoded from UTF-8 on Windows; elsewhere the bytes are the name.
std::filesystem::path DiskPath(const std::string& name) { return std::filesystem::u8path(name); }
