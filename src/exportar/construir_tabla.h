#pragma once
// A table of exportar as data: its description (esquema_tamberlo.h), the collection of the
// document it reads and, in its builder, the row it makes of one element. construirTabla is
// the one loop that creates a table, fills it, counts its rows in the report and closes it.
#include "esquema_tamberlo.h"
#include "exportacion.h"

#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

namespace pontavia {

// Where a table's rows come from.
struct OrigenTabla {
    VistaTabla tabla;
    const char* coleccion;     // the elements read; each makes at most one row
    const char* identificador; // the attribute that tells the user which element, or nullptr
};

// The row being made: a builder writes its values through its description's fields, whose
// places are those of the new table's fields, so writing a value searches for nothing. What
// it leaves unwritten stays blank.
class Fila {
  public:
    explicit Fila(TablaDBase& tabla) : tabla_(tabla) {}
    void texto(Campo campo, std::string_view valor) { tabla_.asignarTextoEn(campo.indice, valor); }
    void entero(Campo campo, std::int32_t valor) { tabla_.asignarEnteroEn(campo.indice, valor); }
    void decimal(Campo campo, double valor) { tabla_.asignarDecimalEn(campo.indice, valor); }
    void logico(Campo campo, bool valor) { tabla_.asignarLogicoEn(campo.indice, valor); }

  private:
    TablaDBase& tabla_;
};

// Creates the table empty and makes a row of each element of its collection for which a
// pass's hacerFila(elemento, fila) says true; the passes run over the collection one after
// the other. Then counts the rows in the report and writes the table. What a field cuts or
// stores with '?' is reported against the element being read, named as lugar places it (by
// default, by its own name and code).
template <typename... HacerFila>
void construirTablaConLugar(Exportacion& e, const OrigenTabla& o, Informe::LugarDeElemento lugar,
                            HacerFila&&... pasadas) {
    TablaDBase tabla = e.nuevaTabla(o.tabla);
    const Nodos nodos = e.doc.selectNodes(o.coleccion);
    Informe& informe = e.informe;
    informe.vigilar(tabla, std::move(lugar));
    tabla.reservar(nodos.size());
    Fila fila(tabla);
    auto recorrer = [&](auto& hacerFila) {
        for (std::size_t i = 0; i < nodos.size(); ++i) {
            const ElementoXML elemento(nodos[i], i, o.identificador);
            informe.elementoActual(elemento);
            tabla.empezarRegistro();
            if (hacerFila(elemento, fila)) tabla.guardarRegistro();
        }
    };
    (recorrer(pasadas), ...);
    informe.filas(o.tabla.nombre, tabla.registros());
    tabla.cerrar();
}

template <typename... HacerFila>
void construirTabla(Exportacion& e, const OrigenTabla& o, HacerFila&&... pasadas) {
    construirTablaConLugar(e, o, {}, std::forward<HacerFila>(pasadas)...);
}

} // namespace pontavia
