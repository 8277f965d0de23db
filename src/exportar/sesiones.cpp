#include "sesiones.h"

#include "error.h"
#include "sistema.h"
#include "texto.h"

#include <cmath>

namespace pontavia {

namespace {

constexpr long kPartesMaximas = 13;
// HORAS holds 15 digits before its decimals; larger (or infinite) hours cannot be written,
// and no timetable has them.
constexpr float kHorasMaximas = 1e15f;
constexpr const char* kMedia = "½";

} // namespace

Sesiones calcularSesiones(std::string_view nhoras) {
    // Hours are written as the user writes numbers, with the regional decimal separator.
    const auto escritas = static_cast<float>(aDecimal(nhoras, sistema::separadorDecimal()));
    if (!(std::fabs(escritas) < kHorasMaximas))
        throw Error(ClaseError::ValorNoValido, Hecho::HorasFueraDeRango, {}, std::string(nhoras));
    Sesiones s;
    s.horas = escritas == 0.0f ? 1.0f : escritas;
    const bool entera = std::floor(escritas) == escritas;
    // A whole number gives one "1" per hour, and "½" only when 0 was written (it counts as
    // 1). A fraction gives one "1" per whole hour and "½" for the part of an hour left:
    // 2.5 hours are two lessons and a half one, "11½".
    const long partes =
        entera ? static_cast<long>(std::ceil(s.horas)) : static_cast<long>(std::floor(s.horas));
    const bool media = entera ? s.horas != escritas : s.horas > 0;
    long unos = partes;
    if (unos > kPartesMaximas) {
        s.texto = std::to_string(unos - kPartesMaximas);
        unos = kPartesMaximas;
    }
    if (unos > 0) s.texto.append(static_cast<std::size_t>(unos), '1');
    if (media) s.texto += kMedia;
    return s;
}

} // namespace pontavia
