// The Win32 window as a user sees it, in each mode: its caption and client area, the panels
// and buttons that show, the tab order; at the scales Windows offers, that nothing covers
// anything and every caption fits; what a screen reader says of each control; the report
// opened where no program opens text files. Runs under Wine with a display.
#include "disposicion.h"
#include "mform.h"

#include <commctrl.h>
#include <gtest/gtest.h>
// The accessibility GUIDs this file uses are defined here.
#include <initguid.h>
#include <oleacc.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <string>

using namespace pontavia;
namespace d = pontavia::disposicion;

// RECT is Windows' own, in the global namespace: its comparison and printing are found there.
inline bool operator==(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b);
}

inline std::ostream& operator<<(std::ostream& o, const RECT& r) {
    return o << '(' << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ')';
}

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

bool visible(HWND control) {
    return GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE;
}

// Where a control lies in its window's client area.
RECT rectEnCliente(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT cliente(HWND marco) {
    RECT r;
    GetClientRect(marco, &r);
    return r;
}

bool dentro(const RECT& interior, const RECT& exterior) {
    return interior.left >= exterior.left && interior.top >= exterior.top &&
           interior.right <= exterior.right && interior.bottom <= exterior.bottom;
}

bool seTapan(const RECT& a, const RECT& b) {
    RECT comun;
    return IntersectRect(&comun, &a, &b);
}

std::string enUtf8(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w)
        s += c < 128 ? static_cast<char>(c) : '?';
    return s;
}

// A button's caption as it shows: the & before its access key is not drawn.
std::wstring rotuloDe(HWND boton) {
    wchar_t texto[64];
    GetWindowTextW(boton, texto, 64);
    std::wstring s(texto);
    std::erase(s, L'&');
    return s;
}

// Text measured in a font, on the screen's device context.
class Medidor {
  public:
    explicit Medidor(HFONT fuente) : dc_(GetDC(nullptr)), anterior_(SelectObject(dc_, fuente)) {}
    ~Medidor() {
        SelectObject(dc_, anterior_);
        ReleaseDC(nullptr, dc_);
    }
    Medidor(const Medidor&) = delete;
    Medidor& operator=(const Medidor&) = delete;

    SIZE linea(const std::wstring& t) const {
        SIZE s{};
        GetTextExtentPoint32W(dc_, t.c_str(), static_cast<int>(t.size()), &s);
        return s;
    }
    // The box the text takes, wrapped at ancho as DrawTextW wraps it.
    RECT enLineas(const std::wstring& t, int ancho, UINT formato) const {
        RECT r{0, 0, ancho, 0};
        DrawTextW(dc_, t.c_str(), static_cast<int>(t.size()), &r, formato | DT_CALCRECT);
        return r;
    }
    int altoDeLinea() const {
        TEXTMETRICW m{};
        GetTextMetricsW(dc_, &m);
        return m.tmHeight;
    }

  private:
    HDC dc_;
    HGDIOBJ anterior_;
};

// Where a painted caption's text lies once drawn.
RECT cajaDe(const VentanaPrincipal::Rotulo& r) {
    const Medidor m(r.fuente);
    if (r.formato & DT_SINGLELINE) {
        const SIZE s = m.linea(r.texto);
        return {r.donde.left, r.donde.top, r.donde.left + s.cx, r.donde.top + s.cy};
    }
    const RECT e = m.enLineas(r.texto, r.donde.right - r.donde.left, r.formato);
    return {r.donde.left, r.donde.top, r.donde.left + e.right, r.donde.top + e.bottom};
}

// The window moved to a monitor of another DPI, as Windows tells it: the rectangle it suggests
// holds the 632 x 266 client area grown alike, within the frame as the system draws it.
void pasarADpi(HWND marco, int dpi) {
    RECT ventana, area;
    GetWindowRect(marco, &ventana);
    GetClientRect(marco, &area);
    const int marcoAncho = (ventana.right - ventana.left) - area.right;
    const int marcoAlto = (ventana.bottom - ventana.top) - area.bottom;
    RECT sugerido{0, 0, MulDiv(d::kAncho, dpi, 96) + marcoAncho,
                  MulDiv(d::kAlto, dpi, 96) + marcoAlto};
    SendMessageW(marco, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&sugerido));
}

std::unique_ptr<VentanaPrincipal> ventana(std::vector<std::string> parametros) {
    return std::make_unique<VentanaPrincipal>(GetModuleHandleW(nullptr), parametros, ".");
}

