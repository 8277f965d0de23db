#include "fin_de_corrida.h"

#include "cargar_solucion.h"
#include "esquema_tamberlo.h"
#include "nucleo.h"

namespace pontavia {

namespace {

// What the box says below its first line: first any warning about the whole run, then the
// rows each table received, how many items were left out and how many codes changed, and
// where the report and the result file are.
std::string resumenCaja(const InformeLeido& informe, const std::filesystem::path& archivoInforme,
                        const std::filesystem::path& resultado) {
    std::string s;
    for (const auto& frase : informe.advertencias())
        s += "\n\nATENCIÓN: " + frase;
    std::string filas;
    for (const auto& [tabla, cuantas] : informe.filas()) {
        // SOLUC is what importar read; the rows it wrote are the lessons of the result.
        const bool leida = tabla == tamberlo::SOLUC.nombre;
        filas += (filas.empty() ? "" : ", ") + std::string(leida ? "leídas de " : "") +
                 (tabla == kElementoLeccion ? std::string("lecciones escritas") : tabla) + " " +
                 std::to_string(cuantas);
    }
    if (!filas.empty()) s += "\n\nFilas: " + filas + ".";
    s += "\nElementos omitidos (no llegaron a su tabla): " +
         std::to_string(informe.avisosDeTipo(TipoAviso::Omitido)) + ".";
    s += "\nCódigos cambiados: " + std::to_string(informe.avisosDeTipo(TipoAviso::CodigoCambiado)) +
         ".";
    const std::size_t otros = informe.avisos() - informe.avisosDeTipo(TipoAviso::Omitido) -
                              informe.avisosDeTipo(TipoAviso::CodigoCambiado);
    if (otros > 0) s += "\nOtros avisos: " + std::to_string(otros) + ".";
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
           resumenCaja(informe_, archivoInforme_, resultado_);
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
