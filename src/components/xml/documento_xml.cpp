#include "documento_xml.h"

#include "archivo_atomico.h"
#include "ascii.h"
#include "conversor.h"
#include "conversor_latin1.h"
#include "error.h"
#include "mapeo.h"
#include "memoria_xml.h"
#include "razones_xml.h"
#include "salida_documento.h"
#include "texto.h"
#include "velmora.h"
#include "xml_bien_formado.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <functional>
#include <future>
#include <optional>
#include <system_error>
#include <vector>

namespace pontavia {

namespace {

enum class Familia { Utf8, Utf16LE, Utf16BE, Latin1, Otra };

// The prolog, comments and processing instructions are kept, so that a save writes them back.
constexpr unsigned kOpciones =
    pugi::parse_default | pugi::parse_declaration | pugi::parse_comments | pugi::parse_pi;

// From this size a file is checked on another core: below it, a thread costs what it saves.
constexpr std::size_t kArchivoGrande = std::size_t{512} << 10;

// The encoding named in the XML declaration, or the empty text when there is none.
std::string codificacionDeclarada(std::string_view bytes) {
    if (bytes.substr(0, 5) != "<?xml") return "";
    const std::size_t fin = bytes.find("?>");
    const std::string_view decl = bytes.substr(0, fin);
    const std::size_t pos = decl.find("encoding");
    if (pos == std::string_view::npos) return "";
    std::size_t i = decl.find_first_of("\"'", pos);
    if (i == std::string_view::npos) return "";
    const char comilla = decl[i];
    const std::size_t j = decl.find(comilla, i + 1);
    if (j == std::string_view::npos) return "";
    return std::string(decl.substr(i + 1, j - i - 1));
}

Familia familiaDe(const std::string& nombre) {
    const std::string n = minusculasAscii(nombre);
    if (n == "utf-8" || n == "utf8") return Familia::Utf8;
    if (esLatin1(n)) return Familia::Latin1;
    if (n == "utf-16le") return Familia::Utf16LE;
    if (n == "utf-16" || n == "utf-16be") return Familia::Utf16BE;
    return Familia::Otra;
}

std::size_t primerUtf8Invalido(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t inicio = i;
        if (siguienteCaracter(s, i) < 0) return inicio;
    }
    return std::string::npos;
}

// Line and column (from 1) of a byte offset into the parsed UTF-8 text.
std::pair<std::size_t, std::size_t> lineaYColumna(std::string_view texto, std::size_t offset) {
    offset = std::min(offset, texto.size());
    std::size_t linea = 1, columna = 1;
    for (std::size_t i = 0; i < offset; ++i) {
        if (texto[i] == '\n') {
            ++linea;
            columna = 1;
        } else if ((static_cast<unsigned char>(texto[i]) & 0xC0) != 0x80) {
            ++columna;
        }
    }
    return {linea, columna};
}

} // namespace

DocumentoXML::DocumentoXML() : doc_(std::make_unique<pugi::xml_document>()) {
    usarMemoriaXML();
}
DocumentoXML::DocumentoXML(DocumentoXML&&) noexcept = default;
DocumentoXML& DocumentoXML::operator=(DocumentoXML&&) noexcept = default;
DocumentoXML::~DocumentoXML() = default;

