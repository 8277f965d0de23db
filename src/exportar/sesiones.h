#pragma once
// The weekly hours of a teaching assignment, as a number (HORAS) and as Tamberlo's text
// of one part per lesson (SESIONES).
#include <string>
#include <string_view>

namespace pontavia {

struct Sesiones {
    float horas = 0;
    std::string texto;
};

// From the trimmed nhoras, written with the locale's decimal separator; raises
// "'%s' is not a valid floating point value" when it is not a number, and an error when it
// is too large (or infinite) for HORAS.
Sesiones calcularSesiones(std::string_view nhoras);

} // namespace pontavia
