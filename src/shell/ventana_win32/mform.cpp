#include "mform.h"

#include "disposicion.h"
#include "nucleo.h"
#include "texto_ancho.h"

#include <commctrl.h>
#include <commdlg.h>
#include <htmlhelp.h>
// The accessibility GUIDs this file uses are defined here.
#include <initguid.h>
#include <oleacc.h>
#include <shellapi.h>

namespace pontavia {

namespace {

namespace d = disposicion;

constexpr const wchar_t* kClase = L"PontaviaTMForm";
constexpr WORD kIdExportar = 101;
constexpr WORD kIdImportar = 102;
constexpr WORD kIdSalir = 103;
constexpr WORD kIdAyuda = 104;
constexpr WORD kIdTextoVersion = 105;
constexpr WORD kIdTextoExportar = 106;
constexpr WORD kIdTextoImportar = 107;
// Posted once the window is on screen, so that a run's dialogs appear over it.
constexpr UINT kMostrada = WM_APP + 1;
// The longest path the file dialog hands back.
constexpr DWORD kLargoRuta = 32768;

// A function of a system library that older Windows may lack, looked up at run time.
template <typename F> F funcion(HMODULE modulo, const char* nombre) {
    if (!modulo) return nullptr;
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(modulo, nombre)));
}

HMODULE user32() {
    return GetModuleHandleW(L"user32.dll");
}

UINT dpiDe(HWND hwnd) {
    using GetDpiForWindow_t = UINT(WINAPI*)(HWND);
    if (auto f = funcion<GetDpiForWindow_t>(user32(), "GetDpiForWindow")) return f(hwnd);
    HDC dc = GetDC(hwnd);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(hwnd, dc);
    return static_cast<UINT>(dpi);
}

void ajustarMarco(RECT& r, DWORD estilo, DWORD estiloExtendido, UINT dpi) {
    using AdjustWindowRectExForDpi_t = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    if (auto f = funcion<AdjustWindowRectExForDpi_t>(user32(), "AdjustWindowRectExForDpi"))
        f(&r, estilo, FALSE, estiloExtendido, dpi);
    else
        AdjustWindowRectEx(&r, estilo, FALSE, estiloExtendido);
}

COLORREF rgb(const d::Color& c) {
    return RGB(c.r, c.g, c.b);
}

// c with a share of otro laid over it, as a translucent line is drawn.
COLORREF mezcla(COLORREF c, COLORREF otro, int alfa) {
    auto canal = [&](int a, int b) {
        return static_cast<BYTE>((a * (255 - alfa) + b * alfa) / 255);
    };
    return RGB(canal(GetRValue(c), GetRValue(otro)), canal(GetGValue(c), GetGValue(otro)),
               canal(GetBValue(c), GetBValue(otro)));
}

void linea(HDC dc, int x0, int y0, int x1, int y1, COLORREF color) {
    Pincel pincel(CreateSolidBrush(color));
    RECT r{x0, y0, x1, y1};
    FillRect(dc, &r, pincel.get());
}

// The stock glyph of an OK button (a green check) or of a close button (a cross), drawn at
// lado pixels on a mask colour that the image list makes transparent.
ListaImagenes glifo(int lado, bool ok) {
    const COLORREF mascara = RGB(255, 0, 255);
    HDC pantalla = GetDC(nullptr);
    Mapa mapa(CreateCompatibleBitmap(pantalla, lado, lado));
    HDC dc = CreateCompatibleDC(pantalla);
    ReleaseDC(nullptr, pantalla);
    {
        Pincel fondo(CreateSolidBrush(mascara));
        Pluma pluma(CreatePen(PS_SOLID, lado / 8 > 2 ? lado / 8 : 2,
                              ok ? RGB(0, 128, 0) : RGB(48, 48, 48)));
        HGDIOBJ mapaAnterior = SelectObject(dc, mapa.get());
        HGDIOBJ plumaAnterior = SelectObject(dc, pluma.get());
        RECT todo{0, 0, lado, lado};
        FillRect(dc, &todo, fondo.get());
        auto punto = [&](int x, int y) { return POINT{x * lado / 16, y * lado / 16}; };
        if (ok) {
            const POINT trazo[] = {punto(3, 8), punto(7, 12), punto(13, 4)};
            Polyline(dc, trazo, 3);
        } else {
            const POINT una[] = {punto(4, 4), punto(12, 12)};
            const POINT otra[] = {punto(12, 4), punto(4, 12)};
            Polyline(dc, una, 2);
            Polyline(dc, otra, 2);
        }
        SelectObject(dc, plumaAnterior);
        SelectObject(dc, mapaAnterior);
    }
    DeleteDC(dc);
    ListaImagenes lista(ImageList_Create(lado, lado, ILC_COLOR24 | ILC_MASK, 1, 0));
    ImageList_AddMasked(lista.get(), mapa.get(), mascara);
    return lista;
}

