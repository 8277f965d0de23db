#include "informe.h"

#include "csv.h"
#include "plataforma.h"
#include "tabla_dbase.h"

#include <filesystem>
#include <map>

namespace pontavia {

const char* textoTipo(TipoAviso tipo) {
    switch (tipo) {
    case TipoAviso::Omitido:
        return "omitido";
    case TipoAviso::CodigoCambiado:
        return "código cambiado";
    case TipoAviso::ValorRecortado:
        return "valor recortado";
    case TipoAviso::ValorSustituido:
        return "caracteres sustituidos";
    case TipoAviso::SinCorrespondencia:
        return "sin correspondencia";
    }
    return "";
}

void Informe::empezar(std::string operacion, std::string archivo) {
    operacion_ = std::move(operacion);
    archivo_ = std::move(archivo);
    fecha_ = fechaHoraLocal();
    elemento_.reset();
    avisos_.clear();
    filas_.clear();
}

void Informe::agregar(Aviso aviso) {
    avisos_.push_back(std::move(aviso));
}

void Informe::vigilar(TablaDBase& tabla) {
    tabla.alCambiarValor(
        [this, nombre = std::filesystem::path(tabla.nombre()).stem().string(),
         pagina = tabla.codigoPagina().nombre()](const CampoDBase& campo, std::string_view valor,
                                                 std::string_view guardado, bool recortado) {
            agregar({nombre, recortado ? TipoAviso::ValorRecortado : TipoAviso::ValorSustituido,
                     elemento_ ? elemento_->descripcion() : std::string(), campo.nombre,
                     std::string(valor), std::string(guardado),
                     recortado ? "el campo admite " + std::to_string(campo.ancho) + " caracteres"
                               : "la página de códigos " + pagina + " no tiene esos caracteres"});
        });
}

void Informe::filas(const std::string& tabla, std::size_t cuantas) {
    filas_.emplace_back(tabla, cuantas);
}

std::size_t Informe::avisosDe(std::string_view tabla) const {
    std::size_t n = 0;
    for (const auto& a : avisos_)
        n += a.tabla == tabla;
    return n;
}

namespace {

std::string plural(std::size_t n, const char* singular, const char* varios) {
    return std::to_string(n) + " " + (n == 1 ? singular : varios);
}

// The tables in the order the run wrote them, then those that only have items.
std::vector<std::string> tablasDe(const std::vector<std::pair<std::string, std::size_t>>& filas,
                                  const std::vector<Aviso>& avisos) {
    std::vector<std::string> tablas;
    auto anadir = [&](const std::string& t) {
        for (const auto& x : tablas)
            if (x == t) return;
        tablas.push_back(t);
    };
    for (const auto& [t, n] : filas)
        anadir(t);
    for (const auto& a : avisos)
        anadir(a.tabla);
    return tablas;
}

} // namespace

std::string Informe::resumen(const char* finLinea) const {
    std::map<std::string, std::size_t> filasPorTabla(filas_.begin(), filas_.end());
    std::string r;
    for (const auto& t : tablasDe(filas_, avisos_)) {
        std::string linea = "  " + t;
        linea.resize(std::max<std::size_t>(linea.size() + 1, 14), ' ');
        const auto f = filasPorTabla.find(t);
        if (f != filasPorTabla.end()) linea += plural(f->second, "fila", "filas") + ", ";
        r += linea + plural(avisosDe(t), "aviso", "avisos") + finLinea;
    }
    return r + "  Total: " + plural(avisos_.size(), "aviso", "avisos") + finLinea;
}

std::string Informe::csv() const {
    std::string s = filaCSV({"tabla", "tipo", "elemento", "campo", "valor", "resultado", "motivo"});
    for (const auto& a : avisos_)
        s += filaCSV(
            {a.tabla, textoTipo(a.tipo), a.elemento, a.campo, a.valor, a.resultado, a.motivo});
    return s;
}

std::string Informe::texto(const char* finLinea) const {
    const std::string_view fin = finLinea;
    std::string s;
    // A large school's report has thousands of lines: built by appending, without
    // temporaries.
    auto linea = [&](std::initializer_list<std::string_view> partes) {
        for (auto p : partes)
            s.append(p);
        s.append(fin);
    };
    linea({"Informe de Pontavia: ", operacion_});
    linea({"Archivo: ", archivo_});
    linea({"Fecha: ", fecha_});
    linea({});
    s += resumen(finLinea);
    for (const auto& t : tablasDe(filas_, avisos_)) {
        if (avisosDe(t) == 0) continue;
        linea({});
        linea({t});
        for (const auto& a : avisos_) {
            if (a.tabla != t) continue;
            s.append("  ").append(textoTipo(a.tipo)).append(": ");
            if (!a.elemento.empty()) s.append(a.elemento).append(", ");
            s.append(a.campo).append(" \"").append(a.valor).append("\"");
            if (!a.resultado.empty()) s.append(" -> \"").append(a.resultado).append("\"");
            linea({" (", a.motivo, ")"});
        }
    }
    return s;
}

std::string Informe::contenidoArchivo() const {
    return "\xEF\xBB\xBF" + texto("\r\n");
}

} // namespace pontavia
