#include "hijos_en_curso.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace pontavia {

namespace {

constexpr const char* kSangria = "\t"; // one character per level, as pugixml writes it

struct TextoXML : pugi::xml_writer {
    std::string texto;
    void write(const void* datos, size_t n) override {
        texto.append(static_cast<const char*>(datos), n);
    }
};

std::string sangria(unsigned nivel) {
    return std::string(nivel, kSangria[0]);
}

bool contiene(pugi::xml_node ancestro, pugi::xml_node nodo) {
    for (; nodo; nodo = nodo.parent())
        if (nodo == ancestro) return true;
    return false;
}

class Escritura final : public HijosEnCurso {
  public:
    Escritura(pugi::xml_writer& salida, unsigned formato, pugi::xml_node contenedor)
        : salida_(salida), formato_(formato), contenedor_(contenedor) {}

    void escribirHijosDe(pugi::xml_node padre, unsigned nivel, const ProducirHijos& producir) {
        for (pugi::xml_node hijo : padre.children()) {
            if (hijo == contenedor_) {
                escribirContenedor(nivel, producir);
            } else if (contiene(hijo, contenedor_)) {
                abrir(hijo, nivel);
                escribirHijosDe(hijo, nivel + 1, producir);
                cerrar(hijo, nivel);
            } else {
                imprimir(hijo, nivel);
            }
        }
    }

    FilaXML& crear(const char* nombre) override {
        fila_.empezar(nombre);
        return fila_;
    }

    void escribir(const FilaXML& hijo) override {
        abrirContenedor();
        salida_.write(sangriaHijos_.data(), sangriaHijos_.size());
        salida_.write(hijo.texto().data(), hijo.texto().size());
        salida_.write(" />\n", 4);
    }

  private:
    void escribirContenedor(unsigned nivel, const ProducirHijos& producir) {
        nivelContenedor_ = nivel;
        sangriaHijos_ = sangria(nivel + 1);
        for (pugi::xml_node hijo : contenedor_.children()) {
            abrirContenedor();
            imprimir(hijo, nivel + 1);
        }
        producir(*this);
        // With no children at all it is written as the empty element it is.
        if (abierto_)
            cerrar(contenedor_, nivel);
        else
            imprimir(contenedor_, nivel);
    }

    void abrirContenedor() {
        if (abierto_) return;
        abrir(contenedor_, nivelContenedor_);
        abierto_ = true;
    }

    void imprimir(pugi::xml_node nodo, unsigned nivel) {
        nodo.print(salida_, kSangria, formato_, pugi::encoding_utf8, nivel);
    }

    // pugixml writes an element without children as <nombre atributos />; the same with >
    // is its start tag, with the attributes escaped as pugixml escapes them.
    void abrir(pugi::xml_node elemento, unsigned nivel) {
        pugi::xml_document copia;
        pugi::xml_node vacio = copia.append_child(elemento.name());
        for (pugi::xml_attribute a : elemento.attributes())
            vacio.append_copy(a);
        TextoXML t;
        vacio.print(t, kSangria, formato_, pugi::encoding_utf8, nivel);
        const std::string_view cierreVacio = " />\n";
        if (t.texto.ends_with(cierreVacio))
            t.texto.replace(t.texto.size() - cierreVacio.size(), cierreVacio.size(), ">\n");
        salida_.write(t.texto.data(), t.texto.size());
    }

    void cerrar(pugi::xml_node elemento, unsigned nivel) {
        const std::string t = sangria(nivel) + "</" + elemento.name() + ">\n";
        salida_.write(t.data(), t.size());
    }

    pugi::xml_writer& salida_;
    unsigned formato_;
    pugi::xml_node contenedor_;
    unsigned nivelContenedor_ = 0;
    std::string sangriaHijos_;
    bool abierto_ = false;
    FilaXML fila_;
};

} // namespace

void FilaXML::empezar(const char* nombre) {
    texto_ = '<';
    texto_ += nombre;
}

void FilaXML::anadirAtributo(const char* nombre, std::string_view valor) {
    texto_ += ' ';
    texto_ += nombre;
    texto_ += "=\"";
    // pugixml's escapes for a value in double quotes ('>' stays as it is); like pugixml, a
    // NUL ends the value.
    for (const char c : valor) {
        switch (c) {
        case '\0':
            texto_ += '"';
            return;
        case '&':
            texto_ += "&amp;";
            break;
        case '<':
            texto_ += "&lt;";
            break;
        case '"':
            texto_ += "&quot;";
            break;
        default:
            if (static_cast<unsigned char>(c) < 32) {
                texto_ += "&#";
                texto_ += static_cast<char>('0' + c / 10);
                texto_ += static_cast<char>('0' + c % 10);
                texto_ += ';';
            } else {
                texto_ += c;
            }
        }
    }
    texto_ += '"';
}

void escribirConHijos(const pugi::xml_document& doc, pugi::xml_writer& salida, unsigned formato,
                      pugi::xml_node contenedor, const ProducirHijos& producir) {
    if (contenedor.root() != doc)
        throw std::invalid_argument("escribirConHijos: el contenedor no es de este documento");
    Escritura escritura(salida, formato, contenedor);
    escritura.escribirHijosDe(doc, 0, producir);
}

} // namespace pontavia