// An off-screen bitmap the window is painted into, then copied at once: no flicker.
class Lienzo {
  public:
    Lienzo(HDC destino, int ancho, int alto)
        : destino_(destino), ancho_(ancho), alto_(alto), dc_(CreateCompatibleDC(destino)),
          mapa_(CreateCompatibleBitmap(destino, ancho, alto)),
          anterior_(SelectObject(dc_, mapa_.get())) {}
    ~Lienzo() {
        BitBlt(destino_, 0, 0, ancho_, alto_, dc_, 0, 0, SRCCOPY);
        SelectObject(dc_, anterior_);
        DeleteDC(dc_);
    }
    Lienzo(const Lienzo&) = delete;
    Lienzo& operator=(const Lienzo&) = delete;
    HDC dc() const { return dc_; }

  private:
    HDC destino_;
    int ancho_, alto_;
    HDC dc_;
    Propio<HBITMAP, borrarObjeto> mapa_;
    HGDIOBJ anterior_;
};

// The panel each button lies on.
const d::Panel& panelDe(WORD id) {
    switch (id) {
    case kIdExportar:
        return d::kPanelExportar;
    case kIdImportar:
        return d::kPanelImportar;
    default:
        return d::kPanelInferior;
    }
}

const d::Rect& rectDe(WORD id) {
    switch (id) {
    case kIdExportar:
        return d::kBotonExportar;
    case kIdImportar:
        return d::kBotonImportar;
    case kIdSalir:
        return d::kBotonSalir;
    default:
        return d::kBotonAyuda;
    }
}

} // namespace

