// The status entry in Tamberlo.ini: only that entry changes, every other byte stays.
#include "archivo_ini.h"
#include "ayudantes.h"
#include "disco_con_fallos.h"
#include "error.h"

#include <gtest/gtest.h>

using namespace pontavia;
using namespace pontavia::prueba;

TEST(ArchivoIni, SoloCambiaLaEntrada) {
    const std::vector<std::pair<std::string, std::string>> casos = {
        {"", "[Transformadores]\r\nTransformado=1\r\n"},
        {"[Transformadores]\r\nTransformado=0\r\n", "[Transformadores]\r\nTransformado=1\r\n"},
        {"; comentario\n[Otra]\nClave=x\n\n[transformadores]\n  transformado = -1\nOtraClave=2\n",
         "; comentario\n[Otra]\nClave=x\n\n[transformadores]\nTransformado=1\nOtraClave=2\n"},
        {"[Transformadores]\r\nAntes=1\r\n\r\n[Otra]\r\nTransformado=7\r\n",
         "[Transformadores]\r\nAntes=1\r\nTransformado=1\r\n\r\n[Otra]\r\nTransformado=7\r\n"},
        {"[Otra]\nClave=x", "[Otra]\nClave=x\n[Transformadores]\nTransformado=1\n"},
        {"[Transformadores]", "[Transformadores]\r\nTransformado=1\r\n"},
    };
    for (const auto& [antes, despues] : casos)
        EXPECT_EQ(conEntradaIni(antes, "Transformadores", "Transformado", "1"), despues) << antes;
}

TEST(ArchivoIni, EscribeYDiceCuandoNoPuede) {
    CarpetaTemporal tmp;
    const auto ini = tmp / "Tamberlo.ini";
    escribirEntradaIni(ini, "Transformadores", "Transformado", "-1");
    EXPECT_EQ(leerArchivo(ini), "[Transformadores]\r\nTransformado=-1\r\n");

    fs::create_directory(tmp / "carpeta.ini");
    try {
        escribirEntradaIni(tmp / "carpeta.ini", "Transformadores", "Transformado", "1");
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + (tmp / "carpeta.ini").string());
    }
    EXPECT_THROW(escribirEntradaIni(tmp / "no-existe" / "Tamberlo.ini", "T", "T", "1"), Error);

#ifndef _WIN32 // Windows' rights are not mode bits, and Wine lets anyone write anywhere
    // Read-only, in a folder the program may not write to: the same message, the file kept.
    fs::permissions(ini, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(tmp.ruta(), fs::perms::owner_all | fs::perms::group_read |
                                    fs::perms::group_exec | fs::perms::others_read |
                                    fs::perms::others_exec);
    {
        ComoOtroUsuario otro;
        try {
            escribirEntradaIni(ini, "Transformadores", "Transformado", "1");
            ADD_FAILURE();
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), "Unable to write to " + ini.string());
        }
    }
    EXPECT_EQ(leerArchivo(ini), "[Transformadores]\r\nTransformado=-1\r\n");
#endif
}

// A disk that fills up at any byte of the status file: Tamberlo is told, the file is kept.
TEST(ArchivoIni, DiscoLlenoEnCualquierByte) {
    CarpetaTemporal tmp;
    const auto ini = tmp / "Tamberlo.ini";
    const std::string antes =
        "; de Tamberlo\r\n[Otra]\r\nX=1\r\n[Transformadores]\r\nTransformado=0\r\n";
    escribirArchivo(ini, antes);
    for (std::size_t limite = 0; limite < antes.size(); ++limite) {
        DiscoConFallos disco;
        disco.limitarEscritura(limite);
        EXPECT_THROW(escribirEntradaIni(ini, "Transformadores", "Transformado", "1", disco), Error);
        ASSERT_EQ(instantanea(tmp.ruta()),
                  (std::map<std::string, std::string>{{"Tamberlo.ini", antes}}));
    }
}

// The k-th file operation fails, for every k: the status file is the old one, and Tamberlo is
// told, or the new one.
TEST(ArchivoIni, FalloEnCadaPaso) {
    CarpetaTemporal tmp;
    const auto ini = tmp / "Tamberlo.ini";
    const std::string antes = "[Transformadores]\r\nTransformado=0\r\n";
    const std::string despues = "[Transformadores]\r\nTransformado=1\r\n";
    std::size_t pasos = 0;
    {
        DiscoConFallos cuenta;
        cuenta.fallarEnPaso(0);
        escribirArchivo(ini, antes);
        escribirEntradaIni(ini, "Transformadores", "Transformado", "1", cuenta);
        pasos = cuenta.pasos();
    }
    ASSERT_GT(pasos, 0u);
    for (std::size_t k = 1; k <= pasos; ++k) {
        SCOPED_TRACE(k);
        escribirArchivo(ini, antes);
        DiscoConFallos disco;
        disco.fallarEnPaso(k);
        bool fallo = false;
        try {
            escribirEntradaIni(ini, "Transformadores", "Transformado", "1", disco);
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), "Unable to write to " + ini.string());
            fallo = true;
        }
        const auto ahora = instantanea(tmp.ruta());
        if (fallo)
            EXPECT_EQ(ahora, (std::map<std::string, std::string>{{"Tamberlo.ini", antes}}));
        else
            EXPECT_EQ(ahora, (std::map<std::string, std::string>{{"Tamberlo.ini", despues}}));
    }
}
