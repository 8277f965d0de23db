#include "conversor.h"
#include "conversor_latin1.h"

#include <array>
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/unistr.h>
#include <vector>

namespace pontavia {

namespace {

// An ICU converter, closed with its owner.
struct UConverterPropio {
    explicit UConverterPropio(const char* nombre) {
        UErrorCode st = U_ZERO_ERROR;
        c = ucnv_open(nombre, &st);
        if (U_FAILURE(st)) c = nullptr;
    }
    ~UConverterPropio() {
        if (c) ucnv_close(c);
    }
    UConverterPropio(const UConverterPropio&) = delete;
    UConverterPropio& operator=(const UConverterPropio&) = delete;
    UConverter* c = nullptr;
};

class ConversorICU : public Conversor {
  public:
    ConversorICU(const std::string& nombre, Sustituto sustituto)
        : nombre_(nombre), destino_(nombre.c_str()) {
        if (!destino_.c) return;
        // A converter that cannot take the substitute keeps its own (UTF-16 has no '?' byte).
        UErrorCode st = U_ZERO_ERROR;
        if (sustituto == Sustituto::Interrogacion)
            ucnv_setSubstChars(destino_.c, "?", 1, &st);
        else
            ucnv_setFromUCallBack(destino_.c, UCNV_FROM_U_CALLBACK_ESCAPE, UCNV_ESCAPE_XML_DEC,
                                  nullptr, nullptr, &st);
    }

    bool abierto() const { return destino_.c != nullptr; }

    bool multibyte() const override { return ucnv_getMaxCharSize(destino_.c) > 1; }

    bool asciiIgual() const override {
        std::string ascii = "\t\n\r";
        for (char c = ' '; c < 0x7F; ++c)
            ascii += c;
        // A converter of its own, with ICU's own substitution.
        UConverterPropio conv(nombre_.c_str());
        if (!conv.c) return false;
        UErrorCode st = U_ZERO_ERROR;
        std::string salida(ascii.size() * 8, '\0');
        const std::int32_t n = icu::UnicodeString::fromUTF8(ascii).extract(
            salida.data(), static_cast<std::int32_t>(salida.size()), conv.c, st);
        return U_SUCCESS(st) &&
               std::string_view(salida.data(), static_cast<std::size_t>(n)) == ascii;
    }

    std::string aUtf8(std::string_view bytes) override {
        ucnv_resetToUnicode(destino_.c);
        UErrorCode st = U_ZERO_ERROR;
        icu::UnicodeString u(bytes.data(), static_cast<std::int32_t>(bytes.size()), destino_.c, st);
        std::string utf8;
        u.toUTF8String(utf8);
        return utf8;
    }

    std::string desdeUtf8(std::string_view texto) override {
        icu::UnicodeString u = icu::UnicodeString::fromUTF8(
            icu::StringPiece(texto.data(), static_cast<std::int32_t>(texto.size())));
        UErrorCode st = U_ZERO_ERROR;
        std::vector<char> buf(static_cast<std::size_t>(u.length()) * 4 + 4);
        const std::int32_t n =
            ucnv_fromUChars(destino_.c, buf.data(), static_cast<std::int32_t>(buf.size()),
                            u.getBuffer(), u.length(), &st);
        return std::string(buf.data(), static_cast<std::size_t>(n > 0 ? n : 0));
    }

    bool escribir(std::string_view utf8, bool final,
                  const std::function<void(std::string_view)>& destino) override {
        if (!origen_) {
            origen_ = std::make_unique<UConverterPropio>("UTF-8");
            if (!origen_->c) return false;
        }
        // ICU refuses a null source, even an empty one.
        const char* fuente = utf8.empty() ? "" : utf8.data();
        const char* const fin = fuente + utf8.size();
        for (;;) {
            char* salida = trozo_.data();
            UErrorCode st = U_ZERO_ERROR;
            ucnv_convertEx(destino_.c, origen_->c, &salida, trozo_.data() + trozo_.size(), &fuente,
                           fin, pivote_.data(), &pivoteInicio_, &pivoteFin_,
                           pivote_.data() + pivote_.size(), primero_, final, &st);
            primero_ = false;
            destino(
                std::string_view(trozo_.data(), static_cast<std::size_t>(salida - trozo_.data())));
            if (st == U_BUFFER_OVERFLOW_ERROR) continue;
            return U_SUCCESS(st);
        }
    }

  private:
    std::string nombre_;
    UConverterPropio destino_;
    std::unique_ptr<UConverterPropio> origen_;
    std::array<char, 1 << 16> trozo_{};
    std::array<UChar, 1 << 12> pivote_{};
    UChar* pivoteInicio_ = pivote_.data();
    UChar* pivoteFin_ = pivote_.data();
    bool primero_ = true;
};

} // namespace

std::unique_ptr<Conversor> Conversor::abrir(const std::string& nombre, Sustituto sustituto) {
    if (auto latin1 = abrirLatin1(nombre, sustituto)) return latin1;
    auto c = std::make_unique<ConversorICU>(nombre, sustituto);
    if (!c->abierto()) return nullptr;
    return c;
}

} // namespace pontavia