VentanaPrincipal::VentanaPrincipal(HINSTANCE instancia, const std::vector<std::string>& parametros,
                                   std::filesystem::path carpeta)
    : Formulario(parametros, std::move(carpeta)), instancia_(instancia) {
    WNDCLASSEXW clase{};
    clase.cbSize = sizeof clase;
    clase.lpfnWndProc = procedimiento;
    clase.hInstance = instancia_;
    clase.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    // The program's icon (resource 1 of pontavia.rc), for the taskbar and Alt+Tab.
    clase.hIcon = LoadIconW(instancia_, MAKEINTRESOURCEW(1));
    clase.lpszClassName = kClase;
    RegisterClassExW(&clase);

    const DWORD estilo = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD estiloExtendido = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    CreateWindowExW(estiloExtendido, kClase, ancho(d::kTitulo).c_str(), estilo, CW_USEDEFAULT,
                    CW_USEDEFAULT, d::kAncho, d::kAlto, nullptr, nullptr, instancia_, this);

    // Created in their tab order: the bottom panel's two buttons, then exportar, then importar;
    // each panel's caption before what it names, in the order a screen reader goes through them.
    auto control = [&](const wchar_t* tipo, WORD id, const char* texto, DWORD forma) {
        return CreateWindowExW(0, tipo, ancho(texto).c_str(), WS_CHILD | forma, 0, 0, 0, 0, marco,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), instancia_,
                               nullptr);
    };
    auto boton = [&](WORD id, const char* texto) {
        return control(L"BUTTON", id, texto, WS_TABSTOP | BS_PUSHBUTTON);
    };
    // The captions are painted with the panels; their controls draw what the window paints
    // where they lie (SS_OWNERDRAW), and hold the text for whoever reads the screen.
    auto texto = [&](WORD id, const char* t) {
        return control(L"STATIC", id, t, SS_OWNERDRAW | SS_NOPREFIX);
    };
    botonSalir = boton(kIdSalir, d::kTextoSalir);
    botonAyuda = boton(kIdAyuda, d::kTextoAyuda);
    textoVersion = texto(kIdTextoVersion, d::kTextoVersion);
    textoExportar = texto(kIdTextoExportar, d::kTextoExportar);
    botonExportar = boton(kIdExportar, d::kTextoOK);
    textoImportar = texto(kIdTextoImportar, d::kTextoImportar);
    botonImportar = boton(kIdImportar, d::kTextoOK);
    nombrarParaLectores();

    dpi_ = dpiDe(marco);
    crearFuentes();
    crearGlifos();
    colocar();

    // The client area is 632 x 266 at 96 dpi, centred on the monitor's work area.
    RECT r{0, 0, escala(d::kAncho), escala(d::kAlto)};
    ajustarMarco(r, estilo, estiloExtendido, dpi_);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(marco, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& trabajo = monitor.rcWork;
    const int ancho = r.right - r.left;
    const int alto = r.bottom - r.top;
    SetWindowPos(marco, nullptr, trabajo.left + (trabajo.right - trabajo.left - ancho) / 2,
                 trabajo.top + (trabajo.bottom - trabajo.top - alto) / 2, ancho, alto,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

VentanaPrincipal::~VentanaPrincipal() {
    if (hhctrl_) {
        // The help windows must be gone before their library is.
        using HtmlHelpW_t = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
        if (auto f = funcion<HtmlHelpW_t>(hhctrl_.get(), "HtmlHelpW"))
            f(nullptr, nullptr, HH_CLOSE_ALL, 0);
    }
    if (marco) DestroyWindow(marco);
}

int VentanaPrincipal::ejecutarBucle() {
    ShowWindow(marco, SW_SHOWNORMAL);
    UpdateWindow(marco);
    for (HWND b : {botonSalir, botonAyuda, botonExportar, botonImportar})
        if (IsWindowVisible(b)) {
            SetFocus(b);
            break;
        }
    PostMessageW(marco, kMostrada, 0, 0);

    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        const bool nuestra = m.hwnd == marco || IsChild(marco, m.hwnd);
        if (nuestra && m.message == WM_KEYDOWN && m.wParam == VK_F1) {
            teclaF1();
            continue;
        }
        if (marco && IsDialogMessageW(marco, &m)) continue;
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    return static_cast<int>(m.wParam);
}

LRESULT CALLBACK VentanaPrincipal::procedimiento(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* f =
            static_cast<VentanaPrincipal*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        f->marco = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(f));
    }
    auto* f = reinterpret_cast<VentanaPrincipal*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return f ? f->atender(msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT VentanaPrincipal::atender(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case kMostrada:
        if (!mostrada_) {
            mostrada_ = true;
            alMostrarse();
        }
        return 0;
    case WM_COMMAND:
        if (HIWORD(wp) != BN_CLICKED) break;
        switch (LOWORD(wp)) {
        case kIdExportar:
            pulsarExportar();
            return 0;
        case kIdImportar:
            pulsarImportar();
            return 0;
        case kIdAyuda:
            pulsarAyuda();
            return 0;
        case kIdSalir:
        case IDCANCEL:
            cerrar();
            return 0;
        }
        break;
    case WM_ACTIVATE:
        // As a dialog does: the button that had the keyboard when a box or another program
        // took it has it back once the window is active again.
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND foco = GetFocus();
            if (foco && IsChild(marco, foco)) foco_ = foco;
        } else if (foco_ && IsWindowVisible(foco_)) {
            SetFocus(foco_);
            return 0;
        }
        break;
    case WM_CLOSE:
        alCerrarse();
        DestroyWindow(marco);
        return 0;
    case WM_DESTROY:
        // The names go with the buttons, before they are gone.
        if (anotaciones_) {
            const MSAAPROPID nombre = PROPID_ACC_NAME;
            for (HWND b : {botonExportar, botonImportar})
                anotaciones_.get()->ClearHwndProps(b, OBJID_CLIENT, CHILDID_SELF, &nombre, 1);
        }
        SetWindowLongPtrW(marco, GWLP_USERDATA, 0);
        marco = nullptr;
        PostQuitMessage(0);
        return 0;
    case WM_SETCURSOR:
        if (!ocupado_) break;
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
    case WM_DPICHANGED: {
        dpi_ = HIWORD(wp);
        crearFuentes();
        crearGlifos();
        const auto* r = reinterpret_cast<const RECT*>(lp);
        SetWindowPos(marco, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        colocar();
        InvalidateRect(marco, nullptr, TRUE);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (item->CtlType != ODT_STATIC) break;
        // A caption's control shows the part of the window it covers, as the window paints it.
        RECT donde;
        GetWindowRect(item->hwndItem, &donde);
        MapWindowPoints(nullptr, marco, reinterpret_cast<POINT*>(&donde), 2);
        Lienzo lienzo(item->hDC, donde.right - donde.left, donde.bottom - donde.top);
        POINT origen;
        SetViewportOrgEx(lienzo.dc(), -donde.left, -donde.top, &origen);
        pintar(lienzo.dc());
        SetViewportOrgEx(lienzo.dc(), origen.x, origen.y, nullptr);
        return TRUE;
    }
    case WM_PRINTCLIENT:
        // Themed buttons ask for what lies behind their rounded corners.
        pintar(reinterpret_cast<HDC>(wp));
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(marco, &ps);
        RECT cliente;
        GetClientRect(marco, &cliente);
        {
            Lienzo lienzo(dc, cliente.right, cliente.bottom);
            pintar(lienzo.dc());
        }
        EndPaint(marco, &ps);
        return 0;
    }
    }
    return DefWindowProcW(marco, msg, wp, lp);
}

