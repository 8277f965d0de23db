#include "tablas_tamberlo.h"

#include "carpeta_tamberlo.h"
#include "error.h"
#include "esquema_tamberlo.h"
#include "plataforma.h"

#include <initializer_list>

namespace pontavia {

namespace {

// The table as described, checked for every field the run reads.
TablaDBase abrirTabla(Disco& disco, const std::filesystem::path& ktemp, const VistaTabla& tabla,
                      std::initializer_list<Campo> campos) {
    const auto ruta = buscarEnCarpeta(ktemp, tabla.archivo(), disco);
    if (!existeArchivo(ruta, disco))
        throw Error(ClaseError::FaltaEntrada, Hecho::NoExisteTablaExportada,
                    {.tabla = ruta.string()});
    TablaDBase t = TablaDBase::abrir(ruta, Durable::Si, disco);
    for (const Campo campo : campos)
        if (!t.tieneCampo(campo))
            throw Error(ClaseError::TablaDanada, Hecho::TablaSinCampo,
                        {.tabla = ruta.string(), .campo = campo.nombre});
    return t;
}

} // namespace

using namespace tamberlo;

TablasTamberlo::TablasTamberlo(Disco& disco, const std::filesystem::path& ktemp)
    : soluc(abrirTabla(disco, ktemp, SOLUC,
                       {SOLUC["DIA"], SOLUC["HORA"], SOLUC["SESIONES"], SOLUC["CODGRUPO"],
                        SOLUC["ASIG"], SOLUC["TAREA"], SOLUC["PROF"], SOLUC["AULA"]})),
      grupos(abrirTabla(disco, ktemp, GRUPOST,
                        {GRUPOST["ABREV"], GRUPOST["IDGRUPO"], GRUPOST["IDCURSO"]})),
      profesores(abrirTabla(disco, ktemp, PROFT, {PROFT["ABREV"], PROFT["IDPROF"]})),
      aulas(abrirTabla(disco, ktemp, AULAT, {AULAT["ABREV"], AULAT["IDAULA"]})),
      materias(abrirTabla(disco, ktemp, ASIGNOMT, {ASIGNOMT["COD"], ASIGNOMT["IDASIG"]})),
      asignaturas(abrirTabla(disco, ktemp, ASIGT, {})) {}

} // namespace pontavia
