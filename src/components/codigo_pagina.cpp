#include "codigo_pagina.h"

#include "error.h"

#include "texto.h"
#include <map>
#include <mutex>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>
#include <vector>

namespace pontavia {

namespace {

struct Conversor {
    UConverter* c = nullptr;
    explicit Conversor(const std::string& nombre) {
        UErrorCode st = U_ZERO_ERROR;
        c = ucnv_open(nombre.c_str(), &st);
        if (U_FAILURE(st)) throw Error("Página de códigos desconocida: " + nombre);
        ucnv_setSubstChars(c, "?", 1, &st);
    }
    ~Conversor() { ucnv_close(c); }
    Conversor(const Conversor&) = delete;
    Conversor& operator=(const Conversor&) = delete;
};

std::string utf8DeUnicode(const icu::UnicodeString& u) {
    std::string s;
    u.toUTF8String(s);
    return s;
}

} // namespace

CodigoPagina::CodigoPagina(std::string nombreICU) : nombre_(std::move(nombreICU)) {
    Conversor conv(nombre_);
    multibyte_ = ucnv_getMaxCharSize(conv.c) > 1;
    if (multibyte_) return;
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        UErrorCode st = U_ZERO_ERROR;
        icu::UnicodeString u(&byte, 1, conv.c, st);
        if (U_FAILURE(st) || u.isEmpty() || u.char32At(0) == 0xFFFD || u.char32At(0) == 0x1A) {
            aUtf8_[b] = (b < 0x80) ? std::string(1, byte) : std::string("\xEF\xBF\xBD");
            if (b < 0x80) desdeUnicode_.emplace(static_cast<char32_t>(b), byte);
            continue;
        }
        aUtf8_[b] = utf8DeUnicode(u);
        desdeUnicode_.emplace(static_cast<char32_t>(u.char32At(0)), byte);
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
    if (multibyte_) {
        Conversor conv(nombre_);
        UErrorCode st = U_ZERO_ERROR;
        icu::UnicodeString u(bytes.data(), static_cast<std::int32_t>(bytes.size()), conv.c, st);
        return utf8DeUnicode(u);
    }
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
        Conversor conv(nombre_);
        icu::UnicodeString u = icu::UnicodeString::fromUTF8(
            icu::StringPiece(texto.data(), static_cast<std::int32_t>(texto.size())));
        UErrorCode st = U_ZERO_ERROR;
        std::vector<char> buf(static_cast<std::size_t>(u.length()) * 4 + 4);
        const std::int32_t n =
            ucnv_fromUChars(conv.c, buf.data(), static_cast<std::int32_t>(buf.size()),
                            u.getBuffer(), u.length(), &st);
        std::string bytes(buf.data(), static_cast<std::size_t>(n > 0 ? n : 0));
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
        } else {
            s += '?';
            if (sustituido) *sustituido = true;
        }
    }
    return s;
}

} // namespace pontavia
