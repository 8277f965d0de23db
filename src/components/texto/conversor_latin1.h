#pragma once
// ISO-8859-1, the encoding of most VELMORA files, converted by the program itself, with no
// table and no system converter to start. A file that says ISO-8859-1 (or latin1, l1...) is
// often written by a Windows program, with Windows' quotes, dashes and euro sign in bytes
// 0x80 to 0x9F: it is read as windows-1252, as browsers (the WHATWG encoding standard) and
// Windows' own XML components read it, so those bytes are the characters that were typed; the
// five bytes windows-1252 leaves undefined read as themselves (U+0081...). It is written as
// ISO-8859-1 proper, a character beyond it as the substitute asked for, so that any reader,
// strict or not, reads what was meant.
#include "conversor.h"

#include <memory>
#include <string>
#include <string_view>

namespace pontavia {

// Whether nombre is ISO-8859-1 by one of its names (without regard to ASCII case).
bool esLatin1(std::string_view nombre);

// Whether bytes in ISO-8859-1 hold one of 0x80 to 0x9F, which windows-1252 reads otherwise.
// Asked of every such file, so eight bytes are tested at once.
bool conBytesDeWindows(std::string_view bytes);

// The converter when nombre names ISO-8859-1; null otherwise.
std::unique_ptr<Conversor> abrirLatin1(const std::string& nombre, Conversor::Sustituto sustituto);

} // namespace pontavia