// What MSAA tells a screen reader of a control: its name (trailing spaces aside) and its role.
struct ParaLector {
    std::wstring nombre;
    long papel = 0;
};

ParaLector paraLector(HWND control) {
    ParaLector r;
    IAccessible* a = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, IID_IAccessible,
                                          reinterpret_cast<void**>(&a))))
        return r;
    VARIANT yo;
    VariantInit(&yo);
    yo.vt = VT_I4;
    yo.lVal = CHILDID_SELF;
    BSTR nombre = nullptr;
    if (a->get_accName(yo, &nombre) == S_OK && nombre) {
        r.nombre = nombre;
        r.nombre.erase(r.nombre.find_last_not_of(L' ') + 1);
        SysFreeString(nombre);
    }
    VARIANT papel;
    VariantInit(&papel);
    if (SUCCEEDED(a->get_accRole(yo, &papel)) && papel.vt == VT_I4) r.papel = papel.lVal;
    a->Release();
    return r;
}

// What this system's MSAA tells of a plain button: the name a program gives it by dynamic
// annotation, and its role (Wine's tells neither: every control is a client area named by its
// text).
struct LoQueDiceElSistema {
    bool nombresAnotados = false;
    bool papeles = false;
};

LoQueDiceElSistema loQueDiceElSistema() {
    HWND prueba = CreateWindowExW(0, L"BUTTON", L"OK", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    LoQueDiceElSistema dice;
    dice.papeles = paraLector(prueba).papel == ROLE_SYSTEM_PUSHBUTTON;
    IAccPropServices* servicios = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IAccPropServices, reinterpret_cast<void**>(&servicios)))) {
        dice.nombresAnotados =
            SUCCEEDED(servicios->SetHwndPropStr(prueba, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME,
                                                L"anotado")) &&
            paraLector(prueba).nombre == L"anotado";
        const MSAAPROPID nombre = PROPID_ACC_NAME;
        servicios->ClearHwndProps(prueba, OBJID_CLIENT, CHILDID_SELF, &nombre, 1);
        servicios->Release();
    }
    DestroyWindow(prueba);
    return dice;
}

std::wstring anchoDe(std::string_view s) {
    return std::wstring(s.begin(), s.end());
}

// The top-level window on the screen whose title holds texto, or null.
HWND ventanaConTitulo(const std::wstring& texto) {
    struct Busqueda {
        const std::wstring& texto;
        HWND hallada;
    } busqueda{texto, nullptr};
    EnumWindows(
        [](HWND h, LPARAM p) -> BOOL {
            auto& b = *reinterpret_cast<Busqueda*>(p);
            wchar_t titulo[512];
            if (!IsWindowVisible(h) || GetWindowTextW(h, titulo, 512) <= 0 ||
                std::wstring(titulo).find(b.texto) == std::wstring::npos)
                return TRUE;
            b.hallada = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&busqueda));
    return busqueda.hallada;
}

// For as long as it lives, the user's .txt files are of a kind no program opens, as on a desk
// whose administrator took the association away; then as they were.
class TxtSinPrograma {
  public:
    TxtSinPrograma() {
        HKEY k = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kClave, 0, KEY_READ, &k) == ERROR_SUCCESS) {
            existia_ = true;
            wchar_t valor[256];
            DWORD bytes = sizeof valor;
            if (RegQueryValueExW(k, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(valor),
                                 &bytes) == ERROR_SUCCESS)
                anterior_ = valor;
            RegCloseKey(k);
        }
        escribir(L"PontaviaPruebaSinPrograma");
    }
    ~TxtSinPrograma() {
        if (!existia_)
            RegDeleteTreeW(HKEY_CURRENT_USER, kClave);
        else
            escribir(anterior_);
    }
    TxtSinPrograma(const TxtSinPrograma&) = delete;
    TxtSinPrograma& operator=(const TxtSinPrograma&) = delete;

  private:
    static constexpr const wchar_t* kClave = L"Software\\Classes\\.txt";
    static void escribir(const std::wstring& clase) {
        HKEY k = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, kClave, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k,
                        nullptr);
        RegSetValueExW(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(clase.c_str()),
                       static_cast<DWORD>((clase.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(k);
    }
    bool existia_ = false;
    std::wstring anterior_;
};

} // namespace

