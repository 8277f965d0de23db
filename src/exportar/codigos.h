#pragma once
// Making short codes unique: the renumbering and shortening that teachers, rooms and groups
// share, and the code assignment of subjects and activities.
#include "documento_xml.h"
#include "informe.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace pontavia {

// Tamberlo keeps codes of at most this many characters.
inline constexpr std::size_t kLongitudCodigo = 10;

// The first candidate(k), k = siguiente, siguiente + 1, ..., that tomado does not hold;
// siguiente is left there. Codes are only ever added during a run, so a search that resumes
// where the last one of its kind stopped finds what a search from 1 would: a school with a
// hundred copies of one code does not try a hundred numbers for each.
// It ends because the candidates of each number of digits are all different (those of
// renumerar, acortarNumerando and codigoNumerado are): the d-digit numbers give
// 9 * 10^(d-1) different codes, more than the codes taken once d is large enough, so the
// search stops before k reaches ten times the codes taken. A rule with fewer values than
// that, as a subject's code cut to its first 8 and last 2 characters, could search for ever.
template <typename Candidato, typename Tomado>
std::string primeroLibreDesde(std::uint64_t& siguiente, Candidato candidato, Tomado tomado) {
    for (;; ++siguiente) {
        std::string c = candidato(siguiente);
        if (!tomado(c)) return c;
    }
}

// Codes given so far in one builder's call, compared without regard to case
// (full Unicode case folding: "ÁNGEL" matches "ángel" but not "angel").
class CodigosSinMayusculas {
  public:
    bool contiene(std::string_view codigo) const;
    void agregar(std::string_view codigo);

    // The first candidate(k), k = 1, 2, ..., that is not taken. Candidates that share a
    // familia (the same folded prefix) are numbered alike, so the search resumes where the
    // last one for that familia stopped.
    template <typename Candidato>
    std::string primeroLibre(const std::string& familia, Candidato candidato) const {
        return primeroLibreDesde(siguiente_.try_emplace(familia, 1).first->second, candidato,
                                 [this](const std::string& c) { return contiene(c); });
    }

  private:
    std::unordered_set<std::string> plegados_;
    mutable std::unordered_map<std::string, std::uint64_t> siguiente_;
};

// The numbered code k of a base: the base shortened to its first 10 - d characters, d being
// the digits of k, followed by k (ABCDEFGHI with 7 gives ABCDEFGHI7, with 42 ABCDEFGH42,
// with 123 ABCDEFG123).
std::string codigoNumerado(std::string_view base, std::uint64_t k);

// A taken code becomes its first 9 characters followed by the smallest k >= 1 not taken.
std::string renumerar(std::string_view codigo, const CodigosSinMayusculas& tomados);

// A code shortened to its first characters followed by the smallest k >= 1 not taken,
// at most 10 characters in all (ABCDEFGHIJKL gives ABCDEFGH1).
std::string acortarNumerando(std::string_view codigo, const CodigosSinMayusculas& tomados);

// The first 8 and the last 2 characters of a code longer than 10; the code itself otherwise.
std::string primerosYUltimos(std::string_view codigo);

// Teachers and rooms: renumbered when taken, then shortened with a number when too long.
std::string codigoUnicoNumerado(std::string_view codigo, const CodigosSinMayusculas& tomados);

// The code a subject or an activity gets in ASIGNOMT (nullopt when the element is left out),
// and, for the report, why it was left out or its code changed.
struct CodigoMateria {
    std::optional<std::string> codigo;
    std::string motivo;
};

// The subjects of one exportar run, as ASIGNOMT receives them.
struct RegistroMaterias {
    // Subject codes written to ASIGNOMT, and subject names seen.
    std::unordered_set<std::string> ListaCodigos;
    std::unordered_set<std::string> ListaNombres;
    // For each subject code renumbered, the number its next copy tries first.
    std::unordered_map<std::string, std::uint64_t> SiguienteNumeroCodigo;
};

// Registers the code given and its name in the registries' ListaCodigos and ListaNombres.
CodigoMateria asignarCodigoMateria(RegistroMaterias& registro, const std::string& codigo,
                                   const std::string& nombre);

// Why a code came out other than given, for the report.
std::string motivoCambioCodigo(std::string_view codigo, bool tomado);

// Reports a teacher's, room's or group's code that came out other than given; tomado: the
// code given was already taken in its table. The item names the report's current element.
void avisarCambioCodigo(Informe& informe, const char* tabla, const std::string& codigo,
                        const std::string& nuevo, bool tomado);

} // namespace pontavia
