#include "escenario.h"

#include "nucleo.h"
#include "plataforma.h"
#include "tabla_dbase.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <pugixml.hpp>
#include <sstream>
#include <stdexcept>

namespace pontavia::bench {

namespace fs = std::filesystem;

namespace {

std::string leer(const fs::path& ruta) {
    std::ifstream f(ruta, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

std::size_t contarElementos(const fs::path& xml) {
    pugi::xml_document d;
    if (!d.load_file(xml.c_str())) throw std::runtime_error("No se pudo leer " + xml.string());
    std::size_t n = 0;
    for (const char* ruta :
         {"/centro/materias/dmateria", "/centro/profesores/profesor", "/centro/aulas/daula",
          "/centro/grupos/dgrupo", "/centro/franjashorarias/franjahoraria",
          "/centro/asignaturas/dasignatura"})
        n += d.select_nodes(ruta).size();
    return n;
}

// Tamberlo's part, played simply: each assignment gives as many lessons as its whole hours
// (at least one), spread over the 30 weekly slots, each in a room taken in turn.
std::size_t colocarHorario(const fs::path& ktemp) {
    TablaDBase asignaturas = TablaDBase::abrir(ktemp / "ASIGT.DBF");
    TablaDBase aulas = TablaDBase::abrir(ktemp / "AULAT.DBF");
    std::vector<std::string> codigosAula;
    for (aulas.First(); !aulas.Eof(); aulas.Next())
        codigosAula.push_back(aulas.leerTexto("ABREV"));
    const auto ruta = ktemp / "SOLUC.DBF";
    TablaDBase::crear(ruta, {{"DIA", TipoCampo::Entero, 0},
                             {"HORA", TipoCampo::Entero, 0},
                             {"SESIONES", TipoCampo::Texto, 20},
                             {"CODGRUPO", TipoCampo::Texto, 10},
                             {"ASIG", TipoCampo::Texto, 10},
                             {"TAREA", TipoCampo::Texto, 10},
                             {"PROF", TipoCampo::Texto, 10},
                             {"AULA", TipoCampo::Texto, 10}});
    TablaDBase soluc = TablaDBase::abrir(ruta);
    std::size_t n = 0;
    for (asignaturas.First(); !asignaturas.Eof(); asignaturas.Next()) {
        const int horas = std::max(1, static_cast<int>(asignaturas.leerNumero("HORAS")));
        for (int h = 0; h < horas; ++h, ++n) {
            soluc.Append();
            soluc.asignarEntero("DIA", static_cast<std::int32_t>(n % 5 + 1));
            soluc.asignarEntero("HORA", static_cast<std::int32_t>(n / 5 % 6 + 1));
            soluc.asignarTexto("SESIONES", "1");
            soluc.asignarTexto("CODGRUPO", asignaturas.leerTexto("CGRUP"));
            soluc.asignarTexto("ASIG", asignaturas.leerTexto("CASIG"));
            soluc.asignarTexto("TAREA", "LECT");
            soluc.asignarTexto("PROF", asignaturas.leerTexto("CPROF"));
            soluc.asignarTexto("AULA", codigosAula[n % codigosAula.size()]);
            soluc.Post();
        }
    }
    soluc.cerrar();
    return n;
}

Escenario preparar(const fs::path& datos, int escala) {
    Escenario e;
    e.escala = escala;
    e.xml = datos / ("centro_" + std::to_string(escala) + ".xml");
    e.ktemp = datos / ("ktemp_" + std::to_string(escala));
    if (!fs::exists(e.xml)) throw std::runtime_error("Falta " + e.xml.string());
    fs::remove_all(e.ktemp);
    fs::create_directories(e.ktemp);
    e.elementosXML = contarElementos(e.xml);

    Informe informe;
    exportar(e.xml, e.ktemp, informe);
    for (const char* t : {"ASIGNOMT", "PROFT", "AULAT", "GRUPOST", "DIASHORAST", "ASIGT"})
        e.tablasExportadas[t] = leer(e.ktemp / (std::string(t) + ".DBF"));
    e.informeExportar = leer(e.ktemp / kNombreInforme);
    e.lecciones = colocarHorario(e.ktemp);
    importar(e.xml, e.ktemp, informe);
    e.resultadoImportar =
        leer(e.xml.parent_path() / ("ResultadoTamberlo" + e.xml.filename().string()));
    e.informeImportar = leer(e.ktemp / kNombreInformeImportar);
    return e;
}

} // namespace

const Escenario& escenario(const fs::path& datos, int escala) {
    static std::map<int, std::unique_ptr<Escenario>> hechos;
    auto& e = hechos[escala];
    if (!e) e = std::make_unique<Escenario>(preparar(datos, escala));
    return *e;
}

} // namespace pontavia::bench
