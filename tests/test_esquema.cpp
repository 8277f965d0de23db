// Tamberlo's tables as described once: every table exportar should write is built, no other
// is, and a table made from its description lies on disk exactly as described.
#include "ayudantes.h"
#include "documento_de_prueba.h"
#include "documento_xml.h"
#include "esquema_tamberlo.h"
#include "exportacion.h"
#include "informe.h"
#include "preparacion.h"

#include <gtest/gtest.h>

using namespace pontavia;
using namespace pontavia::prueba;

namespace {

// The type letter a field of this description has in a file of its level.
char letraDe(const CampoEsquema& c, NivelDBase nivel) {
    const bool n7 = nivel == NivelDBase::Siete;
    switch (c.tipo) {
    case TipoCampo::Texto:
        return 'C';
    case TipoCampo::Entero:
        return n7 ? 'I' : 'N';
    case TipoCampo::Decimal:
        return n7 ? 'O' : 'N';
    case TipoCampo::Logico:
        return 'L';
    }
    return '?';
}

} // namespace

// A table described for the set but whose builder was forgotten, or a builder whose table is
// not in the set (and so would be dropped without a word when the set moves into place).
TEST(EsquemaTamberlo, ExportarConstruyeCadaTablaDelConjuntoYNingunaMas) {
    CarpetaTemporal carpeta;
    escribirArchivo(carpeta / "centro.xml", documento(""));
    const DocumentoXML doc = DocumentoDePrueba::cargar(carpeta / "centro.xml");
    Informe informe;
    std::vector<std::string> construidas;
    for (const char* t : construirTablas(informe, doc, carpeta.ruta(), discoDelSistema()))
        construidas.push_back(t);
    EXPECT_EQ(construidas, nombresExportados());
    EXPECT_EQ(tablasExportadas().tablas, nombresExportados());
    for (const auto& t : construidas)
        EXPECT_TRUE(fs::exists(carpeta / (t + ".DBF"))) << t;
}

// The set moved into place takes every exported table, and the index files of those that have
// one: DIASHORAST never had one, so an index file of that name is not Pontavia's to remove.
TEST(EsquemaTamberlo, ElConjuntoMovidoSaleDeLaDescripcion) {
    const ConjuntoTablas& c = tablasExportadas();
    EXPECT_EQ(c.tablas, (std::vector<std::string>{"ASIGNOMT", "PROFT", "AULAT", "GRUPOST",
                                                  "DIASHORAST", "ASIGT"}));
    EXPECT_EQ(c.indices,
              (std::vector<std::string>{"ASIGNOMT", "PROFT", "AULAT", "GRUPOST", "ASIGT"}));
}

TEST(EsquemaTamberlo, UnaTablaHechaSegunSuDescripcionEsComoSeDescribe) {
    CarpetaTemporal carpeta;
    for (const VistaTabla& t : tamberlo::kTablasTamberlo) {
        SCOPED_TRACE(t.nombre);
        TablaDBase::nueva(carpeta / t.archivo(), t.definiciones(), Durable::Si, discoDelSistema())
            .cerrar();
        const TablaDBase hecha =
            TablaDBase::abrir(carpeta / t.archivo(), Durable::Si, discoDelSistema());
        const FormatoDBase& f = hecha.formato();
        EXPECT_EQ(f.version, t.nivel == NivelDBase::Siete ? 0x04 : 0x03);
        ASSERT_EQ(f.campos.size(), t.campos.size());
        for (std::size_t i = 0; i < t.campos.size(); ++i) {
            const CampoEsquema& d = t.campos[i];
            EXPECT_EQ(f.campos[i].nombre, d.nombre);
            EXPECT_EQ(f.campos[i].tipo, letraDe(d, t.nivel)) << d.nombre;
            EXPECT_EQ(f.campos[i].ancho, static_cast<std::size_t>(d.ancho)) << d.nombre;
            EXPECT_EQ(f.campos[i].decimales, d.decimales) << d.nombre;
        }
    }
}
