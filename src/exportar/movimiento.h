#pragma once
// The move of a set of tables into Tamberlo's folder, written down before the first name there
// changes, so that a run cut off half-way (a power cut, a reset, the process ended) is finished
// by the next run. Each table is replaced in one step, its earlier file kept under a second
// name in the staging folder first: at every instant each name holds its earlier or its new
// file, and the earlier set becomes the generation that restaurar brings back.
#include "disco.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace pontavia {

// What one move does, in the terms of Tamberlo's folder: the files that take a name there
// (each by its path relative to the folder), the names that go, and the folder that keeps
// the set replaced.
struct PlanMovimiento {
    struct Entrada {
        std::string origen;  // relative to Tamberlo's folder
        std::string destino; // a name in Tamberlo's folder
    };
    std::vector<Entrada> entradas;
    std::vector<std::string> retiradas;
    std::string generacion;
};

// Inside the staging folder: the record of the move, and the folder holding the second names
// of the files it replaces. While both are there, the move is not finished.
inline constexpr const char* kRegistroMovimiento = "MOVIMIENTO";
inline constexpr const char* kApartados = "apartados";

std::string textoPlan(const PlanMovimiento& plan);
// False for a text that is not a whole record, or that names anything outside the folder.
bool leerPlan(std::string_view texto, PlanMovimiento& plan);

// Carries out, or finishes, the move that plan records in the staging folder carpeta inside
// ktemp; done again, it does only what is left. The files kept in carpeta's kApartados become
// the generation (the one there before goes to carpeta), and the names in ktemp are safe on
// disk when it returns. Raises an error when a step fails; what is done stays done.
void completarMovimiento(Disco& disco, const std::filesystem::path& ktemp,
                         const std::filesystem::path& carpeta, const PlanMovimiento& plan);

// Whether the staging folder carpeta holds a move begun and not finished.
bool movimientoPendiente(Disco& disco, const std::filesystem::path& carpeta);

} // namespace pontavia
