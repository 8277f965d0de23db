#include "dbase_formato.h"

#include "error.h"
#include "sistema.h"

#include <cctype>
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
        return Error("La tabla " + nombreTabla + " está dañada o no es una tabla dBase: " + motivo +
                     ".");
    };
    if (datos.size() < kCabeceraIII + 1)
        throw danada("el archivo es demasiado corto (" + std::to_string(datos.size()) + " bytes)");
    FormatoDBase f;
    f.version = static_cast<std::uint8_t>(datos[0]);
    f.nivel7 = (f.version & 0x07) == 0x04;
    f.foxpro = f.version == 0x30 || f.version == 0x31 || f.version == 0x32;
    const std::uint8_t bajo = f.version & 0x07;
    if (bajo != 0x02 && bajo != 0x03 && bajo != 0x04 && bajo != 0x05 && !f.foxpro)
        throw danada("versión desconocida " + std::to_string(f.version));
    f.registrosCabecera = leerLE(datos, 4, 4);
    f.longitudCabecera = leerLE(datos, 8, 2);
    f.longitudRegistro = leerLE(datos, 10, 2);
    if (f.longitudCabecera > datos.size())
        throw danada("la cabecera dice medir " + std::to_string(f.longitudCabecera) +
                     " bytes y el archivo tiene " + std::to_string(datos.size()));
    if (f.longitudRegistro == 0) throw danada("la longitud de registro es 0");

    const std::size_t inicio = f.nivel7 ? kCabeceraNivel7 : kCabeceraIII;
    const std::size_t tamDescriptor = f.nivel7 ? kDescriptorNivel7 : kDescriptorIII;
    if (f.nivel7 && f.longitudCabecera < kCabeceraNivel7)
        throw danada("la cabecera de nivel 7 es demasiado corta");

    const std::uint8_t idioma = static_cast<std::uint8_t>(datos[29]);
    if (f.nivel7 && idioma == 0)
        f.codigoPagina = codigoPorNombreIdioma(nombreCampo(datos.substr(32, 32)));
    else
        f.codigoPagina = codigoPorIdioma(idioma);

    std::size_t desplazamiento = 1;
    for (std::size_t pos = inicio;; pos += tamDescriptor) {
        if (pos >= f.longitudCabecera || pos >= datos.size())
            break; // some writers omit the terminator when the header is exactly full
        if (static_cast<std::uint8_t>(datos[pos]) == kFinDescriptores) break;
        if (pos + tamDescriptor > datos.size()) throw danada("la lista de campos está cortada");
        CampoDBase c;
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
            if (c.tipo == 'C' && c.decimales > 0) {
                // Clipper and FoxPro keep the high byte of a long text field's width here.
                c.ancho += static_cast<std::size_t>(c.decimales) << 8;
                c.decimales = 0;
            }
        }
        c.desplazamiento = desplazamiento;
        desplazamiento += c.ancho;
        if (desplazamiento > f.longitudRegistro)
            throw danada("el campo " + c.nombre + " se sale del registro");
        const bool deSistema = f.foxpro && (static_cast<std::uint8_t>(datos[pos + 18]) & 0x01);
        if (!deSistema) f.campos.push_back(std::move(c));
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
                throw Error("Ancho no válido para el campo " + def.nombre + ".");
            c.tipo = 'C';
            c.ancho = static_cast<std::size_t>(def.ancho);
            break;
        case TipoCampo::Entero:
            c.tipo = f.nivel7 ? 'I' : 'N';
            c.ancho = f.nivel7 ? 4 : 11;
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
        throw Error("Demasiados campos para una tabla dBase.");
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
