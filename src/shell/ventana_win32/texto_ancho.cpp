#include "texto_ancho.h"

#include <windows.h>

namespace pontavia {

std::wstring ancho(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring s(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), s.data(), n);
    return s;
}

std::string utf8(std::wstring_view ancho) {
    if (ancho.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, ancho.data(), static_cast<int>(ancho.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, ancho.data(), static_cast<int>(ancho.size()), s.data(), n,
                        nullptr, nullptr);
    return s;
}

} // namespace pontavia
