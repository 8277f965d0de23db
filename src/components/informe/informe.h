#pragma once
// The conversion report: everything a run did to the data other than pass it through
// unchanged (elements left out, codes renumbered or shortened, values cut to a field's width,
// identifiers with no counterpart), and how many rows each table received. The rules stay
// as they are; the report makes sure none of them acts in silence.
#include "error.h"
#include "publico/informe_leido.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pontavia {

class ElementoXML;
class TablaDBase;

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

// The report as a run makes it: the builders add each item as it happens, and the run hands
// the door the read side (InformeLeido) at its end.
class Informe : public InformeLeido {
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
    using InformeLeido::filas;
    // A sentence about the whole run that the user must read before anything else (say, that
    // not one lesson was written); the report and the end of the run show it first.
    void advertir(std::string frase) { advertencias_.push_back(std::move(frase)); }
    // The changes since the set of tables a run replaces (or, for the dry run, would): a
    // section of its own after the items, its lines (without line ends) for texto(), its rows
    // as csv() prints them, and the sentence that sums it up, which the report shows after
    // its summary and the end of the run in its box. Replaces any earlier one.
    void seccionCambios(std::vector<std::string> lineas, std::string csv, std::string resumen);

  private:
    AvisosDeTabla& avisosDeTabla(std::string_view tabla, TipoAviso tipo);

    const ElementoXML* elemento_ = nullptr;
    LugarDeElemento lugar_;
    std::size_t ultima_ = 0; // where the last item went: items come in runs
};

// The names under which exportar and importar leave their reports in the Tamberlo folder:
// one each, so that an importar keeps the export's report.
inline constexpr const char* kNombreInforme = "INFORME-PONTAVIA.TXT";
inline constexpr const char* kNombreInformeImportar = "INFORME-IMPORTAR.TXT";
// The dry run's, started from the window, lies in the temporary folder: it writes nothing in
// Tamberlo's.
inline constexpr const char* kNombreInformeComprobar = "INFORME-COMPROBAR-PONTAVIA.TXT";

} // namespace pontavia
