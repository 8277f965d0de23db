#pragma once
// The conversion report: everything a run did to the data other than pass it through
// unchanged (elements left out, codes renumbered or shortened, values cut to a field's width,
// identifiers with no counterpart), and how many rows each table received. The rules stay
// as they are; the report makes sure none of them acts in silence.
#include "error.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pontavia {

class ElementoXML;
class TablaDBase;

enum class TipoAviso {
    Omitido,            // the element or record did not reach its table
    CodigoCambiado,     // the code was renumbered, shortened or taken from the name
    ValorRecortado,     // the field's width cut the value
    ValorSustituido,    // characters the table's code page lacks were stored as '?'
    SinCorrespondencia, // an identifier or code found nothing in the table it points to
    AusenteDelArchivo,  // a lesson's subject, group, teacher or room the chosen file lacks
};

const char* textoTipo(TipoAviso tipo);

// One item as it happens. The report writes it out at once and keeps nothing of it but the
// text, so the views need only last the call.
struct Aviso {
    std::string_view tabla; // the table the item concerns
    TipoAviso tipo;
    std::string_view elemento;  // which element or record, as the user finds it (elementoActual)
    std::string_view campo;     // the attribute or field involved
    std::string_view valor;     // the value as it came, whole
    std::string_view resultado; // what became of it (empty when nothing was written)
    std::string_view motivo;
};

class Informe {
  public:
    // Starts a new report, forgetting the previous run's.
    void empezar(std::string operacion, std::string archivo);

    void agregar(const Aviso& aviso);
    // The element a builder is writing; value cuts found meanwhile are reported against it.
    // It stays current, and must live, until the next one or the next table watched.
    void elementoActual(const ElementoXML& elemento) { elemento_ = &elemento; }
    // The current element as the items name it (elementoEnInforme): empty when there is none.
    std::string nombreElementoActual() const;
    // Where an element of the table being watched lies, with what names it for the timetabler;
    // by default ElementoXML::lugar, its own name and code.
    using LugarDeElemento = std::function<LugarError(const ElementoXML&)>;
    // Reports every value the table's fields cut or store with '?', against the current
    // element (none until the builder names one), placed by lugar. The report must outlive
    // the table.
    void vigilar(TablaDBase& tabla, LugarDeElemento lugar = {});
    void filas(const std::string& tabla, std::size_t cuantas);
    // A sentence about the whole run that the user must read before anything else (say, that
    // not one lesson was written); the report and the end of the run show it first.
    void advertir(std::string frase) { advertencias_.push_back(std::move(frase)); }
    const std::vector<std::string>& advertencias() const { return advertencias_; }

    const std::vector<std::pair<std::string, std::size_t>>& filas() const { return filas_; }
    // How many items in all, and how many about one table.
    std::size_t avisos() const { return total_; }
    std::size_t avisosDe(std::string_view tabla) const;
    // How many items of one kind, in all tables.
    std::size_t avisosDeTipo(TipoAviso tipo) const { return porTipo_[static_cast<int>(tipo)]; }

    // A few lines: rows and items per table.
    std::string resumen(const char* finLinea = "\n") const;
    // Every item as CSV (RFC 4180, CRLF), one row each, with a header row; in texto()'s order.
    std::string csv() const;
    // The whole report for people: a heading, the summary, then every item, kind by kind.
    std::string texto(const char* finLinea = "\n") const;
    // texto() as the file in the Tamberlo folder holds it: UTF-8 marked as such and CRLF line
    // ends, so that Windows' own editors show it right.
    std::string contenidoArchivo() const;

  private:
    // One table's items of one kind, already as texto() and csv() print them: a school with
    // thousands of items makes its report in one pass, whatever the number of tables.
    struct AvisosDeTabla {
        std::string tabla;
        TipoAviso tipo;
        std::size_t cuantos = 0;
        std::string lineas; // each item's line, ended by '\n'
        // Where a value's own '\n' lies in lineas, which another line end must leave alone.
        std::vector<std::size_t> saltosEnValores;
        std::string csv; // each item's CSV row
    };
    AvisosDeTabla& avisosDeTabla(std::string_view tabla, TipoAviso tipo);
    std::vector<std::string> tablas() const;
    void anadirLineas(std::string& s, const AvisosDeTabla& t, std::string_view fin) const;
    // Each table's items of each kind, the kinds by importance and the tables as tablas().
    template <typename Hacer> void enOrden(Hacer hacer) const;

    std::string operacion_;
    std::string archivo_;
    std::string fecha_;
    const ElementoXML* elemento_ = nullptr;
    LugarDeElemento lugar_;
    std::vector<AvisosDeTabla> avisos_; // in the order of each table's and kind's first item
    std::size_t ultima_ = 0;            // where the last item went: items come in runs
    std::size_t total_ = 0;
    std::size_t porTipo_[6] = {};
    std::vector<std::string> advertencias_;
    std::vector<std::pair<std::string, std::size_t>> filas_;
};

// The names under which exportar and importar leave their reports in the Tamberlo folder:
// one each, so that an importar keeps the export's report.
inline constexpr const char* kNombreInforme = "INFORME-PONTAVIA.TXT";
inline constexpr const char* kNombreInformeImportar = "INFORME-IMPORTAR.TXT";
// The dry run's, started from the window, lies in the temporary folder: it writes nothing in
// Tamberlo's.
inline constexpr const char* kNombreInformeComprobar = "INFORME-COMPROBAR-PONTAVIA.TXT";

} // namespace pontavia
