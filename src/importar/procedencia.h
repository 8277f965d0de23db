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
#include <vector>

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
    // A lesson written, and each item it resolved to: the row of its table (which stays where
    // it is for the whole walk over SOLUC), Tamberlo's code and VELMORA's identifier.
    void escrita() { ++escritas_; }
    void item(Item item, const void* fila, const std::string& codigo,
              const std::string& identificador) {
        // Lessons come in runs of one subject, group and teacher: the last row is kept.
        Conteo& c = conteos_[item];
        if (fila != c.ultima) c.buscar(fila, codigo, identificador);
        ++c.ranuras[c.actual].lecciones;
    }

    // Raises when lessons were placed and none was written, or when the file holds VELMORA's
    // sections and none of the lessons' subjects; otherwise the items the file lacks go first
    // into the report, each with how many lessons it concerns, and the run goes on.
    void decidir(const IdentificadoresCentro& centro, const CentroElegido& elegido,
                 Informe& informe) const;

  private:
    struct Uso {
        std::string codigo, identificador;
        std::size_t lecciones = 0;
    };
    // Lessons counted by the row each found, in a table open-addressed by the row's address:
    // told for every lesson of a large timetable, it stays small and in the cache.
    struct Ranura {
        const void* fila = nullptr;
        std::size_t lecciones = 0;
        std::size_t uso = 0; // its code and identifier, in usos
    };
    struct Conteo {
        std::vector<Ranura> ranuras = std::vector<Ranura>(1024);
        std::vector<Uso> usos;
        const void* ultima = nullptr;
        std::size_t actual = 0; // the slot of ultima
        void buscar(const void* fila, const std::string& codigo, const std::string& identificador);
    };
    std::array<Conteo, 4> conteos_;
    std::size_t colocadas_ = 0, escritas_ = 0;
};

} // namespace pontavia