int VentanaPrincipal::escala(int pixeles) const {
    return MulDiv(pixeles, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI);
}

void VentanaPrincipal::crearFuentes() {
    auto fuente = [&](const wchar_t* cara, int puntos, int peso) {
        return Fuente(CreateFontW(-MulDiv(puntos, static_cast<int>(dpi_), 72), 0, 0, 0, peso, FALSE,
                                  FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, cara));
    };
    // Microsoft Sans Serif is the scalable face of the window's MS Sans Serif.
    fuente_ = fuente(L"Microsoft Sans Serif", d::kPuntosFuente, FW_NORMAL);
    fuenteNegrita_ = fuente(L"Microsoft Sans Serif", d::kPuntosFuente, FW_BOLD);
    fuenteEtiqueta_ = fuente(L"Arial", d::kPuntosEtiqueta, FW_BOLD);
    for (HWND b : {botonSalir, botonAyuda, botonExportar, botonImportar})
        SendMessageW(b, WM_SETFONT, reinterpret_cast<WPARAM>(fuente_.get()), TRUE);
}

void VentanaPrincipal::crearGlifos() {
    const int lado = escala(16);
    glifoOK_ = glifo(lado, true);
    glifoCerrar_ = glifo(lado, false);
    for (auto [b, lista] :
         {std::pair{botonExportar, glifoOK_.get()}, std::pair{botonImportar, glifoOK_.get()},
          std::pair{botonSalir, glifoCerrar_.get()}}) {
        BUTTON_IMAGELIST imagen{lista, {escala(2), 0, 0, 0}, BUTTON_IMAGELIST_ALIGN_LEFT};
        SendMessageW(b, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&imagen));
    }
}

void VentanaPrincipal::colocar() {
    for (auto [b, id] :
         {std::pair{botonSalir, kIdSalir}, std::pair{botonAyuda, kIdAyuda},
          std::pair{botonExportar, kIdExportar}, std::pair{botonImportar, kIdImportar}}) {
        const d::Panel& p = panelDe(id);
        const d::Rect origen = d::rectEn(p, modo());
        const d::Rect& r = rectDe(id);
        SetWindowPos(b, nullptr, escala(origen.x + r.x), escala(origen.y + r.y), escala(r.ancho),
                     escala(r.alto), SWP_NOZORDER | SWP_NOACTIVATE);
        ShowWindow(b, d::panelVisible(p, modo()) ? SW_SHOWNA : SW_HIDE);
    }
    // Each caption's control over its text: the box it wraps in, or the line it takes.
    for (HWND t : {textoVersion, textoExportar, textoImportar})
        ShowWindow(t, SW_HIDE);
    for (const PanelVisible& visto : paneles())
        for (const Rotulo& r : visto.rotulos) {
            RECT donde = r.donde;
            if (r.formato & DT_SINGLELINE) {
                HDC dc = GetDC(marco);
                HGDIOBJ anterior = SelectObject(dc, r.fuente);
                SIZE s{};
                GetTextExtentPoint32W(dc, r.texto.c_str(), static_cast<int>(r.texto.size()), &s);
                SelectObject(dc, anterior);
                ReleaseDC(marco, dc);
                donde.right = donde.left + s.cx;
                donde.bottom = donde.top + s.cy;
            }
            SetWindowPos(r.control, nullptr, donde.left, donde.top, donde.right - donde.left,
                         donde.bottom - donde.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        }
}

void VentanaPrincipal::nombrarParaLectores() {
    // Dynamic annotation: the system's own description of each button, with the name changed.
    IAccPropServices* servicios = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(&servicios))))
        return;
    anotaciones_.reset(servicios);
    for (auto [b, nombre] : {std::pair{botonExportar, d::kNombreBotonExportar},
                             std::pair{botonImportar, d::kNombreBotonImportar}})
        servicios->SetHwndPropStr(b, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME,
                                  ancho(nombre).c_str());
}

