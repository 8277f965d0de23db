#pragma once
// What a set of Tamberlo's tables is: the VELMORA file an exportar made it from, when, and
// which of the tables it holds. Tamberlo's folder keeps the record of the set in place; the set
// kept for restaurar keeps its own, written with it in the same move. Without it, a kept set
// emptied by another program would read as "no table existed", and restaurar would remove
// every table.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pontavia {

class DocumentoXML;

// The VELMORA file a set was exported from, as the school's header names it.
struct OrigenConjunto {
    std::string archivo; // its path, as the user reads it
    std::string nombre;
    std::string codigoInterno;
    std::string curso;
    std::string exportado; // local time, "2026-12-11 10:30"

    bool operator==(const OrigenConjunto&) const = default;
};

struct RegistroConjunto {
    // None when the tables were there before any exportar recorded its own (an older version
    // of Pontavia, or none at all).
    std::optional<OrigenConjunto> origen;
    // The tables the set holds (ASIGNOMT, ...); none for a folder that had none.
    std::vector<std::string> tablas;

    bool operator==(const RegistroConjunto&) const = default;
};

// The record's name, in Tamberlo's folder and in the kept set's; Tamberlo reads only its own
// tables.
inline constexpr const char* kRegistroConjunto = ".pontavia-conjunto";

std::string textoRegistro(const RegistroConjunto& registro);
// False for a text that is not a whole record.
bool leerRegistro(std::string_view texto, RegistroConjunto& registro);

// The school's header of doc, exported from the file xml now.
OrigenConjunto origenDe(const DocumentoXML& doc, const std::string& xml);

// The set as restaurar names the export it goes back to: "las tablas exportadas de «IES
// Prueba» (archivo /datos/centro.xml, el 11/12/2026 a las 10:30)".
std::string describirConjunto(const RegistroConjunto& registro);

} // namespace pontavia
