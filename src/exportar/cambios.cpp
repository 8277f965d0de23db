#include "cambios.h"

#include "csv.h"
#include "error.h"
#include "esquema_tamberlo.h"
#include "plataforma.h"
#include "registro_conjunto.h"
#include "tabla_dbase.h"
#include "texto.h"

#include <array>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pontavia {

namespace {

// Each kind of change, as its line names it and its part of the section is headed, in the
// order the section lists them: first the codes that moved under an item Tamberlo's timetable
// knows by its code, then what it loses, what is new, and the values changed.
enum class Cambio { Codigo, Quitado, Nuevo, Dato };
struct DescripcionCambio {
    Cambio tipo;
    const char* texto;
    const char* titulo;
};
constexpr DescripcionCambio kCambios[] = {
    {Cambio::Codigo, "cambio de código", "Cambios de código"},
    {Cambio::Quitado, "quitado", "Quitados"},
    {Cambio::Nuevo, "nuevo", "Nuevos"},
    {Cambio::Dato, "dato cambiado", "Datos cambiados"},
};

// A table as compared: the fields that find an item (VELMORA's identifiers), its short code,
// the fields that only follow others (a name's first letters, a group's level in each of its
// assignments) and are not changes of their own, and how the summary counts its items.
struct Comparada {
    const VistaTabla& tabla;
    std::vector<std::string_view> clave;
    std::string_view codigo; // empty when the table has none
    std::vector<std::string_view> derivados;
    const char* singular;
    const char* plural;
    bool femenino;
};

const std::vector<Comparada>& comparadas() {
    using namespace tamberlo;
    static const std::vector<Comparada> tablas = {
        {kTablasTamberlo[0], {"IDASIG"}, "COD", {"CODLARGO"}, "materia", "materias", true},
        {kTablasTamberlo[1], {"IDPROF"}, "ABREV", {}, "profesor", "profesores", false},
        {kTablasTamberlo[2], {"IDAULA"}, "ABREV", {}, "aula", "aulas", true},
        {kTablasTamberlo[3], {"IDGRUPO"}, "ABREV", {}, "grupo", "grupos", false},
        {kTablasTamberlo[4],
         {"DIHO"},
         "",
         {"DIA", "TEXTODIA", "HORA", "TEXTOHOR", "MINUTOS", "SESION_ORDEN"},
         "franja horaria",
         "franjas horarias",
         true},
        {kTablasTamberlo[5],
         {"IDASIG", "IDGRUP", "IDPROF"},
         "",
         {"CASIG", "CPROF", "CGRUP", "TURNO", "NIVEL", "CURSO", "GRUPO", "IDCURSO"},
         "asignatura",
         "asignaturas",
         true},
    };
    return tablas;
}

// A table's rows as text, its fields in the description's order ("" for one it lacks).
struct Filas {
    std::vector<std::vector<std::string>> filas;
    bool existe = false;
};

Filas leerFilas(const std::filesystem::path& ruta, const VistaTabla& tabla, Disco& disco) {
    Filas f;
    if (!existeArchivo(ruta, disco)) return f;
    f.existe = true;
    TablaDBase t = TablaDBase::abrir(ruta, Durable::Si, disco);
    // Each field's place in this file, found once: the loop below runs for every row.
    const auto& campos = t.formato().campos;
    std::vector<std::optional<std::size_t>> lugar;
    for (const auto& c : tabla.campos) {
        std::optional<std::size_t> i;
        for (std::size_t j = 0; j < campos.size() && !i; ++j)
            if (campos[j].nombre == c.nombre) i = j;
        lugar.push_back(i);
    }
    for (t.primero(); !t.alFinal(); t.siguiente()) {
        std::vector<std::string> fila;
        fila.reserve(lugar.size());
        for (const auto& i : lugar)
            fila.push_back(i ? recortar(t.leerTextoEn(*i)) : std::string());
        f.filas.push_back(std::move(fila));
    }
    return f;
}

std::size_t indice(const VistaTabla& tabla, std::string_view campo) {
    for (std::size_t i = 0; i < tabla.campos.size(); ++i)
        if (tabla.campos[i].nombre == campo) return i;
    return tabla.campos.size(); // every name above is the description's
}

// One set of tables as read, with the names its assignments are told by.
struct Conjunto {
    std::vector<Filas> tablas; // in comparadas()'s order
    std::unordered_map<std::string, std::string> materias, profesores, grupos;
};

// A teacher's name as VELMORA shows it: PROFT holds "Ana, García López".
std::string nombreVisible(std::string nombre) {
    const auto coma = nombre.find(", ");
    if (coma != std::string::npos) nombre.erase(coma, 1);
    return nombre;
}

std::string valor(const Comparada& c, const std::vector<std::string>& fila,
                  std::string_view campo) {
    const std::size_t i = indice(c.tabla, campo);
    return i < fila.size() ? fila[i] : std::string();
}

// How the report names an item of a table, as the other sections do; with its code or, for a
// change of code, without it (both codes follow on the line).
std::string nombreDe(std::size_t t, const std::vector<std::string>& fila, const Conjunto& s,
                     bool conCodigo) {
    const Comparada& c = comparadas()[t];
    const auto v = [&](std::string_view campo) { return valor(c, fila, campo); };
    const auto buscar = [](const std::unordered_map<std::string, std::string>& m,
                           const std::string& id) {
        const auto it = m.find(id);
        return it == m.end() ? std::string() : it->second;
    };
    LugarError l;
    switch (t) {
    case 0:
        l = {.elemento = "dmateria",
             .atributoIdentificador = "idmateria",
             .identificador = v("IDASIG"),
             .nombre = v("NOMBRE")};
        break;
    case 1:
        l = {.elemento = "profesor",
             .atributoIdentificador = "idprofesor",
             .identificador = v("IDPROF"),
             .nombre = nombreVisible(v("NOMBRE"))};
        break;
    case 2:
        l = {.elemento = "daula",
             .atributoIdentificador = "idaula",
             .identificador = v("IDAULA"),
             .nombre = v("NOMBRE")};
        break;
    case 3:
        l = {.elemento = "dgrupo",
             .atributoIdentificador = "idgrupo",
             .identificador = v("IDGRUPO"),
             .nombre = v("DESCRIP")};
        break;
    case 4:
        l = {.elemento = "franjahoraria",
             .atributoIdentificador = "DIHO",
             .identificador = v("DIHO"),
             .nombre = v("TEXTODIA") + ", hora " + v("HORA") + ", " + v("HORADESDE") + "-" +
                       v("HORAHASTA")};
        break;
    default:
        // What finds an assignment's row: its subject, group and teacher.
        l = {.elemento = "dasignatura",
             .atributoIdentificador = "idmateria",
             .identificador =
                 v("IDASIG") + ", idgrupo " + v("IDGRUP") + ", idprofesor " + v("IDPROF"),
             .nombre = buscar(s.materias, v("IDASIG")),
             .grupo = buscar(s.grupos, v("IDGRUP")),
             .profesor = buscar(s.profesores, v("IDPROF"))};
        if (l.nombre.empty()) l.nombre = v("CASIG");
        break;
    }
    if (conCodigo && !c.codigo.empty()) l.codigo = v(c.codigo);
    return elementoEnInforme(l);
}

// The set in carpeta. A table there that is damaged (noLeidas given) is left out and named
// in noLeidas: the run replaces it all the same. Any other error stops the run, nothing
// changed: a disk that fails, a table another program holds.
Conjunto leerConjunto(const std::filesystem::path& carpeta, Disco& disco,
                      std::vector<std::string>* noLeidas) {
    Conjunto s;
    for (const Comparada& c : comparadas()) {
        try {
            s.tablas.push_back(
                leerFilas(buscarEnCarpeta(carpeta, c.tabla.archivo(), disco), c.tabla, disco));
        } catch (const Error& e) {
            if (!noLeidas ||
                (e.clase() != ClaseError::TablaDanada && e.clase() != ClaseError::ValorNoValido))
                throw;
            noLeidas->push_back(std::string(c.tabla.nombre) + ": no se pudo leer (" + e.what() +
                                ")");
            s.tablas.emplace_back();
        }
    }
    const auto nombres = [&](std::size_t t, std::string_view id, std::string_view nombre,
                             std::unordered_map<std::string, std::string>& m) {
        const Comparada& c = comparadas()[t];
        m.reserve(s.tablas[t].filas.size());
        for (const auto& fila : s.tablas[t].filas)
            m.emplace(valor(c, fila, id),
                      t == 1 ? nombreVisible(valor(c, fila, nombre)) : valor(c, fila, nombre));
    };
    nombres(0, "IDASIG", "NOMBRE", s.materias);
    nombres(1, "IDPROF", "NOMBRE", s.profesores);
    nombres(3, "IDGRUPO", "DESCRIP", s.grupos);
    return s;
}

// The section as it is built: each kind's lines and CSV rows, table by table.
struct Seccion {
    struct Grupo {
        std::vector<std::string> lineas;
        std::string csv;
    };
    std::array<std::vector<Grupo>, std::size(kCambios)> grupos; // [kind][table]
    std::size_t total = 0;
    // For the summary: items per table added, removed, and with values changed; codes changed.
    std::vector<std::size_t> nuevos, quitados, cambiados;
    std::size_t codigos = 0;
    const char* motivo;

