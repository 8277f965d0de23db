#pragma once
// A document's bytes on their way out: pugixml writes UTF-8, and this turns it piece by piece
// into the document's encoding before handing it on. An error raised by the destination (a
// full disk) is kept and raised again by terminar(), once pugixml has returned.
#include <exception>
#include <functional>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <string_view>

namespace pontavia {

class Conversor;

class SalidaDocumento : public pugi::xml_writer {
  public:
    // codificacion: the encoding to write, by its name; empty for UTF-8, which goes through
    // unchanged. bom: the bytes that open the file (UTF-16's byte order mark).
    SalidaDocumento(std::function<void(std::string_view)> destino, const std::string& codificacion,
                    std::string_view bom = {});
    ~SalidaDocumento() override;
    SalidaDocumento(const SalidaDocumento&) = delete;
    SalidaDocumento& operator=(const SalidaDocumento&) = delete;

    void write(const void* datos, size_t n) override;
    void terminar();

  private:
    void convertir(std::string_view utf8, bool final);

    std::function<void(std::string_view)> destino_;
    std::unique_ptr<Conversor> conversor_;
    std::string codificacion_;
    // Whether ASCII comes out of the converter as it went in, so that it may skip it.
    bool asciiIgual_ = true;
    std::exception_ptr error_;
};

} // namespace pontavia
