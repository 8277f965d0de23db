#include "informe.h"

#include "csv.h"
#include "documento_xml.h"
#include "plataforma.h"
#include "tabla_dbase.h"

#include <filesystem>
#include <map>

namespace pontavia {

namespace {

// Each kind, as an item's line names it and as its section is headed, in the order the report
// lists them: first what VELMORA will not find (a lesson's item the chosen file lacks), then
// what the timetabler has lost (an element that did not reach its table, a reference that
// found nothing), then what reached it changed (a value cut, characters
// replaced), last the codes renamed, harmless and by far the most.
struct DescripcionTipo {
    TipoAviso tipo;
    const char* texto;
    const char* titulo;
};
constexpr DescripcionTipo kTipos[] = {
    {TipoAviso::AusenteDelArchivo, "no está en el archivo elegido",
     "No están en el archivo elegido"},
    {TipoAviso::Omitido, "omitido", "Omitidos"},
    {TipoAviso::SinCorrespondencia, "sin correspondencia", "Sin correspondencia"},
    {TipoAviso::ValorRecortado, "valor recortado", "Valores recortados"},
    {TipoAviso::ValorSustituido, "caracteres sustituidos", "Caracteres sustituidos"},
    {TipoAviso::CodigoCambiado, "código cambiado", "Códigos cambiados"},
};

const DescripcionTipo& descripcion(TipoAviso tipo) {
    for (const auto& d : kTipos)
        if (d.tipo == tipo) return d;
    return kTipos[0]; // every kind is described above
}

} // namespace

const char* textoTipo(TipoAviso tipo) {
    return descripcion(tipo).texto;
}

void Informe::empezar(std::string operacion, std::string archivo) {
    operacion_ = std::move(operacion);
    archivo_ = std::move(archivo);
    fecha_ = fechaHoraLocal();
    elemento_ = nullptr;
    lugar_ = nullptr;
    avisos_.clear();
    ultima_ = 0;
    total_ = 0;
    for (auto& n : porTipo_)
        n = 0;
    advertencias_.clear();
    filas_.clear();
}

Informe::AvisosDeTabla& Informe::avisosDeTabla(std::string_view tabla, TipoAviso tipo) {
    auto es = [&](const AvisosDeTabla& t) { return t.tipo == tipo && t.tabla == tabla; };
    if (ultima_ < avisos_.size() && es(avisos_[ultima_])) return avisos_[ultima_];
    for (ultima_ = 0; ultima_ < avisos_.size(); ++ultima_)
        if (es(avisos_[ultima_])) return avisos_[ultima_];
    avisos_.push_back({std::string(tabla), tipo, 0, {}, {}, {}});
    return avisos_.back();
}

void Informe::agregar(const Aviso& a) {
    AvisosDeTabla& t = avisosDeTabla(a.tabla, a.tipo);
    std::string& s = t.lineas;
    auto anadir = [&](std::string_view parte) {
        for (auto i = parte.find('\n'); i != std::string_view::npos; i = parte.find('\n', i + 1))
            t.saltosEnValores.push_back(s.size() + i);
        s.append(parte);
    };
    anadir("  ");
    anadir(textoTipo(a.tipo));
    anadir(": ");
    if (!a.elemento.empty()) {
        anadir(a.elemento);
        anadir(", ");
    }
    anadir(a.campo);
    anadir(" \"");
    anadir(a.valor);
    anadir("\"");
    if (!a.resultado.empty()) {
        anadir(" -> \"");
        anadir(a.resultado);
        anadir("\"");
    }
    anadir(" (");
    anadir(a.motivo);
    anadir(")");
    s += '\n';
    ++t.cuantos;
    ++total_;
    ++porTipo_[static_cast<int>(a.tipo)];
    anadirFilaCSV(
        t.csv, {a.tabla, textoTipo(a.tipo), a.elemento, a.campo, a.valor, a.resultado, a.motivo});
}

std::string Informe::nombreElementoActual() const {
    if (!elemento_) return {};
    return elementoEnInforme(lugar_ ? lugar_(*elemento_) : elemento_->lugar());
}

void Informe::vigilar(TablaDBase& tabla, LugarDeElemento lugar) {
    elemento_ = nullptr;
    lugar_ = std::move(lugar);
    tabla.alCambiarValor(
        [this, nombre = std::filesystem::path(tabla.nombre()).stem().string(),
         pagina = tabla.codigoPagina().nombre()](const CampoDBase& campo, std::string_view valor,
                                                 std::string_view guardado, bool recortado) {
            agregar({nombre, recortado ? TipoAviso::ValorRecortado : TipoAviso::ValorSustituido,
                     nombreElementoActual(), campo.nombre, valor, guardado,
                     recortado ? "el campo admite " + std::to_string(campo.ancho) + " caracteres"
                               : "la página de códigos " + pagina + " no tiene esos caracteres"});
        });
}

void Informe::filas(const std::string& tabla, std::size_t cuantas) {
    filas_.emplace_back(tabla, cuantas);
}

std::size_t Informe::avisosDe(std::string_view tabla) const {
    std::size_t n = 0;
    for (const auto& t : avisos_)
        if (t.tabla == tabla) n += t.cuantos;
    return n;
}

namespace {

std::string plural(std::size_t n, const char* singular, const char* varios) {
    return std::to_string(n) + " " + (n == 1 ? singular : varios);
}

} // namespace

// The tables in the order the run wrote them, then those that only have items.
std::vector<std::string> Informe::tablas() const {
    std::vector<std::string> tablas;
    auto anadir = [&](const std::string& t) {
        for (const auto& x : tablas)
            if (x == t) return;
        tablas.push_back(t);
    };
    for (const auto& [t, n] : filas_)
        anadir(t);
    for (const auto& t : avisos_)
        anadir(t.tabla);
    return tablas;
}

template <typename Hacer> void Informe::enOrden(Hacer hacer) const {
    const std::vector<std::string> nombres = tablas();
    for (const auto& tipo : kTipos)
        for (const auto& nombre : nombres)
            for (const auto& t : avisos_)
                if (t.tipo == tipo.tipo && t.tabla == nombre) hacer(t);
}

// A table's item lines with fin at each line's end; a value's own line breaks stay as they
// came.
void Informe::anadirLineas(std::string& s, const AvisosDeTabla& t, std::string_view fin) const {
    const std::string_view lineas = t.lineas;
    if (fin == "\n") {
        s.append(lineas);
        return;
    }
    auto propio = t.saltosEnValores.begin();
    std::size_t desde = 0;
    for (auto i = lineas.find('\n'); i != std::string_view::npos; i = lineas.find('\n', i + 1)) {
        if (propio != t.saltosEnValores.end() && *propio == i) {
            ++propio;
            continue;
        }
        s.append(lineas.substr(desde, i - desde)).append(fin);
        desde = i + 1;
    }
    s.append(lineas.substr(desde));
}

std::string Informe::resumen(const char* finLinea) const {
    std::map<std::string, std::size_t> filasPorTabla(filas_.begin(), filas_.end());
    std::string r;
    for (const auto& t : tablas()) {
        std::string linea = "  " + t;
        linea.resize(std::max<std::size_t>(linea.size() + 1, 14), ' ');
        const auto f = filasPorTabla.find(t);
        if (f != filasPorTabla.end()) linea += plural(f->second, "fila", "filas") + ", ";
        r += linea + plural(avisosDe(t), "aviso", "avisos") + finLinea;
    }
    return r + "  Total: " + plural(total_, "aviso", "avisos") + finLinea;
}

std::string Informe::csv() const {
    std::string s;
    anadirFilaCSV(s, {"tabla", "tipo", "elemento", "campo", "valor", "resultado", "motivo"});
    enOrden([&](const AvisosDeTabla& t) { s += t.csv; });
    return s;
}

std::string Informe::texto(const char* finLinea) const {
    const std::string_view fin = finLinea;
    std::string s;
    auto linea = [&](std::initializer_list<std::string_view> partes) {
        for (auto p : partes)
            s.append(p);
        s.append(fin);
    };
    linea({"Informe de Pontavia: ", operacion_});
    linea({"Archivo: ", archivo_});
    linea({"Fecha: ", fecha_});
    linea({});
    if (!advertencias_.empty()) {
        for (const auto& a : advertencias_)
            linea({"ATENCIÓN: ", a});
        linea({});
    }
    s += resumen(finLinea);
    // Kind by kind, so that what was lost is read before what was only renamed; within a kind,
    // table by table.
    const AvisosDeTabla* anterior = nullptr;
    enOrden([&](const AvisosDeTabla& t) {
        if (!anterior || anterior->tipo != t.tipo) {
            linea({});
            linea({descripcion(t.tipo).titulo, ": ", std::to_string(avisosDeTipo(t.tipo))});
        }
        linea({});
        linea({t.tabla});
        anadirLineas(s, t, fin);
        anterior = &t;
    });
    return s;
}

std::string Informe::contenidoArchivo() const {
    return "\xEF\xBB\xBF" + texto("\r\n");
}

} // namespace pontavia
