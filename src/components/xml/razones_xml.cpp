#include "razones_xml.h"

#include <algorithm>
#include <iterator>

namespace pontavia {

namespace {

// One sentence per fault; the codes each parser gives it by (XML_ERROR_NONE and status_ok
// where that parser has no such fault).
struct Razon {
    const char* texto;
    XML_Error expat;
    pugi::xml_parse_status pugixml;
};

constexpr Razon kRazones[] = {
    {"memoria insuficiente", XML_ERROR_NO_MEMORY, pugi::status_out_of_memory},
    {"no hay elemento raíz", XML_ERROR_NO_ELEMENTS, pugi::status_no_document_element},
    {"la etiqueta de cierre no corresponde a la de apertura", XML_ERROR_TAG_MISMATCH,
     pugi::status_end_element_mismatch},
    {"error de sintaxis", XML_ERROR_SYNTAX, pugi::status_ok},
    {"carácter o marca no permitidos en este lugar", XML_ERROR_INVALID_TOKEN, pugi::status_ok},
    {"marca sin cerrar", XML_ERROR_UNCLOSED_TOKEN, pugi::status_ok},
    {"carácter incompleto", XML_ERROR_PARTIAL_CHAR, pugi::status_ok},
    {"atributo repetido en el mismo elemento", XML_ERROR_DUPLICATE_ATTRIBUTE, pugi::status_ok},
    {"contenido después del elemento raíz", XML_ERROR_JUNK_AFTER_DOC_ELEMENT, pugi::status_ok},
    {"referencia a una entidad de parámetro no permitida", XML_ERROR_PARAM_ENTITY_REF,
     pugi::status_ok},
    {"entidad no declarada", XML_ERROR_UNDEFINED_ENTITY, pugi::status_ok},
    {"entidad que se contiene a sí misma", XML_ERROR_RECURSIVE_ENTITY_REF, pugi::status_ok},
    {"entidad que no cierra lo que abre", XML_ERROR_ASYNC_ENTITY, pugi::status_ok},
    {"referencia a un carácter no permitido", XML_ERROR_BAD_CHAR_REF, pugi::status_ok},
    {"referencia a una entidad que no es texto", XML_ERROR_BINARY_ENTITY_REF, pugi::status_ok},
    {"referencia a una entidad externa en el valor de un atributo",
     XML_ERROR_ATTRIBUTE_EXTERNAL_ENTITY_REF, pugi::status_ok},
    {"declaración XML fuera del comienzo del documento", XML_ERROR_MISPLACED_XML_PI,
     pugi::status_ok},
    {"codificación desconocida", XML_ERROR_UNKNOWN_ENCODING, pugi::status_ok},
    {"la codificación declarada no es la del archivo", XML_ERROR_INCORRECT_ENCODING,
     pugi::status_ok},
    {"sección CDATA sin cerrar", XML_ERROR_UNCLOSED_CDATA_SECTION, pugi::status_ok},
    {"entidad externa que no se puede tratar", XML_ERROR_EXTERNAL_ENTITY_HANDLING, pugi::status_ok},
    {"el documento no es autónomo", XML_ERROR_NOT_STANDALONE, pugi::status_ok},
    {"entidad declarada dentro de una entidad de parámetro", XML_ERROR_ENTITY_DECLARED_IN_PE,
     pugi::status_ok},
    {"entidad de parámetro incompleta", XML_ERROR_INCOMPLETE_PE, pugi::status_ok},
    {"declaración XML mal formada", XML_ERROR_XML_DECL, pugi::status_ok},
    {"declaración de texto mal formada", XML_ERROR_TEXT_DECL, pugi::status_ok},
    {"identificador público con caracteres no permitidos", XML_ERROR_PUBLICID, pugi::status_ok},
    {"las entidades se expanden más allá del límite permitido",
     XML_ERROR_AMPLIFICATION_LIMIT_BREACH, pugi::status_ok},
    {"no se encontró el archivo", XML_ERROR_NONE, pugi::status_file_not_found},
    {"error de lectura", XML_ERROR_NONE, pugi::status_io_error},
    {"etiqueta no reconocida", XML_ERROR_NONE, pugi::status_unrecognized_tag},
    {"instrucción de proceso o declaración mal formada", XML_ERROR_NONE, pugi::status_bad_pi},
    {"comentario mal formado", XML_ERROR_NONE, pugi::status_bad_comment},
    {"sección CDATA mal formada", XML_ERROR_NONE, pugi::status_bad_cdata},
    {"declaración DOCTYPE mal formada", XML_ERROR_NONE, pugi::status_bad_doctype},
    {"texto mal formado", XML_ERROR_NONE, pugi::status_bad_pcdata},
    {"etiqueta de apertura mal formada", XML_ERROR_NONE, pugi::status_bad_start_element},
    {"atributo mal formado", XML_ERROR_NONE, pugi::status_bad_attribute},
    {"etiqueta de cierre mal formada", XML_ERROR_NONE, pugi::status_bad_end_element},
    {"raíz no válida", XML_ERROR_NONE, pugi::status_append_invalid_root},
};

// A fault that neither parser names more closely.
constexpr const char* kMalFormado = "documento mal formado";

template <typename Igual> std::string buscar(Igual igual) {
    const auto r = std::find_if(std::begin(kRazones), std::end(kRazones), igual);
    return r == std::end(kRazones) ? kMalFormado : r->texto;
}

} // namespace

std::string razonEnEspanol(XML_Error codigo, bool conElementoAbierto) {
    // expat says "no element found" too for a document that ends with elements still open.
    if (codigo == XML_ERROR_NO_ELEMENTS && conElementoAbierto)
        return "el documento termina con elementos sin cerrar";
    if (codigo == XML_ERROR_NONE) return kMalFormado;
    return buscar([&](const Razon& x) { return x.expat == codigo; });
}

std::string razonEnEspanol(pugi::xml_parse_status estado) {
    if (estado == pugi::status_ok) return kMalFormado;
    return buscar([&](const Razon& x) { return x.pugixml == estado; });
}

} // namespace pontavia
