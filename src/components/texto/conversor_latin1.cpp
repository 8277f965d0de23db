#include "conversor_latin1.h"

#include "ascii.h"
#include "tablas_texto.h"
#include "texto.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace pontavia {

bool esLatin1(std::string_view nombre) {
    // The names of ISO-8859-1 in the IANA registry and those ICU and expat take.
    static constexpr const char* kNombres[] = {
        "iso-8859-1", "iso8859-1", "iso_8859-1", "iso_8859-1:1987", "iso-ir-100",  "latin1",
        "latin-1",    "l1",        "ibm819",     "cp819",           "csisolatin1", "iso88591",
    };
    const std::string n = minusculasAscii(nombre);
    return std::any_of(std::begin(kNombres), std::end(kNombres),
                       [&](const char* x) { return n == x; });
}

bool conBytesDeWindows(std::string_view bytes) {
    constexpr std::uint64_t kUnos = 0x0101010101010101u;
    constexpr std::uint64_t kAltos = 0x8080808080808080u;
    // A byte from 0x80 to 0x9F has 100 as its top bits: masked to them and compared with
    // 0x80, it becomes a zero byte, which the usual test finds (exact for a whole word).
    const auto hay = [&](std::size_t en) {
        std::uint64_t w;
        std::memcpy(&w, bytes.data() + en, 8);
        const std::uint64_t x = (w & (kUnos * 0xE0)) ^ kAltos;
        return (x - kUnos) & ~x & kAltos;
    };
    std::size_t i = 0;
    // Four words a step, so that the processor works on them side by side.
    for (; i + 32 <= bytes.size(); i += 32)
        if (hay(i) | hay(i + 8) | hay(i + 16) | hay(i + 24)) return true;
    for (; i + 8 <= bytes.size(); i += 8)
        if (hay(i)) return true;
    for (; i < bytes.size(); ++i)
        if ((static_cast<unsigned char>(bytes[i]) & 0xE0) == 0x80) return true;
    return false;
}

namespace {

// What each byte from 0x80 to 0x9F reads as: windows-1252's character, from the program's own
// table of it.
const std::array<std::string, 32>& bytesDeWindows() {
    static const std::array<std::string, 32> tabla = [] {
        std::array<std::string, 32> t;
        const tablas::TablaPagina* w1252 = nullptr;
        for (std::size_t i = 0; i < tablas::kNumPaginas; ++i)
            if (std::strcmp(tablas::kPaginas[i].nombre, "windows-1252") == 0)
                w1252 = &tablas::kPaginas[i];
        for (std::size_t b = 0; b < t.size(); ++b)
            anadirUtf8(t[b], w1252 ? w1252->caracteres[0x80 + b] : static_cast<char32_t>(0x80 + b));
        return t;
    }();
    return tabla;
}

// The characters that the converters of ICU, the ones files were written with before, leave
// out without a trace when an encoding lacks them, rather than write them as a reference:
// the invisible ones (joiners, direction marks, variation selectors, tags). Left out here
// too, so that a file comes out as it always did.
bool seOmite(std::uint32_t punto) {
    struct Tramo {
        std::uint32_t desde, hasta;
    };
    static constexpr Tramo kOmitidos[] = {
        {0x34F, 0x34F},   {0x61C, 0x61C},     {0x115F, 0x1160},   {0x17B4, 0x17B5},
        {0x180B, 0x180F}, {0x200B, 0x200F},   {0x202A, 0x202E},   {0x2060, 0x206F},
        {0x3164, 0x3164}, {0xFE00, 0xFE0F},   {0xFEFF, 0xFEFF},   {0xFFA0, 0xFFA0},
        {0xFFF0, 0xFFF8}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0000, 0xE0FFF},
    };
    for (const auto& t : kOmitidos)
        if (punto >= t.desde && punto <= t.hasta) return true;
    return false;
}

class ConversorLatin1 final : public Conversor {
  public:
    explicit ConversorLatin1(Sustituto sustituto) : sustituto_(sustituto) {}

    bool multibyte() const override { return false; }
    bool asciiIgual() const override { return true; }

    std::string aUtf8(std::string_view bytes) override {
        std::string r;
        r.reserve(bytes.size() + bytes.size() / 8);
        const auto& windows = bytesDeWindows();
        for (const char c : bytes) {
            const auto b = static_cast<unsigned char>(c);
            if ((b & 0xE0) == 0x80)
                r += windows[b - 0x80];
            else
                anadirUtf8(r, b);
        }
        return r;
    }

    std::string desdeUtf8(std::string_view utf8) override {
        std::string r;
        r.reserve(utf8.size());
        convertir(utf8, r);
        return r;
    }

    bool escribir(std::string_view utf8, bool final,
                  const std::function<void(std::string_view)>& destino) override {
        std::string r;
        // A character split between two pieces: joined with the bytes it still lacks.
        while (!pendiente_.empty() && !utf8.empty() &&
               incompletoAlFinal(pendiente_) == pendiente_.size()) {
            pendiente_ += utf8.front();
            utf8.remove_prefix(1);
        }
        if (final || incompletoAlFinal(pendiente_) < pendiente_.size()) {
            convertir(pendiente_, r);
            pendiente_.clear();
        }
        // Whatever begins a character at the end waits for the next piece.
        const std::size_t corte = utf8.size() - (final ? 0 : incompletoAlFinal(utf8));
        convertir(utf8.substr(0, corte), r);
        pendiente_.append(utf8.substr(corte));
        if (!r.empty()) destino(r);
        return true;
    }

  private:
    void sustituir(std::uint32_t punto, std::string& r) const {
        if (seOmite(punto)) return;
        if (sustituto_ == Sustituto::Interrogacion)
            r += '?';
        else
            r.append("&#").append(std::to_string(punto)).append(";");
    }

    void convertir(std::string_view utf8, std::string& r) const {
        std::size_t i = 0;
        while (i < utf8.size()) {
            // Runs of ASCII, the bulk of a document, in one append.
            std::size_t j = i;
            while (j < utf8.size() && static_cast<unsigned char>(utf8[j]) < 0x80)
                ++j;
            r.append(utf8.substr(i, j - i));
            if (j == utf8.size()) return;
            i = j;
            const std::int32_t punto = siguienteCaracter(utf8, i);
            if (punto >= 0 && punto <= 0xFF)
                r += static_cast<char>(punto);
            else
                sustituir(punto < 0 ? 0xFFFD : static_cast<std::uint32_t>(punto), r);
        }
    }

    Sustituto sustituto_;
    std::string pendiente_;
};

} // namespace

std::unique_ptr<Conversor> abrirLatin1(const std::string& nombre, Conversor::Sustituto sustituto) {
    if (!esLatin1(nombre)) return nullptr;
    return std::make_unique<ConversorLatin1>(sustituto);
}

} // namespace pontavia
