#include "dbase_valores.h"

#include "error.h"
#include "texto.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

namespace pontavia {

namespace {

std::uint64_t leerBE(std::string_view b) {
    std::uint64_t v = 0;
    for (char c : b)
        v = (v << 8) | static_cast<std::uint8_t>(c);
    return v;
}

std::uint64_t leerLE(std::string_view b) {
    std::uint64_t v = 0;
    for (std::size_t i = b.size(); i > 0; --i)
        v = (v << 8) | static_cast<std::uint8_t>(b[i - 1]);
    return v;
}

bool todoCeros(std::string_view b) {
    for (char c : b)
        if (c != '\0') return false;
    return true;
}

// Level 7 keeps integers big-endian with the sign bit flipped, so that bytes sort as numbers.
std::int32_t decodificarI7(std::string_view b) {
    const auto v = static_cast<std::uint32_t>(leerBE(b)) ^ 0x80000000u;
    return static_cast<std::int32_t>(v);
}

// Level 7 doubles: big-endian; the sign bit flipped for values >= 0, all bits for negative.
double decodificarO7(std::string_view b) {
    std::uint64_t v = leerBE(b);
    if (v & 0x8000000000000000ull)
        v ^= 0x8000000000000000ull;
    else
        v = ~v;
    return std::bit_cast<double>(v);
}

std::string enteroATexto(long long v) {
    return std::to_string(v);
}

// Days since 1 January 4713 BC (the Julian day number) to a civil date.
void diaJuliano(long long jd, int& anio, int& mes, int& dia) {
    long long l = jd + 68569;
    const long long n = 4 * l / 146097;
    l = l - (146097 * n + 3) / 4;
    const long long i = 4000 * (l + 1) / 1461001;
    l = l - 1461 * i / 4 + 31;
    const long long j = 80 * l / 2447;
    dia = static_cast<int>(l - 2447 * j / 80);
    l = j / 11;
    mes = static_cast<int>(j + 2 - 12 * l);
    anio = static_cast<int>(100 * (n - 49) + i + l);
}

std::string dosCifras(int v) {
    std::string s = std::to_string(v);
    return s.size() < 2 ? "0" + s : s;
}

std::string recortarBlancos(std::string_view b) {
    std::size_t i = 0, j = b.size();
    while (i < j && (b[i] == ' ' || b[i] == '\0'))
        ++i;
    while (j > i && (b[j - 1] == ' ' || b[j - 1] == '\0'))
        --j;
    return std::string(b.substr(i, j - i));
}

std::optional<double> leerDecimalPunto(std::string_view texto) {
    if (texto.empty()) return std::nullopt;
    const char* inicio = texto.data() + (texto[0] == '+' ? 1 : 0);
    const char* fin = texto.data() + texto.size();
    double v = 0;
    auto [ptr, ec] = std::from_chars(inicio, fin, v);
    if (ec != std::errc() || ptr != fin)
        throw Error("'" + std::string(texto) + "' is not a valid floating point value");
    return v;
}

} // namespace

bool esCampoNumerico(char tipo) {
    return tipo == 'N' || tipo == 'F' || tipo == 'I' || tipo == '+' || tipo == 'O' || tipo == 'B' ||
           tipo == 'Y';
}

std::string textoDeCampo(const FormatoDBase& f, const CampoDBase& c, std::string_view b,
                         const CodigoPagina& cp) {
    switch (c.tipo) {
    case 'C':
        return cp.aUtf8(recortarDerecha(b));
    case 'N':
    case 'F':
        return recortarBlancos(b);
    case 'L':
        if (b.empty()) return "";
        switch (b[0]) {
        case 'T':
        case 't':
        case 'Y':
        case 'y':
            return "T";
        case 'F':
        case 'f':
        case 'N':
        case 'n':
            return "F";
        default:
            return "";
        }
    case 'D': {
        const std::string d = recortarBlancos(b);
        if (d.size() != 8) return "";
        return d.substr(0, 4) + "-" + d.substr(4, 2) + "-" + d.substr(6, 2);
    }
    case 'I':
    case '+':
        if (b.size() != 4) return "";
        if (f.foxpro)
            return enteroATexto(static_cast<std::int32_t>(static_cast<std::uint32_t>(leerLE(b))));
        return todoCeros(b) ? "" : enteroATexto(decodificarI7(b));
    case 'O':
        if (b.size() != 8 || todoCeros(b)) return "";
        return decimalMasCorto(decodificarO7(b));
    case 'B':
        if (f.foxpro && b.size() == 8) return decimalMasCorto(std::bit_cast<double>(leerLE(b)));
        return "";
    case 'Y':
        if (b.size() == 8)
            return decimalMasCorto(static_cast<double>(static_cast<std::int64_t>(leerLE(b))) /
                                   10000.0);
        return "";
    case '@': {
        if (b.size() != 8 || todoCeros(b)) return "";
        // Milliseconds since the start of the Julian day count.
        const double ms = decodificarO7(b);
        if (!std::isfinite(ms) || ms < 0 || ms > 1e17) return "";
        const auto total = static_cast<long long>(ms);
        const long long jd = total / 86400000;
        long long resto = (total % 86400000) / 1000;
        int anio = 0, mes = 0, dia = 0;
        diaJuliano(jd, anio, mes, dia);
        const int h = static_cast<int>(resto / 3600);
        resto %= 3600;
        return std::to_string(anio) + "-" + dosCifras(mes) + "-" + dosCifras(dia) + " " +
               dosCifras(h) + ":" + dosCifras(static_cast<int>(resto / 60)) + ":" +
               dosCifras(static_cast<int>(resto % 60));
    }
    case 'M':
    case 'G':
    case 'P':
    case 'W':
        return ""; // memo contents live in another file that nothing here needs
    default:
        return cp.aUtf8(recortarBlancos(b));
    }
}

std::optional<double> numeroDeCampo(const FormatoDBase& f, const CampoDBase& c, std::string_view b,
                                    const CodigoPagina& cp) {
    switch (c.tipo) {
    case 'I':
    case '+':
    case 'O':
    case 'B':
    case 'Y': {
        const std::string t = textoDeCampo(f, c, b, cp);
        if (t.empty()) return std::nullopt;
        return leerDecimalPunto(t);
    }
    case 'L':
    case 'D':
    case '@':
    case 'M':
    case 'G':
    case 'P':
    case 'W':
        throw Error("El campo " + c.nombre + " no es numérico.");
    case 'N':
    case 'F':
        // Digits are ASCII in every code page: read in place, without a copy.
        return leerDecimalPunto(recortarVista(b));
    default:
        return leerDecimalPunto(recortar(textoDeCampo(f, c, b, cp)));
    }
}

void codificarEntero(const FormatoDBase& f, const CampoDBase& c, std::int32_t valor,
                     char* destino) {
    if (c.tipo == 'I' || c.tipo == '+') {
        auto v = static_cast<std::uint32_t>(valor);
        if (f.foxpro) {
            for (int i = 0; i < 4; ++i, v >>= 8)
                destino[i] = static_cast<char>(v & 0xFF);
            return;
        }
        v ^= 0x80000000u;
        for (int i = 3; i >= 0; --i, v >>= 8)
            destino[i] = static_cast<char>(v & 0xFF);
        return;
    }
    codificarDecimal(f, c, valor, destino);
}

void codificarDecimal(const FormatoDBase& f, const CampoDBase& c, double valor, char* destino) {
    if (c.tipo == 'O') {
        std::uint64_t v = std::bit_cast<std::uint64_t>(valor);
        if (v & 0x8000000000000000ull)
            v = ~v;
        else
            v ^= 0x8000000000000000ull;
        for (int i = 7; i >= 0; --i, v >>= 8)
            destino[i] = static_cast<char>(v & 0xFF);
        return;
    }
    if (c.tipo == 'I' || c.tipo == '+') {
        codificarEntero(f, c, static_cast<std::int32_t>(std::lround(valor)), destino);
        return;
    }
    if (c.tipo != 'N' && c.tipo != 'F') throw Error("El campo " + c.nombre + " no es numérico.");
    // Numbers are stored as text right-aligned in the field, always with '.'.
    char buf[64];
    std::size_t n = SIZE_MAX;
    if (valor == std::trunc(valor) && std::fabs(valor) < 1e15 && c.decimales < 32 &&
        !(valor == 0 && std::signbit(valor))) {
        // A whole number, as most are (hours, counts): the same text, without the cost of
        // formatting a double.
        char* p = std::to_chars(buf, buf + 20, static_cast<long long>(valor)).ptr;
        if (c.decimales > 0) {
            *p++ = '.';
            p = std::fill_n(p, c.decimales, '0');
        }
        n = static_cast<std::size_t>(p - buf);
    } else {
        auto [ptr, ec] =
            std::to_chars(buf, buf + sizeof buf, valor, std::chars_format::fixed, c.decimales);
        if (ec == std::errc()) n = static_cast<std::size_t>(ptr - buf);
    }
    if (n > c.ancho) {
        std::memset(destino, '*', c.ancho); // dBase's mark for a number that does not fit
        return;
    }
    std::memset(destino, ' ', c.ancho - n);
    std::memcpy(destino + (c.ancho - n), buf, n);
}

void codificarVacio(const CampoDBase& c, char* destino) {
    const bool binario = c.tipo == 'I' || c.tipo == '+' || c.tipo == 'O' || c.tipo == '@' ||
                         c.tipo == 'B' || c.tipo == 'Y';
    std::memset(destino, binario ? '\0' : ' ', c.ancho);
}

} // namespace pontavia