    explicit Seccion(const char* m)
        : nuevos(comparadas().size()), quitados(comparadas().size()),
          cambiados(comparadas().size()), motivo(m) {
        for (auto& g : grupos)
            g.resize(comparadas().size());
    }

    void agregar(Cambio tipo, std::size_t tabla, const std::string& elemento,
                 std::string_view campo = {}, std::string_view antes = {},
                 std::string_view ahora = {}) {
        const auto& d = kCambios[static_cast<int>(tipo)];
        Grupo& g = grupos[static_cast<int>(tipo)][tabla];
        std::string linea = "  " + std::string(d.texto) + ": " + elemento;
        if (!campo.empty()) {
            linea += ", " + std::string(campo) + " \"" + std::string(antes) + "\" -> \"" +
                     std::string(ahora) + "\"";
        }
        g.lineas.push_back(std::move(linea));
        anadirFilaCSV(g.csv, {comparadas()[tabla].tabla.nombre, d.texto, elemento, campo, antes,
                              ahora, motivo});
        ++total;
    }
};

// Items matched by their identifiers; an identifier two rows share pairs them in order.
void compararTabla(std::size_t t, const Conjunto& anterior, const Conjunto& nuevo, Seccion& s) {
    const Comparada& c = comparadas()[t];
    const auto& viejas = anterior.tablas[t].filas;
    const auto& nuevas = nuevo.tablas[t].filas;
    std::vector<std::size_t> clave;
    for (const auto& campo : c.clave)
        clave.push_back(indice(c.tabla, campo));
    const auto claveDe = [&](const std::vector<std::string>& fila) {
        std::string k;
        for (const std::size_t i : clave)
            k.append(fila[i]).push_back('\x1F');
        return k;
    };
    std::unordered_map<std::string, std::vector<std::size_t>> porClave;
    porClave.reserve(viejas.size());
    for (std::size_t i = 0; i < viejas.size(); ++i)
        porClave[claveDe(viejas[i])].push_back(i);
    std::unordered_map<std::string, std::size_t> usadas;
    std::vector<bool> emparejada(viejas.size());
    const std::size_t codigo = c.codigo.empty() ? c.tabla.campos.size() : indice(c.tabla, c.codigo);
    std::vector<bool> comparado(c.tabla.campos.size(), true);
    for (std::size_t i = 0; i < comparado.size(); ++i) {
        const std::string_view nombre = c.tabla.campos[i].nombre;
        for (const auto& x : c.clave)
            if (x == nombre) comparado[i] = false;
        for (const auto& x : c.derivados)
            if (x == nombre) comparado[i] = false;
        if (i == codigo) comparado[i] = false;
    }
    std::vector<std::size_t> cambiadas; // the rows with values changed, in the new order
    for (const auto& fila : nuevas) {
        const std::string k = claveDe(fila);
        const auto it = porClave.find(k);
        const std::size_t n = it == porClave.end() ? 0 : usadas[k]++;
        if (it == porClave.end() || n >= it->second.size()) {
            s.agregar(Cambio::Nuevo, t, nombreDe(t, fila, nuevo, true));
            ++s.nuevos[t];
            continue;
        }
        const std::size_t i = it->second[n];
        emparejada[i] = true;
        const auto& vieja = viejas[i];
        if (codigo < fila.size() && vieja[codigo] != fila[codigo]) {
            s.agregar(Cambio::Codigo, t, nombreDe(t, fila, nuevo, false), c.codigo, vieja[codigo],
                      fila[codigo]);
            ++s.codigos;
        }
        bool cambiada = false;
        for (std::size_t f = 0; f < fila.size(); ++f) {
            if (!comparado[f] || vieja[f] == fila[f]) continue;
            // An activity's own code repeated: its change is the code's.
            if (codigo < fila.size() && vieja[f] == vieja[codigo] && fila[f] == fila[codigo])
                continue;
            s.agregar(Cambio::Dato, t, nombreDe(t, fila, nuevo, true), c.tabla.campos[f].nombre,
                      vieja[f], fila[f]);
            cambiada = true;
        }
        if (cambiada) ++s.cambiados[t];
    }
    for (std::size_t i = 0; i < viejas.size(); ++i)
        if (!emparejada[i]) {
            s.agregar(Cambio::Quitado, t, nombreDe(t, viejas[i], anterior, true));
            ++s.quitados[t];
        }
}

std::string cuantos(std::size_t n, const Comparada& c, const char* masculino,
                    const char* femenino) {
    return std::to_string(n) + " " + (n == 1 ? c.singular : c.plural) + " " +
           (c.femenino ? femenino : masculino);
}

// "1 profesor nuevo, 1 grupo quitado, 1 código cambiado"; "ninguno" when nothing changed.
std::string resumen(const Seccion& s) {
    std::vector<std::string> partes;
    const auto& tablas = comparadas();
    for (std::size_t t = 0; t < tablas.size(); ++t)
        if (s.nuevos[t])
            partes.push_back(cuantos(s.nuevos[t], tablas[t], s.nuevos[t] == 1 ? "nuevo" : "nuevos",
                                     s.nuevos[t] == 1 ? "nueva" : "nuevas"));
    for (std::size_t t = 0; t < tablas.size(); ++t)
        if (s.quitados[t])
            partes.push_back(cuantos(s.quitados[t], tablas[t],
                                     s.quitados[t] == 1 ? "quitado" : "quitados",
                                     s.quitados[t] == 1 ? "quitada" : "quitadas"));
    for (std::size_t t = 0; t < tablas.size(); ++t)
        if (s.cambiados[t])
            partes.push_back(
                cuantos(s.cambiados[t], tablas[t], "con datos cambiados", "con datos cambiados"));
    if (s.codigos)
        partes.push_back(std::to_string(s.codigos) +
                         (s.codigos == 1 ? " código cambiado" : " códigos cambiados"));
    if (partes.empty()) return "ninguno";
    std::string r;
    for (const auto& p : partes)
        r += (r.empty() ? "" : ", ") + p;
    return r;
}

// What the set in ktemp is, as its record says: the export the changes are counted from.
std::string frenteA(const std::filesystem::path& ktemp, Disco& disco) {
    std::string texto;
    RegistroConjunto registro;
    const auto ruta = buscarEnCarpeta(ktemp, kRegistroConjunto, disco);
    if (!existeArchivo(ruta, disco))
        return "las tablas que hay en la carpeta de Tamberlo " + ktemp.string();
    if (!disco.leerArchivo(ruta, texto))
        throw Error(ClaseError::FalloDeDisco, Hecho::ArchivoNoLeido, {.archivo = ruta.string()});
    if (!leerRegistro(texto, registro))
        return "las tablas que hay en la carpeta de Tamberlo " + ktemp.string();
    return describirConjunto(registro);
}

} // namespace

