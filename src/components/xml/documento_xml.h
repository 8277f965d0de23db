#pragma once
// DocumentoXML: a VELMORA document on pugixml. Loading keeps the prolog (declaration,
// comments) and the file's encoding, so that a save writes the same kind of file back.
// A document that is not well-formed XML is refused. The DTD is checked, not applied: no
// entity is expanded in the tree and no external entity is ever fetched.
#include <cstddef>
#include <exception>
#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "disco.h"
#include "error.h"
#include "hijos_en_curso.h"
#include "xml_bien_formado.h"

namespace pontavia {

class ArchivoPreparado;

using Nodo = pugi::xml_node;
using Nodos = std::vector<pugi::xml_node>;

class DocumentoXML {
  public:
    // The file checked whole, but with no tree of the root's content: the prolog, the root
    // with its attributes and no children, and what follows the root. Raises an error with the
    // reason, line and column when the file is not well-formed XML.
    static DocumentoXML cargarCabecera(const std::filesystem::path& ruta, Disco& disco);
    // The tree of the whole file, given back while expat may still be checking the file on
    // another core. esperarComprobacion() must be called before anything made from the tree
    // is kept, and when anything made from it fails: a file that is not well-formed explains
    // that failure better than the failure itself.
    static DocumentoXML cargarMientrasSeComprueba(const std::filesystem::path& ruta, Disco& disco);
    // The header as cargarCabecera gives it, given back while expat may still be checking the
    // whole file on another core, as above. What follows the root in the file (comments,
    // processing instructions) joins the tree when esperarComprobacion() finds the file
    // well-formed: a caller writing the tree waits for it before the root's end is written.
    static DocumentoXML cargarCabeceraMientrasSeComprueba(const std::filesystem::path& ruta,
                                                          Disco& disco);
    // A new, empty document that saves as UTF-8.
    DocumentoXML();

    DocumentoXML(DocumentoXML&&) noexcept;
    DocumentoXML& operator=(DocumentoXML&&) noexcept;
    ~DocumentoXML();

    // The elements an absolute path selects, in document order.
    Nodos selectNodes(const char* ruta) const;
    Nodo documentElement() const;
    Nodo createElement(const char* nombre);
    void removeChild(Nodo hijo);
    // Puts nuevo where viejo stands among the document's children, then removes viejo.
    void replaceChild(Nodo nuevo, Nodo viejo);

    // Waits for the check of a document loaded while it was checked, and raises its error
    // (every time it is asked) when the file is not well-formed.
    void esperarComprobacion();

    // For a header (cargarCabecera...), what the whole file's sections hold, once
    // esperarComprobacion() has found it well-formed.
    const IdentificadoresCentro& identificadores() const { return identificadores_; }

    // The encoding the file had ("UTF-8" when it declared none).
    const std::string& codificacion() const { return codificacion_; }

    // Writes the document in its encoding into a file the caller confirms, with the children
    // producir makes written into contenedor as they are made (see hijos_en_curso.h).
    void escribirEn(ArchivoPreparado& archivo, Nodo contenedor,
                    const ProducirHijos& producir) const;

  private:
    // Tests load a whole file at once, or bytes, and save a tree whole; a run never does.
    friend class DocumentoDePrueba;

    enum class Carga { Completa, Cabecera, MientrasSeComprueba };
    static DocumentoXML cargar(const std::filesystem::path& ruta, Carga carga, Disco& disco);
    // bytes lie in what dueno keeps alive; escribible, when given, is where they may be
    // written to, so that UTF-8 is parsed in place and dueno then kept by the document.
    // original gives the bytes again, for the position of an error: parsing in place
    // changes them.
    static DocumentoXML leer(std::shared_ptr<void> dueno, std::string_view bytes, char* escribible,
                             const std::string& nombre, Carga carga,
                             const std::function<std::string()>& original);
    // The bytes of the file, in pieces, in the document's encoding.
    void escribir(const std::function<void(std::string_view)>& destino, Nodo contenedor,
                  const ProducirHijos* producir) const;

    // What the tree's names and values point into when the UTF-8 text was parsed in place:
    // a buffer, or the file's private pages.
    std::shared_ptr<void> texto_;
    std::unique_ptr<pugi::xml_document> doc_;
    std::string codificacion_ = "UTF-8";
    // expat's check while it runs on another core (with where it found the root's end tag),
    // then its verdict.
    std::future<LimitesRaiz> comprobacion_;
    std::exception_ptr errorDeComprobacion_;
    IdentificadoresCentro identificadores_;
    // For a header given back while checked: the file's text, what keeps it, and where the
    // root's start tag ends; what follows the root is read from it once the check is done.
    struct Cola {
        std::shared_ptr<const void> dueno;
        std::string_view texto;
        std::size_t finApertura = 0;
        pugi::xml_encoding codificacion = pugi::encoding_utf8;
    };
    std::optional<Cola> cola_;
};

// Runs pasos while doc's check may still be running: when a step fails on a file that is not
// well-formed, the check's error is raised instead of the step's.
template <typename Pasos> void conComprobacion(DocumentoXML& doc, Pasos&& pasos) {
    try {
        pasos();
    } catch (...) {
        doc.esperarComprobacion();
        throw;
    }
}

// An attribute of an element being built, which cannot have it yet: no search. The attributes
// are written in the order of the calls.
void anadirAtributo(Nodo nodo, const char* nombre, std::string_view valor);

// One element of a collection, as a builder reads it: its attributes come back trimmed of
// characters with codes up to 32; a missing one raises an error naming the element (tag,
// position in its collection, identifier) and the attribute.
class ElementoXML {
  public:
    ElementoXML(Nodo nodo, std::size_t posicion, const char* atributoIdentificador = nullptr)
        : nodo_(nodo), posicion_(posicion), identificador_(atributoIdentificador) {}
    std::string leer(const char* atributo) const;
    // The same without a copy, for the loops over many thousands of elements: the view
    // lives as long as the document.
    std::string_view leerVista(const char* atributo) const;
    Nodo nodo() const { return nodo_; }
    // Where it lies in the file, with the name and code VELMORA shows: the place an error, or
    // an item of the report, names.
    LugarError lugar() const;

  private:
    Nodo nodo_;
    std::size_t posicion_;
    const char* identificador_;
    // Where the last attribute was found: builders read attributes in about the order the
    // file gives them, so the next search starts there.
    mutable pugi::xml_attribute pista_;
};

} // namespace pontavia
