// importar on any bytes, through the door to the result: the input holds a VELMORA file and
// Tamberlo's timetable, apart, so that the fuzzer mutates each in its own shape. Only the
// program's own errors may come out.
//
// The input: the VELMORA file's bytes, then a line "--SOLUC--" and one lesson a line, its
// fields split by '|' in SOLUC's order (DIA|HORA|SESIONES|CODGRUPO|ASIG|TAREA|PROF|AULA);
// or, after a line "--DBF--", SOLUC's own bytes. The first byte chooses the lookup tables:
// an even one takes those exportar writes from the sample school, an odd one those it writes
// from the fuzzed file itself (the round trip, when that file is VELMORA's).
#include "error.h"
#include "esquema_tamberlo.h"
#include "informe.h"
#include "nucleo.h"
#include "tabla_dbase.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path& carpeta() {
    static const fs::path c = [] {
        // Memory when the system has it mounted, the usual temporary folder otherwise.
        const fs::path base =
            fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        auto ruta = base / ("pontavia-fuzz-importar-" + std::to_string(::getpid()));
        fs::remove_all(ruta);
        fs::create_directories(ruta);
        setenv("TMPDIR", ruta.c_str(), 1);
        return ruta;
    }();
    return c;
}

void escribir(const fs::path& ruta, std::string_view bytes) {
    std::ofstream f(ruta, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The tables exportar writes from the sample school, made once: every even input starts from
// a copy of them.
const fs::path& tablasDeMuestra() {
    static const fs::path t = [] {
        const fs::path ruta = carpeta() / "muestra";
        fs::create_directories(ruta);
        pontavia::Informe informe;
        (void)pontavia::exportar(PONTAVIA_MUESTRA, ruta, informe);
        return ruta;
    }();
    return t;
}

std::vector<std::string_view> partir(std::string_view linea, char separador) {
    std::vector<std::string_view> partes;
    for (;;) {
        const auto p = linea.find(separador);
        partes.push_back(linea.substr(0, p));
        if (p == std::string_view::npos) return partes;
        linea.remove_prefix(p + 1);
    }
}

// SOLUC as Tamberlo lays it out, one record per line of texto. A day or hour that is no
// whole number is written as it is into the numeric field, as a damaged table would hold it.
void escribirSoluc(const fs::path& ruta, std::string_view texto) {
    using pontavia::tamberlo::SOLUC;
    pontavia::TablaDBase t = pontavia::TablaDBase::nueva(
        ruta, SOLUC.definiciones(), pontavia::Durable::No, pontavia::discoDelSistema());
    for (const std::string_view linea : partir(texto, '\n')) {
        if (linea.empty()) continue;
        const auto campos = partir(linea, '|');
        t.empezarRegistro();
        for (std::size_t i = 0; i < campos.size() && i < std::size(SOLUC.campos); ++i) {
            if (i < 2) {
                const std::string valor(campos[i]);
                char* fin = nullptr;
                const long n = std::strtol(valor.c_str(), &fin, 10);
                if (!valor.empty() && *fin == '\0' && n > -10 && n < 100) {
                    t.asignarEnteroEn(i, static_cast<std::int32_t>(n));
                    continue;
                }
            }
            t.asignarTextoEn(i, campos[i]);
        }
        t.guardarRegistro();
    }
    t.cerrar();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
    if (tamano == 0) return 0;
    const bool idaYVuelta = datos[0] % 2 != 0;
    const std::string_view entrada(reinterpret_cast<const char*>(datos) + 1, tamano - 1);
    std::string_view xml = entrada, soluc;
    bool dbfEnBruto = false;
    for (const std::string_view marca :
         {std::string_view("\n--SOLUC--\n"), std::string_view("\n--DBF--\n")}) {
        if (const auto p = entrada.find(marca); p != std::string_view::npos) {
            xml = entrada.substr(0, p);
            soluc = entrada.substr(p + marca.size());
            dbfEnBruto = marca.find("DBF") != std::string_view::npos;
            break;
        }
    }

    const fs::path ktemp = carpeta() / "KTEMP";
    const fs::path archivo = carpeta() / "centro.xml";
    std::error_code ec;
    fs::remove_all(ktemp, ec);
    fs::create_directories(ktemp);
    fs::remove(pontavia::resultadoDeImportar(archivo), ec);
    escribir(archivo, xml);
    try {
        if (idaYVuelta) {
            pontavia::Informe deExportar;
            (void)pontavia::exportar(archivo, ktemp, deExportar);
        } else {
            for (const auto& t : fs::directory_iterator(tablasDeMuestra()))
                if (t.is_regular_file()) fs::copy_file(t.path(), ktemp / t.path().filename());
        }
        if (dbfEnBruto)
            escribir(ktemp / "SOLUC.DBF", soluc);
        else
            escribirSoluc(ktemp / "SOLUC.DBF", soluc);
        pontavia::Informe informe;
        (void)pontavia::importar(archivo, ktemp, informe);
        (void)informe.texto();
    } catch (const pontavia::Error&) {
        // Bad input is refused with a clear error: that is the expected outcome.
    }
    return 0;
}
