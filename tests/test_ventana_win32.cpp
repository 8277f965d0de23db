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

std::unique_ptr<TMForm> ventana(std::vector<std::string> parametros) {
    return std::make_unique<TMForm>(GetModuleHandleW(nullptr), parametros, ".");
}

} // namespace

TEST(VentanaWin32, DisposicionInteractiva) {
    auto v = ventana({});
    RECT cliente;
    GetClientRect(v->MForm, &cliente);
    EXPECT_EQ(cliente.right, escala(632));
    EXPECT_EQ(cliente.bottom, escala(266));
    wchar_t titulo[128];
    GetWindowTextW(v->MForm, titulo, 128);
    EXPECT_STREQ(titulo, L"Exportar e importar datos entre Tamberlo y VELMORA");
    const LONG estilo = GetWindowLongW(v->MForm, GWL_STYLE);
    EXPECT_FALSE(estilo & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));

    esperaEn(v->BExportar, 0, 0, d::kBExportar);
    esperaEn(v->BImportar, 316, 0, d::kBImportar);
    esperaEn(v->BClose, 0, 168, d::kBClose);
    esperaEn(v->Button1, 0, 168, d::kButton1);
    for (HWND b : {v->BExportar, v->BImportar, v->BClose, v->Button1})
        EXPECT_TRUE(GetWindowLongW(b, GWL_STYLE) & WS_VISIBLE);
    wchar_t texto[32];
    GetWindowTextW(v->BClose, texto, 32);
    EXPECT_STREQ(texto, L"&Salir");
    GetWindowTextW(v->Button1, texto, 32);
    EXPECT_STREQ(texto, L"F1 Ayuda");

    // Tab order: the bottom panel first, then exportar, then importar, and round again.
    std::vector<HWND> orden{v->BClose};
    for (int i = 0; i < 4; ++i)
        orden.push_back(GetNextDlgTabItem(v->MForm, orden.back(), FALSE));
    EXPECT_EQ(orden,
              (std::vector<HWND>{v->BClose, v->Button1, v->BExportar, v->BImportar, v->BClose}));
}

TEST(VentanaWin32, ElLadoElegidoLlenaLaVentana) {
    const struct {
        const char* palabra;
        bool exportar;
    } casos[] = {{"EXPORTAR", true}, {"importar", false}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.palabra);
        auto v = ventana({c.palabra, "x"});
        HWND elegido = c.exportar ? v->BExportar : v->BImportar;
        HWND otro = c.exportar ? v->BImportar : v->BExportar;
        esperaEn(elegido, 0, 0, c.exportar ? d::kBExportar : d::kBImportar);
        EXPECT_TRUE(GetWindowLongW(elegido, GWL_STYLE) & WS_VISIBLE);
        for (HWND oculto : {otro, v->BClose, v->Button1})
            EXPECT_FALSE(GetWindowLongW(oculto, GWL_STYLE) & WS_VISIBLE);
    }
    // Any other word: both sides, as in the interactive mode.
    auto v = ventana({"abc", "def"});
    for (HWND b : {v->BExportar, v->BImportar, v->BClose, v->Button1})
        EXPECT_TRUE(GetWindowLongW(b, GWL_STYLE) & WS_VISIBLE);
}
