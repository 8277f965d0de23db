#pragma once
// A table of exportar as data: its file, its fields, the collection of the document it reads
// and, in its builder, the row it makes of one element. construirTabla is the one loop that
// creates a table, fills it, counts its rows in the report and closes it.
#include "exportacion.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace pontavia {

// A field as a description declares it.
struct CampoTabla {
    const char* nombre;
    TipoCampo tipo;
    int ancho; // text fields only
};

// A field of the table being written, by its place among its description's fields. Found
// when the program is compiled, so writing a value searches for nothing.
struct Campo {
    std::size_t indice;
};

template <std::size_t N> struct DescripcionTabla {
    const char* archivo;       // in the run's folder
    const char* nombre;        // as the report names it
    const char* coleccion;     // the elements read; each makes at most one row
    const char* identificador; // the attribute that tells the user which element, or nullptr
    CampoTabla campos[N];      // in the table's order

    // A field by its name; a name the table lacks does not compile.
    consteval Campo operator[](std::string_view campo) const {
        for (std::size_t i = 0; i < N; ++i)
            if (std::string_view(campos[i].nombre) == campo) return {i};
        throw "la tabla no tiene ese campo";
    }

    std::vector<DefinicionCampo> definiciones() const {
        std::vector<DefinicionCampo> d;
        for (const auto& c : campos)
            d.push_back({c.nombre, c.tipo, c.ancho});
        return d;
    }
};
template <std::size_t N>
DescripcionTabla(const char*, const char*, const char*, const char*, const CampoTabla (&)[N])
    -> DescripcionTabla<N>;

// The row being made: a builder writes its values through its description's fields. What
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
// stores with '?' is reported against the element being read.
template <std::size_t N, typename... HacerFila>
void construirTabla(Exportacion& e, const DescripcionTabla<N>& d, HacerFila&&... pasadas) {
    TablaDBase tabla = e.nuevaTabla(d.archivo, d.definiciones());
    const Nodos nodos = e.doc.selectNodes(d.coleccion);
    Informe& informe = e.informe;
    informe.vigilar(tabla);
    tabla.reservar(nodos.size());
    Fila fila(tabla);
    auto recorrer = [&](auto& hacerFila) {
        for (std::size_t i = 0; i < nodos.size(); ++i) {
            const ElementoXML elemento(nodos[i], i, d.identificador);
            informe.elementoActual(elemento);
            tabla.Append();
            if (hacerFila(elemento, fila)) tabla.Post();
        }
    };
    (recorrer(pasadas), ...);
    informe.filas(d.nombre, tabla.registros());
    tabla.cerrar();
}

} // namespace pontavia
