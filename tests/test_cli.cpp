// pontavia-cli end to end: exit codes, messages, mostrar, and the sample school read back
// by an independent dBase reader.
#include "ayudantes.h"
#include "informe.h"

#include <gtest/gtest.h>

using namespace pontavia::prueba;
using pontavia::kNombreInforme;

TEST(CLI, ExportarSusCodigosDeSalida) {
    KTEMPTemporal ktemp;
    CarpetaTemporal datos;
    auto r = ejecutarCLI({"exportar", (datos / "no-existe.xml").string()});
    EXPECT_EQ(r.codigo, 2);
    EXPECT_EQ(r.salida, "No existe archivo\n");

    escribirArchivo(datos / "vacio.xml", documento(""));
    r = ejecutarCLI({"exportar", (datos / "vacio.xml").string()});
    EXPECT_EQ(r.codigo, 0);
    EXPECT_EQ(r.salida.rfind("Proceso finalizado\n\nResumen del informe:\n", 0), 0u) << r.salida;
    const auto antes = instantanea(ktemp.ruta());
    EXPECT_EQ(tablasEn(ktemp.ruta()).size(), 6u);

    for (const std::string& contenido : {std::string("no es XML"), std::string("<escuela/>")}) {
        escribirArchivo(datos / "malo.xml", contenido);
        r = ejecutarCLI({"exportar", (datos / "malo.xml").string()});
        EXPECT_EQ(r.codigo, 1);
        EXPECT_EQ(r.salida, "");
        EXPECT_NE(r.errores.find("malo.xml"), std::string::npos) << r.errores;
        EXPECT_EQ(instantanea(ktemp.ruta()), antes);
    }
}

TEST(CLI, MostrarComoCSVYSuEstructura) {
    KTEMPTemporal ktemp;
    CarpetaTemporal datos;
    escribirArchivo(
        datos / "c.xml",
        documento(
            "<profesores><profesor codigo=\"A\" nombre=\"Ana, &quot;la&quot;\" apellido1=\"Gª\" "
            "apellido2=\"\" documento=\"1\" idprofesor=\"7\"/></profesores>"));
    ASSERT_EQ(ejecutarCLI({"exportar", (datos / "c.xml").string()}).codigo, 0);
    auto r = ejecutarCLI({"mostrar", "proft"});
    EXPECT_EQ(r.codigo, 0);
    EXPECT_EQ(r.salida, "ABREV,NOMBRE,DEPART,EMAIL,DNI,IDPROF\r\n"
                        "A,\"Ana, \"\"la\"\", Gª\",,,1,7\r\n");
    r = ejecutarCLI({"mostrar", "DIASHORAST", "--estructura"});
    EXPECT_NE(r.salida.find("0x04"), std::string::npos);
    EXPECT_NE(r.salida.find("SESION_ORDEN,I,4,0"), std::string::npos) << r.salida;
    r = ejecutarCLI({"mostrar", "NOEXISTE"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("NOEXISTE.DBF"), std::string::npos);
    EXPECT_EQ(ejecutarCLI({"desconocida"}).codigo, 1);
    r = ejecutarCLI({"--ayuda"});
    EXPECT_EQ(r.codigo, 0);
    EXPECT_NE(r.salida.find("exportar"), std::string::npos);
}

TEST(CLI, ColegioDeEjemploLeidoPorOtroLector) {
    KTEMPTemporal ktemp;
    const auto r = ejecutarCLI({"exportar", std::string(PONTAVIA_EJEMPLOS) + "/centro.xml"});
    ASSERT_EQ(r.codigo, 0) << r.errores;
#ifndef _WIN32 // the independent reader is Linux's python3-dbf
    // python3-dbf, an independent reader, must see the same rows and values as mostrar.
    const std::string orden = "/usr/bin/python3 " + std::string(PONTAVIA_SCRIPTS) +
                              "/comparar_con_dbf.py " + ktemp.ruta().string() + " " + PONTAVIA_CLI;
    EXPECT_EQ(std::system(orden.c_str()), 0);
#endif
    EXPECT_EQ(leerTabla(ktemp / "PROFT.DBF").size(), 60u);
    EXPECT_EQ(leerTabla(ktemp / "GRUPOST.DBF").size(), 24u);
    EXPECT_EQ(leerTabla(ktemp / "AULAT.DBF").size(), 40u);
    EXPECT_EQ(leerTabla(ktemp / "DIASHORAST.DBF").size(), 30u);
}

TEST(CLI, InformeComprobarYRestaurar) {
    KTEMPTemporal ktemp;
    CarpetaTemporal datos;
    escribirArchivo(datos / "c.xml",
                    documento("<aulas><daula codigo=\"\" nombre=\"Lab, \xC2\xABnorte\xC2\xBB\" "
                              "capacidad_alumnos=\"\" idaula=\"7\"/></aulas>"));

    // comprobar: the whole report, and nothing written but the CSV asked for.
    auto r = ejecutarCLI(
        {"comprobar", (datos / "c.xml").string(), "--informe", (datos / "informe.csv").string()});
    EXPECT_EQ(r.codigo, 0) << r.errores;
    EXPECT_NE(r.salida.find("Informe de Pontavia: comprobar\n"), std::string::npos) << r.salida;
    EXPECT_NE(r.salida.find("  AULAT       1 fila, 1 aviso\n"), std::string::npos) << r.salida;
    EXPECT_TRUE(fs::is_empty(ktemp.ruta()));
    const std::string csv = "tabla,tipo,elemento,campo,valor,resultado,motivo\r\n"
                            "AULAT,código cambiado,daula número 1 (idaula 7),codigo,,\"Lab,\","
                            "no tiene código; se toma de su nombre\r\n";
    EXPECT_EQ(leerArchivo(datos / "informe.csv"), csv);
    EXPECT_EQ(ejecutarCLI({"comprobar", (datos / "no.xml").string()}).codigo, 2);

    // exportar: its message, then the summary; the same CSV.
    r = ejecutarCLI(
        {"exportar", (datos / "c.xml").string(), "--informe", (datos / "exportar.csv").string()});
    EXPECT_EQ(r.codigo, 0) << r.errores;
    EXPECT_NE(r.salida.find("  AULAT       1 fila, 1 aviso\n  GRUPOST     0 filas, 0 avisos\n"),
              std::string::npos)
        << r.salida;
    EXPECT_NE(r.salida.find("Informe completo en " + (ktemp / kNombreInforme).string()),
              std::string::npos);
    EXPECT_EQ(leerArchivo(datos / "exportar.csv"), csv);

    // restaurar: the first exportar found no tables, so they are taken away again.
    r = ejecutarCLI({"restaurar"});
    EXPECT_EQ(r.codigo, 0) << r.errores;
    EXPECT_NE(r.salida.find("AULAT: retirada (no existía antes)\n"), std::string::npos);
    EXPECT_TRUE(tablasEn(ktemp.ruta()).empty());
    fs::remove_all(ktemp / ".pontavia-anterior");
    r = ejecutarCLI({"restaurar"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("No hay tablas de una exportación anterior"), std::string::npos);
}
