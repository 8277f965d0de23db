// Making codes unique: the worked examples of each kind of code, as case tables.
#include "codigos.h"

#include "texto.h"

#include <gtest/gtest.h>
#include <random>
#include <set>

using namespace pontavia;

namespace {

// Feeds codes through a rule in order and returns what each became.
template <typename Regla>
std::vector<std::string> asignar(const std::vector<std::string>& codigos, Regla regla) {
    CodigosSinMayusculas tomados;
    std::vector<std::string> r;
    for (const auto& c : codigos) {
        r.push_back(regla(c, tomados));
        tomados.agregar(r.back());
    }
    return r;
}

using Lista = std::vector<std::string>;

} // namespace

TEST(Codigos, ProfesoresYAulasRenumeranYAcortanConNumero) {
    const std::vector<std::pair<Lista, Lista>> casos = {
        {{"ANA", "ana", "ANA"}, {"ANA", "ana1", "ANA2"}},
        {{"", "", ""}, {"", "1", "2"}},
        {{"ABCDEFGHIJKL"}, {"ABCDEFGH1"}},
        {{"ABCDEFGHIJ"}, {"ABCDEFGHIJ"}},
        {{"ABCDEFGHIJK"}, {"ABCDEFGH1"}},
        {{"GIMNASIO-PRINCIPAL", "GIMNASIO-SECUNDARIO"}, {"GIMNASIO1", "GIMNASIO2"}},
        {{"ÁNGEL", "ángel", "angel"}, {"ÁNGEL", "ángel1", "angel"}},
        {{"ABCDEFGHIJ", "ABCDEFGHIJ", "ABCDEFGHIJ"}, {"ABCDEFGHIJ", "ABCDEFGHI1", "ABCDEFGHI2"}},
    };
    for (const auto& [entrada, esperado] : casos)
        EXPECT_EQ(asignar(entrada, codigoUnicoNumerado), esperado) << entrada.front();
}

TEST(Codigos, RenumeradoLargoSeAcortaOtraVez) {
    Lista entrada(11, "ABCDEFGHIJ");
    const auto r = asignar(entrada, codigoUnicoNumerado);
    EXPECT_EQ(r[9], "ABCDEFGHI9");
    EXPECT_EQ(r[10], "ABCDEFGH1"); // ABCDEFGHI10 has 11 characters
    for (const auto& c : r)
        EXPECT_LE(c.size(), 10u);
}

TEST(Codigos, MateriasComoLasAsignaElRegistro) {
    struct Caso {
        std::vector<std::pair<std::string, std::string>> elementos; // code, name
        std::vector<std::optional<std::string>> esperado;
    };
    const std::vector<Caso> casos = {
        {{{"MATEMATICAS1", "Matemáticas I"}, {"MATEMATICAS2", "Matemáticas II"}},
         {"MATEMATIS1", "MATEMATIS2"}},
        {{{"TUTORIA_1ESO", "Tutoría"}, {"TUTORIA_2ESO", "Tutoría"}}, {"TUTORIA_SO", "TUTORIA_2E"}},
        {{{"LEN", "Lengua"}, {"LEN", "Lengua"}}, {"LEN", std::nullopt}},
        {{{"TUTORIA_1ESO", "A"}, {"TUTORIA_1ESP", "B"}}, {"TUTORIA_SO", "TUTORIA_SP"}},
        {{{"TUTORIA_1ESO", "A"}, {"TUTORIA_2ESO", "B"}}, {"TUTORIA_SO", std::nullopt}},
        // A new name whose cut is taken gets the replacement code instead of being lost.
        {{{"MATEMATICA", "Matemáticas"}, {"MATEMATICAS", "Matemáticas avanzadas"}},
         {"MATEMATICA", "MATEMATIC1"}},
        {{{"Mat", "x"}, {"MAT", "y"}}, {"Mat", "MAT"}},
    };
    for (const auto& caso : casos) {
        RegistroMaterias p;
        std::vector<std::optional<std::string>> r;
        for (const auto& [codigo, nombre] : caso.elementos)
            r.push_back(asignarCodigoMateria(p, codigo, nombre).codigo);
        EXPECT_EQ(r, caso.esperado) << caso.elementos.front().first;
    }
}

