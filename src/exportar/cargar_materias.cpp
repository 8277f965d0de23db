// CargarMaterias: creates ASIGNOMT and writes the subjects.
#include "asignomt.h"
#include "tabla_dbase.h"

namespace pontavia {

void CargarMaterias(Exportacion& e) {
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