RECT VentanaPrincipal::escalado(const d::Rect& r, const d::Rect& origen) const {
    return {escala(origen.x + r.x), escala(origen.y + r.y), escala(origen.x + r.x + r.ancho),
            escala(origen.y + r.y + r.alto)};
}

std::vector<VentanaPrincipal::PanelVisible> VentanaPrincipal::paneles() const {
    constexpr UINT kEnLineas = DT_WORDBREAK | DT_NOPREFIX;
    std::vector<PanelVisible> vistos;
    for (const d::Panel* p : {&d::kPanelInferior, &d::kPanelExportar, &d::kPanelImportar}) {
        if (!d::panelVisible(*p, modo())) continue;
        const d::Rect o = d::rectEn(*p, modo());
        PanelVisible visto{p, escalado({0, 0, o.ancho, o.alto}, o), {}, {}};
        auto rotulo = [&](const char* texto, const d::Rect& r, HFONT fuente, COLORREF color,
                          UINT formato, HWND control) {
            visto.rotulos.push_back(
                {escalado(r, o), ancho(texto), fuente, color, formato, control});
        };
        if (p == &d::kPanelInferior)
            rotulo(d::kTextoVersion, {d::kXVersion, d::kYVersion, 0, 0}, fuenteNegrita_.get(),
                   rgb(d::kColorVersion), DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX, textoVersion);
        if (p == &d::kPanelExportar)
            rotulo(d::kTextoExportar, d::kEtiquetaExportar, fuenteEtiqueta_.get(), RGB(0, 0, 0),
                   kEnLineas, textoExportar);
        if (p == &d::kPanelImportar)
            rotulo(d::kTextoImportar, d::kEtiquetaImportar, fuenteEtiqueta_.get(), RGB(0, 0, 0),
                   kEnLineas, textoImportar);
        for (HWND b : {botonSalir, botonAyuda, botonExportar, botonImportar})
            if (&panelDe(static_cast<WORD>(GetDlgCtrlID(b))) == p) visto.botones.push_back(b);
        vistos.push_back(std::move(visto));
    }
    return vistos;
}

