#include "resumen_final.h"

#include "nucleo.h"

namespace pontavia {

std::string resumenFinal(const Informe& informe, const std::filesystem::path& archivoInforme,
                         const std::filesystem::path& resultado) {
    std::string s;
    for (const auto& frase : informe.advertencias())
        s += "\n\nATENCIÓN: " + frase;
    std::string filas;
    for (const auto& [tabla, cuantas] : informe.filas()) {
        // SOLUC is what importar read; the rows it wrote are the lessons of the result.
        const bool leida = tabla == "SOLUC";
        filas += (filas.empty() ? "" : ", ") + std::string(leida ? "leídas de " : "") +
                 (tabla == "dsolucion" ? std::string("lecciones escritas") : tabla) + " " +
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

} // namespace pontavia
