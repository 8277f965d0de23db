#pragma once
// ISO-8859-1, the encoding of most VELMORA files, converted by the program itself: each byte
// is the character of the same number, so no table and no system converter is needed, and a
// run spares the start-up of one.
#include "conversor.h"

#include <memory>
#include <string>

namespace pontavia {

// The converter when nombre names ISO-8859-1; null otherwise.
std::unique_ptr<Conversor> abrirLatin1(const std::string& nombre, Conversor::Sustituto sustituto);

} // namespace pontavia
