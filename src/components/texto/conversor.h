#pragma once
// The system's converters, for the encodings that the program's own tables do not carry: the
// multibyte dBase code pages and whatever encoding a document declares. ICU on Linux
// (conversor_icu.cpp), the Windows code pages on Windows (conversor_windows.cpp).
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace pontavia {

class Conversor {
  public:
    // What a character the encoding lacks becomes when written.
    enum class Sustituto {
        Interrogacion, // '?'
        ReferenciaXML, // &#N;, so that a document loses nothing
    };

    // nombre: as a document or a table names it ("windows-1252", "ibm-850", "Shift_JIS").
    // Null when the system does not know the encoding.
    static std::unique_ptr<Conversor> abrir(const std::string& nombre, Sustituto sustituto);

    virtual ~Conversor() = default;

    // Whether a character may take more than one byte.
    virtual bool multibyte() const = 0;
    // Whether ASCII comes out as it went in (not so in UTF-16, UTF-7 or EBCDIC).
    virtual bool asciiIgual() const = 0;

    // A whole text; bytes that read as nothing become U+FFFD.
    virtual std::string aUtf8(std::string_view bytes) = 0;
    // A whole text.
    virtual std::string desdeUtf8(std::string_view utf8) = 0;
    // The next piece of a longer text, written to destino as it is converted; a character
    // split between two pieces is joined. final: the last piece (it may be empty). False when
    // the text cannot be converted.
    virtual bool escribir(std::string_view utf8, bool final,
                          const std::function<void(std::string_view)>& destino) = 0;
};

} // namespace pontavia