void VentanaPrincipal::pintar(HDC dc) {
    // The window's own face shows in the seam between the two top panels.
    RECT cliente;
    GetClientRect(marco, &cliente);
    FillRect(dc, &cliente, GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    // Back to front, each panel with what it holds.
    for (const PanelVisible& visto : paneles()) {
        const d::Panel* p = visto.panel;
        const int x0 = visto.donde.left, y0 = visto.donde.top;
        const int x1 = visto.donde.right, y1 = visto.donde.bottom;
        const COLORREF arriba = rgb(p->arriba), abajo = rgb(p->abajo);
        TRIVERTEX v[2] = {
            {x0, y0, static_cast<COLOR16>(p->arriba.r << 8), static_cast<COLOR16>(p->arriba.g << 8),
             static_cast<COLOR16>(p->arriba.b << 8), 0},
            {x1, y1, static_cast<COLOR16>(p->abajo.r << 8), static_cast<COLOR16>(p->abajo.g << 8),
             static_cast<COLOR16>(p->abajo.b << 8), 0}};
        GRADIENT_RECT g{0, 1};
        GradientFill(dc, v, 2, &g, 1, GRADIENT_FILL_RECT_V);
        // A light edge above and to the left, a dark one below and to the right.
        linea(dc, x0, y0, x1, y0 + 1, mezcla(arriba, RGB(255, 255, 255), 160));
        linea(dc, x0, y0, x0 + 1, y1, mezcla(arriba, RGB(255, 255, 255), 160));
        linea(dc, x1 - 1, y0, x1, y1, mezcla(abajo, RGB(0, 0, 0), 90));
        linea(dc, x0, y1 - 1, x1, y1, mezcla(abajo, RGB(0, 0, 0), 90));

        for (const Rotulo& r : visto.rotulos) {
            RECT donde = r.donde;
            HGDIOBJ anterior = SelectObject(dc, r.fuente);
            SetTextColor(dc, r.color);
            DrawTextW(dc, r.texto.c_str(), static_cast<int>(r.texto.size()), &donde, r.formato);
            SelectObject(dc, anterior);
        }
    }
}

bool VentanaPrincipal::elegirArchivo(const std::string& tituloDialogo, const std::string& ultimo,
                                     std::string& elegido) {
    std::wstring archivo = ancho(ultimo);
    archivo.resize(kLargoRuta, L'\0');
    const std::wstring titulo = ancho(tituloDialogo);
    // One entry, its name and its pattern, each ended by a null, the list by another.
    const std::wstring filtro = ancho(d::kFiltroDialogo) + L'\0' + ancho(d::kFiltroDialogo) + L'\0';
    const std::wstring extension = ancho(d::kExtensionDialogo);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = marco;
    ofn.lpstrFilter = filtro.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = archivo.data();
    ofn.nMaxFile = kLargoRuta;
    ofn.lpstrTitle = titulo.c_str();
    ofn.lpstrDefExt = extension.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
    if (!GetOpenFileNameW(&ofn)) return false;
    elegido = utf8(archivo.c_str());
    return true;
}

namespace {

UINT iconoCaja(Gravedad gravedad) {
    switch (gravedad) {
    case Gravedad::Informacion:
        return MB_ICONINFORMATION;
    case Gravedad::Aviso:
        return MB_ICONWARNING;
    case Gravedad::Error:
        break;
    }
    return MB_ICONERROR;
}

PCWSTR iconoTarea(Gravedad gravedad) {
    return gravedad == Gravedad::Informacion ? TD_INFORMATION_ICON
           : gravedad == Gravedad::Aviso     ? TD_WARNING_ICON
                                             : TD_ERROR_ICON;
}

// The end box closes with Escape as with Enter: the task dialog would only let Escape cancel
// a box that has a Cancel button, and some of its versions not even with
// TDF_ALLOW_DIALOG_CANCELLATION. While it shows, Escape on it is turned into a click on OK.
thread_local HWND g_cajaFinal = nullptr;
thread_local HHOOK g_ganchoEscape = nullptr;

LRESULT CALLBACK ganchoEscape(int codigo, WPARAM wp, LPARAM lp) {
    auto* m = reinterpret_cast<MSG*>(lp);
    if (codigo == HC_ACTION && wp == PM_REMOVE && g_cajaFinal && m->message == WM_KEYDOWN &&
        m->wParam == VK_ESCAPE && (m->hwnd == g_cajaFinal || IsChild(g_cajaFinal, m->hwnd))) {
        SendMessageW(g_cajaFinal, TDM_CLICK_BUTTON, IDOK, 0);
        m->message = WM_NULL;
    }
    return CallNextHookEx(g_ganchoEscape, codigo, wp, lp);
}

HRESULT CALLBACK alNotificarCajaFinal(HWND hwnd, UINT notificacion, WPARAM, LPARAM, LONG_PTR) {
    if (notificacion == TDN_CREATED) g_cajaFinal = hwnd;
    if (notificacion == TDN_DESTROYED) g_cajaFinal = nullptr;
    return S_OK;
}

// The hook for as long as the end box shows.
class EscapeCierra {
  public:
    EscapeCierra() {
        g_ganchoEscape =
            SetWindowsHookExW(WH_GETMESSAGE, ganchoEscape, nullptr, GetCurrentThreadId());
    }
    ~EscapeCierra() {
        if (g_ganchoEscape) UnhookWindowsHookEx(g_ganchoEscape);
        g_ganchoEscape = nullptr;
        g_cajaFinal = nullptr;
    }
    EscapeCierra(const EscapeCierra&) = delete;
    EscapeCierra& operator=(const EscapeCierra&) = delete;
};

} // namespace

void VentanaPrincipal::mensaje(const std::string& texto) {
    MessageBoxW(marco, ancho(texto).c_str(), L"Pontavia", MB_OK | iconoCaja(Gravedad::Informacion));
}

void VentanaPrincipal::avisar(const std::string& texto) {
    MessageBoxW(marco, ancho(texto).c_str(), L"Pontavia", MB_OK | iconoCaja(Gravedad::Aviso));
}

bool VentanaPrincipal::mensajeFinal(const std::string& texto, Gravedad gravedad) {
    // A task dialog carries a button of its own; comctl32 6 has one, or the box has only OK.
    using TaskDialogIndirect_t = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);
    auto f = funcion<TaskDialogIndirect_t>(GetModuleHandleW(L"comctl32.dll"), "TaskDialogIndirect");
    if (!f) {
        mostrarCaja(texto, gravedad);
        return false;
    }
    constexpr int kIdVerInforme = 100;
    const std::wstring contenido = ancho(texto);
    const std::wstring ver = ancho(d::kTextoVerInforme);
    const TASKDIALOG_BUTTON botones[] = {{kIdVerInforme, ver.c_str()}};
    TASKDIALOGCONFIG c{};
    c.cbSize = sizeof c;
    c.hwndParent = marco;
    c.hInstance = instancia_;
    c.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
    c.dwCommonButtons = TDCBF_OK_BUTTON;
    c.pszWindowTitle = L"Pontavia";
    c.pszMainIcon = iconoTarea(gravedad);
    c.pszContent = contenido.c_str();
    c.pfCallback = alNotificarCajaFinal;
    c.cButtons = 1;
    c.pButtons = botones;
    c.nDefaultButton = IDOK;
    int elegido = IDOK;
    HRESULT hecho;
    {
        EscapeCierra escape;
        hecho = f(&c, &elegido, nullptr, nullptr);
    }
    if (FAILED(hecho)) {
        mostrarCaja(texto, gravedad);
        return false;
    }
    return elegido == kIdVerInforme;
}

