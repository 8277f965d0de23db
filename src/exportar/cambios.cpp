#include "cambios.h"

#include "carpeta_tamberlo.h"
#include "csv.h"
#include "error.h"
#include "esquema_tamberlo.h"
#include "mapeo.h"
#include "plataforma.h"
#include "registro_conjunto.h"
#include "tabla_dbase.h"
#include "texto.h"

#include <array>
#include <cstdint>
#include <optional>
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

// A table's rows as text, its fields in the description's order ("" for one it lacks), all in
// one string: a large school's tables compared cost about their own size, not an object per
// value.
struct Filas {
    std::size_t campos = 0;
    std::string datos;
    std::vector<std::uint32_t> inicios{0}; // where each value starts, row after row; one past
    bool existe = false;

    std::size_t size() const { return campos ? (inicios.size() - 1) / campos : 0; }
    std::string_view valor(std::size_t fila, std::size_t campo) const {
        const std::size_t k = fila * campos + campo;
        return std::string_view(datos).substr(inicios[k], inicios[k + 1] - inicios[k]);
    }
};

// Only the fields compared, and those that name an item, are read: the others stay empty.
bool seLee(const Comparada& c, std::string_view campo) {
    for (const auto& d : c.derivados)
        if (d == campo) return campo == "TEXTODIA" || campo == "HORA" || campo == "CASIG";
    return true;
}

Filas leerFilas(const std::filesystem::path& ruta, const Comparada& comparada, Disco& disco) {
    const VistaTabla& tabla = comparada.tabla;
    Filas f;
    f.campos = tabla.campos.size();
    if (!existeArchivo(ruta, disco)) return f;
    f.existe = true;
    TablaDBase t = TablaDBase::abrir(ruta, Durable::Si, disco);
    // Each field's place in this file, found once: the loop below runs for every row.
    const auto& campos = t.formato().campos;
    std::vector<std::optional<std::size_t>> lugar;
    for (const auto& c : tabla.campos) {
        std::optional<std::size_t> i;
        for (std::size_t j = 0; j < campos.size() && !i && seLee(comparada, c.nombre); ++j)
            if (campos[j].nombre == c.nombre) i = j;
        lugar.push_back(i);
    }
    f.inicios.reserve(t.registros() * f.campos + 1);
    for (t.primero(); !t.alFinal(); t.siguiente())
        for (const auto& i : lugar) {
            if (i) f.datos += recortarVista(t.leerTextoEn(*i));
            f.inicios.push_back(static_cast<std::uint32_t>(f.datos.size()));
        }
    return f;
}

std::size_t indice(const VistaTabla& tabla, std::string_view campo) {
    for (std::size_t i = 0; i < tabla.campos.size(); ++i)
        if (tabla.campos[i].nombre == campo) return i;
    return tabla.campos.size(); // every name above is the description's
}

// The names of a table's items by their identifier, for the assignments' lines.
void anotarNombres(std::size_t t, const Filas& f, std::unordered_map<std::string, std::string>& m);

// The names one set's assignments are told by, from its subjects, teachers and groups, looked
// up only once an assignment changes: most exports change none.
class Nombres {
  public:
    void guardar(std::size_t t, Filas filas) {
        if (t == 0 || t == 1 || t == 3) tablas_[t] = std::move(filas);
    }
    const std::unordered_map<std::string, std::string>& de(std::size_t t) const {
        if (!hechos_) {
            for (const std::size_t i : {0u, 1u, 3u})
                anotarNombres(i, tablas_[i], mapas_[i]);
            hechos_ = true;
        }
        return mapas_[t];
    }

  private:
    Filas tablas_[4];
    mutable std::unordered_map<std::string, std::string> mapas_[4];
    mutable bool hechos_ = false;
};
struct FilaDe {
    const Filas& filas;
    std::size_t fila;
    const Nombres& nombres;
};

// A teacher's name as VELMORA shows it: PROFT holds "Ana, García López".
std::string nombreVisible(std::string nombre) {
    const auto coma = nombre.find(", ");
    if (coma != std::string::npos) nombre.erase(coma, 1);
    return nombre;
}

