#include "salida_documento.h"

#include "conversor.h"
#include "error.h"
#include "texto.h"

namespace pontavia {

SalidaDocumento::SalidaDocumento(std::function<void(std::string_view)> destino,
                                 const std::string& codificacion, std::string_view bom)
    : destino_(std::move(destino)) {
    if (!codificacion.empty()) {
        // A character the encoding lacks becomes a character reference, so nothing is lost.
        conversor_ = Conversor::abrir(codificacion, Conversor::Sustituto::ReferenciaXML);
        if (!conversor_)
            throw Error(ClaseError::ValorNoValido, Hecho::CodificacionNoEscribible, {},
                        codificacion);
        codificacion_ = codificacion;
        // Most of a school's file is ASCII (identifiers, numbers, markup), and most encodings
        // write ASCII as ASCII, so that it may go through unconverted.
        asciiIgual_ = conversor_->asciiIgual();
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
        if (conversor_ && !(asciiIgual_ && esAscii(utf8)))
            convertir(utf8, false);
        else
            destino_(utf8);
    } catch (...) {
        error_ = std::current_exception();
    }
}

void SalidaDocumento::terminar() {
    if (!error_ && conversor_) {
        try {
            convertir({}, true);
        } catch (...) {
            error_ = std::current_exception();
        }
    }
    if (error_) std::rethrow_exception(error_);
}

void SalidaDocumento::convertir(std::string_view utf8, bool final) {
    if (!conversor_->escribir(utf8, final, destino_))
        throw Error(ClaseError::ValorNoValido, Hecho::DocumentoNoConvertido, {}, codificacion_);
}

} // namespace pontavia
