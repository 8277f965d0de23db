// CargarMaterias: creates ASIGNOMT and writes the subjects, on emptied registries.
#include "asignomt.h"
#include "tabla_dbase.h"

namespace pontavia {

void CargarMaterias(Exportacion& e) {
    e.programa.ListaCodigos.clear();
    e.programa.ListaNombres.clear();
    e.programa.SiguienteNumeroCodigo.clear();
    e.crearTabla("ASIGNOMT.DBF", {
                                     {"COD", TipoCampo::Texto, 10},
                                     {"CODLARGO", TipoCampo::Texto, 10},
                                     {"NOMBRE", TipoCampo::Texto, 80},
                                     {"CODTAREA", TipoCampo::Texto, 10},
                                     {"ESTAREA", TipoCampo::Logico, 0},
                                     {"IDASIG", TipoCampo::Texto, 10},
                                 });
    escribirMaterias(e, false);
}

} // namespace pontavia