// How the report names an item of a table, as the other sections do; with its code or, for a
// change of code, without it (both codes follow on the line).
std::string nombreDe(std::size_t t, const FilaDe& f, bool conCodigo) {
    const Comparada& c = comparadas()[t];
    const auto v = [&](std::string_view campo) {
        const std::size_t i = indice(c.tabla, campo);
        return std::string(i < f.filas.campos ? f.filas.valor(f.fila, i) : std::string_view());
    };
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
             .nombre = buscar(f.nombres.de(0), v("IDASIG")),
             .grupo = buscar(f.nombres.de(3), v("IDGRUP")),
             .profesor = buscar(f.nombres.de(1), v("IDPROF"))};
        if (l.nombre.empty()) l.nombre = v("CASIG");
        break;
    }
    if (conCodigo && !c.codigo.empty()) l.codigo = v(c.codigo);
    return elementoEnInforme(l);
}

// One table of the set in carpeta. A table there that is damaged (noLeidas given) is left out
// and named in noLeidas: the run replaces it all the same. Any other error stops the run,
// nothing changed: a disk that fails, a table another program holds.
Filas leerTabla(const std::filesystem::path& carpeta, std::size_t t, Disco& disco,
                std::vector<std::string>* noLeidas) {
    const Comparada& c = comparadas()[t];
    try {
        return leerFilas(buscarEnCarpeta(carpeta, c.tabla.archivo(), disco), c, disco);
    } catch (const Error& e) {
        if (!noLeidas ||
            (e.clase() != ClaseError::TablaDanada && e.clase() != ClaseError::ValorNoValido))
            throw;
        noLeidas->push_back(std::string(c.tabla.nombre) + ": no se pudo leer (" + e.what() + ")");
        Filas vacia;
        vacia.campos = c.tabla.campos.size();
        vacia.existe = true;
        return vacia;
    }
}

