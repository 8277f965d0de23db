// Makes the benchmark schools ready for the fresh-process measurements: for each scale, the
// Tamberlo folder with the tables exportar writes and a SOLUC with one record per lesson, and
// the result importar writes beside the VELMORA file.
//
// Usage: preparar DATOS [--informe-largo] ESCALA...
#include "escenario.h"

#include <clocale>
#include <cstdio>
#include <exception>
#include <string>

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    try {
        const bool largo = argc > 2 && std::string(argv[2]) == "--informe-largo";
        for (int i = largo ? 3 : 2; i < argc; ++i) {
            const auto& e = pontavia::bench::escenario(argv[1], std::stoi(argv[i]), largo);
            std::printf("%d %zu %zu\n", e.escala, e.elementosXML, e.lecciones);
        }
    } catch (const std::exception& ex) {
        std::fprintf(stderr, "%s\n", ex.what());
        return 1;
    }
    return 0;
}
