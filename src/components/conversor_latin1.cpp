#include "conversor_latin1.h"

#include <cstdint>

namespace pontavia {

namespace {

bool esLatin1(const std::string& nombre) {
    static constexpr std::string_view kNombre = "ISO-8859-1";
    if (nombre.size() != kNombre.size()) return false;
    for (std::size_t i = 0; i < nombre.size(); ++i) {
        const char c =
            nombre[i] >= 'a' && nombre[i] <= 'z' ? static_cast<char>(nombre[i] - 32) : nombre[i];
        if (c != kNombre[i]) return false;
    }
    return true;
}

// How many bytes the UTF-8 sequence that starts with b takes; 0 for a byte that starts none.
std::size_t largoUtf8(unsigned char b) {
    if (b < 0x80) return 1;
    if (b >= 0xC2 && b <= 0xDF) return 2;
    if (b >= 0xE0 && b <= 0xEF) return 3;
    if (b >= 0xF0 && b <= 0xF4) return 4;
    return 0;
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
        for (const char c : bytes) {
            const auto b = static_cast<unsigned char>(c);
            if (b < 0x80) {
                r += c;
            } else {
                r += static_cast<char>(0xC0 | (b >> 6));
                r += static_cast<char>(0x80 | (b & 0x3F));
            }
        }
        return r;
    }

    std::string desdeUtf8(std::string_view utf8) override {
        std::string r;
        r.reserve(utf8.size());
        convertir(utf8, true, r);
        return r;
    }

    bool escribir(std::string_view utf8, bool final,
                  const std::function<void(std::string_view)>& destino) override {
        std::string r;
        if (!partido_.empty()) {
            // The character split between two pieces, joined.
            const std::size_t falta = std::min(
                utf8.size(), largoUtf8(static_cast<unsigned char>(partido_[0])) - partido_.size());
            partido_.append(utf8.substr(0, falta));
            utf8.remove_prefix(falta);
            std::string junto;
            junto.swap(partido_);
            convertir(junto, final && utf8.empty(), r);
        }
        convertir(utf8, final, r);
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

    // Converts utf8 onto r; a sequence cut at its end waits in partido_ unless final.
    void convertir(std::string_view utf8, bool final, std::string& r) {
        std::size_t i = 0;
        while (i < utf8.size()) {
            const auto b = static_cast<unsigned char>(utf8[i]);
            if (b < 0x80) {
                // Runs of ASCII, the bulk of a document, in one append.
                std::size_t j = i + 1;
                while (j < utf8.size() && static_cast<unsigned char>(utf8[j]) < 0x80)
                    ++j;
                r.append(utf8.substr(i, j - i));
                i = j;
                continue;
            }
            const std::size_t n = largoUtf8(b);
            if (n == 0) {
                sustituir(0xFFFD, r);
                ++i;
                continue;
            }
            if (i + n > utf8.size()) {
                if (!final) {
                    partido_.assign(utf8.substr(i));
                    return;
                }
                sustituir(0xFFFD, r);
                return;
            }
            std::uint32_t punto = b & (0xFF >> (n + 1));
            bool bien = true;
            for (std::size_t k = 1; k < n; ++k) {
                const auto s = static_cast<unsigned char>(utf8[i + k]);
                bien = bien && (s & 0xC0) == 0x80;
                punto = (punto << 6) | (s & 0x3F);
            }
            if (!bien) {
                sustituir(0xFFFD, r);
                ++i;
                continue;
            }
            if (punto <= 0xFF)
                r += static_cast<char>(punto);
            else
                sustituir(punto, r);
            i += n;
        }
    }

    Sustituto sustituto_;
    std::string partido_;
};

} // namespace

std::unique_ptr<Conversor> abrirLatin1(const std::string& nombre, Conversor::Sustituto sustituto) {
    if (!esLatin1(nombre)) return nullptr;
    return std::make_unique<ConversorLatin1>(sustituto);
}

} // namespace pontavia
