#pragma once
// The physical dBase layout: reading any header Tamberlo or another tool may write, and
// designing the header of a new table. Values inside records are in dbase_valores.h.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pontavia {

// The kinds of column a new table can have.
enum class TipoCampo { Texto, Entero, Decimal, Logico };

struct DefinicionCampo {
    std::string nombre;
    TipoCampo tipo = TipoCampo::Texto;
    // Text fields: their width. A whole number at dBase III+ level may give its own width
    // (up to 11; 0 takes 11). Other types take the level's width and decimals.
    int ancho = 0;
};

// A field as it lies in a file.
struct CampoDBase {
    std::string nombre;
    char tipo = 'C';
    std::size_t ancho = 0;
    int decimales = 0;
    std::size_t desplazamiento = 0; // from the start of the record (the deletion flag is byte 0)
    // Visual FoxPro: the field's bits in the hidden _NullFlags field, -1 when it has none.
    // The null bit marks a NULL value; the length bit, for varchar and varbinary, says that
    // the field's last byte holds the length of a value shorter than the field.
    int bitNulo = -1;
    int bitLongitud = -1;
};

struct FormatoDBase {
    std::uint8_t version = 0x03;
    bool nivel7 = false; // 48-byte field descriptors, binary I and O
    bool foxpro = false; // Visual FoxPro: little-endian I
    std::size_t longitudCabecera = 0;
    std::size_t longitudRegistro = 0;
    std::uint32_t registrosCabecera = 0;
    std::string codigoPagina = "windows-1252"; // ICU converter name
    std::vector<CampoDBase> campos;            // the visible ones: _NullFlags is not among them
    // Where Visual FoxPro's _NullFlags lies in the record; 0 wide when there is none.
    std::size_t desplazamientoNulos = 0;
    std::size_t anchoNulos = 0;
};

// Parses a table's header; raises an error naming the table when the header is damaged.
FormatoDBase leerFormato(std::string_view datos, const std::string& nombreTabla);

// Layout of a new table: dBase III+ when every name fits in 10 characters, level 7 otherwise.
FormatoDBase disenarFormato(const std::vector<DefinicionCampo>& campos);

// The header bytes for formato with the given record count, dated today.
std::string escribirCabecera(const FormatoDBase& formato, std::uint32_t registros);

// Brings an existing header's date and record count up to date, leaving every other byte.
void actualizarCabecera(std::string& datos, std::uint32_t registros);

} // namespace pontavia
