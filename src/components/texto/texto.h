#pragma once
// Text helpers shared by both runs. Text inside the program is UTF-8; "characters" here are
// Unicode code points, never bytes.
#include <cstdint>
#include <string>
#include <string_view>

namespace pontavia {

// Removes leading and trailing characters with codes up to 32 (blanks and control characters).
std::string recortar(std::string_view texto);
// The same, as a view into texto: no copy.
std::string_view recortarVista(std::string_view texto);
// Removes trailing blanks only: what a fixed-width text field gives back.
std::string_view recortarDerecha(std::string_view texto);

// Whether every byte is ASCII, which reads the same in UTF-8 and in every code page the
// program converts to and from. Inline: it is asked for every field of every row.
inline bool esAscii(std::string_view texto) {
    // No early exit: the loop stays simple enough for the compiler to do it many bytes at once.
    unsigned char bits = 0;
    for (char c : texto)
        bits |= static_cast<unsigned char>(c);
    return bits < 0x80;
}

// Decodes the character at byte i and moves i past it; -1 for a malformed sequence (i then
// moves past one byte).
std::int32_t siguienteCaracter(std::string_view texto, std::size_t& i);
// Appends the UTF-8 bytes of the character c.
void anadirUtf8(std::string& texto, char32_t c);
// How many bytes at the end of utf8 begin a character that lacks its last bytes: what a text
// converted piece by piece keeps back for the next piece.
std::size_t incompletoAlFinal(std::string_view utf8);

std::size_t longitud(std::string_view texto);
std::string primeros(std::string_view texto, std::size_t n);
std::string ultimos(std::string_view texto, std::size_t n);
// n characters from character desde (0-based); fewer when the text ends first.
std::string subcadena(std::string_view texto, std::size_t desde, std::size_t n);

// Case folding for comparisons that ignore case: "ÁNGEL" and "ángel" fold alike, "angel" does not.
std::string plegarMayusculas(std::string_view texto);

// Strict decimal whole number (optional sign, digits), within 32 bits.
bool esEntero(std::string_view texto, std::int32_t& valor);
// As esEntero, raising "'%s' is not a valid integer value" when the text is not one.
std::int32_t aEntero(std::string_view texto);

// Decimal number written with the given decimal separator (the caller knows whose: the
// user's regional settings), raising "'%s' is not a valid floating point value" when the text
// is not one.
double aDecimal(std::string_view texto, char separador);

// Shortest decimal text that reads back as the same number, with '.' as separator.
std::string decimalMasCorto(double valor);

} // namespace pontavia