namespace {

// The encoding of a file's bytes: a byte order mark first, then the declaration, else UTF-8.
std::string codificacionDe(std::string_view bytes) {
    if (bytes.substr(0, 2) == "\xFF\xFE" || (bytes.size() >= 2 && bytes[0] == '<' && bytes[1] == 0))
        return "UTF-16LE";
    if (bytes.substr(0, 2) == "\xFE\xFF" || (bytes.size() >= 2 && bytes[0] == 0 && bytes[1] == '<'))
        return "UTF-16BE";
    std::string_view sinBom = bytes;
    if (sinBom.substr(0, 3) == "\xEF\xBB\xBF") sinBom.remove_prefix(3);
    const std::string declarada = codificacionDeclarada(sinBom);
    return declarada.empty() ? "UTF-8" : declarada;
}

// expat refuses every byte that is not UTF-8 in the pass it makes anyway; only a document it
// refuses is searched for such a byte, so that the user reads what is wrong in plain words.
void comprobarUtf8BienFormado(std::string_view texto, const std::string& nombre,
                              LimitesRaiz* limites,
                              const std::function<void(std::string_view)>& leido = {}) {
    try {
        comprobarBienFormado(texto, "UTF-8", nombre, limites, leido);
    } catch (const Error&) {
        const std::size_t malo = primerUtf8Invalido(texto);
        if (malo == std::string::npos) throw;
        auto [l, c] = lineaYColumna(texto, malo);
        throw Error(ClaseError::MalFormada, Hecho::BytesNoUTF8,
                    {.archivo = nombre, .linea = l, .columna = c});
    }
}

// The text without the root's content: the prolog, the root's start tag, its end tag and
// what follows it.
std::string sinContenido(std::string_view texto, const LimitesRaiz& limites) {
    if (limites.inicioCierre < limites.finApertura) return std::string(texto);
    std::string r(texto.substr(0, limites.finApertura));
    r += texto.substr(limites.inicioCierre);
    return r;
}

} // namespace

DocumentoXML DocumentoXML::cargarCabecera(const std::filesystem::path& ruta, Disco& disco) {
    return cargar(ruta, Carga::Cabecera, disco);
}

DocumentoXML DocumentoXML::cargarMientrasSeComprueba(const std::filesystem::path& ruta,
                                                     Disco& disco) {
    return cargar(ruta, Carga::MientrasSeComprueba, disco);
}

void DocumentoXML::esperarComprobacion() {
    LimitesRaiz limites;
    if (comprobacion_.valid()) {
        try {
            limites = comprobacion_.get();
        } catch (...) {
            errorDeComprobacion_ = std::current_exception();
        }
    }
    if (errorDeComprobacion_) std::rethrow_exception(errorDeComprobacion_);
    if (!cola_) return;
    identificadores_ = std::move(limites.centro);
    const Cola cola = std::move(*cola_);
    cola_.reset();
    // After the root's end tag, or after the root itself when it is an empty element.
    std::size_t desde = cola.finApertura;
    if (limites.inicioCierre >= cola.finApertura) {
        const std::size_t fin = cola.texto.find('>', limites.inicioCierre);
        desde = fin == std::string_view::npos ? cola.texto.size() : fin + 1;
    }
    const std::string_view resto = cola.texto.substr(std::min(desde, cola.texto.size()));
    if (resto.find_first_not_of(" \t\r\n") == std::string_view::npos) return;
    // A piece of the document, with no element of its own.
    const pugi::xml_parse_result r = doc_->append_buffer(
        resto.data(), resto.size(), kOpciones | pugi::parse_fragment, cola.codificacion);
    if (!r) throw Error(ClaseError::MalFormada, Hecho::TrasLaRaiz, {}, razonEnEspanol(r.status));
}

