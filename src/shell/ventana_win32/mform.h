#pragma once
// TMForm: Pontavia's one window, drawn with the Win32 API. Its behaviour is Formulario's;
// this class adds the controls, the painting of the panels, the dialogs, the busy cursor,
// HTML Help, and the scaling to the monitor's DPI.
#include "formulario.h"
#include "recursos_gdi.h"

#include <windows.h>

namespace pontavia {

class TMForm : public Formulario {
  public:
    // parametros: the command line without the program's own path, in UTF-8. carpeta: the
    // executable's folder, with the status file and the help file.
    TMForm(HINSTANCE instancia, const std::vector<std::string>& parametros,
           std::filesystem::path carpeta);
    ~TMForm() override;
    TMForm(const TMForm&) = delete;
    TMForm& operator=(const TMForm&) = delete;

    // Shows the window and runs the message loop until it is closed; the program's exit code.
    int ejecutarBucle();

    bool elegirArchivo(const std::string& ultimo, std::string& elegido) override;
    void mensaje(const std::string& texto) override;
    void cursorOcupado(bool ocupado) override;
    void cerrar() override;
    bool abrirAyuda(const std::filesystem::path& archivo, int contexto) override;

    // The window and its buttons, by their designer names.
    HWND MForm = nullptr;
    HWND BExportar = nullptr;
    HWND BImportar = nullptr;
    HWND BClose = nullptr;
    HWND Button1 = nullptr;

  private:
    static LRESULT CALLBACK procedimiento(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT atender(UINT msg, WPARAM wp, LPARAM lp);
    void crearFuentes();
    void crearGlifos();
    void colocar();
    void pintar(HDC dc);
    int escala(int pixeles) const;

    HINSTANCE instancia_;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    Fuente fuente_;
    Fuente fuenteNegrita_;
    Fuente fuenteEtiqueta_;
    ListaImagenes glifoOK_;
    ListaImagenes glifoCerrar_;
    Modulo hhctrl_;
    bool ocupado_ = false;
    bool mostrada_ = false;
};

} // namespace pontavia
