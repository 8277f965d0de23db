#include "texto.h"

#include "error.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace pontavia {

namespace {

bool esRelleno(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

// Byte offset just past the first n characters of texto.
std::size_t desplazamientoDe(std::string_view texto, std::size_t n) {
    std::size_t i = 0;
    while (n > 0 && i < texto.size()) {
        siguienteCaracter(texto, i);
        --n;
    }
    return i;
}

} // namespace

std::size_t incompletoAlFinal(std::string_view utf8) {
    for (std::size_t atras = 1; atras <= std::min<std::size_t>(3, utf8.size()); ++atras) {
        const auto b = static_cast<unsigned char>(utf8[utf8.size() - atras]);
        if ((b & 0xC0) == 0x80) continue;
        const std::size_t largo = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        return largo > atras ? atras : 0;
    }
    return 0;
}

std::int32_t siguienteCaracter(std::string_view t, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(t[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    std::size_t extra = 0;
    std::int32_t c = 0;
    std::int32_t minimo = 0;
    if ((b0 & 0xE0) == 0xC0) {
        extra = 1, c = b0 & 0x1F, minimo = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2, c = b0 & 0x0F, minimo = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3, c = b0 & 0x07, minimo = 0x10000;
    } else {
        ++i;
        return -1;
    }
    if (i + extra >= t.size()) {
        ++i;
        return -1;
    }
    for (std::size_t k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(t[i + k]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return -1;
        }
        c = (c << 6) | (b & 0x3F);
    }
    if (c < minimo || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++i;
        return -1;
    }
    i += extra + 1;
    return c;
}

void anadirUtf8(std::string& t, char32_t c) {
    if (c < 0x80) {
        t += static_cast<char>(c);
    } else if (c < 0x800) {
        t += static_cast<char>(0xC0 | (c >> 6));
        t += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        t += static_cast<char>(0xE0 | (c >> 12));
        t += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        t += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        t += static_cast<char>(0xF0 | (c >> 18));
        t += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        t += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        t += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string_view recortarVista(std::string_view texto) {
    std::size_t inicio = 0;
    std::size_t fin = texto.size();
    while (inicio < fin && esRelleno(texto[inicio]))
        ++inicio;
    while (fin > inicio && esRelleno(texto[fin - 1]))
        --fin;
    return texto.substr(inicio, fin - inicio);
}

std::string recortar(std::string_view texto) {
    return std::string(recortarVista(texto));
}

std::string_view recortarDerecha(std::string_view texto) {
    std::size_t fin = texto.size();
    while (fin > 0 && texto[fin - 1] == ' ')
        --fin;
    return texto.substr(0, fin);
}

std::size_t longitud(std::string_view texto) {
    std::size_t n = 0;
    for (char c : texto)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

std::string primeros(std::string_view texto, std::size_t n) {
    return std::string(texto.substr(0, desplazamientoDe(texto, n)));
}

std::string ultimos(std::string_view texto, std::size_t n) {
    const std::size_t total = longitud(texto);
    if (n >= total) return std::string(texto);
    return std::string(texto.substr(desplazamientoDe(texto, total - n)));
}

std::string subcadena(std::string_view texto, std::size_t desde, std::size_t n) {
    const std::string_view resto = texto.substr(desplazamientoDe(texto, desde));
    return std::string(resto.substr(0, desplazamientoDe(resto, n)));
}

bool esEntero(std::string_view texto, std::int32_t& valor) {
    std::string_view cifras = texto;
    if (!cifras.empty() && cifras.front() == '+') cifras.remove_prefix(1);
    if (cifras.empty() || (cifras.size() < texto.size() && cifras.front() == '-')) return false;
    const char* fin = cifras.data() + cifras.size();
    auto [ptr, ec] = std::from_chars(cifras.data(), fin, valor);
    return ec == std::errc() && ptr == fin;
}

std::int32_t aEntero(std::string_view texto) {
    std::int32_t valor = 0;
    if (!esEntero(texto, valor))
        throw Error(ClaseError::ValorNoValido, Hecho::NoEsEntero, {}, std::string(texto));
    return valor;
}

double aDecimal(std::string_view texto, char sep) {
    auto falla = [&] {
        return Error(ClaseError::ValorNoValido, Hecho::NoEsDecimal, {}, std::string(texto));
    };
    // Accepted shape: [sign] digits [sep digits] [e|E [sign] digits], with at least one digit.
    std::string normal;
    std::size_t i = 0;
    const std::size_t n = texto.size();
    if (i < n && (texto[i] == '+' || texto[i] == '-')) normal += texto[i++];
    std::size_t cifras = 0;
    while (i < n && texto[i] >= '0' && texto[i] <= '9') {
        normal += texto[i++];
        ++cifras;
    }
    if (i < n && texto[i] == sep) {
        normal += '.';
        ++i;
        while (i < n && texto[i] >= '0' && texto[i] <= '9') {
            normal += texto[i++];
            ++cifras;
        }
    }
    if (cifras == 0) throw falla();
    if (i < n && (texto[i] == 'e' || texto[i] == 'E')) {
        normal += 'e';
        ++i;
        if (i < n && (texto[i] == '+' || texto[i] == '-')) normal += texto[i++];
        std::size_t exp = 0;
        while (i < n && texto[i] >= '0' && texto[i] <= '9') {
            normal += texto[i++];
            ++exp;
        }
        if (exp == 0) throw falla();
    }
    if (i != n) throw falla();
    const char* inicio = normal.data() + (normal[0] == '+' ? 1 : 0);
    double valor = 0;
    auto [ptr, ec] = std::from_chars(inicio, normal.data() + normal.size(), valor);
    if (ec != std::errc() || ptr != normal.data() + normal.size()) throw falla();
    return valor;
}

std::string decimalMasCorto(double valor) {
    char buf[64];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, valor);
    (void)ec;
    // Negative zero reads as zero. Returned as a new string: GCC 12 under the sanitizers warns
    // falsely (-Wrestrict) on assigning a literal over this one.
    if (std::string_view(buf, static_cast<std::size_t>(ptr - buf)) == "-0") return "0";
    return std::string(buf, ptr);
}

} // namespace pontavia