DocumentoXML DocumentoXML::cargarCabeceraMientrasSeComprueba(const std::filesystem::path& ruta,
                                                             Disco& disco) {
    auto archivo = std::make_shared<const Mapeo>(disco.mapear(ruta, Mapeo::Acceso::Lectura));
    const std::string nombre = ruta.string();
    const std::string codificacion = codificacionDe(archivo->bytes());
    const Familia familia = familiaDe(codificacion);
    std::string_view texto = archivo->bytes();
    // Where pugixml reads the file's own bytes, and the file is worth a thread. A Latin-1 file
    // with bytes that windows-1252 reads otherwise is converted whole first.
    if ((familia != Familia::Latin1 && familia != Familia::Utf8) || texto.size() < kArchivoGrande ||
        (familia == Familia::Latin1 && conBytesDeWindows(texto)))
        return cargarCabecera(ruta, disco);
    if (familia == Familia::Utf8 && texto.substr(0, 3) == "\xEF\xBB\xBF") texto.remove_prefix(3);
    const char* nombreCodificacion = familia == Familia::Latin1 ? "ISO-8859-1" : "UTF-8";
    const pugi::xml_encoding codificacionPugi =
        familia == Familia::Latin1 ? pugi::encoding_latin1 : pugi::encoding_utf8;

    // The prolog and the root's start tag, closed, make the header's tree. Whatever breaks
    // before that tag ends, or that pugixml reads otherwise, is told by the whole check, as
    // always.
    AperturaRaiz apertura;
    try {
        apertura = buscarAperturaRaiz(texto, nombreCodificacion, nombre);
    } catch (const Error&) {
        return cargarCabecera(ruta, disco);
    }
    std::string cabecera(texto.substr(0, apertura.fin));
    if (!cabecera.ends_with("/>")) {
        const std::string_view etiqueta = texto.substr(apertura.inicio + 1);
        cabecera +=
            "</" + std::string(etiqueta.substr(0, etiqueta.find_first_of(" \t\r\n/>"))) + ">";
    }
    DocumentoXML d;
    d.codificacion_ = codificacion;
    if (!d.doc_->load_buffer(cabecera.data(), cabecera.size(), kOpciones, codificacionPugi))
        return cargarCabecera(ruta, disco);

    // The check reads the whole file on another core and gives back the memory of what it
    // has read as it goes: the file never sits whole in memory beside Tamberlo's tables. It
    // gives it back a megabyte at a time, not piece by piece: each time both cores stop to
    // forget the pages, which in small pieces cost the run several percent.
    auto comprobar = [archivo, texto, familia, nombreCodificacion, nombre]() {
        LimitesRaiz limites;
        constexpr std::size_t kDevolver = std::size_t{1} << 20;
        std::size_t desde = 0, hasta = 0;
        const auto soltar = [&](std::string_view leido) {
            hasta = static_cast<std::size_t>(leido.data() - texto.data()) + leido.size();
            if (hasta - desde < kDevolver) return;
            archivo->soltar(texto.substr(desde, hasta - desde));
            desde = hasta;
        };
        if (familia == Familia::Utf8)
            comprobarUtf8BienFormado(texto, nombre, &limites, soltar);
        else
            comprobarBienFormado(texto, nombreCodificacion, nombre, &limites, soltar);
        return limites;
    };
    try {
        d.comprobacion_ = std::async(std::launch::async, comprobar);
    } catch (const std::system_error&) {
        return cargarCabecera(ruta, disco); // no thread to be had: one after the other
    }
    d.cola_ = Cola{archivo, texto, apertura.fin, codificacionPugi};
    return d;
}

DocumentoXML DocumentoXML::cargar(const std::filesystem::path& ruta, Carga carga, Disco& disco) {
    const bool soloCabecera = carga == Carga::Cabecera;
    // The file is mapped, not read into a buffer. UTF-8 is parsed where it lies, which writes
    // into it: the tree then lives in a private copy of the file's pages.
    auto archivo = std::make_shared<Mapeo>(disco.mapear(ruta, Mapeo::Acceso::Lectura));
    if (!soloCabecera && familiaDe(codificacionDe(archivo->bytes())) == Familia::Utf8)
        archivo = std::make_shared<Mapeo>(disco.mapear(ruta, Mapeo::Acceso::CopiaPrivada));
    const std::string_view bytes = archivo->bytes();
    char* escribible = soloCabecera ? nullptr : archivo->datos();
    return leer(std::move(archivo), bytes, escribible, ruta.string(), carga,
                [&] { return std::string(disco.mapear(ruta, Mapeo::Acceso::Lectura).bytes()); });
}

