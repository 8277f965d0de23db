#pragma once
// A document's bytes on their way out: pugixml writes UTF-8, and this turns it piece by piece
// into the document's encoding before handing it on. An error raised by the destination (a
// full disk) is kept and raised again by terminar(), once pugixml has returned.
#include <array>
#include <exception>
#include <functional>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <unicode/ucnv.h>

namespace pontavia {

// An ICU converter, closed with its owner.
struct ConversorICU {
    explicit ConversorICU(const std::string& nombre);
    ~ConversorICU();
    ConversorICU(const ConversorICU&) = delete;
    ConversorICU& operator=(const ConversorICU&) = delete;
    UConverter* c = nullptr; // null when ICU does not know the name
};

class SalidaDocumento : public pugi::xml_writer {
  public:
    // codificacionICU: the encoding to write, by its ICU name; empty for UTF-8, which goes
    // through unchanged. bom: the bytes that open the file (UTF-16's byte order mark).
    SalidaDocumento(std::function<void(std::string_view)> destino,
                    const std::string& codificacionICU, std::string_view bom = {});
    ~SalidaDocumento() override;
    SalidaDocumento(const SalidaDocumento&) = delete;
    SalidaDocumento& operator=(const SalidaDocumento&) = delete;

    void write(const void* datos, size_t n) override;
    void terminar();

  private:
    void convertir(std::string_view utf8, bool final);

    std::function<void(std::string_view)> destino_;
    std::unique_ptr<ConversorICU> destinoICU_, origenICU_;
    std::string codificacion_;
    // Whether ASCII comes out of the converter as it went in, so that it may skip it.
    bool asciiIgual_ = true;
    std::array<char, 1 << 16> trozo_{};
    std::array<UChar, 1 << 12> pivote_{};
    UChar* pivoteInicio_ = pivote_.data();
    UChar* pivoteFin_ = pivote_.data();
    bool primero_ = true;
    std::exception_ptr error_;
};

} // namespace pontavia
