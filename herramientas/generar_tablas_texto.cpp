// Writes the code page and case folding tables that the program carries, taken from ICU, so
// that every system converts and folds byte for byte alike without linking ICU.
// Run by scripts/generar_tablas after an ICU update; the suite checks the tables against ICU.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>
#include <unicode/uversion.h>
#include <vector>

namespace {

// The code pages that a table's language driver can name: its byte 29, or a level 7 table's
// driver name "DBnnn...", which names ibm-nnn.
std::vector<std::string> nombresPosibles() {
    std::vector<std::string> n = {"windows-874",  "windows-932",  "windows-936",  "windows-949",
                                  "windows-950",  "windows-1250", "windows-1251", "windows-1252",
                                  "windows-1253", "windows-1254", "windows-1257"};
    for (int i = 0; i < 1000; ++i) {
        char nombre[16];
        std::snprintf(nombre, sizeof nombre, "ibm-%03d", i);
        n.emplace_back(nombre);
    }
    return n;
}

// What reading byte b gives, as the program has always taken it from ICU: a byte ICU does
// not map (or maps to U+001A, its substitute) reads as itself below 0x80 and as U+FFFD above.
// U+FFFD also means that no character is written back as that byte.
bool tablaDe(const std::string& nombre, std::vector<char16_t>& tabla) {
    UErrorCode st = U_ZERO_ERROR;
    UConverter* c = ucnv_open(nombre.c_str(), &st);
    if (U_FAILURE(st)) return false;
    const bool sencilla = ucnv_getMaxCharSize(c) == 1;
    tabla.assign(256, 0);
    for (int b = 0; sencilla && b < 256; ++b) {
        const char byte = static_cast<char>(b);
        UErrorCode e = U_ZERO_ERROR;
        icu::UnicodeString u(&byte, 1, c, e);
        UChar32 cp = U_FAILURE(e) || u.isEmpty() ? 0xFFFD : u.char32At(0);
        if (cp == 0x1A) cp = 0xFFFD;
        if (cp == 0xFFFD && b < 0x80) cp = b;
        if (u.countChar32() > 1 || cp > 0xFFFF) {
            std::cerr << nombre << ": el byte " << b << " no es un carácter del plano básico\n";
            std::exit(1);
        }
        tabla[static_cast<std::size_t>(b)] = static_cast<char16_t>(cp);
    }
    ucnv_close(c);
    return sencilla;
}

std::string hex(std::uint32_t v) {
    char s[16];
    std::snprintf(s, sizeof s, "0x%04X", v);
    return s;
}

std::string cabecera() {
    return "// Generated from ICU " U_ICU_VERSION
           " by herramientas/generar_tablas_texto.cpp (scripts/generar_tablas).\n"
           "// Do not edit: regenerate, and the suite checks the result against ICU.\n"
           "#include \"tablas_texto.h\"\n\n"
           "namespace pontavia::tablas {\n\n";
}

std::string paginas() {
    std::ostringstream o;
    o << cabecera() << "const TablaPagina kPaginas[] = {\n";
    std::size_t n = 0;
    for (const std::string& nombre : nombresPosibles()) {
        std::vector<char16_t> tabla;
        if (!tablaDe(nombre, tabla)) continue;
        o << "    {\"" << nombre << "\",\n     {";
        for (std::size_t b = 0; b < 256; ++b)
            o << hex(tabla[b]) << (b == 255 ? "" : ", ");
        o << "}},\n";
        ++n;
    }
    o << "};\n\nconst std::size_t kNumPaginas = " << n << ";\n\n} // namespace pontavia::tablas\n";
    return o.str();
}

// Full case folding with the default options, as UnicodeString::foldCase() does it: a
// character may fold to up to three.
std::string plegados() {
    std::ostringstream o;
    o << cabecera() << "const Plegado kPlegados[] = {\n";
    std::size_t n = 0;
    for (UChar32 c = 0; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        icu::UnicodeString u(c);
        icu::UnicodeString p(u);
        p.foldCase();
        if (p == u) continue;
        if (p.countChar32() > 3) {
            std::cerr << "U+" << hex(static_cast<std::uint32_t>(c)) << " pliega a más de tres\n";
            std::exit(1);
        }
        o << "    {" << hex(static_cast<std::uint32_t>(c)) << ", {";
        int k = 0;
        for (int i = 0; i < p.length(); i = p.moveIndex32(i, 1), ++k)
            o << (k ? ", " : "") << hex(static_cast<std::uint32_t>(p.char32At(i)));
        o << "}},\n";
        ++n;
    }
    o << "};\n\nconst std::size_t kNumPlegados = " << n << ";\n\n} // namespace pontavia::tablas\n";
    return o.str();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "uso: generar_tablas_texto CARPETA\n";
        return 2;
    }
    const std::string carpeta = argv[1];
    std::ofstream(carpeta + "/tablas_paginas.cpp") << paginas();
    std::ofstream(carpeta + "/tablas_plegado.cpp") << plegados();
    return 0;
}
