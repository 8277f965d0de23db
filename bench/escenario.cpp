#include "escenario.h"

#include "esquema_tamberlo.h"
#include "informe.h"
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
// (at least one), spread over the 30 weekly slots, each in a room taken in turn; with
// informeLargo, one lesson in ten in a room and one in thirty with a teacher that the tables
// do not have.
std::size_t colocarHorario(const fs::path& ktemp, bool informeLargo) {
    using tamberlo::ASIGT, tamberlo::AULAT, tamberlo::SOLUC;
    TablaDBase asignaturas =
        TablaDBase::abrir(ktemp / ASIGT.archivo(), Durable::Si, discoDelSistema());
    TablaDBase aulas = TablaDBase::abrir(ktemp / AULAT.archivo(), Durable::Si, discoDelSistema());
    std::vector<std::string> codigosAula;
    for (aulas.primero(); !aulas.alFinal(); aulas.siguiente())
        codigosAula.push_back(aulas.leerTexto(AULAT["ABREV"]));
    // Made as described, so each field lies at its described place.
    TablaDBase soluc = TablaDBase::nueva(ktemp / SOLUC.archivo(), SOLUC.definiciones(), Durable::Si,
                                         discoDelSistema());
    std::size_t n = 0;
    for (asignaturas.primero(); !asignaturas.alFinal(); asignaturas.siguiente()) {
        const int horas = std::max(1, static_cast<int>(asignaturas.leerNumero(ASIGT["HORAS"])));
        for (int h = 0; h < horas; ++h, ++n) {
            soluc.empezarRegistro();
            soluc.asignarEnteroEn(SOLUC["DIA"].indice, static_cast<std::int32_t>(n % 5 + 1));
            soluc.asignarEnteroEn(SOLUC["HORA"].indice, static_cast<std::int32_t>(n / 5 % 6 + 1));
            soluc.asignarTextoEn(SOLUC["SESIONES"].indice, "1");
            soluc.asignarTextoEn(SOLUC["CODGRUPO"].indice, asignaturas.leerTexto(ASIGT["CGRUP"]));
            soluc.asignarTextoEn(SOLUC["ASIG"].indice, asignaturas.leerTexto(ASIGT["CASIG"]));
            soluc.asignarTextoEn(SOLUC["TAREA"].indice, "LECT");
            const bool sinProfesor = informeLargo && n % 30 == 7;
            const bool sinAula = informeLargo && n % 10 == 3;
            soluc.asignarTextoEn(SOLUC["PROF"].indice,
                                 sinProfesor ? "NOESTA" : asignaturas.leerTexto(ASIGT["CPROF"]));
            soluc.asignarTextoEn(SOLUC["AULA"].indice,
                                 sinAula ? "NOESTA" : codigosAula[n % codigosAula.size()]);
            soluc.guardarRegistro();
        }
    }
    soluc.cerrar();
    return n;
}

Escenario preparar(const fs::path& datos, int escala, bool informeLargo) {
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
    for (const VistaTabla& t : tamberlo::kTablasTamberlo)
        if (t.exportada()) e.tablasExportadas[t.nombre] = leer(e.ktemp / t.archivo());
    e.informeExportar = leer(e.ktemp / kNombreInforme);
    e.lecciones = colocarHorario(e.ktemp, informeLargo);
    importar(e.xml, e.ktemp, informe);
    e.resultadoImportar =
        leer(e.xml.parent_path() / ("ResultadoTamberlo" + e.xml.filename().string()));
    e.informeImportar = leer(e.ktemp / kNombreInformeImportar);
    return e;
}

} // namespace

const Escenario& escenario(const fs::path& datos, int escala, bool informeLargo) {
    static std::map<int, std::unique_ptr<Escenario>> hechos;
    auto& e = hechos[escala];
    if (!e) e = std::make_unique<Escenario>(preparar(datos, escala, informeLargo));
    return *e;
}

} // namespace pontavia::bench
