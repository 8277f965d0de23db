#include "salida_documento.h"

#include "error.h"
#include "texto.h"

#include <unicode/ucnv_cb.h>
#include <unicode/unistr.h>

namespace pontavia {

namespace {

// Most of a school's file is ASCII (identifiers, numbers, markup), and most encodings write
// ASCII as ASCII; those that do not (UTF-16, UTF-7, EBCDIC) are found by trying them.
bool escribeAsciiComoAscii(const std::string& codificacionICU) {
    std::string ascii = "\t\n\r";
    for (char c = ' '; c < 0x7F; ++c)
        ascii += c;
    ConversorICU conv(codificacionICU);
    if (!conv.c) return false;
    UErrorCode st = U_ZERO_ERROR;
    std::string salida(ascii.size() * 8, '\0');
    const std::int32_t n = icu::UnicodeString::fromUTF8(ascii).extract(
        salida.data(), static_cast<std::int32_t>(salida.size()), conv.c, st);
    return U_SUCCESS(st) && std::string_view(salida.data(), static_cast<std::size_t>(n)) == ascii;
}

} // namespace

ConversorICU::ConversorICU(const std::string& nombre) {
    UErrorCode st = U_ZERO_ERROR;
    c = ucnv_open(nombre.c_str(), &st);
    if (U_FAILURE(st)) c = nullptr;
}

ConversorICU::~ConversorICU() {
    if (c) ucnv_close(c);
}

SalidaDocumento::SalidaDocumento(std::function<void(std::string_view)> destino,
                                 const std::string& codificacionICU, std::string_view bom)
    : destino_(std::move(destino)) {
    if (!codificacionICU.empty()) {
        destinoICU_ = std::make_unique<ConversorICU>(codificacionICU);
        origenICU_ = std::make_unique<ConversorICU>("UTF-8");
        if (!destinoICU_->c || !origenICU_->c)
            throw Error("No se puede escribir en la codificación " + codificacionICU + ".");
        UErrorCode st = U_ZERO_ERROR;
        // A character the encoding lacks becomes a character reference, so nothing is lost.
        ucnv_setFromUCallBack(destinoICU_->c, UCNV_FROM_U_CALLBACK_ESCAPE, UCNV_ESCAPE_XML_DEC,
                              nullptr, nullptr, &st);
        codificacion_ = codificacionICU;
        asciiIgual_ = escribeAsciiComoAscii(codificacionICU);
    }
    if (!bom.empty()) destino_(bom);
}

SalidaDocumento::~SalidaDocumento() = default;

void SalidaDocumento::write(const void* datos, size_t n) {
    if (error_) return;
    const std::string_view utf8(static_cast<const char*>(datos), n);
    try {
        // A character split between two pieces has bytes above 0x7F in both, so both go
        // through the converter, which joins it.
        if (destinoICU_ && !(asciiIgual_ && esAscii(utf8)))
            convertir(utf8, false);
        else
            destino_(utf8);
    } catch (...) {
        error_ = std::current_exception();
    }
}

void SalidaDocumento::terminar() {
    if (!error_ && destinoICU_) {
        try {
            convertir({}, true);
        } catch (...) {
            error_ = std::current_exception();
        }
    }
    if (error_) std::rethrow_exception(error_);
}

void SalidaDocumento::convertir(std::string_view utf8, bool final) {
    // ICU refuses a null source, even an empty one.
    const char* fuente = utf8.empty() ? "" : utf8.data();
    const char* const fin = fuente + utf8.size();
    // ICU reports an overflow only once it has filled the 64 KiB piece, which then goes out:
    // every pass makes progress, so the loop ends with the text.
    for (;;) {
        char* salida = trozo_.data();
        UErrorCode st = U_ZERO_ERROR;
        ucnv_convertEx(destinoICU_->c, origenICU_->c, &salida, trozo_.data() + trozo_.size(),
                       &fuente, fin, pivote_.data(), &pivoteInicio_, &pivoteFin_,
                       pivote_.data() + pivote_.size(), primero_, final, &st);
        primero_ = false;
        destino_(std::string_view(trozo_.data(), static_cast<std::size_t>(salida - trozo_.data())));
        if (st == U_BUFFER_OVERFLOW_ERROR) continue;
        if (U_FAILURE(st))
            throw Error("No se pudo convertir el documento a " + codificacion_ + ".");
        return;
    }
}

} // namespace pontavia
