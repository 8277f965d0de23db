#pragma once
// Tables taken from ICU and carried by the program, so that every system reads and writes the
// dBase code pages, folds case and finds a character's nearest byte for byte alike. Generated
// by scripts/generar_tablas.
#include <cstddef>

namespace pontavia::tablas {

// A single-byte code page: the character each byte reads as; U+FFFD for a byte above 0x7F
// that maps to nothing, and no character is written back as such a byte.
struct TablaPagina {
    const char* nombre; // ICU converter name
    char16_t caracteres[256];
};
extern const TablaPagina kPaginas[];
extern const std::size_t kNumPaginas;

// A character whose full case folding is not itself, in order of origen; unused places of
// plegado are 0.
struct Plegado {
    char32_t origen;
    char32_t plegado[3];
};
extern const Plegado kPlegados[];
extern const std::size_t kNumPlegados;

// A character and the one it comes nearest to, written instead where a code page lacks it
// (Ł and L, ő and o, “ and "), in order of origen.
struct Cercano {
    char32_t origen;
    char32_t cercano;
};
extern const Cercano kCercanos[];
extern const std::size_t kNumCercanos;

} // namespace pontavia::tablas
