#pragma once
// The window works in UTF-8 like the rest of the program; Windows' wide APIs take UTF-16.
#include <string>
#include <string_view>

namespace pontavia {

std::wstring ancho(std::string_view utf8);
std::string utf8(std::wstring_view ancho);

} // namespace pontavia