DocumentoXML DocumentoXML::leer(std::shared_ptr<void> dueno, std::string_view bytes,
                                char* escribible, const std::string& nombre, Carga carga,
                                const std::function<std::string()>& original) {
    const bool soloCabecera = carga == Carga::Cabecera;
    DocumentoXML d;
    d.codificacion_ = codificacionDe(bytes);
    const Familia familia = familiaDe(d.codificacion_);
    auto aUtf8 = [&](const std::string& nombreCodificacion, std::string_view cuerpo) {
        auto conv = Conversor::abrir(nombreCodificacion, Conversor::Sustituto::ReferenciaXML);
        if (!conv)
            throw Error(ClaseError::MalFormada, Hecho::CodificacionDesconocida, {.archivo = nombre},
                        d.codificacion_);
        return conv->aUtf8(cuerpo);
    };

    // expat checks the characters the tree is built from, before it is built: UTF-8, UTF-16
    // and Latin-1 as the file holds them; the other encodings in the UTF-8 the converter
    // made, one character for one, so that line and column are the file's. The same pass
    // finds the root's tags when only the header is wanted, and the tree is then built from
    // the text without the root's content. pugixml reads UTF-8 and Latin-1 itself, in one
    // pass; the other encodings go through the system's converters into UTF-8 first.
    LimitesRaiz limites;
    LimitesRaiz* const buscarRaiz = soloCabecera ? &limites : nullptr;
    // The text expat checks once the switch is done, with what keeps it alive.
    std::shared_ptr<const void> aComprobarDueno;
    std::string_view aComprobar;
    const char* codificacionAComprobar = nullptr;
    std::string convertido;
    std::string_view texto = bytes;
    pugi::xml_encoding codificacion = pugi::encoding_utf8;
    switch (familia) {
    case Familia::Utf16LE:
    case Familia::Utf16BE: {
        std::string_view cuerpo = bytes;
        if (cuerpo.substr(0, 2) == "\xFF\xFE" || cuerpo.substr(0, 2) == "\xFE\xFF")
            cuerpo.remove_prefix(2);
        // Checked as the file holds it, before a converter mends or refuses a broken
        // surrogate in words of its own; a byte order mark is left out, as expat would count
        // it as a column.
        const char* utf16 = familia == Familia::Utf16LE ? "UTF-16LE" : "UTF-16BE";
        comprobarBienFormado(cuerpo, utf16, nombre, buscarRaiz);
        convertido = aUtf8(utf16, soloCabecera ? sinContenido(cuerpo, limites) : cuerpo);
        texto = convertido;
        break;
    }
    case Familia::Utf8:
        if (texto.substr(0, 3) == "\xEF\xBB\xBF") texto.remove_prefix(3);
        comprobarUtf8BienFormado(texto, nombre, buscarRaiz);
        break;
    case Familia::Latin1:
        codificacion = pugi::encoding_latin1;
        aComprobarDueno = dueno;
        aComprobar = bytes;
        codificacionAComprobar = "ISO-8859-1";
        break;
    case Familia::Otra: {
        auto utf8 = std::make_shared<const std::string>(aUtf8(d.codificacion_, bytes));
        texto = *utf8;
        aComprobar = *utf8;
        codificacionAComprobar = "UTF-8";
        aComprobarDueno = std::move(utf8);
        break;
    }
    }
    // Where neither pass writes what the other reads (pugixml copies these texts as it
    // builds), expat checks on another core while the tree is built, and while the caller
    // works with it when the caller takes the verdict later: the run waits for the longer of
    // the two instead of both. A small file is not worth a thread. expat's verdict is still
    // taken first.
    if (codificacionAComprobar) {
        auto comprobar = [dueno = aComprobarDueno, aComprobar, codificacionAComprobar, nombre,
                          buscarRaiz]() mutable {
            // The bytes are let go as soon as they are checked, not when the verdict is taken.
            const auto propio = std::move(dueno);
            comprobarBienFormado(aComprobar, codificacionAComprobar, nombre, buscarRaiz);
            return LimitesRaiz{};
        };
        const bool aparte = !soloCabecera && bytes.size() >= kArchivoGrande;
        if (aparte) {
            try {
                d.comprobacion_ = std::async(std::launch::async, comprobar);
            } catch (const std::system_error&) {
                comprobar(); // no thread to be had: one after the other
            }
        } else {
            comprobar();
        }
    }
    if (soloCabecera && familia != Familia::Utf16LE && familia != Familia::Utf16BE) {
        convertido = sinContenido(texto, limites);
        texto = convertido;
    }
    // pugixml reads Latin-1 byte for byte; bytes that windows-1252 reads otherwise (Windows'
    // quotes, dashes, euro sign) are read as the characters that were typed, through UTF-8.
    if (familia == Familia::Latin1 && conBytesDeWindows(texto)) {
        std::string utf8 = aUtf8(d.codificacion_, texto);
        convertido = std::move(utf8);
        texto = convertido;
        codificacion = pugi::encoding_utf8;
    }
    d.identificadores_ = std::move(limites.centro);

    // UTF-8 as read is parsed where it lies, without a copy of a large file.
    const bool enSitio = escribible && familia == Familia::Utf8 && !soloCabecera;
    prepararMemoriaXML(texto.size());
    pugi::xml_parse_result r;
    if (enSitio) {
        const std::size_t inicio = static_cast<std::size_t>(texto.data() - bytes.data());
        d.texto_ = std::move(dueno);
        r = d.doc_->load_buffer_inplace(escribible + inicio, texto.size(), kOpciones, codificacion);
    } else {
        r = d.doc_->load_buffer(texto.data(), texto.size(), kOpciones, codificacion);
    }
    if (!r || carga != Carga::MientrasSeComprueba) d.esperarComprobacion();
    if (!r) {
        // The parser counts in the UTF-8 it read, so the position is found in that text.
        std::string leido;
        if (enSitio) {
            leido = original();
            if (std::string_view(leido).substr(0, 3) == "\xEF\xBB\xBF") leido.erase(0, 3);
        } else {
            leido = codificacion == pugi::encoding_latin1 ? aUtf8("ISO-8859-1", texto)
                                                          : std::string(texto);
        }
        auto [l, c] =
            lineaYColumna(leido, static_cast<std::size_t>(std::max<std::ptrdiff_t>(r.offset, 0)));
        throw Error(ClaseError::MalFormada, Hecho::XMLNoValido,
                    {.archivo = nombre, .linea = l, .columna = c}, razonEnEspanol(r.status));
    }
    return d;
}

