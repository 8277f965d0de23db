// VELMORA's file on any bytes, through the whole of exportar's work: the document is read,
// checked and turned into the six tables, in a folder in memory (/dev/shm), as the dry run
// does. Only the program's own errors may come out.
#include "error.h"
#include "informe.h"
#include "nucleo.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

const std::filesystem::path& carpeta() {
    static const std::filesystem::path c = [] {
        // Memory when the system has it mounted, the usual temporary folder otherwise.
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        auto ruta = base / ("pontavia-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(ruta);
        setenv("TMPDIR", ruta.c_str(), 1);
        return ruta;
    }();
    return c;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
    const auto archivo = carpeta() / "centro.xml";
    {
        std::ofstream f(archivo, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(datos), static_cast<std::streamsize>(tamano));
    }
    try {
        pontavia::Informe informe;
        pontavia::comprobar(archivo, informe);
        (void)informe.texto();
    } catch (const pontavia::Error&) {
        // Bad input is refused with a clear error: that is the expected outcome.
    }
    return 0;
}
