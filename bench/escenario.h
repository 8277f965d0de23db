#pragma once
// One school at one scale, made ready for the benchmarks: its VELMORA file, a Tamberlo
// folder holding the tables exportar writes and a SOLUC with one record per lesson, and the
// bytes each run writes, which the floor writes again.
#include <cstddef>
#include <filesystem>
#include <map>
#include <string>

#include "ventana.h"

namespace pontavia::bench {

struct Escenario {
    int escala = 0;
    std::filesystem::path xml;     // the generated VELMORA file
    std::filesystem::path ktemp;   // Tamberlo's folder for this scale
    std::size_t elementosXML = 0;  // the elements of the collections exportar reads
    std::size_t lecciones = 0;     // SOLUC's records
    std::map<std::string, std::string> tablasExportadas; // name -> bytes
    std::string resultadoImportar; // the bytes importar writes
    // The report each run writes beside the tables: part of its output too.
    std::string informeExportar, informeImportar;
};

// The window of the benchmarks: the dialog answers with the scenario's file, nothing shows.
class VentanaMuda : public Ventana {
  public:
    explicit VentanaMuda(std::string archivo) : archivo_(std::move(archivo)) {}
    bool elegirArchivo(const std::string&, std::string& elegido) override {
        elegido = archivo_;
        return true;
    }
    void mensaje(const std::string&) override {}
    void cursorOcupado(bool) override {}
    void cerrar() override {}

  private:
    std::string archivo_;
};

// datos holds centro_N.xml, made by the generator; the scenario's folders go beside it.
const Escenario& escenario(const std::filesystem::path& datos, int escala);

} // namespace pontavia::bench
