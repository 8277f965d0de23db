#pragma once
// What only the tests do with the table store: make an empty table on disk with the given
// fields, as another program would leave it, and fill a record's fields by name.
#include "tabla_dbase.h"

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace pontavia::prueba {

// An empty table with exactly these fields, in this order, replacing any earlier file of that
// name: its header and the end mark.
void crearTabla(const std::filesystem::path& ruta, const std::vector<DefinicionCampo>& campos);

// The record started with empezarRegistro, filled by field name.
void asignarTexto(TablaDBase& tabla, NombreCampo campo, std::string_view texto);
void asignarEntero(TablaDBase& tabla, NombreCampo campo, std::int32_t valor);
void asignarDecimal(TablaDBase& tabla, NombreCampo campo, double valor);
void asignarLogico(TablaDBase& tabla, NombreCampo campo, bool valor);

} // namespace pontavia::prueba
