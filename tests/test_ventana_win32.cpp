// The Win32 window as it is laid out, in each mode: positions and sizes scaled to the
// display's DPI, what is visible, the caption and the tab order. Runs under Wine with a display.
#include "disposicion.h"
#include "mform.h"

#include <gtest/gtest.h>

using namespace pontavia;
namespace d = pontavia::disposicion;

namespace {

int dpiPantalla() {
    HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(nullptr, dc);
    return dpi;
}

int escala(int v) {
    return MulDiv(v, dpiPantalla(), 96);
}

// Where a control lies in its window's client area.
RECT rectEnCliente(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void esperaEn(HWND control, int x, int y, const d::Rect& r) {
    const RECT real = rectEnCliente(control);
    EXPECT_EQ(real.left, escala(x + r.x));
    EXPECT_EQ(real.top, escala(y + r.y));
    EXPECT_EQ(real.right - real.left, escala(r.ancho));
    EXPECT_EQ(real.bottom - real.top, escala(r.alto));
}

std::unique_ptr<VentanaPrincipal> ventana(std::vector<std::string> parametros) {
    return std::make_unique<VentanaPrincipal>(GetModuleHandleW(nullptr), parametros, ".");
}

} // namespace

TEST(VentanaWin32, DisposicionInteractiva) {
    auto v = ventana({});
    RECT cliente;
    GetClientRect(v->marco, &cliente);
    EXPECT_EQ(cliente.right, escala(632));
    EXPECT_EQ(cliente.bottom, escala(266));
    wchar_t titulo[128];
    GetWindowTextW(v->marco, titulo, 128);
    EXPECT_STREQ(titulo, L"Exportar e importar datos entre Tamberlo y VELMORA");
    const LONG estilo = GetWindowLongW(v->marco, GWL_STYLE);
    EXPECT_FALSE(estilo & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));

    esperaEn(v->botonExportar, 0, 0, d::kBotonExportar);
    esperaEn(v->botonImportar, 316, 0, d::kBotonImportar);
    esperaEn(v->botonSalir, 0, 168, d::kBotonSalir);
    esperaEn(v->botonAyuda, 0, 168, d::kBotonAyuda);
    for (HWND b : {v->botonExportar, v->botonImportar, v->botonSalir, v->botonAyuda})
        EXPECT_TRUE(GetWindowLongW(b, GWL_STYLE) & WS_VISIBLE);
    wchar_t texto[32];
    GetWindowTextW(v->botonSalir, texto, 32);
    EXPECT_STREQ(texto, L"&Salir");
    GetWindowTextW(v->botonAyuda, texto, 32);
    EXPECT_STREQ(texto, L"F1 Ayuda");

    // Tab order: the bottom panel first, then exportar, then importar, and round again.
    std::vector<HWND> orden{v->botonSalir};
    for (int i = 0; i < 4; ++i)
        orden.push_back(GetNextDlgTabItem(v->marco, orden.back(), FALSE));
    EXPECT_EQ(orden, (std::vector<HWND>{v->botonSalir, v->botonAyuda, v->botonExportar,
                                        v->botonImportar, v->botonSalir}));
}

TEST(VentanaWin32, ElLadoElegidoLlenaLaVentana) {
    const struct {
        const char* palabra;
        bool exportar;
    } casos[] = {{"EXPORTAR", true}, {"importar", false}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.palabra);
        auto v = ventana({c.palabra, "x"});
        HWND elegido = c.exportar ? v->botonExportar : v->botonImportar;
        HWND otro = c.exportar ? v->botonImportar : v->botonExportar;
        esperaEn(elegido, 0, 0, c.exportar ? d::kBotonExportar : d::kBotonImportar);
        EXPECT_TRUE(GetWindowLongW(elegido, GWL_STYLE) & WS_VISIBLE);
        for (HWND oculto : {otro, v->botonSalir, v->botonAyuda})
            EXPECT_FALSE(GetWindowLongW(oculto, GWL_STYLE) & WS_VISIBLE);
    }
    // Any other word: both sides, as in the interactive mode.
    auto v = ventana({"abc", "def"});
    for (HWND b : {v->botonExportar, v->botonImportar, v->botonSalir, v->botonAyuda})
        EXPECT_TRUE(GetWindowLongW(b, GWL_STYLE) & WS_VISIBLE);
}
