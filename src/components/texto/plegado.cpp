// Case folding for codes compared without regard to case: full folding with the default
// options, from the tables taken from ICU, so that every system folds alike.
#include "ascii.h"
#include "tablas_texto.h"
#include "texto.h"

#include <algorithm>

namespace pontavia {

namespace {

bool esContinuacion(unsigned char b, unsigned char desde = 0x80, unsigned char hasta = 0xBF) {
    return b >= desde && b <= hasta;
}

// Decodes the character at byte i and moves i past it. A malformed sequence reads as one
// U+FFFD for each of its longest well-begun parts, as ICU reads UTF-8, so that folding a
// malformed text gives what it always gave.
char32_t siguienteOSustituto(std::string_view t, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(t[i++]);
    if (b0 < 0x80) return b0;
    std::size_t extra = 0;
    char32_t c = 0;
    // The second byte's range depends on the first: it rules out overlong forms, surrogates
    // and characters above U+10FFFF.
    unsigned char desde = 0x80, hasta = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        extra = 1, c = b0 & 0x1Fu;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        extra = 2, c = b0 & 0x0Fu;
        if (b0 == 0xE0) desde = 0xA0;
        if (b0 == 0xED) hasta = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        extra = 3, c = b0 & 0x07u;
        if (b0 == 0xF0) desde = 0x90;
        if (b0 == 0xF4) hasta = 0x8F;
    } else {
        return 0xFFFD;
    }
    for (std::size_t k = 0; k < extra; ++k) {
        if (i >= t.size()) return 0xFFFD;
        const auto b = static_cast<unsigned char>(t[i]);
        if (k == 0 ? !esContinuacion(b, desde, hasta) : !esContinuacion(b)) return 0xFFFD;
        c = (c << 6) | (b & 0x3Fu);
        ++i;
    }
    return c;
}

} // namespace

std::string plegarMayusculas(std::string_view texto) {
    // Most codes are plain ASCII: folded without a search.
    if (esAscii(texto)) return minusculasAscii(texto);
    std::string plegado;
    plegado.reserve(texto.size());
    const tablas::Plegado* const inicio = tablas::kPlegados;
    const tablas::Plegado* const fin = inicio + tablas::kNumPlegados;
    std::size_t i = 0;
    while (i < texto.size()) {
        const char32_t c = siguienteOSustituto(texto, i);
        const auto* p = std::lower_bound(
            inicio, fin, c, [](const tablas::Plegado& e, char32_t v) { return e.origen < v; });
        if (p == fin || p->origen != c) {
            anadirUtf8(plegado, c);
            continue;
        }
        for (char32_t d : p->plegado)
            if (d != 0) anadirUtf8(plegado, d);
    }
    return plegado;
}

} // namespace pontavia
