#pragma once
// VentanaPrincipal: Pontavia's one window, drawn with the Win32 API. Its behaviour is Formulario's;
// this class adds the controls, the painting of the panels, the dialogs, the busy cursor,
// HTML Help, and the scaling to the monitor's DPI.
#include "disposicion.h"
#include "formulario.h"
#include "recursos_gdi.h"

#include <windows.h>

#include <string>
#include <vector>

struct IAccPropServices;

namespace pontavia {

class VentanaPrincipal : public Formulario {
  public:
    // parametros: the command line without the program's own path, in UTF-8. carpeta: the
    // executable's folder, with the status file and the help file.
    VentanaPrincipal(HINSTANCE instancia, const std::vector<std::string>& parametros,
                     std::filesystem::path carpeta);
    ~VentanaPrincipal() override;
    VentanaPrincipal(const VentanaPrincipal&) = delete;
    VentanaPrincipal& operator=(const VentanaPrincipal&) = delete;

    // Shows the window and runs the message loop until it is closed; the program's exit code.
    int ejecutarBucle();

    bool elegirArchivo(const std::string& titulo, const std::string& ultimo,
                       std::string& elegido) override;
    void mensaje(const std::string& texto) override;
    void avisar(const std::string& texto) override;
    bool mensajeFinal(const std::string& texto, Gravedad gravedad) override;
    bool preguntar(const std::string& texto) override;
    bool abrirEnVisor(const std::filesystem::path& archivo) override;
    void mostrarError(const std::string& texto) override;
    void cursorOcupado(bool ocupado) override;
    void cerrar() override;
    bool abrirAyuda(const std::filesystem::path& archivo, int contexto) override;
    bool abrirGuia(const std::filesystem::path& carpeta, int contexto) override;

    // A caption the window paints itself, in client pixels at the window's DPI: DT_WORDBREAK
    // wraps it in donde; DT_SINGLELINE starts it at donde's top left corner and lets it run on.
    // control: the static text over it, which a screen reader reads.
    struct Rotulo {
        RECT donde;
        std::wstring texto;
        HFONT fuente;
        COLORREF color;
        UINT formato;
        HWND control;
    };
    // A panel showing, where it lies in the client area, and what lies on it.
    struct PanelVisible {
        const disposicion::Panel* panel;
        RECT donde;
        std::vector<Rotulo> rotulos;
        std::vector<HWND> botones;
    };
    // The panels showing in this mode, back to front: what pintar draws.
    std::vector<PanelVisible> paneles() const;

    // The window itself (its frame) and its four buttons.
    HWND marco = nullptr;
    HWND botonExportar = nullptr;
    HWND botonImportar = nullptr;
    HWND botonSalir = nullptr;
    HWND botonAyuda = nullptr;
    // The captions' static texts: the version, and each top panel's.
    HWND textoVersion = nullptr;
    HWND textoExportar = nullptr;
    HWND textoImportar = nullptr;

  private:
    static LRESULT CALLBACK procedimiento(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT atender(UINT msg, WPARAM wp, LPARAM lp);
    void crearFuentes();
    void crearGlifos();
    void colocar();
    void nombrarParaLectores();
    void pintar(HDC dc);
    int escala(int pixeles) const;
    RECT escalado(const disposicion::Rect& r, const disposicion::Rect& origen) const;

    ComDelHilo com_; // first made, last gone
    HINSTANCE instancia_;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    Fuente fuente_;
    Fuente fuenteNegrita_;
    Fuente fuenteEtiqueta_;
    ListaImagenes glifoOK_;
    ListaImagenes glifoCerrar_;
    Modulo hhctrl_;
    Propio<IAccPropServices*, liberarCom> anotaciones_; // the OK buttons' names, while they live
    HWND foco_ = nullptr; // the button with the keyboard when the window last lost it
    bool ocupado_ = false;
    bool mostrada_ = false;
};

} // namespace pontavia
