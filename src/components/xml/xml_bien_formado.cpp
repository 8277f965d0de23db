#include "xml_bien_formado.h"

#include "error.h"
#include "razones_xml.h"

#include <algorithm>
#include <expat.h>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace pontavia {

namespace {

struct LiberarParser {
    void operator()(XML_Parser p) const { XML_ParserFree(p); }
};

// What the handlers share: the parser, whether a start tag was met, and where the root's
// tags lie when that is asked for.
struct Estado {
    XML_Parser parser;
    bool conElemento = false;
    LimitesRaiz* limites;
    // Where the pass stops, when it only looks for the root's start tag.
    AperturaRaiz* apertura = nullptr;
};

std::size_t finDelSuceso(XML_Parser p) {
    return static_cast<std::size_t>(XML_GetCurrentByteIndex(p) + XML_GetCurrentByteCount(p));
}

// Each end tag may be the root's: the last one is. Only the positions are noted.
void XMLCALL finDeElemento(void* datos, const XML_Char*) {
    auto* estado = static_cast<Estado*>(datos);
    estado->limites->inicioCierre =
        static_cast<std::size_t>(XML_GetCurrentByteIndex(estado->parser));
}

// Notes the first start tag and stops being called, so the rest of the check runs as fast
// as expat can.
void XMLCALL primerElemento(void* datos, const XML_Char*, const XML_Char**) {
    auto* estado = static_cast<Estado*>(datos);
    estado->conElemento = true;
    if (estado->apertura) {
        estado->apertura->inicio =
            static_cast<std::size_t>(XML_GetCurrentByteIndex(estado->parser));
        estado->apertura->fin = finDelSuceso(estado->parser);
        XML_StopParser(estado->parser, XML_FALSE);
        return;
    }
    if (estado->limites) {
        estado->limites->finApertura = finDelSuceso(estado->parser);
        XML_SetEndElementHandler(estado->parser, finDeElemento);
    }
    XML_SetStartElementHandler(estado->parser, nullptr);
}

// Where the first unpaired surrogate of UTF-16 text stands, line and column counted as
// expat counts them; nullopt when every surrogate has its pair.
std::optional<std::pair<std::size_t, std::size_t>> sustitutoSuelto(std::string_view t, bool le) {
    auto unidad = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(t[i]);
        const auto b = static_cast<unsigned char>(t[i + 1]);
        return le ? static_cast<unsigned>(a | b << 8) : static_cast<unsigned>(a << 8 | b);
    };
    std::size_t linea = 1;
    std::size_t columna = 0;
    for (std::size_t i = 0; i + 1 < t.size(); i += 2) {
        const unsigned u = unidad(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < t.size() && unidad(i + 2) >= 0xDC00 &&
            unidad(i + 2) <= 0xDFFF) {
            i += 2;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            return std::pair{linea, columna + 1};
        } else if (u == '\r' || u == '\n') {
            if (u == '\r' && i + 3 < t.size() && unidad(i + 2) == '\n') i += 2;
            ++linea;
            columna = 0;
            continue;
        }
        ++columna;
    }
    return std::nullopt;
}

} // namespace

namespace {

// The pass itself: every piece of texto, unless the root's start tag is all that is wanted.
void pasar(std::string_view texto, const char* codificacion, const std::string& nombre,
           LimitesRaiz* limites, AperturaRaiz* apertura,
           const std::function<void(std::string_view)>& leido) {
    const std::unique_ptr<XML_ParserStruct, LiberarParser> parser(XML_ParserCreate(codificacion));
    if (!parser) throw Error(ClaseError::Interna, Hecho::MemoriaParaLeer, {.archivo = nombre});
    XML_Parser p = parser.get();
    const std::string_view completo = texto;
    Estado estado{p, false, limites, apertura};
    XML_SetUserData(p, &estado);
    XML_SetStartElementHandler(p, primerElemento);
    // No handler for external entities: expat then reads none, and a reference to one in
    // content is passed over, as the tree keeps it. expat copies what it is given into a
    // buffer of its own: in small pieces that buffer stays small instead of holding a second
    // copy of the whole document, and each piece is done with once given.
    constexpr std::size_t kTrozo = std::size_t{1} << 16;
    bool bien = true;
    do {
        const std::size_t n = std::min(texto.size(), kTrozo);
        bien = XML_Parse(p, texto.data(), static_cast<int>(n), n == texto.size()) == XML_STATUS_OK;
        if (!bien && apertura && XML_GetErrorCode(p) == XML_ERROR_ABORTED) return;
        if (bien && leido) leido(texto.substr(0, n));
        texto.remove_prefix(n);
    } while (bien && !texto.empty());
    if (bien) {
        // Not every build of expat refuses an unpaired surrogate: the rule is held here alike.
        const std::string_view nombreCodificacion(codificacion);
        if (nombreCodificacion.starts_with("UTF-16")) {
            const auto suelto = sustitutoSuelto(completo, nombreCodificacion == "UTF-16LE");
            if (suelto)
                throw Error(ClaseError::MalFormada, Hecho::XMLNoValido,
                            {.archivo = nombre,
                             .linea = static_cast<std::size_t>(suelto->first),
                             .columna = static_cast<std::size_t>(suelto->second)},
                            razonEnEspanol(XML_ERROR_INVALID_TOKEN, estado.conElemento));
        }
        return;
    }
    throw Error(ClaseError::MalFormada, Hecho::XMLNoValido,
                {.archivo = nombre,
                 .linea = static_cast<std::size_t>(XML_GetCurrentLineNumber(p)),
                 .columna = static_cast<std::size_t>(XML_GetCurrentColumnNumber(p) + 1)},
                razonEnEspanol(XML_GetErrorCode(p), estado.conElemento));
}

} // namespace

void comprobarBienFormado(std::string_view texto, const char* codificacion,
                          const std::string& nombre, LimitesRaiz* limites,
                          const std::function<void(std::string_view)>& leido) {
    pasar(texto, codificacion, nombre, limites, nullptr, leido);
}

AperturaRaiz buscarAperturaRaiz(std::string_view texto, const char* codificacion,
                                const std::string& nombre) {
    AperturaRaiz apertura;
    pasar(texto, codificacion, nombre, nullptr, &apertura, {});
    return apertura;
}

} // namespace pontavia
