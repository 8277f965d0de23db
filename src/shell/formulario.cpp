#include "formulario.h"

#include "corridas.h"
#include "nucleo.h"
#include "tareas.h"

#include <exception>

namespace pontavia {

Modo modoDeArranque(const std::vector<std::string>& parametros) {
    if (parametros.size() == 1) {
        const std::string palabra = minusculasAscii(parametros[0]);
        if (palabra == "informe") return Modo::VerInforme;
        if (palabra == "comprobar") return Modo::Comprobar;
        if (palabra == "restaurar") return Modo::Restaurar;
    }
    if (parametros.size() != 2) return Modo::Interactivo;
    const std::string palabra = minusculasAscii(parametros[0]);
    if (palabra == "exportar") return Modo::Exportar;
    if (palabra == "importar") return Modo::Importar;
    return Modo::OtraPalabra;
}

Formulario::Formulario(const std::vector<std::string>& parametros, std::filesystem::path carpeta)
    : modo_(modoDeArranque(parametros)), carpeta_(std::move(carpeta)) {
    programa_.EstadoTransformado = 0;
    if (enModoLinea()) programa_.ModoLinea = 2;
}

void Formulario::alMostrarse() {
    if (modo_ == Modo::VerInforme || modo_ == Modo::Comprobar || modo_ == Modo::Restaurar) {
        tarea();
        cerrar();
        return;
    }
    if (modo_ != Modo::Importar && modo_ != Modo::Exportar) return;
    // Tamberlo reads the status only once Pontavia has ended, whatever ended it: a run cut off
    // half-way must not leave an earlier run's success there. Its 0 is written before anything
    // else is touched; when it cannot be, nothing is, and the error is shown once.
    if (!escribirEstado()) {
        estadoNoEscrito_ = true;
        return;
    }
    if (modo_ == Modo::Importar) pulsarImportar();
    if (modo_ == Modo::Exportar) pulsarExportar();
}

void Formulario::tarea() {
    try {
        switch (modo_) {
        case Modo::VerInforme:
            tareaVerInforme(*this);
            break;
        case Modo::Comprobar:
            tareaComprobar(programa_, *this);
            break;
        case Modo::Restaurar:
            tareaRestaurar(*this);
            break;
        default:
            break;
        }
    } catch (const std::exception& ex) {
        cursorOcupado(false);
        mostrarCaja(mensajeParaElUsuario(ex), gravedadDe(claseDe(ex)));
    }
}

void Formulario::alCerrarse() {
    if (!enModoLinea() || estadoNoEscrito_) return;
    escribirEstado();
}

bool Formulario::escribirEstado() {
    try {
        escribirEntradaIni(carpeta_ / kArchivoEstado, "Transformadores", "Transformado",
                           std::to_string(programa_.EstadoTransformado));
        return true;
    } catch (const std::exception& ex) {
        mostrarCaja(mensajeParaElUsuario(ex), gravedadDe(claseDe(ex)));
        return false;
    }
}

void Formulario::ejecutar(void (*run)(Programa&, Ventana&)) {
    try {
        run(programa_, *this);
    } catch (const std::exception& ex) {
        cursorOcupado(false);
        mostrarCaja(mensajeParaElUsuario(ex), gravedadDe(claseDe(ex)));
    }
}

void Formulario::pulsarExportar() {
    ejecutar(corridaExportar);
}

void Formulario::pulsarImportar() {
    ejecutar(corridaImportar);
}

void Formulario::pulsarAyuda() {
    mostrarAyuda(0);
}

void Formulario::teclaF1() {
    mostrarAyuda(kContextoAyuda);
}

void Formulario::mostrarAyuda(int contexto) {
    // VELMORA's help where VELMORA is installed; Pontavia's guide on every other machine.
    const auto archivo = carpeta_ / kArchivoAyuda;
    if (!existeArchivo(archivo)) {
        if (!abrirGuia(carpeta_, contexto))
            mensaje("No se encuentra la ayuda: ni " + textoDeRuta(archivo) +
                    " ni la guía de Pontavia junto al programa. Instale Pontavia de nuevo.");
        return;
    }
    if (!abrirAyuda(archivo, contexto))
        mensaje("No hay ningún visor instalado para abrir la ayuda " + textoDeRuta(archivo) + ".");
}

} // namespace pontavia