bool VentanaPrincipal::preguntar(const std::string& texto) {
    return MessageBoxW(marco, ancho(texto).c_str(), L"Pontavia",
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

bool VentanaPrincipal::abrirEnVisor(const std::filesystem::path& archivo) {
    const auto r = reinterpret_cast<INT_PTR>(
        ShellExecuteW(marco, L"open", archivo.wstring().c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (r > 32) return true;
    // No program opens the file's kind (a locked-down desk, Wine): the reports are text, and
    // every Windows has Notepad, in its system folder.
    if (r != SE_ERR_NOASSOC && r != SE_ERR_ASSOCINCOMPLETE) return false;
    wchar_t sistema[MAX_PATH];
    const UINT n = GetSystemDirectoryW(sistema, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return false;
    const std::wstring notepad = std::wstring(sistema) + L"\\notepad.exe";
    const std::wstring parametro = L"\"" + archivo.wstring() + L"\"";
    return reinterpret_cast<INT_PTR>(ShellExecuteW(marco, L"open", notepad.c_str(),
                                                   parametro.c_str(), nullptr, SW_SHOWNORMAL)) > 32;
}

void VentanaPrincipal::mostrarError(const std::string& texto) {
    MessageBoxW(marco, ancho(texto).c_str(), L"Pontavia", MB_OK | iconoCaja(Gravedad::Error));
}

void VentanaPrincipal::cursorOcupado(bool ocupado) {
    ocupado_ = ocupado;
    SetCursor(LoadCursorW(nullptr, ocupado ? IDC_WAIT : IDC_ARROW));
}

void VentanaPrincipal::cerrar() {
    // After the run's handler has returned, as if the user had closed it.
    PostMessageW(marco, WM_CLOSE, 0, 0);
}

bool VentanaPrincipal::abrirAyuda(const std::filesystem::path& archivo, int contexto) {
    // HTML Help is loaded on first use: a system without it only loses the help.
    if (!hhctrl_) hhctrl_.reset(LoadLibraryW(L"hhctrl.ocx"));
    using HtmlHelpW_t = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
    auto f = funcion<HtmlHelpW_t>(hhctrl_.get(), "HtmlHelpW");
    if (!f) return false;
    // A file the viewer cannot show, or a topic it lacks, is the viewer's to report.
    const std::wstring ruta = archivo.wstring();
    if (contexto == 0)
        f(marco, ruta.c_str(), HH_DISPLAY_TOC, 0);
    else
        f(marco, ruta.c_str(), HH_HELP_CONTEXT, static_cast<DWORD_PTR>(contexto));
    return true;
}

bool VentanaPrincipal::abrirGuia(const std::filesystem::path& carpeta, int contexto) {
    const auto guia = carpeta / kGuiaCompilada;
    if (!existeArchivo(guia)) return false;
    return abrirAyuda(guia, contexto);
}

} // namespace pontavia
