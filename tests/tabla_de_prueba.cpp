#include "tabla_de_prueba.h"

#include "ayudantes.h"

namespace pontavia::prueba {

namespace {

// The field's place in the table, found by its name; a name the table lacks raises the table
// store's own error.
std::size_t indice(const TablaDBase& tabla, NombreCampo campo) {
    return static_cast<std::size_t>(&tabla.campo(campo) - tabla.formato().campos.data());
}

} // namespace

void crearTabla(const std::filesystem::path& ruta, const std::vector<DefinicionCampo>& campos) {
    escribirArchivo(ruta, escribirCabecera(disenarFormato(campos), 0) + '\x1A');
}

void asignarTexto(TablaDBase& tabla, NombreCampo campo, std::string_view texto) {
    tabla.asignarTextoEn(indice(tabla, campo), texto);
}
void asignarEntero(TablaDBase& tabla, NombreCampo campo, std::int32_t valor) {
    tabla.asignarEnteroEn(indice(tabla, campo), valor);
}
void asignarDecimal(TablaDBase& tabla, NombreCampo campo, double valor) {
    tabla.asignarDecimalEn(indice(tabla, campo), valor);
}
void asignarLogico(TablaDBase& tabla, NombreCampo campo, bool valor) {
    tabla.asignarLogicoEn(indice(tabla, campo), valor);
}

} // namespace pontavia::prueba
