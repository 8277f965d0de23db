#pragma once
// The conversion report: everything a run did to the data other than pass it through
// unchanged (elements left out, codes renumbered or shortened, values cut to a field's width,
// identifiers with no counterpart), and how many rows each table received. The rules stay
// as they are; the report makes sure none of them acts in silence.
#include "documento_xml.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pontavia {

class TablaDBase;

enum class TipoAviso {
    Omitido,            // the element or record did not reach its table
    CodigoCambiado,     // the code was renumbered, shortened or taken from the name
    ValorRecortado,     // the field's width cut the value
    ValorSustituido,    // characters the table's code page lacks were stored as '?'
    SinCorrespondencia, // an identifier or code found nothing in the table it points to
};

const char* textoTipo(TipoAviso tipo);

struct Aviso {
    std::string tabla; // the table the item concerns
    TipoAviso tipo;
    std::string elemento;  // which element or record, as the user would find it
    std::string campo;     // the attribute or field involved
    std::string valor;     // the value as it came, whole
    std::string resultado; // what became of it (empty when nothing was written)
    std::string motivo;
};

class Informe {
  public:
    // Starts a new report, forgetting the previous run's.
    void empezar(std::string operacion, std::string archivo);

    void agregar(Aviso aviso);
    // The element a builder is writing; value cuts found meanwhile are reported against it.
    void elementoActual(const ElementoXML& elemento) { elemento_ = elemento; }
    // Reports every value the table's fields cut or store with '?', against the current
    // element. The report must outlive the table.
    void vigilar(TablaDBase& tabla);
    void filas(const std::string& tabla, std::size_t cuantas);

    const std::vector<Aviso>& avisos() const { return avisos_; }
    const std::vector<std::pair<std::string, std::size_t>>& filas() const { return filas_; }
    std::size_t avisosDe(std::string_view tabla) const;

    // A few lines: rows and items per table.
    std::string resumen(const char* finLinea = "\n") const;
    // Every item as CSV (RFC 4180, CRLF), one row each, with a header row.
    std::string csv() const;
    // The whole report for people: a heading, the summary, then every item.
    std::string texto(const char* finLinea = "\n") const;
    // texto() as the file in the Tamberlo folder holds it: UTF-8 marked as such and CRLF line
    // ends, so that Windows' own editors show it right.
    std::string contenidoArchivo() const;

  private:
    std::string operacion_;
    std::string archivo_;
    std::string fecha_;
    std::optional<ElementoXML> elemento_;
    std::vector<Aviso> avisos_;
    std::vector<std::pair<std::string, std::size_t>> filas_;
};

// The name under which every run leaves its report in the Tamberlo folder.
inline constexpr const char* kNombreInforme = "INFORME-PONTAVIA.TXT";

} // namespace pontavia
