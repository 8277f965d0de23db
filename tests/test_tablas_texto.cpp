// The code page and case folding tables that the program carries against the ICU of this
// machine: a table regenerated wrongly, or an ICU that reads differently, shows here.
#include "codigo_pagina.h"
#include "conversor.h"
#include "tablas_texto.h"
#include "texto.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>
#include <vector>

namespace pontavia {
namespace {

struct ConversorICU {
    explicit ConversorICU(const std::string& nombre) {
        UErrorCode st = U_ZERO_ERROR;
        c = ucnv_open(nombre.c_str(), &st);
        if (U_FAILURE(st)) c = nullptr;
    }
    ~ConversorICU() {
        if (c) ucnv_close(c);
    }
    ConversorICU(const ConversorICU&) = delete;
    ConversorICU& operator=(const ConversorICU&) = delete;
    UConverter* c = nullptr;
};

std::string utf8(char32_t c) {
    std::string s;
    anadirUtf8(s, c);
    return s;
}

std::string plegadoICU(std::string_view texto) {
    icu::UnicodeString u = icu::UnicodeString::fromUTF8(
        icu::StringPiece(texto.data(), static_cast<std::int32_t>(texto.size())));
    std::string s;
    u.foldCase().toUTF8String(s);
    return s;
}

// What ICU reads byte b as, the way the program takes a single-byte page: a byte it maps to
// nothing (or to its substitute U+001A) reads as itself below 0x80 and as U+FFFD above.
char32_t leidoPorICU(UConverter* c, int b) {
    const char byte = static_cast<char>(b);
    UErrorCode st = U_ZERO_ERROR;
    icu::UnicodeString u(&byte, 1, c, st);
    const char32_t leido = U_FAILURE(st) || u.isEmpty() ? 0xFFFD : u.char32At(0);
    if (leido == 0xFFFD || leido == 0x1A) return b < 0x80 ? static_cast<char32_t>(b) : 0xFFFD;
    return leido;
}

class PaginaDeCodigos : public testing::TestWithParam<std::string> {};

TEST_P(PaginaDeCodigos, LeeCadaByteComoICU) {
    ConversorICU icu(GetParam());
    ASSERT_TRUE(icu.c);
    ASSERT_EQ(ucnv_getMaxCharSize(icu.c), 1);
    const CodigoPagina& pagina = CodigoPagina::porNombre(GetParam());
    for (int b = 0x80; b < 256; ++b)
        EXPECT_EQ(pagina.aUtf8(std::string(1, static_cast<char>(b))), utf8(leidoPorICU(icu.c, b)))
            << "byte " << b;
}

// Every character is written as the first byte that reads as it; one that none reads as, as
// the byte of its nearest character (the program's own table of them), and '?' when none
// reads as that either.
TEST_P(PaginaDeCodigos, EscribeCadaCaracterComoLoLeeICU) {
    ConversorICU icu(GetParam());
    ASSERT_TRUE(icu.c);
    std::map<char32_t, char> escrito;
    for (int b = 0; b < 256; ++b) {
        const char32_t c = leidoPorICU(icu.c, b);
        if (c != 0xFFFD) escrito.emplace(c, static_cast<char>(b));
    }
    std::map<char32_t, char32_t> cercanos;
    for (std::size_t i = 0; i < tablas::kNumCercanos; ++i)
        cercanos.emplace(tablas::kCercanos[i].origen, tablas::kCercanos[i].cercano);
    std::string todos, esperado;
    std::vector<char32_t> caracteres;
    for (char32_t c = 0x80; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        anadirUtf8(todos, c);
        caracteres.push_back(c);
        auto it = escrito.find(c);
        if (it == escrito.end())
            it = escrito.find(cercanos.count(c) ? cercanos.at(c) : char32_t{0xFFFD});
        esperado += it == escrito.end() ? '?' : it->second;
    }
    bool sustituido = false;
    const std::string bytes = CodigoPagina::porNombre(GetParam()).desdeUtf8(todos, &sustituido);
    EXPECT_TRUE(sustituido);
    ASSERT_EQ(bytes.size(), esperado.size());
    std::size_t distintos = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] != esperado[i] && ++distintos <= 5)
            ADD_FAILURE() << "U+" << std::hex << std::uppercase << std::uint32_t(caracteres[i])
                          << ": " << int(static_cast<unsigned char>(bytes[i])) << " en vez de "
                          << int(static_cast<unsigned char>(esperado[i]));
    EXPECT_EQ(distintos, 0u);
}

std::vector<std::string> nombresDeLasTablas() {
    std::vector<std::string> n;
    for (std::size_t i = 0; i < tablas::kNumPaginas; ++i)
        n.emplace_back(tablas::kPaginas[i].nombre);
    return n;
}

INSTANTIATE_TEST_SUITE_P(Tablas, PaginaDeCodigos, testing::ValuesIn(nombresDeLasTablas()),
                         [](const auto& caso) {
                             std::string n = caso.param;
                             for (char& c : n)
                                 if (c == '-') c = '_';
                             return n;
                         });

// A level 7 table names ibm-nnn by its language driver: every such page that ICU has as a
// single-byte one has its table.
TEST(TablasDePaginas, EstanTodasLasPaginasSencillasDeICU) {
    const auto nombres = nombresDeLasTablas();
    const std::set<std::string> conTabla(nombres.begin(), nombres.end());
    for (int i = 0; i < 1000; ++i) {
        char nombre[16];
        std::snprintf(nombre, sizeof nombre, "ibm-%03d", i);
        ConversorICU icu(nombre);
        if (icu.c && ucnv_getMaxCharSize(icu.c) == 1) {
            EXPECT_TRUE(conTabla.count(nombre)) << nombre;
        }
    }
}

