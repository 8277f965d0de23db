#pragma once
// The report as the front ends read it, once a run has made it: how many rows each table
// received, how many items of each kind, the warnings about the whole run, and its texts (for
// people, as the Tamberlo folder's file holds it, and as CSV). How a run makes it stays
// behind the door (informe.h).
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pontavia {

enum class TipoAviso {
    Omitido,            // the element or record did not reach its table
    CodigoCambiado,     // the code was renumbered, shortened or taken from the name
    ValorRecortado,     // the field's width cut the value
    ValorSustituido,    // characters the code page lacks were stored as their nearest or '?'
    SinCorrespondencia, // an identifier or code found nothing in the table it points to
    AusenteDelArchivo,  // a lesson's subject, group, teacher or room the chosen file lacks
};

class InformeLeido {
  public:
    // Sentences about the whole run that the user must read before anything else (say, that
    // not one lesson was written).
    const std::vector<std::string>& advertencias() const { return advertencias_; }
    // The rows each table received, in the order the run wrote them.
    const std::vector<std::pair<std::string, std::size_t>>& filas() const { return filas_; }
    // How many items in all, and how many about one table.
    std::size_t avisos() const { return total_; }
    std::size_t avisosDe(std::string_view tabla) const;
    // How many items of one kind, in all tables.
    std::size_t avisosDeTipo(TipoAviso tipo) const { return porTipo_[static_cast<int>(tipo)]; }
    // The sentence that sums up the changes since the set of tables the run replaced (or, for
    // the dry run, would): "Cambios desde la exportación anterior: 1 profesor nuevo, ...";
    // empty for a run that compared nothing.
    const std::string& resumenCambios() const { return resumenCambios_; }

    // A few lines: rows and items per table.
    std::string resumen(const char* finLinea = "\n") const;
    // Every item as CSV (RFC 4180, CRLF), one row each, with a header row; in texto()'s order.
    std::string csv() const;
    // The whole report for people: a heading, the summary, then every item, kind by kind.
    std::string texto(const char* finLinea = "\n") const;
    // texto() as the file in the Tamberlo folder holds it: UTF-8 marked as such and CRLF line
    // ends, so that Windows' own editors show it right.
    std::string contenidoArchivo() const;

  protected:
    // One table's items of one kind, kept once, as they came: texto() and csv() make their
    // lines from them when asked, so a school with tens of thousands of items keeps each
    // item's words once and spends nothing on the form the run does not write.
    struct AvisosDeTabla {
        std::string tabla;
        TipoAviso tipo;
        std::size_t cuantos = 0;
        // Each item's elemento, campo, valor, resultado and motivo, one after another, in
        // blocks that never grow past the room they were given: a text that grows by doubling
        // copies itself each time and leaves the memory it had behind...
        std::vector<std::string> bloques;
        // ...and, item by item, the length of each of the five.
        std::vector<std::size_t> largos;
        std::size_t letras = 0; // in all blocks
    };
    // One item's five texts, as agregar was given them.
    struct Partes {
        std::string_view elemento, campo, valor, resultado, motivo;
    };
    template <typename Hacer> static void recorrer(const AvisosDeTabla& t, Hacer hacer);

    std::string operacion_;
    std::string archivo_;
    std::string fecha_;
    std::vector<AvisosDeTabla> avisos_; // in the order of each table's and kind's first item
    std::size_t total_ = 0;
    std::size_t porTipo_[6] = {};
    std::vector<std::string> advertencias_;
    std::vector<std::pair<std::string, std::size_t>> filas_;
    std::vector<std::string> cambios_; // the changes' section, line by line
    std::string cambiosCSV_;
    std::string resumenCambios_;

  private:
    std::vector<std::string> tablas() const;
    void anadirLineas(std::string& s, const AvisosDeTabla& t, std::string_view fin) const;
    // texto() at the end of s.
    void anadirTexto(std::string& s, const char* finLinea) const;
    // Each table's items of each kind, the kinds by importance and the tables as tablas().
    template <typename Hacer> void enOrden(Hacer hacer) const;
};

} // namespace pontavia
