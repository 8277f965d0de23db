#pragma once
// How a dBase table is described once for every part of the program that makes, reads or
// lists it: its name, its dBase level, its fields and its part in the set exportar writes.
// A description is checked when the program is compiled, and so is every field named through
// it.
#include "dbase_formato.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pontavia {

// The header a table is made with: dBase III+, or level 7 when a field's name is longer than
// 10 characters (the level's longer names and binary numbers).
enum class NivelDBase { III, Siete };

// What a set's table is to the set: written by exportar with an index file of its name that a
// new table makes stale, written without one, or Tamberlo's own, only read.
enum class Papel { ExportadaConIndice, ExportadaSinIndice, DeTamberlo };

// A field as it lies in the table's file.
struct CampoEsquema {
    const char* nombre;
    TipoCampo tipo;
    int ancho;
    int decimales;
};

// A field of a described table: its place among the description's fields (which is its place
// in a table made from the description) and its name, which stays at its address for the
// whole run. Only a description gives one, when the program is compiled.
struct Campo {
    std::size_t indice;
    const char* nombre;
};

// A description whatever its number of fields, for the lists of tables.
struct VistaTabla {
    const char* nombre;
    const char* contenido;
    NivelDBase nivel;
    Papel papel;
    std::span<const CampoEsquema> campos;

    std::string archivo() const { return std::string(nombre) + ".DBF"; }
    bool exportada() const { return papel != Papel::DeTamberlo; }
    // The fields to make a new table of this description with.
    std::vector<DefinicionCampo> definiciones() const {
        std::vector<DefinicionCampo> d;
        d.reserve(campos.size());
        for (const auto& c : campos)
            d.push_back({c.nombre, c.tipo, c.ancho});
        return d;
    }
};

template <std::size_t N> struct EsquemaTabla {
    const char* nombre;    // the file is this with ".DBF"
    const char* contenido; // what it holds, as the timetabler says it ("Profesores")
    NivelDBase nivel;
    Papel papel;
    CampoEsquema campos[N]; // in the table's order

    // A field by its name; a name the table lacks does not compile.
    consteval Campo operator[](std::string_view campo) const {
        for (std::size_t i = 0; i < N; ++i)
            if (std::string_view(campos[i].nombre) == campo) return {i, campos[i].nombre};
        throw "la tabla no tiene ese campo";
    }

    constexpr operator VistaTabla() const { return {nombre, contenido, nivel, papel, campos}; }
    std::string archivo() const { return VistaTabla(*this).archivo(); }
    std::vector<DefinicionCampo> definiciones() const { return VistaTabla(*this).definiciones(); }

    // True when the level is the one the names call for and every field is as wide as that
    // level makes its type; checked by the descriptions with static_assert.
    consteval bool coherente() const {
        bool nombresLargos = false;
        for (const auto& c : campos) {
            const std::size_t largo = std::string_view(c.nombre).size();
            if (largo == 0) return false;
            nombresLargos = nombresLargos || largo > 10;
        }
        if (nombresLargos != (nivel == NivelDBase::Siete)) return false;
        for (std::size_t i = 0; i < N; ++i)
            for (std::size_t j = i + 1; j < N; ++j)
                if (std::string_view(campos[i].nombre) == campos[j].nombre) return false;
        const bool n7 = nivel == NivelDBase::Siete;
        for (const auto& c : campos) {
            switch (c.tipo) {
            case TipoCampo::Texto:
                if (c.ancho < 1 || c.ancho > 254 || c.decimales != 0) return false;
                break;
            case TipoCampo::Entero:
                if (n7 ? c.ancho != 4 : c.ancho < 1 || c.ancho > 11) return false;
                if (c.decimales != 0) return false;
                break;
            case TipoCampo::Decimal:
                if (n7 ? c.ancho != 8 || c.decimales != 0 : c.ancho != 20 || c.decimales != 4)
                    return false;
                break;
            case TipoCampo::Logico:
                if (c.ancho != 1 || c.decimales != 0) return false;
                break;
            }
        }
        return true;
    }
};
template <std::size_t N>
EsquemaTabla(const char*, const char*, NivelDBase, Papel, const CampoEsquema (&)[N])
    -> EsquemaTabla<N>;

} // namespace pontavia