void anotarNombres(std::size_t t, const Filas& f, std::unordered_map<std::string, std::string>& m) {
    const Comparada& c = comparadas()[t];
    if (!f.campos) return;
    const std::size_t id = indice(c.tabla, c.clave.front());
    const std::size_t nombre = indice(c.tabla, t == 3 ? "DESCRIP" : "NOMBRE");
    m.reserve(f.size());
    for (std::size_t r = 0; r < f.size(); ++r) {
        std::string texto(f.valor(r, nombre));
        m.emplace(std::string(f.valor(r, id)), t == 1 ? nombreVisible(std::move(texto)) : texto);
    }
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
void compararTabla(std::size_t t, const Filas& viejas, const Nombres& nombresViejos,
                   const Filas& nuevas, const Nombres& nombresNuevos, Seccion& s) {
    const Comparada& c = comparadas()[t];
    std::vector<std::size_t> clave;
    for (const auto& campo : c.clave)
        clave.push_back(indice(c.tabla, campo));
    // Each row's key, the fields that make it one after the other, in one string.
    const auto claves = [&](const Filas& f, std::string& texto) {
        std::vector<std::uint32_t> inicio{0};
        inicio.reserve(f.size() + 1);
        for (std::size_t r = 0; r < f.size(); ++r) {
            for (const std::size_t i : clave)
                texto.append(f.valor(r, i)).push_back('\x1F');
            inicio.push_back(static_cast<std::uint32_t>(texto.size()));
        }
        return inicio;
    };
    std::string textoViejas, textoNuevas;
    const auto inicioViejas = claves(viejas, textoViejas);
    const auto inicioNuevas = claves(nuevas, textoNuevas);
    const auto claveDe = [](const std::string& texto, const std::vector<std::uint32_t>& inicio,
                            std::size_t r) {
        return std::string_view(texto).substr(inicio[r], inicio[r + 1] - inicio[r]);
    };
    // The first earlier row of each key not yet matched, and after each row the next of its key.
    constexpr std::size_t kNinguna = static_cast<std::size_t>(-1);
    std::unordered_map<std::string_view, std::size_t> primera;
    primera.reserve(viejas.size());
    std::vector<std::size_t> siguiente(viejas.size(), kNinguna);
    for (std::size_t r = viejas.size(); r-- > 0;) {
        auto [it, nueva] = primera.try_emplace(claveDe(textoViejas, inicioViejas, r), r);
        if (!nueva) {
            siguiente[r] = it->second;
            it->second = r;
        }
    }
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
    const bool conCodigo = codigo < c.tabla.campos.size();
    for (std::size_t r = 0; r < nuevas.size(); ++r) {
        const FilaDe nueva{nuevas, r, nombresNuevos};
        const auto it = primera.find(claveDe(textoNuevas, inicioNuevas, r));
        if (it == primera.end() || it->second == kNinguna) {
            s.agregar(Cambio::Nuevo, t, nombreDe(t, nueva, true));
            ++s.nuevos[t];
            continue;
        }
        const std::size_t v = it->second;
        it->second = siguiente[v];
        emparejada[v] = true;
        if (conCodigo && viejas.valor(v, codigo) != nuevas.valor(r, codigo)) {
            s.agregar(Cambio::Codigo, t, nombreDe(t, nueva, false), c.codigo,
                      viejas.valor(v, codigo), nuevas.valor(r, codigo));
            ++s.codigos;
        }
        bool cambiada = false;
        for (std::size_t f = 0; f < comparado.size(); ++f) {
            const std::string_view antes = viejas.valor(v, f), ahora = nuevas.valor(r, f);
            if (!comparado[f] || antes == ahora) continue;
            // An activity's own code repeated: its change is the code's.
            if (conCodigo && antes == viejas.valor(v, codigo) && ahora == nuevas.valor(r, codigo))
                continue;
            s.agregar(Cambio::Dato, t, nombreDe(t, nueva, true), c.tabla.campos[f].nombre, antes,
                      ahora);
            cambiada = true;
        }
        if (cambiada) ++s.cambiados[t];
    }
    for (std::size_t v = 0; v < viejas.size(); ++v)
        if (!emparejada[v]) {
            s.agregar(Cambio::Quitado, t, nombreDe(t, FilaDe{viejas, v, nombresViejos}, true));
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

// Whether the table in both folders holds the same fields and records, byte for byte: its
// header's date of last change (bytes 1 to 3) aside, which every export writes anew. Both
// are mapped and compared a stretch at a time, each stretch given back once compared: the
// largest table of a large school is tens of megabytes. Any doubt (a table missing, one that
// cannot be read) says no, and the tables are read and compared the long way.
bool mismaTabla(const std::filesystem::path& una, const std::filesystem::path& otra,
                const VistaTabla& tabla, Disco& disco) {
    const auto rutaUna = buscarEnCarpeta(una, tabla.archivo(), disco);
    const auto rutaOtra = buscarEnCarpeta(otra, tabla.archivo(), disco);
    if (!existeArchivo(rutaUna, disco) || !existeArchivo(rutaOtra, disco)) return false;
    try {
        const Mapeo a = disco.mapear(rutaUna, Mapeo::Acceso::Lectura);
        const Mapeo b = disco.mapear(rutaOtra, Mapeo::Acceso::Lectura);
        const std::string_view x = a.bytes(), y = b.bytes();
        constexpr std::size_t kTrasLaFecha = 4, kTramo = std::size_t{1} << 20;
        if (x.size() != y.size() || x.size() <= kTrasLaFecha || x[0] != y[0]) return false;
        for (std::size_t desde = kTrasLaFecha; desde < x.size(); desde += kTramo) {
            const std::string_view tx = x.substr(desde, kTramo), ty = y.substr(desde, kTramo);
            const bool igual = tx == ty;
            a.soltar(tx);
            b.soltar(ty);
            if (!igual) return false;
        }
        return true;
    } catch (const Error&) {
        return false;
    }
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
    bool hayAnterior = false;
    if (hayCarpeta)
        for (const Comparada& c : comparadas())
            hayAnterior = hayAnterior || existeEnCarpeta(ktemp, c.tabla.archivo(), disco);
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
    // Table by table, each pair read, compared and let go: what is held at once is the
    // largest pair, and the names the assignments are told by. A set exported again from the
    // same data, the common case, has every table the same to the byte: nothing to read.
    Seccion s(simulacion ? "frente a las tablas de Tamberlo" : "desde la exportación anterior");
    Nombres nombresViejos, nombresNuevos;
    bool todasIguales = true;
    for (const Comparada& c : comparadas())
        todasIguales = todasIguales && mismaTabla(ktemp, nueva, c.tabla, disco);
    for (std::size_t t = 0; !todasIguales && t < comparadas().size(); ++t) {
        Filas viejas = leerTabla(ktemp, t, disco, &noLeidas);
        Filas nuevas = leerTabla(nueva, t, disco, nullptr);
        compararTabla(t, viejas, nombresViejos, nuevas, nombresNuevos, s);
        nombresViejos.guardar(t, std::move(viejas));
        nombresNuevos.guardar(t, std::move(nuevas));
    }

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
