// pontavia-cli end to end: exit codes, messages, mostrar, and the sample school read back
// by an independent dBase reader.
#include "ayudantes.h"

#include <gtest/gtest.h>

using namespace pontavia::prueba;

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
    // python3-dbf, an independent reader, must see the same rows and values as mostrar.
    const std::string orden = "/usr/bin/python3 " + std::string(PONTAVIA_SCRIPTS) +
                              "/comparar_con_dbf.py " + ktemp.ruta().string() + " " + PONTAVIA_CLI;
    EXPECT_EQ(std::system(orden.c_str()), 0);
    EXPECT_EQ(leerTabla(ktemp / "PROFT.DBF").size(), 60u);
    EXPECT_EQ(leerTabla(ktemp / "GRUPOST.DBF").size(), 24u);
    EXPECT_EQ(leerTabla(ktemp / "AULAT.DBF").size(), 40u);
    EXPECT_EQ(leerTabla(ktemp / "DIASHORAST.DBF").size(), 30u);
}