TEST(Codigos, ReemplazoConContadorDeDosCifras) {
    RegistroMaterias p;
    p.ListaCodigos = {"ABCDEFGHIJ"};
    for (int k = 1; k <= 9; ++k)
        p.ListaCodigos.insert("ABCDEFGHI" + std::to_string(k));
    EXPECT_EQ(asignarCodigoMateria(p, "ABCDEFGHIJX", "nuevo").codigo, "ABCDEFGH10");
}

// The numbered code that replaced the subjects' first 9 characters and counter, cut to
// their first 8 and last 2 characters: the same code for every k below 100, so no table a
// school already has changes; past 99 it goes on with fewer characters of the base.
TEST(Codigos, CodigoNumeradoComoElAnteriorHasta99) {
    const Lista bases = {"",          "A",          "ABCDEFGH", "ABCDEFGHI", "RELIGION1",
                         "ÁÉÍÓÚÑÜÇÀ", "1234567890", "MAT EMAT", "ab",        "CÓDIGO_ÑU"};
    for (const auto& b : bases) {
        const std::string base = primeros(b, 9);
        for (std::uint64_t k = 1; k < 100; ++k)
            ASSERT_EQ(codigoNumerado(base, k), primerosYUltimos(base + std::to_string(k)))
                << base << " " << k;
    }
    const std::vector<std::pair<std::uint64_t, std::string>> casos = {
        {7, "ABCDEFGHI7"},          {42, "ABCDEFGH42"},   {100, "ABCDEFG100"},
        {999, "ABCDEFG999"},        {1000, "ABCDEF1000"}, {123456, "ABCD123456"},
        {9999999999, "9999999999"},
    };
    for (const auto& [k, esperado] : casos)
        EXPECT_EQ(codigoNumerado("ABCDEFGHI", k), esperado) << k;
}

// The numbering resumes where it stopped for each family of codes; whatever the order and
// the case of the codes, it must give what trying every number from 1 gives.
TEST(Codigos, NumeracionReanudadaIgualQueProbarDesdeUno) {
    auto primeroLibreDesdeUno = [](const std::set<std::string>& tomados, auto candidato) {
        for (std::uint64_t k = 1;; ++k)
            if (!tomados.count(plegarMayusculas(candidato(k)))) return candidato(k);
    };
    auto referencia = [&](const std::string& codigo, const std::set<std::string>& tomados) {
        std::string r = codigo;
        if (tomados.count(plegarMayusculas(r))) {
            const std::string base = primeros(r, 9);
            r = primeroLibreDesdeUno(tomados,
                                     [&](std::uint64_t k) { return base + std::to_string(k); });
        }
        if (longitud(r) > 10)
            r = primeroLibreDesdeUno(tomados, [&](std::uint64_t k) {
                const std::string n = std::to_string(k);
                return primeros(r, 10 - std::max<std::size_t>(2, n.size())) + n;
            });
        return r;
    };
    const Lista raices = {"ANA",        "ana",       "ABCDEFGHIJ",   "abcdefghij",
                          "ABCDEFGHI1", "ABCDEFGH1", "ABCDEFGHIJKL", "abcdefghXYZ",
                          "ABCDEFG",    "ÁNGEL",     "ángel"};
    std::mt19937 azar(7);
    CodigosSinMayusculas tomados;
    std::set<std::string> plegados;
    for (int i = 0; i < 2000; ++i) {
        const std::string codigo = raices[azar() % raices.size()];
        const std::string esperado = referencia(codigo, plegados);
        ASSERT_EQ(codigoUnicoNumerado(codigo, tomados), esperado) << i << " " << codigo;
        tomados.agregar(esperado);
        plegados.insert(plegarMayusculas(esperado));
    }
}
