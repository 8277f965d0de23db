#include "codigo_pagina.h"

#include "conversor.h"
#include "error.h"
#include "tablas_texto.h"
#include "texto.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace pontavia {

namespace {

const tablas::TablaPagina* tablaDe(const std::string& nombre) {
    for (std::size_t i = 0; i < tablas::kNumPaginas; ++i)
        if (nombre == tablas::kPaginas[i].nombre) return &tablas::kPaginas[i];
    return nullptr;
}

// The character c comes nearest to (tablas_texto.h); 0 when there is none.
char32_t cercanoDe(char32_t c) {
    const tablas::Cercano* fin = tablas::kCercanos + tablas::kNumCercanos;
    const tablas::Cercano* e =
        std::lower_bound(tablas::kCercanos, fin, c,
                         [](const tablas::Cercano& x, char32_t v) { return x.origen < v; });
    return e != fin && e->origen == c ? e->cercano : 0;
}

std::unique_ptr<Conversor> conversorDe(const std::string& nombre) {
    auto conv = Conversor::abrir(nombre, Conversor::Sustituto::Interrogacion);
    if (!conv) throw Error(ClaseError::Interna, Hecho::PaginaDeCodigosDesconocida, {}, nombre);
    return conv;
}

} // namespace

CodigoPagina::CodigoPagina(std::string nombreICU) : nombre_(std::move(nombreICU)) {
    const tablas::TablaPagina* tabla = tablaDe(nombre_);
    if (!tabla) {
        // The multibyte pages (Chinese, Japanese, Korean) are the system's to convert.
        conversorDe(nombre_);
        multibyte_ = true;
        return;
    }
    for (std::size_t b = 0; b < 256; ++b) {
        const char32_t c = tabla->caracteres[b];
        anadirUtf8(aUtf8_[b], c);
        // The first byte that reads as a character is the one it is written as.
        if (c != 0xFFFD) desdeUnicode_.emplace(c, static_cast<char>(b));
    }
}

const CodigoPagina& CodigoPagina::porNombre(const std::string& nombreICU) {
    static std::mutex m;
    static std::map<std::string, std::unique_ptr<CodigoPagina>> cache;
    std::lock_guard<std::mutex> guard(m);
    auto& p = cache[nombreICU];
    if (!p) p = std::make_unique<CodigoPagina>(nombreICU);
    return *p;
}

std::string CodigoPagina::aUtf8(std::string_view bytes) const {
    // A converter of each call's own: a page is shared by every thread that reads a table.
    if (multibyte_) return conversorDe(nombre_)->aUtf8(bytes);
    // Most values are plain ASCII, which is the same in UTF-8: one copy.
    if (esAscii(bytes)) return std::string(bytes);
    std::string s;
    s.reserve(bytes.size() + 8);
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) < 0x80)
            s += c;
        else
            s += aUtf8_[static_cast<unsigned char>(c)];
    }
    return s;
}

std::string CodigoPagina::desdeUtf8(std::string_view texto, bool* sustituido) const {
    if (multibyte_) {
        std::string bytes = conversorDe(nombre_)->desdeUtf8(texto);
        // Whatever does not come back the same was substituted.
        if (sustituido && aUtf8(bytes) != texto) *sustituido = true;
        return bytes;
    }
    std::string s;
    s.reserve(texto.size());
    std::size_t i = 0;
    while (i < texto.size()) {
        // ASCII is the same in every code page here: copied a run at a time.
        std::size_t fin = i;
        while (fin < texto.size() && static_cast<unsigned char>(texto[fin]) < 0x80)
            ++fin;
        s.append(texto, i, fin - i);
        i = fin;
        if (i == texto.size()) break;
        const std::int32_t c = siguienteCaracter(texto, i);
        auto it = c < 0 ? desdeUnicode_.end() : desdeUnicode_.find(static_cast<char32_t>(c));
        if (it != desdeUnicode_.end()) {
            s += it->second;
            continue;
        }
        // What the page lacks is written as its nearest character, as Windows' best-fit
        // conversion writes it (Ł as L), and as '?' only when the page lacks that too.
        const char32_t cercano = c < 0 ? 0 : cercanoDe(static_cast<char32_t>(c));
        it = cercano ? desdeUnicode_.find(cercano) : desdeUnicode_.end();
        s += it != desdeUnicode_.end() ? it->second : '?';
        if (sustituido) *sustituido = true;
    }
    return s;
}

} // namespace pontavia
