#pragma once
// TablaDBase: one dBase table, read whole into memory and written back whole, atomically.
// Open tables hold an exclusive lock, as Tamberlo's engine opens them.
#include "archivo_atomico.h"
#include "bloqueo.h"
#include "codigo_pagina.h"
#include "dbase_formato.h"
#include "esquema_tabla.h"
#include "mapeo.h"
#include "texto.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pontavia {

// A field's name as callers of the table store give it. A name written in the code is a
// literal: it stays at its address with its content for the whole run, so a table can tell
// which field it is by that address alone (rows name their fields many thousands of times).
// A name made at run time goes through deTexto and is looked up by its text each time.
class NombreCampo {
  public:
    template <std::size_t N>
    consteval NombreCampo(const char (&literal)[N]) : texto_(literal, N - 1), fijo_(true) {}
    // A field of a described table: its name too stays at its address.
    constexpr NombreCampo(Campo campo) : texto_(campo.nombre), fijo_(true) {}
    static NombreCampo deTexto(std::string_view nombre) { return NombreCampo(nombre); }

    std::string_view texto() const { return texto_; }
    bool fijo() const { return fijo_; }

  private:
    explicit NombreCampo(std::string_view nombre) : texto_(nombre), fijo_(false) {}
    std::string_view texto_;
    bool fijo_;
};

// Maps by text looked up with a string_view, without building a string: lookups run once
// per row.
struct HashTexto {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const noexcept {
        return std::hash<std::string_view>{}(s);
    }
};

class TablaDBase {
  public:
    // Opens a table for exclusive use; it is positioned on its first live record. durable
    // is for what cerrar() writes, on disco.
    static TablaDBase abrir(const std::filesystem::path& ruta, Durable durable, Disco& disco);
    // A new, empty table with these fields, made in memory: cerrar() writes its file once,
    // with its rows, replacing any earlier file of that name; until then nothing is on disk
    // (a folder of the run's own, where no other program looks, needs no lock meanwhile).
    static TablaDBase nueva(const std::filesystem::path& ruta,
                            const std::vector<DefinicionCampo>& campos, Durable durable,
                            Disco& disco);
    // A table read from bytes already in memory (no file, no lock); for checks and fuzzing.
    static TablaDBase desdeMemoria(std::string datos, std::string nombre);

    TablaDBase(TablaDBase&&) noexcept;
    TablaDBase& operator=(TablaDBase&&) noexcept;
    ~TablaDBase();

    const std::string& nombre() const { return nombre_; }
    const FormatoDBase& formato() const { return formato_; }
    const CodigoPagina& codigoPagina() const { return *cp_; }
    std::size_t registros() const { return registros_; } // live and deleted alike
    // The current record's number, counting from 1 as dBase does.
    std::size_t numeroRegistro() const { return actual_ + 1; }

    // Navigation over live records; deleted ones are skipped.
    void primero();
    void siguiente();
    bool alFinal() const;

    bool tieneCampo(NombreCampo campo) const;
    const CampoDBase& campo(NombreCampo nombre) const;

    // Reading the current record.
    std::string leerTexto(NombreCampo campo) const;
    // The same by the field's place in formato().campos, for fields that share a name.
    std::string leerTextoEn(std::size_t indice) const;
    bool esNumerico(NombreCampo campo) const;
    // Whole number: empty fields read 0; text that is not one raises
    // "'%s' is not a valid integer value".
    std::int32_t leerEntero(NombreCampo campo) const;
    // Number: empty fields read 0.
    double leerNumero(NombreCampo campo) const;

    // Writing: empezarRegistro starts a blank record, the setters fill it, guardarRegistro adds
    // it to the table. reservar makes room for that many more records at once, when they are
    // known ahead.
    void reservar(std::size_t registros);
    void empezarRegistro();
    // The setters take the field's place in formato().campos, found once by the writer.
    void asignarTextoEn(std::size_t indice, std::string_view texto) {
        // The common case inline, as the row loops call it for every field of every row: a
        // text field, ASCII that fits (the same bytes in every code page), padded with blanks.
        const CampoDBase& c = formato_.campos[indice];
        if (c.tipo == 'C' && hayPendiente_ && asciiIgual_ && texto.size() <= c.ancho &&
            esAscii(texto)) {
            char* destino = pendiente_.data() + c.desplazamiento;
            std::copy(texto.begin(), texto.end(), destino);
            std::fill(destino + texto.size(), destino + c.ancho, ' ');
            return;
        }
        asignarTextoConvertido(indice, texto);
    }
    void asignarEnteroEn(std::size_t indice, std::int32_t valor);
    void asignarDecimalEn(std::size_t indice, double valor);
    void asignarLogicoEn(std::size_t indice, bool valor);
    void guardarRegistro();