TEST(VentanaWin32, DisposicionInteractiva) {
    auto v = ventana({});
    EXPECT_EQ(cliente(v->marco), (RECT{0, 0, escala(632), escala(266)}));
    wchar_t titulo[128];
    GetWindowTextW(v->marco, titulo, 128);
    EXPECT_STREQ(titulo, L"Exportar e importar datos entre Tamberlo y VELMORA");
    const LONG estilo = GetWindowLongW(v->marco, GWL_STYLE);
    EXPECT_FALSE(estilo & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));

    // All three panels show, with their captions and buttons.
    const auto paneles = v->paneles();
    ASSERT_EQ(paneles.size(), 3u);
    EXPECT_EQ(paneles[0].panel, &d::kPanelInferior);
    EXPECT_EQ(paneles[0].botones, (std::vector<HWND>{v->botonSalir, v->botonAyuda}));
    EXPECT_EQ(paneles[1].botones, (std::vector<HWND>{v->botonExportar}));
    EXPECT_EQ(paneles[2].botones, (std::vector<HWND>{v->botonImportar}));
    ASSERT_EQ(paneles[0].rotulos.size(), 1u);
    EXPECT_EQ(paneles[0].rotulos[0].texto, L"Pontavia para QX42 V-1.0");
    EXPECT_EQ(paneles[0].rotulos[0].color, RGB(255, 0, 0));
    ASSERT_EQ(paneles[1].rotulos.size(), 1u);
    EXPECT_EQ(paneles[1].rotulos[0].texto, L"Transformar datos desde VELMORA hacia Tamberlo ");
    ASSERT_EQ(paneles[2].rotulos.size(), 1u);
    EXPECT_EQ(paneles[2].rotulos[0].texto, L"Transformar datos desde Tamberlo hacia VELMORA");
    for (HWND b : {v->botonExportar, v->botonImportar, v->botonSalir, v->botonAyuda})
        EXPECT_TRUE(visible(b));
    wchar_t texto[32];
    GetWindowTextW(v->botonSalir, texto, 32);
    EXPECT_STREQ(texto, L"&Salir");
    GetWindowTextW(v->botonAyuda, texto, 32);
    EXPECT_STREQ(texto, L"F1 Ayuda");
    GetWindowTextW(v->botonExportar, texto, 32);
    EXPECT_STREQ(texto, L"OK");

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
        // Only the chosen side shows, over the whole client area, with its button on it.
        const auto paneles = v->paneles();
        ASSERT_EQ(paneles.size(), 1u);
        EXPECT_EQ(paneles[0].panel, c.exportar ? &d::kPanelExportar : &d::kPanelImportar);
        EXPECT_EQ(paneles[0].donde, cliente(v->marco));
        EXPECT_EQ(paneles[0].botones, std::vector<HWND>{elegido});
        EXPECT_TRUE(visible(elegido));
        EXPECT_TRUE(dentro(rectEnCliente(elegido), paneles[0].donde));
        for (HWND oculto : {otro, v->botonSalir, v->botonAyuda})
            EXPECT_FALSE(visible(oculto));
    }
    // Any other word: both sides, as in the interactive mode.
    auto v = ventana({"abc", "def"});
    EXPECT_EQ(v->paneles().size(), 3u);
    for (HWND b : {v->botonExportar, v->botonImportar, v->botonSalir, v->botonAyuda})
        EXPECT_TRUE(visible(b));
}