TEST(TablasDePlegado, PlieganCadaCaracterComoICU) {
    std::size_t distintos = 0;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        const std::string s = utf8(c);
        const std::string esperado = plegadoICU(s);
        if (plegarMayusculas(s) != esperado && ++distintos <= 5)
            ADD_FAILURE() << "U+" << std::hex << std::uppercase << std::uint32_t(c);
    }
    EXPECT_EQ(distintos, 0u);
}

// A malformed text folds as ICU folds it: one U+FFFD for each longest well-begun part.
TEST(TablasDePlegado, PlieganLoMalFormadoComoICU) {
    const std::vector<std::string> casos = {
        "\x80",          "\xC0\x80",     "\xC1\xBF",         "\xC3",         "\xC3Á",
        "\xE0\x80\x80",  "\xE0\xA0",     "\xED\xA0\x80",     "\xED\x9F\xBF", "\xEF\xBF",
        "\xF0\x8F\xBF",  "\xF0\x90\x80", "\xF4\x90\x80\x80", "\xF5\x80\x80", "\xFF\xFEÑ",
        "ÁNGEL\xE2\x82", "Straße\xC3",
    };
    for (const std::string& caso : casos)
        EXPECT_EQ(plegarMayusculas(caso), plegadoICU(caso)) << testing::PrintToString(caso);

    // And every short mix of the bytes whose meaning depends on their neighbours.
    const std::string bytes = "A\x80\x8F\x90\x9F\xA0\xBF\xC2\xC3\xE0\xED\xEF\xF0\xF4\xFF";
    std::uint32_t semilla = 12345;
    for (int n = 0; n < 20000; ++n) {
        std::string s;
        for (int k = 0; k < 6; ++k) {
            semilla = semilla * 1664525u + 1013904223u;
            s += bytes[(semilla >> 16) % bytes.size()];
        }
        ASSERT_EQ(plegarMayusculas(s), plegadoICU(s)) << testing::PrintToString(s);
    }
}

} // namespace
} // namespace pontavia

namespace pontavia {
namespace {

// ICU's ISO-8859-1 with a character it lacks written as &#N;, as a document is saved.
std::string latin1PorICU(std::string_view utf8) {
    ConversorICU icu("ISO-8859-1");
    UErrorCode st = U_ZERO_ERROR;
    ucnv_setFromUCallBack(icu.c, UCNV_FROM_U_CALLBACK_ESCAPE, UCNV_ESCAPE_XML_DEC, nullptr, nullptr,
                          &st);
    const icu::UnicodeString u = icu::UnicodeString::fromUTF8(
        icu::StringPiece(utf8.data(), static_cast<std::int32_t>(utf8.size())));
    std::string r(static_cast<std::size_t>(u.length()) * 12 + 16, '\0');
    const std::int32_t n = u.extract(r.data(), static_cast<std::int32_t>(r.size()), icu.c, st);
    EXPECT_TRUE(U_SUCCESS(st)) << u_errorName(st);
    r.resize(static_cast<std::size_t>(n));
    return r;
}

// Where two long texts first differ, with a few bytes of each from there: "" when equal.
std::string diferencia(std::string_view a, std::string_view b) {
    if (a == b) return "";
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    return "byte " + std::to_string(i) + ": \"" + std::string(a.substr(i, 24)) + "\" / \"" +
           std::string(b.substr(i, 24)) + "\"";
}

} // namespace

// The program's own ISO-8859-1 writes every character as ICU's ISO-8859-1 does, whole or in
// pieces cut anywhere, and reads every byte as ICU's windows-1252 does.
TEST(ConversorLatin1, EscribeYLeeCadaCaracterComoICU) {
    std::string todos, muestra;
    for (char32_t c = 1; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        anadirUtf8(todos, c);
        // Every length of sequence, for the pieces cut anywhere.
        if (c % 97 == 0 || (c >= 0x2000 && c <= 0x2070)) anadirUtf8(muestra, c);
    }
    auto propio = Conversor::abrir("iso-8859-1", Conversor::Sustituto::ReferenciaXML);
    ASSERT_TRUE(propio);
    EXPECT_EQ(diferencia(propio->desdeUtf8(todos), latin1PorICU(todos)), "");
    const std::string esperado = latin1PorICU(muestra);
    for (const std::size_t trozo : {1u, 2u, 3u, 5u, 4096u}) {
        SCOPED_TRACE(trozo);
        std::string escrito;
        std::string_view resto = muestra;
        while (!resto.empty()) {
            const std::size_t n = std::min(trozo, resto.size());
            ASSERT_TRUE(propio->escribir(resto.substr(0, n), n == resto.size(),
                                         [&](std::string_view s) { escrito.append(s); }));
            resto.remove_prefix(n);
        }
        EXPECT_EQ(diferencia(escrito, esperado), "");
    }
    std::string bytes;
    for (int b = 1; b < 256; ++b)
        bytes += static_cast<char>(b);
    ConversorICU icu("windows-1252");
    UErrorCode st = U_ZERO_ERROR;
    std::string leido;
    icu::UnicodeString(bytes.data(), static_cast<std::int32_t>(bytes.size()), icu.c, st)
        .toUTF8String(leido);
    EXPECT_EQ(propio->aUtf8(bytes), leido);
}

} // namespace pontavia