    // Told whenever asignarTextoEn stores other than it was given: a value the field's width
    // cuts (recortado), or characters the code page lacks stored as '?'.
    using AvisoValor = std::function<void(const CampoDBase& campo, std::string_view valor,
                                          std::string_view guardado, bool recortado)>;
    void alCambiarValor(AvisoValor aviso) { avisoValor_ = std::move(aviso); }

    // Writes the table back when rows were posted, then releases it. A table destroyed
    // without cerrar() keeps its file exactly as it was.
    void cerrar();

  private:
    TablaDBase() = default;
    // A table of that file, written by cerrar() with durable, on disco; not yet read.
    TablaDBase(const std::filesystem::path& ruta, Durable durable, Disco& disco);
    void cargar(std::string datos);
    std::optional<std::size_t> buscarCampo(NombreCampo nombre) const;
    // A literal name seen before is answered here, inline: the row loops call this for
    // every field of every row.
    std::size_t indiceCampo(NombreCampo nombre) const {
        if (nombre.fijo()) {
            const CampoRecordado& c = camposRecordados_[ranura(nombre.texto().data())];
            if (c.direccion == nombre.texto().data()) return c.indice;
        }
        return indiceCampoBuscado(nombre);
    }
    std::size_t indiceCampoBuscado(NombreCampo nombre) const;
    static std::size_t ranura(const char* direccion) {
        return (static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(direccion)) *
                0x9E3779B97F4A7C15ull) >>
               56;
    }
    void asignarTextoConvertido(std::size_t indice, std::string_view texto);
    std::string_view registro(std::size_t r) const;
    // nullopt for a NULL value.
    std::optional<std::string_view> bytesCampo(std::size_t indice) const;
    char* pendiente(std::size_t indice) {
        if (!hayPendiente_) sinRegistroPendiente();
        return pendiente_.data() + formato_.campos[indice].desplazamiento;
    }
    [[noreturn]] void sinRegistroPendiente() const;
    bool borrado(std::size_t registro) const;
    std::string_view contenido() const {
        return mapeo_ ? mapeo_->bytes() : std::string_view(datos_);
    }
    // The bytes become the table's own before the first change.
    void hacerPropio();
    void iniciar();
    void saltarBorrados();

    std::string nombre_;
    std::filesystem::path ruta_;
    Durable durable_ = Durable::Si;
    Disco* disco_ = &discoDelSistema();
    std::optional<BloqueoExclusivo> bloqueo_;
    // The table's bytes: the file's own pages while nothing is written (mapeo_), else datos_.
    std::optional<Mapeo> mapeo_;
    std::string datos_;
    FormatoDBase formato_;
    const CodigoPagina* cp_ = nullptr;
    bool asciiIgual_ = false; // ASCII is stored as it is in this table's code page
    std::size_t registros_ = 0;
    std::size_t actual_ = 0;
    std::string pendiente_;
    std::string registroVacio_;
    bool hayPendiente_ = false;
    bool modificada_ = false;

    AvisoValor avisoValor_;
    std::vector<std::string> nombresCampos_; // upper case, in the fields' order
    struct CampoRecordado {
        const char* direccion = nullptr;
        std::size_t indice = 0;
    };
    // Literal names already found, by their address (open addressing).
    mutable std::array<CampoRecordado, 256> camposRecordados_{};
};

// The live rows of a table by the text of one field (the whole value, exact, case counting),
// each value answered by its first row: for lookups repeated many thousands of times, which
// then cost one hash each.
template <typename Fila>
using FilasPorTexto = std::unordered_map<std::string, Fila, HashTexto, std::equal_to<>>;

template <typename Fila, typename Leer>
FilasPorTexto<Fila> filasPor(TablaDBase& tabla, NombreCampo campo, Leer leer) {
    FilasPorTexto<Fila> filas;
    for (tabla.primero(); !tabla.alFinal(); tabla.siguiente()) {
        auto [it, nueva] = filas.try_emplace(tabla.leerTexto(campo));
        if (nueva) it->second = leer(tabla);
    }
    return filas;
}

// The row found for a value, or nullptr.
template <typename Fila>
const Fila* buscarFila(const FilasPorTexto<Fila>& filas, std::string_view valor) {
    const auto it = filas.find(valor);
    return it == filas.end() ? nullptr : &it->second;
}

} // namespace pontavia