namespace {

// The element names of a plain absolute path ("/centro/materias/dmateria"), or nothing when
// the path asks for more than names (predicates, wildcards, axes).
std::optional<std::vector<std::string_view>> nombresDeRuta(std::string_view ruta) {
    if (!ruta.starts_with('/')) return std::nullopt;
    std::vector<std::string_view> nombres;
    for (std::size_t i = 1; i <= ruta.size();) {
        const std::size_t fin = std::min(ruta.find('/', i), ruta.size());
        const std::string_view nombre = ruta.substr(i, fin - i);
        const bool simple =
            !nombre.empty() && std::all_of(nombre.begin(), nombre.end(), [](char c) {
                return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' ||
                       c == '.';
            });
        if (!simple) return std::nullopt;
        nombres.push_back(nombre);
        i = fin + 1;
    }
    return nombres;
}

void recogerPorNombres(pugi::xml_node padre, const std::vector<std::string_view>& nombres,
                       std::size_t nivel, Nodos& nodos) {
    for (pugi::xml_node hijo = padre.first_child(); hijo; hijo = hijo.next_sibling()) {
        if (hijo.type() != pugi::node_element || hijo.name() != nombres[nivel]) continue;
        if (nivel + 1 == nombres.size())
            nodos.push_back(hijo);
        else
            recogerPorNombres(hijo, nombres, nivel + 1, nodos);
    }
}

} // namespace

Nodos DocumentoXML::selectNodes(const char* ruta) const {
    Nodos nodos;
    // A plain path is walked directly, already in document order; XPath would gather the
    // same elements and then sort many thousands of them.
    if (const auto nombres = nombresDeRuta(ruta)) {
        recogerPorNombres(*doc_, *nombres, 0, nodos);
        return nodos;
    }
    for (const pugi::xpath_node& n : doc_->select_nodes(ruta))
        if (n.node()) nodos.push_back(n.node());
    return nodos;
}

Nodo DocumentoXML::documentElement() const {
    return doc_->document_element();
}

Nodo DocumentoXML::createElement(const char* nombre) {
    // pugixml makes every node inside a tree: a new element waits at the document's end
    // until replaceChild places it.
    return doc_->append_child(nombre);
}

void DocumentoXML::removeChild(Nodo hijo) {
    if (!doc_->remove_child(hijo))
        throw Error(ClaseError::Interna, Hecho::ElementoNoQuitado, {.elemento = hijo.name()});
}

void DocumentoXML::replaceChild(Nodo nuevo, Nodo viejo) {
    if (!doc_->insert_move_before(nuevo, viejo))
        throw Error(ClaseError::Interna, Hecho::ElementoNoColocado, {.elemento = nuevo.name()});
    removeChild(viejo);
}

