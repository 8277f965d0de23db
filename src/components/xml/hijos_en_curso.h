#pragma once
// Writing a document while one of its elements is still being filled: the children of that
// element are made one at a time and each goes to the file as soon as it is made, so that a
// collection too large to be held in the tree (a timetable's lessons) never is.
#include <functional>
#include <pugixml.hpp>
#include <string>
#include <string_view>

namespace pontavia {

// One such child: an element with attributes only, kept as the text pugixml would write
// for it (the same escapes), without the tree's cost per attribute.
class FilaXML {
  public:
    void empezar(const char* nombre);
    // The attributes are written in the order of the calls.
    void anadirAtributo(const char* nombre, std::string_view valor);
    // "<nombre atributos", which " />" closes.
    const std::string& texto() const { return texto_; }

  private:
    std::string texto_;
};

class HijosEnCurso {
  public:
    virtual ~HijosEnCurso() = default;
    // An empty element to fill and hand to escribir(); the next crear() takes its place.
    virtual FilaXML& crear(const char* nombre) = 0;
    virtual void escribir(const FilaXML& hijo) = 0;
};

using ProducirHijos = std::function<void(HijosEnCurso&)>;

// Writes doc as xml_document::save would with these flags (UTF-8, indented with tabs), with
// the children producir makes placed after those contenedor already has. contenedor and the
// elements above it must hold elements only, as they do in a VELMORA document.
void escribirConHijos(const pugi::xml_document& doc, pugi::xml_writer& salida, unsigned formato,
                      pugi::xml_node contenedor, const ProducirHijos& producir);

} // namespace pontavia
