#include "tablas_tamberlo.h"

#include "error.h"
#include "plataforma.h"

#include <initializer_list>

namespace pontavia {

namespace {

TablaDBase abrirTabla(const std::filesystem::path& ktemp, const char* nombre,
                      std::initializer_list<const char*> campos) {
    const auto ruta = buscarEnCarpeta(ktemp, std::string(nombre) + ".DBF");
    if (!existeArchivo(ruta))
        throw Error("No existe la tabla " + ruta.string() +
                    ": exporte antes los datos de VELMORA a Tamberlo.");
    TablaDBase t = TablaDBase::abrir(ruta);
    for (const char* campo : campos)
        if (!t.tieneCampo(NombreCampo::deTexto(campo)))
            throw Error("La tabla " + ruta.string() + " no tiene el campo " + campo + ".");
    return t;
}

} // namespace

TablasTamberlo::TablasTamberlo(const std::filesystem::path& ktemp)
    : soluc(abrirTabla(ktemp, "SOLUC",
                       {"DIA", "HORA", "SESIONES", "CODGRUPO", "ASIG", "TAREA", "PROF", "AULA"})),
      grupos(abrirTabla(ktemp, "GRUPOST", {"ABREV", "IDGRUPO", "IDCURSO"})),
      profesores(abrirTabla(ktemp, "PROFT", {"ABREV", "IDPROF"})),
      aulas(abrirTabla(ktemp, "AULAT", {"ABREV", "IDAULA"})),
      materias(abrirTabla(ktemp, "ASIGNOMT", {"COD", "IDASIG"})),
      asignaturas(abrirTabla(ktemp, "ASIGT", {})) {}

} // namespace pontavia
