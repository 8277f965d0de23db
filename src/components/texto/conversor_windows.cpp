// The system's converters on Windows: its code pages, by the number that an encoding's name
// stands for. The dBase single-byte pages never come here: the program's own tables read them.
#include "ascii.h"
#include "conversor.h"
#include "conversor_latin1.h"
#include "texto.h"

#include <algorithm>
#include <cstdint>
#include <string>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace pontavia {

namespace {

constexpr unsigned kUtf16LE = 1200;
constexpr unsigned kUtf16BE = 1201;

struct NombreCodigo {
    const char* nombre;
    unsigned codigo;
};

// The names that documents use most, written as the IANA registry and ICU write them, in lower
// case. Names of the form windows-N, cpN, ibm-N and ibmN are read as the number they carry.
// ISO-8859-1 never comes here: the program converts it itself (conversor_latin1.h).
constexpr NombreCodigo kNombres[] = {
    {"utf-16le", kUtf16LE}, {"utf-16be", kUtf16BE},  {"utf-16", kUtf16BE},
    {"utf-8", CP_UTF8},     {"utf8", CP_UTF8},       {"utf-7", CP_UTF7},
    {"us-ascii", 20127},    {"ascii", 20127},        {"iso-8859-2", 28592},
    {"latin2", 28592},      {"iso-8859-3", 28593},   {"iso-8859-4", 28594},
    {"iso-8859-5", 28595},  {"iso-8859-6", 28596},   {"iso-8859-7", 28597},
    {"iso-8859-8", 28598},  {"iso-8859-9", 28599},   {"latin5", 28599},
    {"iso-8859-13", 28603}, {"iso-8859-15", 28605},  {"latin-9", 28605},
    {"koi8-r", 20866},      {"koi8-u", 21866},       {"shift_jis", 932},
    {"shift-jis", 932},     {"sjis", 932},           {"windows-31j", 932},
    {"euc-jp", 20932},      {"iso-2022-jp", 50220},  {"gb2312", 936},
    {"gbk", 936},           {"gb18030", 54936},      {"big5", 950},
    {"euc-kr", 949},        {"ks_c_5601-1987", 949}, {"macintosh", 10000},
    {"x-mac-roman", 10000}, {"tis-620", 874},        {"ibm-thai", 20838},
    {"dos-862", 862},
};

// The code page a name stands for; 0 when it stands for none that this system has.
unsigned codigoDe(const std::string& nombre) {
    const std::string n = minusculasAscii(nombre);
    for (const NombreCodigo& e : kNombres)
        if (n == e.nombre) return e.codigo;
    for (const char* prefijo : {"windows-", "cp", "ibm-", "ibm"}) {
        const std::string p = prefijo;
        if (n.size() <= p.size() || n.compare(0, p.size(), p) != 0) continue;
        const std::string cifras = n.substr(p.size());
        if (cifras.size() > 5 ||
            !std::all_of(cifras.begin(), cifras.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        const auto codigo = static_cast<unsigned>(std::stoul(cifras));
        if (codigo != 0 && IsValidCodePage(codigo)) return codigo;
    }
    return 0;
}

// Code pages that refuse WC_NO_BEST_FIT_CHARS and the report of a substituted character: the
// ones that hold all of Unicode, and the stateful ISO-2022 ones.
bool sinInformeDeSustitucion(unsigned codigo) {
    return codigo == CP_UTF7 || codigo == CP_UTF8 || codigo == 54936 || codigo == 42 ||
           (codigo >= 50220 && codigo <= 50229) || (codigo >= 57002 && codigo <= 57011);
}

int entero(std::size_t n) {
    return static_cast<int>(std::min<std::size_t>(n, INT32_MAX));
}

std::wstring anchoDesde(unsigned codigo, std::string_view bytes) {
    if (bytes.empty()) return {};
    // Without MB_ERR_INVALID_CHARS a byte that reads as nothing becomes U+FFFD (or the page's
    // own default), as in ICU.
    const int n = MultiByteToWideChar(codigo, 0, bytes.data(), entero(bytes.size()), nullptr, 0);
    std::wstring ancho(static_cast<std::size_t>(std::max(n, 0)), L'\0');
    if (n > 0) MultiByteToWideChar(codigo, 0, bytes.data(), entero(bytes.size()), ancho.data(), n);
    return ancho;
}

// The bytes of wide text in the code page; false when the page lacks a character of it.
bool bytesDe(unsigned codigo, std::wstring_view ancho, std::string& salida) {
    if (ancho.empty()) return true;
    const bool informa = !sinInformeDeSustitucion(codigo);
    const DWORD opciones = informa ? WC_NO_BEST_FIT_CHARS : 0;
    BOOL sustituido = FALSE;
    BOOL* informe = informa ? &sustituido : nullptr;
    const int n = WideCharToMultiByte(codigo, opciones, ancho.data(), entero(ancho.size()), nullptr,
                                      0, nullptr, informe);
    if (n <= 0) return false;
    const std::size_t antes = salida.size();
    salida.resize(antes + static_cast<std::size_t>(n));
    WideCharToMultiByte(codigo, opciones, ancho.data(), entero(ancho.size()), salida.data() + antes,
                        n, nullptr, informe);
    if (!sustituido) return true;
    salida.resize(antes);
    return false;
}

class ConversorWindows : public Conversor {
  public:
    ConversorWindows(unsigned codigo, Sustituto sustituto)
        : codigo_(codigo), sustituto_(sustituto) {}

    bool multibyte() const override {
        if (esUtf16()) return true;
        CPINFO info{};
        return GetCPInfo(codigo_, &info) && info.MaxCharSize > 1;
    }

    bool asciiIgual() const override {
        if (esUtf16()) return false;
        std::string ascii = "\t\n\r";
        for (char c = ' '; c < 0x7F; ++c)
            ascii += c;
        std::string salida;
        return bytesDe(codigo_, anchoDesde(CP_UTF8, ascii), salida) && salida == ascii;
    }

    std::string aUtf8(std::string_view bytes) override {
        std::wstring ancho;
        if (esUtf16()) {
            for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
                const auto a = static_cast<unsigned char>(bytes[i]);
                const auto b = static_cast<unsigned char>(bytes[i + 1]);
                ancho += static_cast<wchar_t>(codigo_ == kUtf16LE ? a | (b << 8) : (a << 8) | b);
            }
            // A last byte alone is a character cut short.
            if (bytes.size() % 2) ancho += L'\xFFFD';
        } else {
            ancho = anchoDesde(codigo_, bytes);
        }
        // Half a surrogate pair becomes U+FFFD.
        std::string utf8;
        bytesDe(CP_UTF8, ancho, utf8);
        return utf8;
    }

    std::string desdeUtf8(std::string_view utf8) override {
        std::string salida;
        convertir(anchoDesde(CP_UTF8, utf8), salida);
        return salida;
    }

    bool escribir(std::string_view utf8, bool final,
                  const std::function<void(std::string_view)>& destino) override {
        pendiente_.append(utf8);
        // A character split between two pieces waits for the rest of it.
        std::size_t corte = pendiente_.size();
        if (!final) corte -= incompletoAlFinal(pendiente_);
        std::string salida;
        const bool bien =
            convertir(anchoDesde(CP_UTF8, std::string_view(pendiente_).substr(0, corte)), salida);
        pendiente_.erase(0, corte);
        destino(salida);
        return bien;
    }

  private:
    bool esUtf16() const { return codigo_ == kUtf16LE || codigo_ == kUtf16BE; }

    // Converts character by character only when the page lacks one, to put its substitute in.
    bool convertir(std::wstring_view ancho, std::string& salida) const {
        if (esUtf16()) {
            for (wchar_t w : ancho) {
                const auto u = static_cast<std::uint16_t>(w);
                const char alto = static_cast<char>(u >> 8), bajo = static_cast<char>(u & 0xFF);
                salida += codigo_ == kUtf16LE ? bajo : alto;
                salida += codigo_ == kUtf16LE ? alto : bajo;
            }
            return true;
        }
        if (bytesDe(codigo_, ancho, salida)) return true;
        for (std::size_t i = 0; i < ancho.size();) {
            std::size_t largo = 1;
            char32_t c = static_cast<char32_t>(ancho[i]);
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < ancho.size() && ancho[i + 1] >= 0xDC00 &&
                ancho[i + 1] <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(ancho[i + 1]) - 0xDC00);
                largo = 2;
            }
            if (!bytesDe(codigo_, ancho.substr(i, largo), salida)) {
                if (sustituto_ == Sustituto::Interrogacion)
                    salida += '?';
                else
                    salida += "&#" + std::to_string(static_cast<std::uint32_t>(c)) + ";";
            }
            i += largo;
        }
        return true;
    }

    unsigned codigo_;
    Sustituto sustituto_;
    std::string pendiente_;
};

} // namespace

std::unique_ptr<Conversor> Conversor::abrir(const std::string& nombre, Sustituto sustituto) {
    if (auto latin1 = abrirLatin1(nombre, sustituto)) return latin1;
    const unsigned codigo = codigoDe(nombre);
    if (codigo == 0) return nullptr;
    return std::make_unique<ConversorWindows>(codigo, sustituto);
}

} // namespace pontavia
