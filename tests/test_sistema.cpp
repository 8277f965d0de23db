// Where the systems differ: Tamberlo's folder when none is named, and names beyond ASCII in
// every path, from the command line's arguments to the files written.
#include "ayudantes.h"
#include "sistema.h"

#include <gtest/gtest.h>

using namespace pontavia;
using namespace pontavia::prueba;

// Without PONTAVIA_KTEMP, Tamberlo's folder is \KTEMP at the root of the current drive.
TEST(Sistema, CarpetaDeTamberloEnLaRaizDeLaUnidad) {
#ifdef _WIN32
    CarpetaTemporal tmp; // on the Wine prefix's own drive C:, not on the machine's root
    const auto antes = fs::current_path();
    fs::current_path(tmp.ruta());
    const fs::path esperada = tmp.ruta().root_path() / "KTEMP";
    const fs::path carpeta = carpetaKTEMP();
    fs::current_path(antes);
    EXPECT_EQ(carpeta, esperada);
    EXPECT_TRUE(carpeta.has_root_name()) << carpeta;
#else
    EXPECT_EQ(sistema::carpetaKTEMPPredeterminada(), fs::path("/KTEMP"));
#endif
}

// A school's folder as a secretary names it, and Tamberlo's with an ñ too: both runs, from the
// command line, read and write there (the window's side is with the window's tests).
TEST(Sistema, RutasConEspaciosYEnes) {
    const CarpetasConEspaciosYEnes carpetas;
    const fs::path& datos = carpetas.datos();
    const fs::path& ktemp = carpetas.ktemp();

    auto r = ejecutarCLI({"exportar", (datos / "centro.xml").string()});
    EXPECT_EQ(r.codigo, 0) << r.errores;
    EXPECT_NE(r.salida.find("Informe completo en " + ktemp.string()), std::string::npos)
        << r.salida;
    EXPECT_EQ(tablasEn(ktemp).size(), 6u);

    fs::copy_file(sistema::ruta(PONTAVIA_EJEMPLOS) / "SOLUC.DBF", ktemp / "SOLUC.DBF");
    r = ejecutarCLI({"importar", (datos / "centro.xml").string()});
    EXPECT_EQ(r.codigo, 0) << r.errores;
    EXPECT_TRUE(fs::exists(datos / "ResultadoTamberlocentro.xml"));
}
