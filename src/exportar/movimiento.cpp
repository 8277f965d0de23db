#include "movimiento.h"

#include "bloqueo.h"
#include "error.h"
#include "plataforma.h"
#include "sistema.h"

#include <system_error>

namespace pontavia {

namespace {

constexpr std::string_view kCabecera = "pontavia-movimiento 1";

// A plain name in a folder: no separator, nothing that leads out of it.
bool esNombre(std::string_view nombre) {
    return !nombre.empty() && nombre != "." && nombre != ".." &&
           nombre.find_first_of("/\\:") == std::string_view::npos;
}

// A path inside the folder, of one or two plain names.
bool esRutaInterior(std::string_view ruta) {
    const auto barra = ruta.find('/');
    if (barra == std::string_view::npos) return esNombre(ruta);
    return esNombre(ruta.substr(0, barra)) && esNombre(ruta.substr(barra + 1));
}

// A table another program holds is named as such; any other failure by what failed.
[[noreturn]] void fallo(const std::filesystem::path& tabla, Hecho hecho, LugarError lugar) {
    const int error = sistema::ultimoError();
    if (sistema::enUsoPorOtro(error)) tablaEnUso(tabla);
    throw Error(ClaseError::FalloDeDisco, hecho, std::move(lugar), sistema::textoError(error));
}

void mover(Disco& disco, const std::filesystem::path& desde, const std::filesystem::path& hasta) {
    if (!disco.reemplazar(desde, hasta))
        fallo(hasta, Hecho::NoMovido, {.archivo = desde.string(), .destino = hasta.string()});
}

} // namespace

std::string textoPlan(const PlanMovimiento& plan) {
    std::string texto(kCabecera);
    texto += "\ngeneracion\t" + plan.generacion + "\n";
    for (const auto& e : plan.entradas)
        texto += "mover\t" + e.origen + "\t" + e.destino + "\n";
    for (const auto& r : plan.retiradas)
        texto += "retirar\t" + r + "\n";
    return texto + "fin\n";
}

bool leerPlan(std::string_view texto, PlanMovimiento& plan) {
    plan = {};
    std::vector<std::vector<std::string_view>> lineas;
    while (!texto.empty()) {
        const auto fin = texto.find('\n');
        if (fin == std::string_view::npos) return false; // cut short
        std::string_view linea = texto.substr(0, fin);
        texto.remove_prefix(fin + 1);
        std::vector<std::string_view> campos;
        for (;;) {
            const auto tab = linea.find('\t');
            campos.push_back(linea.substr(0, tab));
            if (tab == std::string_view::npos) break;
            linea.remove_prefix(tab + 1);
        }
        lineas.push_back(std::move(campos));
    }
    if (lineas.size() < 3 || lineas.front() != std::vector<std::string_view>{kCabecera} ||
        lineas.back() != std::vector<std::string_view>{"fin"})
        return false;
    for (std::size_t i = 1; i + 1 < lineas.size(); ++i) {
        const auto& c = lineas[i];
        if (c.size() == 2 && c[0] == "generacion" && esNombre(c[1]) && i == 1)
            plan.generacion = c[1];
        else if (c.size() == 3 && c[0] == "mover" && esRutaInterior(c[1]) && esNombre(c[2]))
            plan.entradas.push_back({std::string(c[1]), std::string(c[2])});
        else if (c.size() == 2 && c[0] == "retirar" && esNombre(c[1]))
            plan.retiradas.emplace_back(c[1]);
        else
            return false;
    }
    return !plan.generacion.empty();
}

bool movimientoPendiente(Disco& disco, const std::filesystem::path& carpeta) {
    return disco.examinar(carpeta / kRegistroMovimiento) == Disco::Entrada::Archivo &&
           disco.examinar(carpeta / kApartados) == Disco::Entrada::Carpeta;
}

void completarMovimiento(Disco& disco, const std::filesystem::path& ktemp,
                         const std::filesystem::path& carpeta, const PlanMovimiento& plan) {
    const auto apartados = carpeta / kApartados;
    // The replaced files become the generation in one last rename: until then the move is
    // not finished, and afterwards nothing is left to do but make the names safe.
    if (disco.examinar(apartados) == Disco::Entrada::Carpeta) {
        // A file still where it was staged has not taken its name yet.
        for (const auto& e : plan.entradas) {
            const auto origen = ktemp / sistema::ruta(e.origen);
            if (existeArchivo(origen, disco))
                mover(disco, origen, ktemp / sistema::ruta(e.destino));
        }
        for (const auto& r : plan.retiradas) {
            const auto ruta = ktemp / sistema::ruta(r);
            if (existeArchivo(ruta, disco) && !disco.borrar(ruta))
                fallo(ruta, Hecho::CarpetaNoEscrita, {.archivo = ktemp.string()});
        }
        const auto generacion = ktemp / sistema::ruta(plan.generacion);
        if (disco.examinar(generacion) != Disco::Entrada::Ninguna)
            mover(disco, generacion, carpeta / "descartada");
        mover(disco, apartados, generacion);
    }
    if (!disco.vaciarEntradas(ktemp))
        fallo(ktemp, Hecho::CarpetaNoEscrita, {.archivo = ktemp.string()});
}

} // namespace pontavia
