#include "codigos.h"

#include "texto.h"

namespace pontavia {

bool CodigosSinMayusculas::contiene(std::string_view codigo) const {
    return plegados_.count(plegarMayusculas(codigo)) > 0;
}

void CodigosSinMayusculas::agregar(std::string_view codigo) {
    plegados_.insert(plegarMayusculas(codigo));
}

std::string codigoNumerado(std::string_view base, std::uint64_t k) {
    const std::string numero = std::to_string(k);
    const std::size_t resto = numero.size() < kLongitudCodigo ? kLongitudCodigo - numero.size() : 0;
    return primeros(base, resto) + numero;
}

std::string renumerar(std::string_view codigo, const CodigosSinMayusculas& tomados) {
    const std::string base = primeros(codigo, kLongitudCodigo - 1);
    return tomados.primeroLibre("r" + plegarMayusculas(base),
                                [&](std::uint64_t k) { return base + std::to_string(k); });
}

std::string acortarNumerando(std::string_view codigo, const CodigosSinMayusculas& tomados) {
    // Eight characters and the number; fewer once the number needs three digits.
    return tomados.primeroLibre("a" + plegarMayusculas(primeros(codigo, 8)), [&](std::uint64_t k) {
        const std::string numero = std::to_string(k);
        return primeros(codigo, kLongitudCodigo - std::max<std::size_t>(2, numero.size())) + numero;
    });
}

std::string primerosYUltimos(std::string_view codigo) {
    if (longitud(codigo) <= kLongitudCodigo) return std::string(codigo);
    return primeros(codigo, 8) + ultimos(codigo, 2);
}

std::string codigoUnicoNumerado(std::string_view codigo, const CodigosSinMayusculas& tomados) {
    std::string resultado(codigo);
    if (tomados.contiene(resultado)) resultado = renumerar(resultado, tomados);
    if (longitud(resultado) > kLongitudCodigo) resultado = acortarNumerando(resultado, tomados);
    return resultado;
}

std::string motivoCambioCodigo(std::string_view codigo, bool tomado) {
    const bool largo = longitud(codigo) > kLongitudCodigo;
    if (codigo.empty()) return "no tiene código; se toma de su nombre";
    if (tomado && largo) return "el código ya lo tiene otro y pasa de 10 caracteres";
    if (tomado) return "el código ya lo tiene otro";
    return "el código pasa de 10 caracteres";
}

void avisarCambioCodigo(Informe& informe, const char* tabla, const std::string& codigo,
                        const std::string& nuevo, bool tomado) {
    if (nuevo == codigo) return;
    informe.agregar({tabla, TipoAviso::CodigoCambiado, informe.nombreElementoActual(), "codigo",
                     codigo, nuevo, motivoCambioCodigo(codigo, tomado)});
}

CodigoMateria asignarCodigoMateria(RegistroMaterias& p, const std::string& codigo,
                                   const std::string& nombre) {
    const std::string corte = primeros(codigo, kLongitudCodigo);
    const bool nombreConocido = !p.ListaNombres.insert(nombre).second;
    std::string candidato;
    std::string motivo;
    if (p.ListaCodigos.count(corte)) {
        if (nombreConocido)
            return {std::nullopt, "ya hay en ASIGNOMT una materia con el código \"" + corte +
                                      "\" y otra con el mismo nombre"};
        // A new subject whose cut another subject already holds: it still gets a row, under
        // a numbered code, so that its assignments are kept. Every candidate depends on the
        // cut's first 9 characters only, the key of the resumed search.
        const std::string base = primeros(corte, kLongitudCodigo - 1);
        candidato = primeroLibreDesde(
            p.SiguienteNumeroCodigo.try_emplace(base, 1).first->second,
            [&](std::uint64_t k) { return codigoNumerado(base, k); },
            [&](const std::string& c) { return p.ListaCodigos.count(c) > 0; });
        motivo = "el código \"" + corte + "\" ya lo tiene otra materia de otro nombre";
    } else if (!nombreConocido) {
        candidato = primerosYUltimos(codigo);
        if (p.ListaCodigos.count(candidato))
            return {std::nullopt,
                    "su código acortado \"" + candidato + "\" ya lo tiene otra materia"};
        motivo = motivoCambioCodigo(codigo, false);
    } else {
        candidato = corte;
        motivo = motivoCambioCodigo(codigo, false);
    }
    p.ListaCodigos.insert(candidato);
    return {candidato, candidato == codigo ? std::string() : motivo};
}

} // namespace pontavia
