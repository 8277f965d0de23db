#include "dbase_formato.h"

#include "ascii.h"
#include "error.h"
#include "sistema.h"

#include <cctype>
#include <cstdio>
#include <ctime>
#include <map>

namespace pontavia {

namespace {

constexpr std::size_t kCabeceraIII = 32;
constexpr std::size_t kCabeceraNivel7 = 68;
constexpr std::size_t kDescriptorIII = 32;
constexpr std::size_t kDescriptorNivel7 = 48;
constexpr std::uint8_t kFinDescriptores = 0x0D;
constexpr std::uint8_t kIdiomaWindows1252 = 0x58;
constexpr const char* kIdiomaNivel7 = "DBWINWE0";

std::uint32_t leerLE(std::string_view d, std::size_t pos, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | static_cast<std::uint8_t>(d[pos + static_cast<std::size_t>(i)]);
    return v;
}

void escribirLE(std::string& d, std::size_t pos, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        d[pos + static_cast<std::size_t>(i)] = static_cast<char>(v & 0xFF);
        v >>= 8;
    }
}

std::string codigoPorIdioma(std::uint8_t id) {
    static const std::map<std::uint8_t, const char*> tabla = {
        {0x01, "ibm-437"},      {0x02, "ibm-850"},      {0x03, "windows-1252"},
        {0x08, "ibm-865"},      {0x09, "ibm-437"},      {0x0A, "ibm-850"},
        {0x0B, "ibm-437"},      {0x0D, "ibm-437"},      {0x0E, "ibm-850"},
        {0x0F, "ibm-437"},      {0x10, "ibm-850"},      {0x11, "ibm-437"},
        {0x12, "ibm-850"},      {0x14, "ibm-850"},      {0x15, "ibm-437"},
        {0x16, "ibm-850"},      {0x17, "ibm-865"},      {0x18, "ibm-437"},
        {0x19, "ibm-437"},      {0x1A, "ibm-850"},      {0x1B, "ibm-437"},
        {0x1C, "ibm-863"},      {0x1D, "ibm-850"},      {0x1F, "ibm-852"},
        {0x22, "ibm-852"},      {0x23, "ibm-852"},      {0x24, "ibm-860"},
        {0x25, "ibm-850"},      {0x26, "ibm-866"},      {0x37, "ibm-850"},
        {0x40, "ibm-852"},      {0x4D, "windows-936"},  {0x4E, "windows-949"},
        {0x4F, "windows-950"},  {0x50, "windows-874"},  {0x57, "windows-1252"},
        {0x58, "windows-1252"}, {0x59, "windows-1252"}, {0x64, "ibm-852"},
        {0x65, "ibm-866"},      {0x66, "ibm-865"},      {0x67, "ibm-861"},
        {0x6A, "ibm-737"},      {0x6B, "ibm-857"},      {0x78, "windows-950"},
        {0x79, "windows-949"},  {0x7A, "windows-936"},  {0x7B, "windows-932"},
        {0x7C, "windows-874"},  {0x86, "ibm-737"},      {0x87, "ibm-852"},
        {0x88, "ibm-857"},      {0xC8, "windows-1250"}, {0xC9, "windows-1251"},
        {0xCA, "windows-1254"}, {0xCB, "windows-1253"}, {0xCC, "windows-1257"},
    };
    auto it = tabla.find(id);
    return it == tabla.end() ? "windows-1252" : it->second;
}

// Level 7 names its code page by a language-driver name: DBWINUS0, DB850ES0 and the like.
std::string codigoPorNombreIdioma(std::string_view nombre) {
    if (nombre.size() >= 5 && nombre.substr(0, 2) == "DB" &&
        std::isdigit((unsigned char)nombre[2]) && std::isdigit((unsigned char)nombre[3]) &&
        std::isdigit((unsigned char)nombre[4]))
        return "ibm-" + std::string(nombre.substr(2, 3));
    return "windows-1252";
}

std::string nombreCampo(std::string_view bytes) {
    std::string nombre;
    for (char c : bytes) {
        if (c == '\0') break;
        nombre += c;
    }
    while (!nombre.empty() && nombre.back() == ' ')
        nombre.pop_back();
    return nombre;
}

} // namespace

