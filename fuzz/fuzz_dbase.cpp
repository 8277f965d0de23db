// The dBase reader on any bytes: every field of every record read as text and, where it is
// one, as a number; then its rows by the first field. Only the program's own errors may come
// out.
#include "error.h"
#include "tabla_dbase.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
    using namespace pontavia;
    try {
        TablaDBase t = TablaDBase::desdeMemoria(
            std::string(reinterpret_cast<const char*>(datos), tamano), "FUZZ.DBF");
        std::string primero;
        for (t.primero(); !t.alFinal(); t.siguiente()) {
            for (const auto& c : t.formato().campos) {
                const auto campo = NombreCampo::deTexto(c.nombre);
                std::string texto = t.leerTexto(campo);
                if (primero.empty()) primero = texto;
                if (t.esNumerico(campo)) {
                    try {
                        (void)t.leerNumero(campo);
                        (void)t.leerEntero(campo);
                    } catch (const Error&) {
                    }
                }
            }
        }
        if (!t.formato().campos.empty()) {
            const auto campo = NombreCampo::deTexto(t.formato().campos.front().nombre);
            const auto filas = filasPor<bool>(t, campo, [](TablaDBase&) { return true; });
            (void)buscarFila(filas, primero);
        }
    } catch (const Error&) {
        // A damaged table is refused with a clear error: that is the expected outcome.
    }
    return 0;
}