void DocumentoXML::escribir(const std::function<void(std::string_view)>& destino,
                            pugi::xml_node contenedor, const ProducirHijos* producir) const {
    // The prolog is part of the tree, so no declaration of pugixml's own is added.
    const unsigned formato = pugi::format_indent | pugi::format_no_declaration;
    // pugixml writes UTF-8; any other encoding is converted on the way.
    std::string convertida;
    std::string_view bom;
    switch (familiaDe(codificacion_)) {
    case Familia::Utf8:
        break;
    case Familia::Utf16LE:
        convertida = "UTF-16LE";
        bom = "\xFF\xFE";
        break;
    case Familia::Utf16BE:
        convertida = "UTF-16BE";
        bom = "\xFE\xFF";
        break;
    case Familia::Latin1:
        convertida = "ISO-8859-1";
        break;
    case Familia::Otra:
        convertida = codificacion_;
        break;
    }
    SalidaDocumento salida(destino, convertida, bom);
    if (producir)
        escribirConHijos(*doc_, salida, formato, contenedor, *producir);
    else
        doc_->save(salida, "\t", formato, pugi::encoding_utf8);
    salida.terminar();
}

void DocumentoXML::escribirEn(ArchivoPreparado& archivo, Nodo contenedor,
                              const ProducirHijos& producir) const {
    escribir([&](std::string_view trozo) { archivo.escribir(trozo); }, contenedor, &producir);
}

void anadirAtributo(Nodo nodo, const char* nombre, std::string_view valor) {
    nodo.append_attribute(nombre).set_value(valor.data(), valor.size());
}

namespace {

// A time slot has no name: it goes by its day, its place in the day and its hours, as the
// timetabler sees it ("Martes, hora 3, 10:05-11:00"), each part as written where it is not a
// day's number.
std::string nombreDeFranja(Nodo franja) {
    const std::string dia = recortar(franja.attribute("dia_semana").value());
    const std::string hora = recortar(franja.attribute("posicion").value());
    const std::string inicio = recortar(franja.attribute("hora_inicio").value());
    const std::string final_ = recortar(franja.attribute("hora_final").value());
    std::vector<std::string> partes;
    if (!dia.empty()) {
        long long numero = 0;
        const auto [fin, error] = std::from_chars(dia.data(), dia.data() + dia.size(), numero);
        const std::string nombre =
            error == std::errc() && fin == dia.data() + dia.size() ? nombreDia(numero) : "";
        partes.push_back(nombre.empty() ? "día " + dia : nombre);
    }
    if (!hora.empty()) partes.push_back("hora " + hora);
    if (!inicio.empty() || !final_.empty()) partes.push_back(inicio + "-" + final_);
    std::string nombre;
    for (const auto& p : partes)
        nombre += (nombre.empty() ? "" : ", ") + p;
    return nombre;
}

} // namespace

LugarError ElementoXML::lugar() const {
    LugarError l{.elemento = nodo_.name(), .posicion = posicion_ + 1};
    if (identificador_) {
        const pugi::xml_attribute id = nodo_.attribute(identificador_);
        if (id) {
            l.atributoIdentificador = identificador_;
            l.identificador = recortar(id.value());
        }
    }
    l.codigo = recortar(nodo_.attribute("codigo").value());
    l.nombre = recortar(nodo_.attribute("nombre").value());
    // A teacher goes by full name.
    for (const char* apellido : {"apellido1", "apellido2"}) {
        const std::string a = recortar(nodo_.attribute(apellido).value());
        if (!a.empty()) l.nombre += " " + a;
    }
    if (l.nombre.empty() && std::strcmp(nodo_.name(), "franjahoraria") == 0)
        l.nombre = nombreDeFranja(nodo_);
    return l;
}

std::string ElementoXML::leer(const char* atributo) const {
    return std::string(leerVista(atributo));
}

std::string_view ElementoXML::leerVista(const char* atributo) const {
    const pugi::xml_attribute a = nodo_.attribute(atributo, pista_);
    if (!a) {
        LugarError l = lugar();
        l.atributo = atributo;
        throw Error(ClaseError::ValorNoValido, Hecho::FaltaAtributo, std::move(l));
    }
    return recortarVista(a.value());
}

} // namespace pontavia
