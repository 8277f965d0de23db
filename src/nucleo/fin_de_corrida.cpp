#include "fin_de_corrida.h"

#include "cargar_solucion.h"
#include "esquema_tamberlo.h"
#include "nucleo.h"

namespace pontavia {

namespace {

// A table's rows as the timetabler reads them: what it holds, then its name ("Profesores
// (PROFT): 50"); the lessons importar read and wrote likewise.
std::string filaVisible(const std::string& tabla, std::size_t cuantas) {
    std::string que;
    if (tabla == tamberlo::SOLUC.nombre)
        que = "Lecciones leídas del horario de Tamberlo (" + tabla + ")";
    else if (tabla == kElementoLeccion)
        que = "Lecciones escritas en el resultado (" + tabla + ")";
    else
        que = tamberlo::conSuContenido(tabla);
    return "\n  " + que + ": " + std::to_string(cuantas);
}

// The line right after the first when items did not reach their table: how many, and that
// the report names them.
std::string perdidos(Corrida corrida, const InformeLeido& informe) {
    const std::size_t n = informe.avisosDeTipo(TipoAviso::Omitido);
    if (n == 0) return {};
    const bool uno = n == 1;
    if (corrida == Corrida::Importar)
        return "\n" + std::to_string(n) + (uno ? " lección no llegó" : " lecciones no llegaron") +
               " a VELMORA: el informe dice cuál" + (uno ? "" : "es") + " y por qué.";
    const char* verbo = corrida == Corrida::Comprobar ? (uno ? " no llegaría" : " no llegarían")
                                                      : (uno ? " no llegó" : " no llegaron");
    return "\n" + std::to_string(n) + (uno ? " elemento" : " elementos") + verbo +
           " a Tamberlo: el informe dice cuál" + (uno ? "" : "es") + " y por qué.";
}

// What the box says below its first line: how many items were lost, any warning about the
// whole run, then the rows each table received, how many items were left out and how many
// codes changed, what changed since the last export, and where the report and the result
// file are.
std::string resumenCaja(Corrida corrida, const InformeLeido& informe,
                        const std::filesystem::path& archivoInforme,
                        const std::filesystem::path& resultado) {
    std::string s = perdidos(corrida, informe);
    for (const auto& frase : informe.advertencias())
        s += "\n\nATENCIÓN: " + frase;
    if (!informe.filas().empty()) {
        s += "\n\nFilas:";
        for (const auto& [tabla, cuantas] : informe.filas())
            s += filaVisible(tabla, cuantas);
    }
    s += "\nElementos omitidos (no llegaron a su tabla): " +
         std::to_string(informe.avisosDeTipo(TipoAviso::Omitido)) + ".";
    s += "\nCódigos cambiados: " + std::to_string(informe.avisosDeTipo(TipoAviso::CodigoCambiado)) +
         ".";
    const std::size_t otros = informe.avisos() - informe.avisosDeTipo(TipoAviso::Omitido) -
                              informe.avisosDeTipo(TipoAviso::CodigoCambiado);
    if (otros > 0) s += "\nOtros avisos: " + std::to_string(otros) + ".";
    // What changed since the set of tables the run replaced: one line, the detail in the
    // report.
    if (!informe.resumenCambios().empty()) s += "\n" + informe.resumenCambios() + ".";
    if (!archivoInforme.empty()) s += "\n\nInforme: " + textoDeRuta(archivoInforme);
    if (!resultado.empty()) s += "\nResultado: " + textoDeRuta(resultado);
    return s;
}

constexpr const char* kProcesoFinalizado = "Proceso finalizado";
constexpr const char* kComprobacionTerminada =
    "Comprobación terminada: no se ha escrito nada en las tablas de Tamberlo.";

} // namespace

std::string FinDeCorrida::textoCaja() const {
    if (como_ != Como::Hecha) return mensaje_;
    return (corrida_ == Corrida::Comprobar ? kComprobacionTerminada : kProcesoFinalizado) +
           resumenCaja(corrida_, informe_, archivoInforme_, resultado_);
}

Gravedad FinDeCorrida::gravedad() const {
    switch (como_) {
    case Como::Hecha:
        // Something the timetabler has lost, or must read, is worth the warning's icon.
        return informe_.avisosDeTipo(TipoAviso::Omitido) > 0 ||
                       informe_.avisosDeTipo(TipoAviso::SinCorrespondencia) > 0 ||
                       !informe_.advertencias().empty()
                   ? Gravedad::Aviso
                   : Gravedad::Informacion;
    case Como::FaltaEntrada:
        return Gravedad::Aviso;
    case Como::Fallida:
        break;
    }
    // A lookup table missing too: importar cannot read what it needs, a fault as always.
    return Gravedad::Error;
}

Gravedad gravedadDe(ClaseError clase) {
    // Nothing was wrong when there was nothing to undo.
    return clase == ClaseError::NadaQueRestaurar ? Gravedad::Informacion : Gravedad::Error;
}

std::string FinDeCorrida::textoConsola() const {
    if (como_ != Como::Hecha) return mensaje_;
    if (corrida_ == Corrida::Comprobar) {
        std::string s = informe_.texto();
        // A crash half-way through moving the tables in: the dry run only tells it.
        if (movimientoInterrumpido_)
            s += "Aviso: una exportación o restauración anterior se interrumpió mientras "
                 "colocaba las tablas en " +
                 textoDeRuta(ktemp_) +
                 "; la próxima exportación, importación o restauración la completará.\n";
        return s;
    }
    std::string s = std::string(kProcesoFinalizado) + "\n";
    for (const auto& frase : informe_.advertencias())
        s += "\nATENCIÓN: " + frase + "\n";
    return s + "\nResumen del informe:\n" + informe_.resumen() + "Informe completo en " +
           textoDeRuta(archivoInforme_) + "\n";
}

} // namespace pontavia
