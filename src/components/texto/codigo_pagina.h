#pragma once
// Conversion between UTF-8 and the single-byte code pages that dBase tables carry.
// The single-byte pages are the program's own tables, taken from ICU (tablas_texto.h), so every
// system reads and writes them alike, a table lookup per character; the multibyte ones are the
// system's to convert.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace pontavia {

class CodigoPagina {
  public:
    // nombreICU: an ICU converter name such as "windows-1252" or "ibm-850". Raises an error
    // when neither the tables nor the system know it.
    static const CodigoPagina& porNombre(const std::string& nombreICU);
    static const CodigoPagina& windows1252() { return porNombre("windows-1252"); }

    const std::string& nombre() const { return nombre_; }

    // Single-byte code pages of dBase keep ASCII as it is, byte for byte.
    bool asciiIgual() const { return !multibyte_; }

    std::string aUtf8(std::string_view bytes) const;
    // A character the code page lacks becomes its nearest one (Ł becomes L, “ becomes "), or
    // '?' when the page lacks that too; either sets *sustituido when given. The multibyte
    // pages, the system's to convert, write '?'.
    std::string desdeUtf8(std::string_view texto, bool* sustituido = nullptr) const;

    explicit CodigoPagina(std::string nombreICU);

  private:
    std::string nombre_;
    bool multibyte_ = false; // converted by the system, not by the tables
    std::array<std::string, 256> aUtf8_{};
    std::unordered_map<char32_t, char> desdeUnicode_;
};

} // namespace pontavia
