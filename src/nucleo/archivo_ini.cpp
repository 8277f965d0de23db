#include "archivo_ini.h"

#include "archivo_atomico.h"
#include "error.h"
#include "texto.h"

#include <vector>

namespace pontavia {

namespace {

struct Linea {
    std::string contenido;
    std::string fin; // "\r\n", "\n" or "" for a last line without one
};

std::vector<Linea> partirLineas(const std::string& texto) {
    std::vector<Linea> lineas;
    std::size_t inicio = 0;
    while (inicio < texto.size()) {
        const std::size_t nl = texto.find('\n', inicio);
        if (nl == std::string::npos) {
            lineas.push_back({texto.substr(inicio), ""});
            break;
        }
        const bool cr = nl > inicio && texto[nl - 1] == '\r';
        lineas.push_back({texto.substr(inicio, nl - inicio - (cr ? 1 : 0)), cr ? "\r\n" : "\n"});
        inicio = nl + 1;
    }
    return lineas;
}

bool igualesSinMayusculas(const std::string& a, const std::string& b) {
    return plegarMayusculas(a) == plegarMayusculas(b);
}

// The section a header line opens, or nothing when the line is not a header.
bool esCabecera(const std::string& linea, std::string& seccion) {
    const std::string t = recortar(linea);
    if (t.size() < 2 || t.front() != '[') return false;
    const std::size_t fin = t.find(']');
    seccion = recortar(t.substr(1, (fin == std::string::npos ? t.size() : fin) - 1));
    return true;
}

bool esClave(const std::string& linea, const std::string& clave) {
    const std::size_t igual = linea.find('=');
    return igual != std::string::npos &&
           igualesSinMayusculas(recortar(linea.substr(0, igual)), clave);
}

} // namespace

std::string conEntradaIni(const std::string& texto, const std::string& seccion,
                          const std::string& clave, const std::string& valor) {
    std::vector<Linea> lineas = partirLineas(texto);
    const std::string finNuevo = texto.find("\r\n") != std::string::npos ? "\r\n"
                                 : texto.find('\n') != std::string::npos ? "\n"
                                                                         : "\r\n";
    const std::string entrada = clave + "=" + valor;

    bool enSeccion = false;
    std::size_t ultimaDeSeccion = 0;
    bool seccionVista = false;
    for (std::size_t i = 0; i < lineas.size(); ++i) {
        std::string nombre;
        if (esCabecera(lineas[i].contenido, nombre)) {
            if (enSeccion) break;
            enSeccion = igualesSinMayusculas(nombre, seccion);
            if (enSeccion) {
                seccionVista = true;
                ultimaDeSeccion = i;
            }
            continue;
        }
        if (!enSeccion) continue;
        if (esClave(lineas[i].contenido, clave)) {
            lineas[i].contenido = entrada;
            seccionVista = false; // done
            enSeccion = false;
            ultimaDeSeccion = SIZE_MAX;
            break;
        }
        if (!recortar(lineas[i].contenido).empty()) ultimaDeSeccion = i;
    }

    if (ultimaDeSeccion != SIZE_MAX) {
        if (seccionVista) {
            // A new key goes after the section's last entry.
            Linea& anterior = lineas[ultimaDeSeccion];
            if (anterior.fin.empty()) anterior.fin = finNuevo;
            lineas.insert(lineas.begin() + static_cast<std::ptrdiff_t>(ultimaDeSeccion) + 1,
                          {entrada, finNuevo});
        } else {
            if (!lineas.empty() && lineas.back().fin.empty()) lineas.back().fin = finNuevo;
            lineas.push_back({"[" + seccion + "]", finNuevo});
            lineas.push_back({entrada, finNuevo});
        }
    }
    std::string resultado;
    for (const auto& l : lineas)
        resultado += l.contenido + l.fin;
    return resultado;
}

void escribirEntradaIni(const std::filesystem::path& archivo, const std::string& seccion,
                        const std::string& clave, const std::string& valor, Disco& disco) {
    std::string texto;
    const Disco::Entrada hay = disco.examinar(archivo);
    if (hay != Disco::Entrada::Ninguna &&
        (hay != Disco::Entrada::Archivo || !disco.leerArchivo(archivo, texto)))
        throw Error(ClaseError::FalloDeDisco, Hecho::EstadoNoEscrito,
                    {.archivo = archivo.string()});
    // Tamberlo's users know its own words for a status file that cannot be written; the
    // kind and the system's reason stay those of the write that failed.
    try {
        escribirAtomico(disco, archivo, conEntradaIni(texto, seccion, clave, valor));
    } catch (const Error& e) {
        throw Error(e.clase(), Hecho::EstadoNoEscrito, {.archivo = archivo.string()}, e.detalle());
    }
}

} // namespace pontavia
