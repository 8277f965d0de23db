// Writes the code page, case folding and nearest character tables that the program carries,
// taken from ICU, so that every system converts and folds byte for byte alike without linking
// ICU.
// Run by scripts/generar_tablas after an ICU update; the suite checks the tables against ICU.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>
#include <unicode/uversion.h>
#include <utility>
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

// The characters with no decomposition whose nearest is plain to a reader: the letters with a
// stroke or a bar, the dotless i, and the typographic quotes, dashes and primes, as Windows'
// best-fit conversion writes them.
constexpr std::pair<UChar32, UChar32> kHechosAMano[] = {
    {0x00D8, 'O'},  {0x00F8, 'o'},  {0x0110, 'D'},  {0x0111, 'd'},  {0x0126, 'H'},  {0x0127, 'h'},
    {0x0131, 'i'},  {0x0141, 'L'},  {0x0142, 'l'},  {0x0166, 'T'},  {0x0167, 't'},  {0x0180, 'b'},
    {0x0189, 'D'},  {0x0192, 'f'},  {0x0197, 'I'},  {0x01B5, 'Z'},  {0x01B6, 'z'},  {0x01E4, 'G'},
    {0x01E5, 'g'},  {0x2010, '-'},  {0x2011, '-'},  {0x2012, '-'},  {0x2013, '-'},  {0x2014, '-'},
    {0x2015, '-'},  {0x2212, '-'},  {0x2018, '\''}, {0x2019, '\''}, {0x201A, '\''}, {0x201B, '\''},
    {0x2032, '\''}, {0x2035, '\''}, {0x201C, '"'},  {0x201D, '"'},  {0x201E, '"'},  {0x201F, '"'},
    {0x2033, '"'},  {0x2036, '"'},  {0x2039, '<'},  {0x203A, '>'},  {0x2044, '/'},
};

// The one character that c comes nearest to: the list above, else its compatibility
// decomposition without its marks when that leaves one character (ő → o, ﬀ leaves two and
// has none). c itself when there is none.
UChar32 cercanoDe(UChar32 c) {
    UErrorCode st = U_ZERO_ERROR;
    const icu::Normalizer2* nfkd = icu::Normalizer2::getNFKDInstance(st);
    for (int paso = 0; paso < 3; ++paso) {
        UChar32 siguiente = c;
        for (const auto& [origen, cercano] : kHechosAMano)
            if (origen == c) siguiente = cercano;
        if (siguiente == c) {
            icu::UnicodeString d = nfkd->normalize(icu::UnicodeString(c), st);
            icu::UnicodeString base;
            for (int i = 0; i < d.length(); i = d.moveIndex32(i, 1)) {
                const UChar32 x = d.char32At(i);
                const auto tipo = u_charType(x);
                if (tipo != U_NON_SPACING_MARK && tipo != U_ENCLOSING_MARK &&
                    tipo != U_COMBINING_SPACING_MARK)
                    base.append(x);
            }
            // A spacing accent (´, ¨, ¸) decomposes to a blank and the accent: a blank is
            // nearest to no character but a blank.
            if (base.countChar32() == 1 &&
                (base.char32At(0) != ' ' || u_charType(c) == U_SPACE_SEPARATOR))
                siguiente = base.char32At(0);
        }
        if (siguiente == c) break;
        c = siguiente;
    }
    return c;
}

// For every character beyond ASCII, its nearest when that is another character that some
// code page of the program holds (a nearer one no page holds helps none of them).
std::string cercanos() {
    std::vector<bool> enAlgunaPagina(0x10000, false);
    for (const std::string& nombre : nombresPosibles()) {
        std::vector<char16_t> tabla;
        if (!tablaDe(nombre, tabla)) continue;
        for (char16_t x : tabla)
            if (x != 0xFFFD) enAlgunaPagina[x] = true;
    }
    std::ostringstream o;
    o << cabecera() << "const Cercano kCercanos[] = {\n";
    std::size_t n = 0;
    for (UChar32 c = 0x80; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        const UChar32 cercano = cercanoDe(c);
        if (cercano == c || cercano > 0xFFFF || !enAlgunaPagina[static_cast<std::size_t>(cercano)])
            continue;
        o << "    {" << hex(static_cast<std::uint32_t>(c)) << ", "
          << hex(static_cast<std::uint32_t>(cercano)) << "},\n";
        ++n;
    }
    o << "};\n\nconst std::size_t kNumCercanos = " << n << ";\n\n} // namespace pontavia::tablas\n";
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
    std::ofstream(carpeta + "/tablas_cercanos.cpp") << cercanos();
    return 0;
}
