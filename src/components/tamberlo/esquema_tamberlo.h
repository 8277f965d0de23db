#pragma once
// Tamberlo's tables in its folder, each described once: the six exportar writes, in the order
// it writes them, and SOLUC, the timetable Tamberlo writes and importar reads. Every part of
// the program that makes, reads, moves or lists them takes them from here. A new table is a
// description here, its place in kTablasTamberlo, and its builder in exportar.
#include "esquema_tabla.h"

namespace pontavia::tamberlo {

using enum TipoCampo;

// Subjects and activities.
inline constexpr EsquemaTabla ASIGNOMT{"ASIGNOMT",
                                       "Materias y actividades",
                                       NivelDBase::III,
                                       Papel::ExportadaConIndice,
                                       {
                                           {"COD", Texto, 10, 0},
                                           {"CODLARGO", Texto, 10, 0},
                                           {"NOMBRE", Texto, 80, 0},
                                           {"CODTAREA", Texto, 10, 0},
                                           {"ESTAREA", Logico, 1, 0},
                                           {"IDASIG", Texto, 10, 0},
                                       }};

// Teachers.
inline constexpr EsquemaTabla PROFT{"PROFT",
                                    "Profesores",
                                    NivelDBase::III,
                                    Papel::ExportadaConIndice,
                                    {
                                        {"ABREV", Texto, 10, 0},
                                        {"NOMBRE", Texto, 80, 0},
                                        {"DEPART", Texto, 40, 0},
                                        {"EMAIL", Texto, 100, 0},
                                        {"DNI", Texto, 14, 0},
                                        {"IDPROF", Texto, 10, 0},
                                    }};

// Rooms.
inline constexpr EsquemaTabla AULAT{"AULAT",
                                    "Aulas",
                                    NivelDBase::III,
                                    Papel::ExportadaConIndice,
                                    {
                                        {"ABREV", Texto, 10, 0},
                                        {"NOMBRE", Texto, 80, 0},
                                        {"EDIFICIO", Texto, 1, 0},
                                        {"MAXALUM", Entero, 11, 0},
                                        {"IDAULA", Texto, 20, 0},
                                    }};

// Class groups.
inline constexpr EsquemaTabla GRUPOST{"GRUPOST",
                                      "Grupos",
                                      NivelDBase::III,
                                      Papel::ExportadaConIndice,
                                      {
                                          {"ABREV", Texto, 10, 0},
                                          {"TURNO", Texto, 1, 0},
                                          {"NIVEL", Texto, 5, 0},
                                          {"CURSO", Texto, 3, 0},
                                          {"GRUPO", Texto, 2, 0},
                                          {"MARCO", Texto, 1, 0},
                                          {"IDGRUPO", Texto, 10, 0},
                                          {"IDCURSO", Texto, 10, 0},
                                          {"DESCRIP", Texto, 80, 0},
                                          {"TUTOR", Texto, 10, 0},
                                      }};

// The weekly time slots. SESION_ORDEN's name makes it level 7; it never had an index, so
// an index file of that name is not Pontavia's to remove.
inline constexpr EsquemaTabla DIASHORAST{"DIASHORAST",
                                         "Franjas horarias",
                                         NivelDBase::Siete,
                                         Papel::ExportadaSinIndice,
                                         {
                                             {"DIHO", Texto, 10, 0},
                                             {"CODDIHO", Texto, 10, 0},
                                             {"DIA", Texto, 20, 0},
                                             {"TEXTODIA", Texto, 20, 0},
                                             {"HORA", Texto, 8, 0},
                                             {"TEXTOHOR", Texto, 15, 0},
                                             {"HORADESDE", Texto, 8, 0},
                                             {"HORAHASTA", Texto, 8, 0},
                                             {"MINUTOS", Texto, 8, 0},
                                             {"MARCO", Texto, 1, 0},
                                             {"MARCOXML", Texto, 10, 0},
                                             {"SESION_ORDEN", Entero, 4, 0},
                                             {"PLANTILLA", Texto, 20, 0},
                                         }};

// The teaching assignments.
inline constexpr EsquemaTabla ASIGT{"ASIGT",
                                    "Asignaturas",
                                    NivelDBase::III,
                                    Papel::ExportadaConIndice,
                                    {
                                        {"CASIG", Texto, 10, 0},
                                        {"CPROF", Texto, 10, 0},
                                        {"CGRUP", Texto, 10, 0},
                                        {"CAULA", Texto, 10, 0},
                                        {"TURNO", Texto, 1, 0},
                                        {"NIVEL", Texto, 5, 0},
                                        {"CURSO", Texto, 3, 0},
                                        {"GRUPO", Texto, 2, 0},
                                        {"HORAS", Decimal, 20, 4},
                                        {"SESIONES", Texto, 20, 0},
                                        {"CTAREA", Texto, 10, 0},
                                        {"NCONEX", Texto, 4, 0},
                                        {"IDCURSO", Texto, 10, 0},
                                        {"IDGRUP", Texto, 10, 0},
                                        {"IDASIG", Texto, 10, 0},
                                        {"IDPROF", Texto, 10, 0},
                                    }};

// Tamberlo's timetable, one record per lesson, as Tamberlo writes it. importar reads its
// fields by name, whatever their order, and DIA and HORA as numbers whatever their type.
inline constexpr EsquemaTabla SOLUC{"SOLUC",
                                    "Lecciones del horario de Tamberlo",
                                    NivelDBase::III,
                                    Papel::DeTamberlo,
                                    {
                                        {"DIA", Entero, 2, 0},
                                        {"HORA", Entero, 2, 0},
                                        {"SESIONES", Texto, 20, 0},
                                        {"CODGRUPO", Texto, 10, 0},
                                        {"ASIG", Texto, 10, 0},
                                        {"TAREA", Texto, 10, 0},
                                        {"PROF", Texto, 10, 0},
                                        {"AULA", Texto, 10, 0},
                                    }};

static_assert(ASIGNOMT.coherente() && PROFT.coherente() && AULAT.coherente() &&
              GRUPOST.coherente() && DIASHORAST.coherente() && ASIGT.coherente() &&
              SOLUC.coherente());

// Every table described, those exportar writes first in the order it writes them (each
// builder may read the tables written before it), then Tamberlo's own.
inline constexpr VistaTabla kTablasTamberlo[] = {ASIGNOMT,   PROFT, AULAT, GRUPOST,
                                                 DIASHORAST, ASIGT, SOLUC};

// A table as the timetabler reads it: what it holds, then its name ("Profesores (PROFT)"); a
// name no description has, as it is.
inline std::string conSuContenido(std::string_view tabla) {
    for (const auto& t : kTablasTamberlo)
        if (tabla == t.nombre) return std::string(t.contenido) + " (" + std::string(tabla) + ")";
    return std::string(tabla);
}

} // namespace pontavia::tamberlo
