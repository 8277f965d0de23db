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

std::string cifras(long long v, std::size_t n) {
    std::string s = std::to_string(v);
    return s.size() < n ? std::string(n - s.size(), '0') + s : s;
}

bool esCifra(char c) {
    return c >= '0' && c <= '9';
}

int diasDelMes(int anio, int mes) {
    static constexpr int kDias[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool bisiesto = (anio % 4 == 0 && anio % 100 != 0) || anio % 400 == 0;
    return mes == 2 && bisiesto ? 29 : kDias[mes - 1];
}

constexpr long long kMsDia = 86'400'000;
// The Julian day number of the day before 1 January of year 1 (proleptic Gregorian).
constexpr long long kDiaJulianoDelDia0 = 1'721'425;
// The Julian day numbers of 1 January of year 1 and 31 December 9999.
constexpr long long kPrimerDiaJuliano = 1'721'426, kUltimoDiaJuliano = 5'373'484;

// A moment as YYYY-MM-DD HH:MM:SS, as dates read; empty outside years 1 to 9999.
std::string fechaHora(long long jd, long long msDelDia) {
    if (jd < kPrimerDiaJuliano || jd > kUltimoDiaJuliano) return "";
    int anio = 0, mes = 0, dia = 0;
    diaJuliano(jd, anio, mes, dia);
    const long long s = msDelDia / 1000;
    return cifras(anio, 4) + "-" + dosCifras(mes) + "-" + dosCifras(dia) + " " +
           cifras(s / 3600, 2) + ":" + cifras(s / 60 % 60, 2) + ":" + cifras(s % 60, 2);
}

// Text fields are padded with blanks; some writers pad with zero bytes instead.
std::string_view sinRellenoFinal(std::string_view b) {
    std::size_t fin = b.size();
    while (fin > 0 && (b[fin - 1] == ' ' || b[fin - 1] == '\0'))
        --fin;
    return b.substr(0, fin);
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
        throw Error(ClaseError::ValorNoValido, Hecho::NoEsDecimal, {}, std::string(texto));
    return v;
}

} // namespace

std::optional<std::string_view> bytesDeValor(const FormatoDBase& f, const CampoDBase& c,
                                             std::string_view registro) {
    std::string_view b = registro.substr(c.desplazamiento, c.ancho);
    if (c.bitNulo < 0 && c.bitLongitud < 0) return b;
    const std::string_view nulos = registro.substr(f.desplazamientoNulos, f.anchoNulos);
    auto marcado = [&](int bit) {
        const auto i = static_cast<std::size_t>(bit);
        return bit >= 0 && (static_cast<std::uint8_t>(nulos[i / 8]) >> (i % 8)) & 1;
    };
    if (marcado(c.bitNulo)) return std::nullopt;
    if (marcado(c.bitLongitud) && !b.empty())
        b = b.substr(0, std::min<std::size_t>(static_cast<std::uint8_t>(b.back()), b.size() - 1));
    return b;
}

bool esCampoNumerico(char tipo) {
    return tipo == 'N' || tipo == 'F' || tipo == 'I' || tipo == '+' || tipo == 'O' || tipo == 'B' ||
           tipo == 'Y';
}

std::string textoDeCampo(const FormatoDBase& f, const CampoDBase& c, std::string_view b,
                         const CodigoPagina& cp) {
    switch (c.tipo) {
    case 'C':
        return cp.aUtf8(sinRellenoFinal(b));
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
        if (d.size() != 8 || !std::all_of(d.begin(), d.end(), esCifra)) return "";
        const int anio = std::stoi(d.substr(0, 4)), mes = std::stoi(d.substr(4, 2)),
                  dia = std::stoi(d.substr(6, 2));
        if (anio < 1 || mes < 1 || mes > 12 || dia < 1 || dia > diasDelMes(anio, mes)) return "";
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
        // A big-endian double counting milliseconds in days numbered from 1 January of year 1
        // as day 1 (proleptic Gregorian): day 693 596 is 1 January 1900.
        if (b.size() != 8 || todoCeros(b)) return "";
        const double ms = std::bit_cast<double>(leerBE(b));
        if (!std::isfinite(ms) || ms < 0 || ms >= 1e17) return "";
        const auto total = static_cast<long long>(ms);
        return fechaHora(total / kMsDia + kDiaJulianoDelDia0, total % kMsDia);
    }
    case 'T': {
        // Visual FoxPro: the Julian day number, then milliseconds since midnight, both
        // little-endian.
        if (b.size() != 8 || todoCeros(b)) return "";
        const auto jd =
            static_cast<std::int32_t>(static_cast<std::uint32_t>(leerLE(b.substr(0, 4))));
        const auto ms = static_cast<std::int32_t>(static_cast<std::uint32_t>(leerLE(b.substr(4))));
        if (ms < 0 || ms >= kMsDia) return "";
        return fechaHora(jd, ms);
    }
    case 'V':
        return cp.aUtf8(b);
    case 'Q': {
        static constexpr char kCifras[] = "0123456789ABCDEF";
        std::string hex;
        for (char byte : b) {
            hex += kCifras[static_cast<std::uint8_t>(byte) >> 4];
            hex += kCifras[static_cast<std::uint8_t>(byte) & 0x0F];
        }
        return hex;
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
    case 'T':
    case 'Q':
    case 'M':
    case 'G':
    case 'P':
    case 'W':
        throw Error(ClaseError::TablaDanada, Hecho::CampoNoNumerico, {.campo = c.nombre});
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
    if (c.tipo != 'N' && c.tipo != 'F')
        throw Error(ClaseError::Interna, Hecho::CampoNoNumerico, {.campo = c.nombre});
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