// What a user sees at 100, 150 and 200 %, in every mode: the window grown alike; within each
// panel no control or caption covers another, and each lies on its panel; every caption fits
// whole (a label's wrapped lines in its box, a button's text and glyph inside its edges).
TEST(VentanaWin32, NadaSeTapaYCadaTextoCabe) {
    const std::vector<std::vector<std::string>> modos = {
        {}, {"exportar", "x"}, {"importar", "x"}, {"abc", "def"}};
    for (const auto& parametros : modos) {
        auto v = ventana(parametros);
        // Each text's line height at 96 dpi: at more, its font grows with the box.
        std::map<std::wstring, int> alto96;
        const auto crecio = [&](const std::wstring& texto, HFONT fuente, int dpi) {
            const int alto = Medidor(fuente).altoDeLinea();
            if (dpi == 96) alto96[texto] = alto;
            // A font's pixels round to whole ones: within a tenth of the scale.
            EXPECT_GE(alto, MulDiv(alto96[texto], dpi * 9, 96 * 10)) << enUtf8(texto);
        };
        for (const int dpi : {96, 144, 192}) {
            SCOPED_TRACE((parametros.empty() ? std::string("interactivo") : parametros[0]) + " a " +
                         std::to_string(dpi) + " dpi");
            pasarADpi(v->marco, dpi);
            const auto lado = [dpi](int px) { return MulDiv(px, dpi, 96); };
            EXPECT_EQ(cliente(v->marco), (RECT{0, 0, lado(d::kAncho), lado(d::kAlto)}));
            const auto paneles = v->paneles();
            for (std::size_t k = 0; k < paneles.size(); ++k) {
                const auto& panel = paneles[k];
                // What shows of the panel: the client area cuts it.
                RECT vista;
                const RECT area = cliente(v->marco);
                IntersectRect(&vista, &panel.donde, &area);
                std::vector<std::pair<std::string, RECT>> piezas;
                for (const auto& r : panel.rotulos) {
                    const RECT caja = cajaDe(r);
                    piezas.emplace_back(enUtf8(r.texto), caja);
                    crecio(r.texto, r.fuente, dpi);
                    if (!(r.formato & DT_SINGLELINE)) {
                        EXPECT_LE(caja.right - caja.left, r.donde.right - r.donde.left)
                            << enUtf8(r.texto);
                        EXPECT_LE(caja.bottom - caja.top, r.donde.bottom - r.donde.top)
                            << enUtf8(r.texto);
                    }
                }
                for (HWND b : panel.botones) {
                    if (!visible(b)) continue;
                    const RECT donde = rectEnCliente(b);
                    const std::wstring texto = rotuloDe(b);
                    piezas.emplace_back(enUtf8(texto), donde);
                    const auto fuente = reinterpret_cast<HFONT>(SendMessageW(b, WM_GETFONT, 0, 0));
                    crecio(texto, fuente, dpi);
                    const Medidor m(fuente);
                    // The glyph with its margins, beside the text.
                    int glifo = 0;
                    BUTTON_IMAGELIST imagen{};
                    if (SendMessageW(b, BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&imagen)) &&
                        imagen.himl) {
                        int ancho = 0, alto = 0;
                        ImageList_GetIconSize(imagen.himl, &ancho, &alto);
                        glifo = ancho + imagen.margin.left + imagen.margin.right + lado(4);
                    }
                    // A margin of 6 pixels at 96 dpi on each side, inside the button's edges.
                    EXPECT_LE(m.linea(texto).cx + glifo + lado(2 * 6), donde.right - donde.left)
                        << enUtf8(texto);
                    EXPECT_LE(m.altoDeLinea() + lado(4), donde.bottom - donde.top) << enUtf8(texto);
                }
                for (const auto& [nombre, caja] : piezas) {
                    EXPECT_TRUE(dentro(caja, vista)) << nombre << ' ' << caja;
                    // No panel in front hides any of it.
                    for (std::size_t delante = k + 1; delante < paneles.size(); ++delante)
                        EXPECT_FALSE(seTapan(caja, paneles[delante].donde))
                            << nombre << ' ' << caja;
                }
                for (std::size_t i = 0; i < piezas.size(); ++i)
                    for (std::size_t j = i + 1; j < piezas.size(); ++j)
                        EXPECT_FALSE(seTapan(piezas[i].second, piezas[j].second))
                            << piezas[i].first << ' ' << piezas[i].second << " / "
                            << piezas[j].first << ' ' << piezas[j].second;
            }
        }
    }
}