FormatoDBase leerFormato(std::string_view datos, const std::string& nombreTabla) {
    auto danada = [&](const std::string& motivo) {
        return Error(ClaseError::TablaDanada, Hecho::TablaNoDBase, {.tabla = nombreTabla}, motivo);
    };
    if (datos.size() < kCabeceraIII + 1)
        throw danada("mide " + std::to_string(datos.size()) +
                     " bytes, menos que la cabecera más corta (33)");
    FormatoDBase f;
    f.version = static_cast<std::uint8_t>(datos[0]);
    if (f.version == 0x02)
        throw Error(ClaseError::TablaDanada, Hecho::TablaFoxBASE, {.tabla = nombreTabla});
    f.nivel7 = (f.version & 0x07) == 0x04;
    f.foxpro = f.version == 0x30 || f.version == 0x31 || f.version == 0x32;
    const std::uint8_t bajo = f.version & 0x07;
    if (bajo != 0x03 && bajo != 0x04 && bajo != 0x05 && !f.foxpro) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02X", f.version);
        throw danada(std::string("su primer byte (") + hex +
                     ") no es el de ninguna versión de dBase");
    }
    f.registrosCabecera = leerLE(datos, 4, 4);
    f.longitudCabecera = leerLE(datos, 8, 2);
    f.longitudRegistro = leerLE(datos, 10, 2);
    if (f.longitudCabecera > datos.size())
        throw danada("la cabecera dice medir " + std::to_string(f.longitudCabecera) +
                     " bytes y el archivo entero mide " + std::to_string(datos.size()));
    if (f.longitudRegistro == 0) throw danada("la cabecera dice que cada registro mide 0 bytes");

    const std::size_t inicio = f.nivel7 ? kCabeceraNivel7 : kCabeceraIII;
    const std::size_t tamDescriptor = f.nivel7 ? kDescriptorNivel7 : kDescriptorIII;
    if (f.nivel7 && f.longitudCabecera < kCabeceraNivel7)
        throw danada("la cabecera dice medir " + std::to_string(f.longitudCabecera) +
                     " bytes, menos que la de una tabla de nivel 7 (68)");

    const std::uint8_t idioma = static_cast<std::uint8_t>(datos[29]);
    if (f.nivel7 && idioma == 0)
        f.codigoPagina = codigoPorNombreIdioma(nombreCampo(datos.substr(32, 32)));
    else
        f.codigoPagina = codigoPorIdioma(idioma);

    struct Descriptor {
        CampoDBase campo;
        std::size_t anchoLargo; // the width when the decimal count holds its high byte
        bool deSistema;
    };
    std::vector<Descriptor> leidos;
    for (std::size_t pos = inicio;; pos += tamDescriptor) {
        // The list ends with 0x0D; some writers put 0x00 there, or nothing when the header
        // is exactly full: a descriptor never begins with 0x00 nor runs past the header.
        if (pos >= datos.size() || pos + tamDescriptor > f.longitudCabecera) break;
        const auto primero = static_cast<std::uint8_t>(datos[pos]);
        if (primero == kFinDescriptores || primero == 0x00) break;
        Descriptor d{};
        CampoDBase& c = d.campo;
        if (f.nivel7) {
            c.nombre = nombreCampo(datos.substr(pos, 32));
            c.tipo = datos[pos + 32];
            c.ancho = static_cast<std::uint8_t>(datos[pos + 33]);
            c.decimales = static_cast<std::uint8_t>(datos[pos + 34]);
        } else {
            c.nombre = nombreCampo(datos.substr(pos, 11));
            c.tipo = datos[pos + 11];
            c.ancho = static_cast<std::uint8_t>(datos[pos + 16]);
            c.decimales = static_cast<std::uint8_t>(datos[pos + 17]);
        }
        d.anchoLargo = c.ancho;
        if (!f.nivel7 && c.tipo == 'C' && c.decimales > 0)
            d.anchoLargo += static_cast<std::size_t>(c.decimales) << 8;
        const auto banderas = static_cast<std::uint8_t>(datos[pos + 18]);
        d.deSistema = f.foxpro && (banderas & 0x01);
        if (f.foxpro && !d.deSistema) {
            if (c.tipo == 'V' || c.tipo == 'Q') c.bitLongitud = 0;
            if (banderas & 0x02) c.bitNulo = 0;
        }
        leidos.push_back(std::move(d));
    }

    // Clipper and FoxPro keep the high byte of a long text field's width in its decimal
    // count; spreadsheets leave a count there for plain text. The record length tells which:
    // the long widths unless only the plain ones fill it exactly.
    std::size_t largo = 1, corto = 1;
    for (const auto& d : leidos) {
        largo += d.anchoLargo;
        corto += d.campo.ancho;
    }
    const bool anchosLargos =
        largo == f.longitudRegistro || (corto != f.longitudRegistro && largo <= f.longitudRegistro);

    std::size_t desplazamiento = 1;
    int bits = 0; // _NullFlags' bits, given in field order: a length bit before a null bit
    for (auto& d : leidos) {
        CampoDBase& c = d.campo;
        if (c.tipo == 'C' && d.anchoLargo != c.ancho) {
            if (anchosLargos) c.ancho = d.anchoLargo;
            c.decimales = 0;
        }
        c.desplazamiento = desplazamiento;
        desplazamiento += c.ancho;
        if (desplazamiento > f.longitudRegistro)
            throw danada("el campo " + c.nombre + " ocupa hasta el byte " +
                         std::to_string(desplazamiento) + " de un registro que mide " +
                         std::to_string(f.longitudRegistro));
        if (d.deSistema) {
            if (mayusculasAscii(c.nombre) == "_NULLFLAGS") {
                f.desplazamientoNulos = c.desplazamiento;
                f.anchoNulos = c.ancho;
            }
            continue;
        }
        if (c.bitLongitud == 0) c.bitLongitud = bits++;
        if (c.bitNulo == 0) c.bitNulo = bits++;
        f.campos.push_back(std::move(c));
    }
    // Bits beyond _NullFlags, or without it, mark nothing.
    for (auto& c : f.campos) {
        if (c.bitLongitud >= static_cast<int>(8 * f.anchoNulos)) c.bitLongitud = -1;
        if (c.bitNulo >= static_cast<int>(8 * f.anchoNulos)) c.bitNulo = -1;
    }
    return f;
}

