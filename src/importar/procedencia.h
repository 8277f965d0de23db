#pragma once
// Whether Tamberlo's timetable belongs to the VELMORA file chosen for it: what the written
// lessons resolve to through the tables, set against what the file's sections hold. A
// timetable of another school, or tables exported from another file after the timetable was
// made, must not reach VELMORA, where the result would replace the school's timetable.
#include "informe.h"
#include "xml_bien_formado.h"

#include <array>
#include <cstddef>
#include <string>
#include <unordered_map>

namespace pontavia {

// The chosen file's school, as the error names it.
struct CentroElegido {
    std::string archivo, nombre, codigoInterno, curso;
};

class ProcedenciaHorario {
  public:
    enum Item { Materia, Grupo, Profesor, Aula };

    // A lesson Tamberlo placed (day and hour not 0), written or not.
    void colocada() { ++colocadas_; }
    // A lesson written, and each item it resolved to: Tamberlo's code and VELMORA's identifier.
    void escrita() { ++escritas_; }
    void item(Item item, const std::string& codigo, const std::string& identificador);

    // Raises when lessons were placed and none was written, or when the file holds VELMORA's
    // sections and none of the lessons' subjects; otherwise the items the file lacks go first
    // into the report, each with how many lessons it concerns, and the run goes on.
    void decidir(const IdentificadoresCentro& centro, const CentroElegido& elegido,
                 Informe& informe) const;

  private:
    struct Uso {
        std::string codigo;
        std::size_t lecciones = 0;
    };
    using Usos = std::unordered_map<std::string, Uso>; // by identifier
    std::array<Usos, 4> usos_;
    // Lessons come in runs of one subject, group and teacher: the last use of each is kept.
    std::array<Uso*, 4> ultimo_{};
    std::array<const std::string*, 4> ultimoId_{};
    std::size_t colocadas_ = 0, escritas_ = 0;
};

} // namespace pontavia
