#include "informe.h"

#include "csv.h"
#include "documento_xml.h"
#include "plataforma.h"
#include "tabla_dbase.h"

#include <algorithm>
#include <filesystem>
#include <map>

namespace pontavia {

namespace {

// Each kind, as an item's line names it and as its section is headed, in the order the report
// lists them: first what VELMORA will not find (a lesson's item the chosen file lacks), then
// what the timetabler has lost (an element that did not reach its table, a reference that
// found nothing), then what reached it changed (a value cut, characters
// replaced), last the codes renamed, harmless and by far the most.
// Each section starts with how to mend its items in VELMORA, as the guide says it.
struct DescripcionTipo {
    TipoAviso tipo;
    const char* texto;
    const char* titulo;
    const char* comoCorregir;
};
constexpr DescripcionTipo kTipos[] = {
    {TipoAviso::AusenteDelArchivo, "no está en el archivo elegido",
     "No están en el archivo elegido",
     "Cómo corregirlo: compruebe que eligió el archivo de VELMORA del que exportó; si lo es, "
     "esos elementos se quitaron en VELMORA después de exportar: expórtelo de nuevo y rehaga el "
     "horario en Tamberlo."},
    {TipoAviso::Omitido, "omitido", "Omitidos",
     "Cómo corregirlo: son datos perdidos; busque cada uno en VELMORA por su nombre o su código, "
     "complete lo que falta y exporte de nuevo."},
    {TipoAviso::SinCorrespondencia, "sin correspondencia", "Sin correspondencia",
     "Cómo corregirlo: revise en VELMORA que exista el elemento al que se refiere y exporte de "
     "nuevo."},
    {TipoAviso::ValorRecortado, "valor recortado", "Valores recortados",
     "Cómo corregirlo: el texto no cabía en el campo de Tamberlo; si importa, acórtelo en "
     "VELMORA."},
    {TipoAviso::ValorSustituido, "caracteres sustituidos", "Caracteres sustituidos",
     "Cómo corregirlo: Tamberlo no tiene esos caracteres y se guardó el más parecido; si importa, "
     "cámbielos en VELMORA por otros equivalentes."},
    {TipoAviso::CodigoCambiado, "código cambiado", "Códigos cambiados",
     "Cómo corregirlo: no hace falta, no se pierde nada; si prefiere otro código, cámbielo en "
     "VELMORA para que sea corto y no se repita."},
};

// What a datum is, in the timetabler's words, before its name as the file or the table spells
// it: "la materia (casig)", "el código (codigo)". The CSV keeps the bare name, for scripts.
struct PalabrasDeCampo {
    std::string_view campo;
    std::string_view palabras;
};
constexpr PalabrasDeCampo kCampos[] = {
    // VELMORA's attributes
    {"codigo", "el código"},
    {"nombre", "el nombre"},
    {"casig", "la materia"},
    {"cgrupo", "el grupo"},
    {"cprofe", "el profesor"},
    // Tamberlo's fields
    {"COD", "el código"},
    {"ABREV", "el código"},
    {"CODLARGO", "el código largo"},
    {"CODTAREA", "la actividad"},
    {"ESTAREA", "si es actividad"},
    {"NOMBRE", "el nombre"},
    {"DESCRIP", "la descripción"},
    {"DEPART", "el departamento"},
    {"EMAIL", "el correo"},
    {"DNI", "el documento"},
    {"EDIFICIO", "el edificio"},
    {"MAXALUM", "la capacidad"},
    {"CURSO", "el curso"},
    {"NIVEL", "el nivel"},
    {"GRUPO", "el grupo"},
    {"TURNO", "el turno"},
    {"TUTOR", "el tutor"},
    {"PLANTILLA", "la plantilla"},
    {"DIHO", "la franja"},
    {"CODDIHO", "el código de la franja"},
    {"TEXTODIA", "el nombre del día"},
    {"TEXTOHOR", "el nombre de la hora"},
    {"HORADESDE", "la hora de inicio"},
    {"HORAHASTA", "la hora de fin"},
    {"MINUTOS", "los minutos"},
    {"MARCO", "el marco"},
    {"MARCOXML", "el marco"},
    {"CASIG", "la materia"},
    {"CGRUP", "el grupo"},
    {"CPROF", "el profesor"},
    {"CAULA", "el aula"},
    {"CTAREA", "la actividad"},
    {"HORAS", "las horas"},
    {"SESIONES", "las sesiones"},
    {"SESION_ORDEN", "el orden de las sesiones"},
    {"NCONEX", "la conexión"},
    {"IDASIG", "la materia"},
    {"IDPROF", "el profesor"},
    {"IDAULA", "el aula"},
    {"IDGRUPO", "el grupo"},
    {"IDGRUP", "el grupo"},
    {"IDCURSO", "el curso"},
    // Tamberlo's timetable
    {"DIA", "el día"},
    {"HORA", "la hora"},
    {"ASIG", "la materia"},
    {"TAREA", "la actividad"},
    {"CODGRUPO", "el grupo"},
    {"PROF", "el profesor"},
    {"AULA", "el aula"},
};

void anadirCampo(std::string& s, std::string_view campo) {
    if (campo.empty()) return;
    for (const auto& c : kCampos)
        if (c.campo == campo) {
            s.append(c.palabras).append(" (").append(campo).append(")");
            return;
        }
    s.append("el dato ").append(campo);
}

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
    cambios_.clear();
    cambiosCSV_.clear();
    resumenCambios_.clear();
}

void Informe::seccionCambios(std::vector<std::string> lineas, std::string csv,
                             std::string resumen) {
    cambios_ = std::move(lineas);
    cambiosCSV_ = std::move(csv);
    resumenCambios_ = std::move(resumen);
}

Informe::AvisosDeTabla& Informe::avisosDeTabla(std::string_view tabla, TipoAviso tipo) {
    auto es = [&](const AvisosDeTabla& t) { return t.tipo == tipo && t.tabla == tabla; };
    if (ultima_ < avisos_.size() && es(avisos_[ultima_])) return avisos_[ultima_];
    for (ultima_ = 0; ultima_ < avisos_.size(); ++ultima_)
        if (es(avisos_[ultima_])) return avisos_[ultima_];
    avisos_.push_back({std::string(tabla), tipo, 0, {}, {}, 0});
    return avisos_.back();
}

void Informe::agregar(const Aviso& a) {
    AvisosDeTabla& t = avisosDeTabla(a.tabla, a.tipo);
    const std::initializer_list<std::string_view> partes = {a.elemento, a.campo, a.valor,
                                                            a.resultado, a.motivo};
    std::size_t largo = 0;
    for (const std::string_view parte : partes)
        largo += parte.size();
    // An item lies whole in one block.
    constexpr std::size_t kBloque = 64 * 1024;
    if (t.bloques.empty() || t.bloques.back().capacity() - t.bloques.back().size() < largo) {
        t.bloques.emplace_back();
        t.bloques.back().reserve(std::max(kBloque, largo));
    }
    for (const std::string_view parte : partes) {
        t.bloques.back().append(parte);
        t.largos.push_back(parte.size());
    }
    t.letras += largo;
    ++t.cuantos;
    ++total_;
    ++porTipo_[static_cast<int>(a.tipo)];
}

template <typename Hacer> void InformeLeido::recorrer(const AvisosDeTabla& t, Hacer hacer) {
    std::size_t bloque = 0, desde = 0;
    for (std::size_t i = 0; i + 5 <= t.largos.size(); i += 5) {
        // An item that did not fit where the one before ended begins the next block.
        if (desde == t.bloques[bloque].size() && bloque + 1 < t.bloques.size()) {
            ++bloque;
            desde = 0;
        }
        const std::string_view texto = t.bloques[bloque];
        auto siguiente = [&](std::size_t j) {
            const std::string_view parte = texto.substr(desde, t.largos[i + j]);
            desde += t.largos[i + j];
            return parte;
        };
        Partes p;
        p.elemento = siguiente(0);
        p.campo = siguiente(1);
        p.valor = siguiente(2);
        p.resultado = siguiente(3);
        p.motivo = siguiente(4);
        hacer(p);
    }
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

std::size_t InformeLeido::avisosDe(std::string_view tabla) const {
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
std::vector<std::string> InformeLeido::tablas() const {
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

template <typename Hacer> void InformeLeido::enOrden(Hacer hacer) const {
    const std::vector<std::string> nombres = tablas();
    for (const auto& tipo : kTipos)
        for (const auto& nombre : nombres)
            for (const auto& t : avisos_)
                if (t.tipo == tipo.tipo && t.tabla == nombre) hacer(t);
}

// A table's item lines with fin at each line's end; a value's own line breaks stay as they
// came.
void InformeLeido::anadirLineas(std::string& s, const AvisosDeTabla& t,
                                std::string_view fin) const {
    const std::string_view tipo = textoTipo(t.tipo);
    recorrer(t, [&](const Partes& p) {
        s.append("  ").append(tipo).append(": ");
        if (!p.elemento.empty()) s.append(p.elemento).append(", ");
        anadirCampo(s, p.campo);
        s.append(" \"").append(p.valor).append("\"");
        if (!p.resultado.empty()) s.append(" -> \"").append(p.resultado).append("\"");
        s.append(" (").append(p.motivo).append(")").append(fin);
    });
}

std::string InformeLeido::resumen(const char* finLinea) const {
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

std::string InformeLeido::csv() const {
    std::string s;
    std::size_t letras = 0;
    for (const auto& t : avisos_)
        letras += t.letras + t.cuantos * (t.tabla.size() + 40);
    s.reserve(letras + 64);
    anadirFilaCSV(s, {"tabla", "tipo", "elemento", "campo", "valor", "resultado", "motivo"});
    enOrden([&](const AvisosDeTabla& t) {
        const std::string_view tipo = textoTipo(t.tipo);
        recorrer(t, [&](const Partes& p) {
            anadirFilaCSV(s, {t.tabla, tipo, p.elemento, p.campo, p.valor, p.resultado, p.motivo});
        });
    });
    return s + cambiosCSV_;
}

void InformeLeido::anadirTexto(std::string& s, const char* finLinea) const {
    const std::string_view fin = finLinea;
    // Room for the whole text at once: the report of a large school is megabytes, and a text
    // that grows by doubling copies itself and touches twice its pages. Each item's line adds
    // at most 64 bytes and a line end to its words; each table, its heading's few lines.
    std::size_t letras = 1024 + archivo_.size();
    for (const auto& a : advertencias_)
        letras += a.size() + 16;
    for (const auto& t : avisos_)
        letras += t.letras + t.cuantos * (64 + fin.size()) + t.tabla.size() + 400;
    s.reserve(s.size() + letras);
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
    if (!resumenCambios_.empty()) linea({resumenCambios_, "."});
    // Kind by kind, so that what was lost is read before what was only renamed; within a kind,
    // table by table.
    const AvisosDeTabla* anterior = nullptr;
    enOrden([&](const AvisosDeTabla& t) {
        if (!anterior || anterior->tipo != t.tipo) {
            linea({});
            linea({descripcion(t.tipo).titulo, ": ", std::to_string(avisosDeTipo(t.tipo))});
            linea({descripcion(t.tipo).comoCorregir});
        }
        linea({});
        linea({t.tabla});
        anadirLineas(s, t, fin);
        anterior = &t;
    });
    // The changes last, in a section of their own.
    for (const auto& l : cambios_)
        linea({l});
}

std::string InformeLeido::texto(const char* finLinea) const {
    std::string s;
    anadirTexto(s, finLinea);
    return s;
}

std::string InformeLeido::contenidoArchivo() const {
    std::string s = "\xEF\xBB\xBF";
    anadirTexto(s, "\r\n");
    return s;
}

} // namespace pontavia
