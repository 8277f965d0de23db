#pragma once
// Case of ASCII letters only, whatever the locale: names that the program and the systems it
// talks to spell in ASCII (dBase fields, encodings, mode words) are matched with these. A
// locale's own tolower can turn 'I' into something else (Turkish), and the process sets the
// user's locale at start.
#include <string>
#include <string_view>

namespace pontavia {

inline char mayusculaAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

inline char minusculaAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The text with its ASCII letters in upper case; every other byte as it was.
inline std::string mayusculasAscii(std::string_view texto) {
    std::string r(texto);
    for (char& c : r)
        c = mayusculaAscii(c);
    return r;
}

// The text with its ASCII letters in lower case; every other byte as it was.
inline std::string minusculasAscii(std::string_view texto) {
    std::string r(texto);
    for (char& c : r)
        c = minusculaAscii(c);
    return r;
}

} // namespace pontavia
