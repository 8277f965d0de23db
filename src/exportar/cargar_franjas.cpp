// CargarFranjas: the school's weekly time slots, into DIASHORAST.
#include "construir_tabla.h"
#include "texto.h"
#include "velmora.h"

namespace pontavia {

namespace {

// Minutes since midnight of a time written HH?MM: characters 1-2 and 4-5; the separator is
// not looked at.
std::int32_t minutosDe(const std::string& hora) {
    return 60 * aEntero(subcadena(hora, 0, 2)) + aEntero(subcadena(hora, 3, 2));
}

using tamberlo::DIASHORAST;
constexpr OrigenTabla kFranjas{DIASHORAST, "/centro/franjashorarias/franjahoraria", nullptr};

} // namespace

void CargarFranjas(Exportacion& e) {
    construirTabla(e, kFranjas, [](const ElementoXML& NodoXML, Fila& fila) {
        const std::string textoDia = NodoXML.leer("dia_semana");
        const std::int32_t dia =
            convertirAtributo(NodoXML, "dia_semana", [&] { return aEntero(textoDia); });
        const std::string textoPosicion = NodoXML.leer("posicion");
        const std::int32_t posicion =
            convertirAtributo(NodoXML, "posicion", [&] { return aEntero(textoPosicion); });
        const std::string inicio = NodoXML.leer("hora_inicio");
        const std::string final_ = NodoXML.leer("hora_final");
        const std::int32_t minutosInicio =
            convertirAtributo(NodoXML, "hora_inicio", [&] { return minutosDe(inicio); });
        const std::int32_t minutos =
            convertirAtributo(NodoXML, "hora_final", [&] { return minutosDe(final_); }) -
            minutosInicio;
        const std::string pos = std::to_string(posicion);
        fila.texto(DIASHORAST["DIHO"], std::to_string(dia) + pos);
        fila.texto(DIASHORAST["DIA"], std::to_string(dia));
        fila.texto(DIASHORAST["TEXTODIA"], nombreDia(dia));
        fila.texto(DIASHORAST["HORA"], pos);
        fila.texto(DIASHORAST["TEXTOHOR"], pos + "-" + inicio + "-" + final_);
        fila.texto(DIASHORAST["HORADESDE"], inicio);
        fila.texto(DIASHORAST["HORAHASTA"], final_);
        fila.texto(DIASHORAST["MINUTOS"], std::to_string(minutos));
        fila.texto(DIASHORAST["MARCO"], "0");
        fila.entero(DIASHORAST["SESION_ORDEN"], posicion);
        fila.texto(DIASHORAST["PLANTILLA"], "");
        return true;
    });
}

} // namespace pontavia