// What a screen reader says of each control, in every mode: the OK buttons by what they do,
// the captions as static text lying over what is painted of them; what shows stays as it was.
// The annotated names and the roles where the system's MSAA tells them (Wine's does not).
TEST(VentanaWin32, CadaControlTieneNombreParaUnLector) {
    const ComDelHilo com;
    const LoQueDiceElSistema dice = loQueDiceElSistema();
    if (!dice.nombresAnotados)
        std::cout << "Nota: el MSAA de este sistema no dice los nombres anotados: no se "
                     "comprueban los de los botones OK.\n";
    if (!dice.papeles)
        std::cout << "Nota: el MSAA de este sistema no dice el papel de cada control: no se "
                     "comprueba.\n";
    const std::vector<std::vector<std::string>> modos = {{}, {"exportar", "x"}, {"importar", "x"}};
    for (const auto& parametros : modos) {
        SCOPED_TRACE(parametros.empty() ? std::string("interactivo") : parametros[0]);
        auto v = ventana(parametros);
        const struct {
            HWND control;
            long papel;
            std::wstring nombre;
            bool anotado;
        } casos[] = {
            {v->botonSalir, ROLE_SYSTEM_PUSHBUTTON, L"Salir", false},
            {v->botonAyuda, ROLE_SYSTEM_PUSHBUTTON, L"F1 Ayuda", false},
            {v->textoVersion, ROLE_SYSTEM_STATICTEXT, L"Pontavia para QX42 V-1.0", false},
            {v->textoExportar, ROLE_SYSTEM_STATICTEXT,
             L"Transformar datos desde VELMORA hacia Tamberlo", false},
            {v->botonExportar, ROLE_SYSTEM_PUSHBUTTON,
             L"Transformar datos desde VELMORA hacia Tamberlo", true},
            {v->textoImportar, ROLE_SYSTEM_STATICTEXT,
             L"Transformar datos desde Tamberlo hacia VELMORA", false},
            {v->botonImportar, ROLE_SYSTEM_PUSHBUTTON,
             L"Transformar datos desde Tamberlo hacia VELMORA", true},
        };
        for (const auto& c : casos) {
            SCOPED_TRACE(enUtf8(c.nombre));
            const ParaLector leido = paraLector(c.control);
            if (dice.papeles) {
                EXPECT_EQ(leido.papel, c.papel);
            }
            if (!c.anotado || dice.nombresAnotados) {
                EXPECT_EQ(leido.nombre, c.nombre);
            }
        }
        EXPECT_EQ(anchoDe(d::kNombreBotonExportar), casos[4].nombre);
        EXPECT_EQ(anchoDe(d::kNombreBotonImportar), casos[6].nombre);
        EXPECT_EQ(rotuloDe(v->botonExportar), L"OK");
        EXPECT_EQ(rotuloDe(v->botonImportar), L"OK");

        // Each caption's text lies over the caption, and shows with its panel only.
        std::vector<HWND> vistos;
        for (const auto& panel : v->paneles())
            for (const auto& r : panel.rotulos) {
                SCOPED_TRACE(enUtf8(r.texto));
                vistos.push_back(r.control);
                EXPECT_TRUE(visible(r.control));
                EXPECT_TRUE(dentro(cajaDe(r), rectEnCliente(r.control)))
                    << cajaDe(r) << " / " << rectEnCliente(r.control);
            }
        for (HWND t : {v->textoVersion, v->textoExportar, v->textoImportar})
            if (std::find(vistos.begin(), vistos.end(), t) == vistos.end()) {
                EXPECT_FALSE(visible(t));
            }
    }
}

// "Ver informe" where no program opens .txt files: Notepad, from the system's folder, shows
// the report.
TEST(VentanaWin32, SinProgramaParaTxtElInformeSeAbreConElBlocDeNotas) {
    const TxtSinPrograma sinPrograma;
    wchar_t temporal[MAX_PATH];
    GetTempPathW(MAX_PATH, temporal);
    const std::filesystem::path informe =
        std::filesystem::path(temporal) / L"INFORME-PRUEBA-\u00d1.TXT";
    std::ofstream(informe, std::ios::binary) << "Proceso finalizado\r\n";
    auto v = ventana({});
    ASSERT_TRUE(v->abrirEnVisor(informe));

    HWND bloc = nullptr;
    for (int i = 0; i < 600 && !bloc; ++i) {
        Sleep(100);
        bloc = ventanaConTitulo(informe.filename().wstring());
    }
    ASSERT_NE(bloc, nullptr) << "ninguna ventana muestra el informe";
    wchar_t clase[64];
    GetClassNameW(bloc, clase, 64);
    EXPECT_STREQ(clase, L"Notepad");
    // The report's text, once Notepad has read it (another process's edit box tells it only
    // when asked).
    wchar_t texto[256] = L"";
    for (int i = 0; i < 100 && !texto[0]; ++i) {
        if (HWND edicion = FindWindowExW(bloc, nullptr, L"Edit", nullptr))
            SendMessageW(edicion, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(texto));
        if (!texto[0]) Sleep(100);
    }
    EXPECT_STREQ(texto, L"Proceso finalizado\r\n");

    DWORD id = 0;
    GetWindowThreadProcessId(bloc, &id);
    HANDLE proceso = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
    PostMessageW(bloc, WM_CLOSE, 0, 0);
    if (proceso) {
        if (WaitForSingleObject(proceso, 10000) != WAIT_OBJECT_0) TerminateProcess(proceso, 1);
        CloseHandle(proceso);
    }
    std::filesystem::remove(informe);
}
