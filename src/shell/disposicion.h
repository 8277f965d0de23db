#pragma once
// What the main window shows, for every toolkit that draws it: positions and sizes in pixels
// at 96 dpi, each relative to the panel that holds it; captions; the panels' colours; and
// which panels a start from Tamberlo leaves in view.
#include "formulario.h"

#include <string_view>

namespace pontavia::disposicion {

struct Rect {
    int x, y, ancho, alto;
};

struct Color {
    unsigned char r, g, b;
};

// A panel is painted from its top colour down to its bottom one.
struct Panel {
    Rect rect;
    Color arriba, abajo;
};

inline constexpr int kAncho = 632;
inline constexpr int kAlto = 266;
inline constexpr const char* kTitulo = "Exportar e importar datos entre Tamberlo y VELMORA";

// Back to front: the bottom panel lies behind the two top ones.
inline constexpr Panel kPanelInferior{{0, 168, 633, 97}, {214, 223, 247}, {120, 146, 206}};
inline constexpr Panel kPanelExportar{{0, 0, 315, 169}, {255, 250, 230}, {236, 196, 120}};
inline constexpr Panel kPanelImportar{{316, 0, 317, 169}, {232, 246, 232}, {130, 190, 140}};

// The exportar side (on panelExportar) and the importar side (on panelImportar): a caption in Arial
// bold 12 point, word-wrapped, and an OK button of the stock kind.
inline constexpr Rect kEtiquetaExportar{24, 24, 265, 57};
inline constexpr const char* kTextoExportar = "Transformar datos desde VELMORA hacia Tamberlo ";
inline constexpr Rect kBotonExportar{96, 120, 89, 25};
inline constexpr Rect kEtiquetaImportar{8, 24, 305, 57};
inline constexpr const char* kTextoImportar = "Transformar datos desde Tamberlo hacia VELMORA";
inline constexpr Rect kBotonImportar{96, 120, 89, 25};
inline constexpr const char* kTextoOK = "OK";
inline constexpr int kPuntosEtiqueta = 12;

// What a screen reader says for each OK button, whose "OK" tells nothing by itself: what the
// button does, which its panel's caption says (without the space a caption may end with).
inline constexpr std::string_view nombreParaLectores(std::string_view rotulo) {
    return rotulo.substr(0, rotulo.find_last_not_of(' ') + 1);
}
inline constexpr std::string_view kNombreBotonExportar = nombreParaLectores(kTextoExportar);
inline constexpr std::string_view kNombreBotonImportar = nombreParaLectores(kTextoImportar);

// The bottom panel: the close and help buttons, and the version in bold red.
inline constexpr Rect kBotonSalir{256, 32, 89, 25};
inline constexpr const char* kTextoSalir = "&Salir";
inline constexpr Rect kBotonAyuda{40, 64, 75, 25};
inline constexpr const char* kTextoAyuda = "F1 Ayuda";
inline constexpr int kXVersion = 368;
inline constexpr int kYVersion = 72;
inline constexpr const char* kTextoVersion = "Pontavia para QX42 V-1.0";
inline constexpr Color kColorVersion{255, 0, 0};

// The window's own font.
inline constexpr const char* kFuente = "MS Sans Serif";
inline constexpr int kPuntosFuente = 8;

// The second button of the box that ends a run.
inline constexpr const char* kTextoVerInforme = "Ver informe";

// The file dialog both runs share.
inline constexpr const char* kTituloDialogo = "Seleccione Archivo XML obtenido de VELMORA";
// The dry run's dialog says that it only checks: exportar's title would promise an export.
inline constexpr const char* kTituloDialogoComprobar =
    "Comprobar un archivo XML de VELMORA (no se cambiará nada)";
inline constexpr const char* kFiltroDialogo = "*.xml";
inline constexpr const char* kExtensionDialogo = "xml";

// Where each top panel lies in a mode: the side Tamberlo chose fills the window, in front of
// the bottom panel, and the other side is hidden.
inline bool panelVisible(const Panel& p, Modo m) {
    if (&p == &kPanelExportar) return m != Modo::Importar;
    if (&p == &kPanelImportar) return m != Modo::Exportar;
    return m != Modo::Exportar && m != Modo::Importar;
}

inline bool llenaLaVentana(const Panel& p, Modo m) {
    return (&p == &kPanelExportar && m == Modo::Exportar) ||
           (&p == &kPanelImportar && m == Modo::Importar);
}

inline Rect rectEn(const Panel& p, Modo m) {
    return llenaLaVentana(p, m) ? Rect{0, 0, kAncho, kAlto} : p.rect;
}

} // namespace pontavia::disposicion
