#include "tablas_tamberlo.h"

#include "error.h"
#include "plataforma.h"

#include <initializer_list>

namespace pontavia {

namespace {

TablaDBase abrirTabla(Disco& disco, const std::filesystem::path& ktemp, const char* nombre,
                      std::initializer_list<const char*> campos) {
    const auto ruta = buscarEnCarpeta(ktemp, std::string(nombre) + ".DBF");
    if (!existeArchivo(ruta))
        throw Error(ClaseError::FaltaEntrada, Hecho::NoExisteTablaExportada,
                    {.tabla = ruta.string()});
    TablaDBase t = TablaDBase::abrir(ruta, Durable::Si, disco);
    for (const char* campo : campos)
        if (!t.tieneCampo(NombreCampo::deTexto(campo)))
            throw Error(ClaseError::TablaDanada, Hecho::TablaSinCampo,
                        {.tabla = ruta.string(), .campo = campo});
    return t;
}

} // namespace

TablasTamberlo::TablasTamberlo(Disco& disco, const std::filesystem::path& ktemp)
    : soluc(abrirTabla(disco, ktemp, "SOLUC",
                       {"DIA", "HORA", "SESIONES", "CODGRUPO", "ASIG", "TAREA", "PROF", "AULA"})),
      grupos(abrirTabla(disco, ktemp, "GRUPOST", {"ABREV", "IDGRUPO", "IDCURSO"})),
      profesores(abrirTabla(disco, ktemp, "PROFT", {"ABREV", "IDPROF"})),
      aulas(abrirTabla(disco, ktemp, "AULAT", {"ABREV", "IDAULA"})),
      materias(abrirTabla(disco, ktemp, "ASIGNOMT", {"COD", "IDASIG"})),
      asignaturas(abrirTabla(disco, ktemp, "ASIGT", {})) {}

} // namespace pontavia
