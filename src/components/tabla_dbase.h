#pragma once
// TablaDBase: one dBase table, read whole into memory and written back whole, atomically.
// Open tables hold an exclusive lock, as Tamberlo's engine opens them.
#include "bloqueo.h"
#include "codigo_pagina.h"
#include "dbase_formato.h"

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

class TablaDBase {
  public:
    // Makes the table empty with exactly these fields, in this order, replacing any earlier
    // file of that name. The table stays closed.
    static void crear(const std::filesystem::path& ruta,
                      const std::vector<DefinicionCampo>& campos);

    // Opens a table for exclusive use; it is positioned on its first live record.
    static TablaDBase abrir(const std::filesystem::path& ruta);
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
    void First();
    void Next();
    bool Eof() const;

    bool tieneCampo(std::string_view campo) const;
    const CampoDBase& campo(std::string_view nombre) const;

    // Reading the current record.
    std::string leerTexto(std::string_view campo) const;
    bool esNumerico(std::string_view campo) const;
    // Whole number: empty fields read 0; text that is not one raises
    // "'%s' is not a valid integer value".
    std::int32_t leerEntero(std::string_view campo) const;
    // Number: empty fields read 0.
    double leerNumero(std::string_view campo) const;

    // Makes the first live record whose field equals valor (whole value, exact, case counting)
    // current. Answers from an index built on first use for that field.
    bool Locate(std::string_view campo, std::string_view valor);

    // Writing: Append starts a blank record, the setters fill it, Post adds it to the table.
    void Append();
    void asignarTexto(std::string_view campo, std::string_view texto);
    void asignarEntero(std::string_view campo, std::int32_t valor);
    void asignarDecimal(std::string_view campo, double valor);
    void asignarLogico(std::string_view campo, bool valor);
    void Post();

    // Told whenever asignarTexto stores other than it was given: a value the field's width
    // cuts (recortado), or characters the code page lacks stored as '?'.
    using AvisoValor = std::function<void(const CampoDBase& campo, std::string_view valor,
                                          std::string_view guardado, bool recortado)>;
    void alCambiarValor(AvisoValor aviso) { avisoValor_ = std::move(aviso); }

    // Writes the table back when rows were posted, then releases it. A table destroyed
    // without cerrar() keeps its file exactly as it was.
    void cerrar();

  private:
    TablaDBase() = default;
    void cargar(std::string datos);
    std::size_t indiceCampo(std::string_view nombre) const;
    std::string_view bytesCampo(std::size_t indice) const;
    char* pendiente(std::size_t indice);
    bool borrado(std::size_t registro) const;
    void saltarBorrados();

    std::string nombre_;
    std::filesystem::path ruta_;
    std::optional<BloqueoExclusivo> bloqueo_;
    std::string datos_;
    FormatoDBase formato_;
    const CodigoPagina* cp_ = nullptr;
    std::size_t registros_ = 0;
    std::size_t actual_ = 0;
    std::string pendiente_;
    bool hayPendiente_ = false;
    bool modificada_ = false;
    AvisoValor avisoValor_;
    std::unordered_map<std::string, std::size_t> nombresCampos_;
    std::unordered_map<std::size_t, std::unordered_map<std::string, std::size_t>> indices_;
};

} // namespace pontavia