void compararConTamberlo(const std::filesystem::path& ktemp, const std::filesystem::path& nueva,
                         Comparacion comparacion, Informe& informe, Disco& disco) {
    const bool simulacion = comparacion == Comparacion::Simulacion;
    const std::string titulo = simulacion ? "Cambios que haría la exportación en las tablas de "
                                            "Tamberlo"
                                          : "Cambios desde la exportación anterior";
    std::vector<std::string> noLeidas;
    const bool hayCarpeta = disco.examinar(ktemp) == Disco::Entrada::Carpeta;
    const Conjunto anterior = hayCarpeta ? leerConjunto(ktemp, disco, &noLeidas) : Conjunto{};
    bool hayAnterior = !noLeidas.empty();
    for (const auto& t : anterior.tablas)
        hayAnterior = hayAnterior || t.existe;
    if (!hayAnterior) {
        const std::string frase =
            titulo + ": " +
            (simulacion ? "ninguno que comparar, la carpeta de Tamberlo no tiene tablas (sería la "
                          "primera exportación)"
                        : "no hay ninguna exportación anterior con la que comparar");
        // The sentence after the report's summary says it all.
        informe.seccionCambios({}, "", frase);
        return;
    }
    const Conjunto nuevo = leerConjunto(nueva, disco, nullptr);
    Seccion s(simulacion ? "frente a las tablas de Tamberlo" : "desde la exportación anterior");
    for (std::size_t t = 0; t < comparadas().size(); ++t)
        compararTabla(t, anterior, nuevo, s);

    const std::string frase = titulo + ": " + resumen(s);
    std::vector<std::string> lineas{""};
    lineas.push_back(titulo + ": " + std::to_string(s.total));
    lineas.push_back("Frente a " + frenteA(ktemp, disco) + ".");
    for (const auto& n : noLeidas)
        lineas.push_back("  " + n);
    std::string csv;
    for (std::size_t k = 0; k < std::size(kCambios); ++k) {
        std::size_t enTipo = 0;
        for (const auto& g : s.grupos[k])
            enTipo += g.lineas.size();
        if (!enTipo) continue;
        lineas.push_back("");
        lineas.push_back(std::string(kCambios[k].titulo) + ": " + std::to_string(enTipo));
        for (std::size_t t = 0; t < comparadas().size(); ++t) {
            const auto& g = s.grupos[k][t];
            if (g.lineas.empty()) continue;
            lineas.push_back("");
            lineas.push_back(comparadas()[t].tabla.nombre);
            lineas.insert(lineas.end(), g.lineas.begin(), g.lineas.end());
            csv += g.csv;
        }
    }
    informe.seccionCambios(std::move(lineas), std::move(csv), frase);
}

} // namespace pontavia