FormatoDBase disenarFormato(const std::vector<DefinicionCampo>& campos) {
    FormatoDBase f;
    for (const auto& c : campos)
        f.nivel7 = f.nivel7 || c.nombre.size() > 10;
    f.version = f.nivel7 ? 0x04 : 0x03;
    std::size_t desplazamiento = 1;
    for (const auto& def : campos) {
        CampoDBase c;
        c.nombre = def.nombre;
        switch (def.tipo) {
        case TipoCampo::Texto:
            if (def.ancho < 1 || def.ancho > 254)
                throw Error(ClaseError::Interna, Hecho::CampoAnchoNoValido, {.campo = def.nombre});
            c.tipo = 'C';
            c.ancho = static_cast<std::size_t>(def.ancho);
            break;
        case TipoCampo::Entero:
            if (!f.nivel7 && (def.ancho < 0 || def.ancho > 11))
                throw Error(ClaseError::Interna, Hecho::CampoAnchoNoValido, {.campo = def.nombre});
            c.tipo = f.nivel7 ? 'I' : 'N';
            c.ancho = f.nivel7 ? 4 : def.ancho > 0 ? static_cast<std::size_t>(def.ancho) : 11;
            break;
        case TipoCampo::Decimal:
            c.tipo = f.nivel7 ? 'O' : 'N';
            c.ancho = f.nivel7 ? 8 : 20;
            c.decimales = f.nivel7 ? 0 : 4;
            break;
        case TipoCampo::Logico:
            c.tipo = 'L';
            c.ancho = 1;
            break;
        }
        c.desplazamiento = desplazamiento;
        desplazamiento += c.ancho;
        f.campos.push_back(std::move(c));
    }
    f.longitudRegistro = desplazamiento;
    const std::size_t tamDescriptor = f.nivel7 ? kDescriptorNivel7 : kDescriptorIII;
    f.longitudCabecera =
        (f.nivel7 ? kCabeceraNivel7 : kCabeceraIII) + tamDescriptor * f.campos.size() + 1;
    if (f.longitudCabecera > 0xFFFF || f.longitudRegistro > 0xFFFF)
        throw Error(ClaseError::Interna, Hecho::DemasiadosCampos);
    return f;
}

void actualizarCabecera(std::string& d, std::uint32_t registros) {
    const std::tm hoy = sistema::ahoraLocal();
    d[1] = static_cast<char>(hoy.tm_year % 256);
    d[2] = static_cast<char>(hoy.tm_mon + 1);
    d[3] = static_cast<char>(hoy.tm_mday);
    escribirLE(d, 4, registros, 4);
}

std::string escribirCabecera(const FormatoDBase& f, std::uint32_t registros) {
    std::string d(f.longitudCabecera, '\0');
    d[0] = static_cast<char>(f.version);
    actualizarCabecera(d, registros);
    escribirLE(d, 8, static_cast<std::uint32_t>(f.longitudCabecera), 2);
    escribirLE(d, 10, static_cast<std::uint32_t>(f.longitudRegistro), 2);
    d[29] = static_cast<char>(kIdiomaWindows1252);
    std::size_t pos = kCabeceraIII;
    if (f.nivel7) {
        d.replace(32, std::char_traits<char>::length(kIdiomaNivel7), kIdiomaNivel7);
        pos = kCabeceraNivel7;
    }
    for (const auto& c : f.campos) {
        if (f.nivel7) {
            d.replace(pos, c.nombre.size(), c.nombre);
            d[pos + 32] = c.tipo;
            d[pos + 33] = static_cast<char>(c.ancho);
            d[pos + 34] = static_cast<char>(c.decimales);
            pos += kDescriptorNivel7;
        } else {
            d.replace(pos, c.nombre.size(), c.nombre);
            d[pos + 11] = c.tipo;
            d[pos + 16] = static_cast<char>(c.ancho);
            d[pos + 17] = static_cast<char>(c.decimales);
            pos += kDescriptorIII;
        }
    }
    d[pos] = static_cast<char>(kFinDescriptores);
    return d;
}

} // namespace pontavia
