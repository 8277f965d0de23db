#include "mform.h"

#include "disposicion.h"
#include "nucleo.h"
#include "panel_degradado.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <QTranslator>
#include <QUrl>

namespace pontavia {

namespace {

namespace d = disposicion;

std::vector<std::string> enUtf8(const QStringList& lista) {
    std::vector<std::string> v;
    for (const QString& s : lista)
        v.push_back(s.toStdString());
    return v;
}

QRect qrect(const d::Rect& r) {
    return {r.x, r.y, r.ancho, r.alto};
}

PanelDegradado* panel(const d::Panel& p, Modo m, QWidget* padre) {
    auto* w = new PanelDegradado(QColor(p.arriba.r, p.arriba.g, p.arriba.b),
                                 QColor(p.abajo.r, p.abajo.g, p.abajo.b), padre);
    w->setGeometry(qrect(d::rectEn(p, m)));
    return w;
}

QLabel* etiqueta(const char* texto, const d::Rect& r, QWidget* padre) {
    auto* l = new QLabel(texto, padre);
    l->setGeometry(qrect(r));
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont f("Arial", d::kPuntosEtiqueta);
    f.setBold(true);
    l->setFont(f);
    l->setAttribute(Qt::WA_TranslucentBackground);
    return l;
}

QPushButton* boton(const char* texto, QStyle::StandardPixmap icono, const d::Rect& r,
                   QWidget* padre) {
    auto* b = new QPushButton(texto, padre);
    if (icono != QStyle::SP_CustomBase) b->setIcon(padre->style()->standardIcon(icono));
    b->setGeometry(qrect(r));
    return b;
}

// A box of the window's own: Ctrl+C copies its text, as Windows' message boxes do, so that a
// message can be pasted where help is asked for.
void copiable(QMessageBox& caja) {
    auto* copiar = new QShortcut(QKeySequence::Copy, &caja);
    QObject::connect(copiar, &QShortcut::activated, &caja,
                     [&caja] { QGuiApplication::clipboard()->setText(caja.text()); });
}

} // namespace

bool traducirQt(QTranslator& traduccion) {
    if (!traduccion.load(QLocale(QLocale::Spanish, QLocale::Spain), "qtbase", "_",
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QApplication::installTranslator(&traduccion);
}

VentanaPrincipal::VentanaPrincipal(const QStringList& parametros, std::filesystem::path carpeta,
                                   QWidget* padre)
    : QDialog(padre), Formulario(enUtf8(parametros), std::move(carpeta)) {
    setWindowTitle(d::kTitulo);
    setFixedSize(d::kAncho, d::kAlto);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    QFont fuente(d::kFuente, d::kPuntosFuente);
    fuente.setStyleHint(QFont::SansSerif);
    setFont(fuente);

    // Created back to front; the side Tamberlo chose is raised in front of the bottom panel.
    panelInferior = panel(d::kPanelInferior, modo(), this);
    panelExportar = panel(d::kPanelExportar, modo(), this);
    panelImportar = panel(d::kPanelImportar, modo(), this);
    for (auto [w, p] : {std::pair{panelExportar, &d::kPanelExportar},
                        std::pair{panelImportar, &d::kPanelImportar}}) {
        if (!d::panelVisible(*p, modo()))
            w->hide();
        else if (d::llenaLaVentana(*p, modo()))
            w->raise();
    }

    etiquetaExportar = etiqueta(d::kTextoExportar, d::kEtiquetaExportar, panelExportar);
    botonExportar = boton(d::kTextoOK, QStyle::SP_DialogOkButton, d::kBotonExportar, panelExportar);
    etiquetaImportar = etiqueta(d::kTextoImportar, d::kEtiquetaImportar, panelImportar);
    botonImportar = boton(d::kTextoOK, QStyle::SP_DialogOkButton, d::kBotonImportar, panelImportar);
    botonSalir = boton(d::kTextoSalir, QStyle::SP_DialogCloseButton, d::kBotonSalir, panelInferior);
    botonAyuda = boton(d::kTextoAyuda, QStyle::SP_CustomBase, d::kBotonAyuda, panelInferior);
    etiquetaVersion = new QLabel(d::kTextoVersion, panelInferior);
    etiquetaVersion->move(d::kXVersion, d::kYVersion);
    QFont negrita = font();
    negrita.setBold(true);
    etiquetaVersion->setFont(negrita);
    etiquetaVersion->setStyleSheet("color: red;");
    etiquetaVersion->adjustSize();

    // A screen reader says what each OK button does; the button still shows "OK".
    botonExportar->setAccessibleName(QString::fromUtf8(d::kNombreBotonExportar));
    botonImportar->setAccessibleName(QString::fromUtf8(d::kNombreBotonImportar));

    setTabOrder(botonSalir, botonAyuda);
    setTabOrder(botonAyuda, botonExportar);
    setTabOrder(botonExportar, botonImportar);
    for (QPushButton* b : {botonExportar, botonImportar, botonSalir, botonAyuda})
        b->setAutoDefault(false);

    connect(botonExportar, &QPushButton::clicked, this, [this] { pulsarExportar(); });
    connect(botonImportar, &QPushButton::clicked, this, [this] { pulsarImportar(); });
    connect(botonSalir, &QPushButton::clicked, this, [this] { close(); });
    connect(botonAyuda, &QPushButton::clicked, this, [this] { pulsarAyuda(); });
}

VentanaPrincipal::~VentanaPrincipal() {
    cursorOcupado(false);
}

void VentanaPrincipal::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (mostrada_) return;
    mostrada_ = true;
    if (auto* pantalla = screen()) move(pantalla->availableGeometry().center() - rect().center());
    // The keyboard starts where the tab order does, on the first button showing.
    for (QPushButton* b : {botonSalir, botonAyuda, botonExportar, botonImportar})
        if (b->isVisible()) {
            b->setFocus();
            break;
        }
    // The run starts once the window is on screen, so its dialogs appear over it.
    QTimer::singleShot(0, this, [this] { alMostrarse(); });
}

void VentanaPrincipal::closeEvent(QCloseEvent* e) {
    alCerrarse();
    QDialog::closeEvent(e);
}

void VentanaPrincipal::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_F1) {
        teclaF1();
        return;
    }
    // A dialog's Escape only hides it; this one closes, as its close box does, so that the
    // status for Tamberlo is written.
    if (e->matches(QKeySequence::Cancel)) {
        close();
        return;
    }
    QDialog::keyPressEvent(e);
}

bool VentanaPrincipal::abrirAyuda(const std::filesystem::path& archivo, int) {
    // Linux viewers of .chm files open at their table of contents; the topic is not passed.
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(archivo.string())));
}

bool VentanaPrincipal::abrirGuia(const std::filesystem::path& carpeta, int contexto) {
    // The HTML guide, in the desktop's browser.
    const auto pagina = carpeta / kCarpetaGuia / (contexto == 0 ? kIndiceGuia : kTemaVentana);
    if (!existeArchivo(pagina)) return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(pagina.string())));
}

bool VentanaPrincipal::elegirArchivo(const std::string& titulo, const std::string& ultimo,
                                     std::string& elegido) {
    QFileDialog dialogo(this, QString::fromStdString(titulo));
    dialogo.setNameFilter(d::kFiltroDialogo);
    dialogo.setDefaultSuffix(d::kExtensionDialogo);
    dialogo.setFileMode(QFileDialog::ExistingFile);
    dialogo.setAcceptMode(QFileDialog::AcceptOpen);
    if (!ultimo.empty()) dialogo.selectFile(QString::fromStdString(ultimo));
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) return false;
    elegido = dialogo.selectedFiles().first().toStdString();
    return true;
}

namespace {

QMessageBox::Icon iconoDe(Gravedad gravedad) {
    switch (gravedad) {
    case Gravedad::Informacion:
        return QMessageBox::Information;
    case Gravedad::Aviso:
        return QMessageBox::Warning;
    case Gravedad::Error:
        break;
    }
    return QMessageBox::Critical;
}

} // namespace

void VentanaPrincipal::caja(const std::string& texto, Gravedad gravedad) {
    QMessageBox caja(iconoDe(gravedad), "Pontavia", QString::fromStdString(texto), QMessageBox::Ok,
                     this);
    copiable(caja);
    caja.exec();
}

void VentanaPrincipal::mensaje(const std::string& texto) {
    caja(texto, Gravedad::Informacion);
}

void VentanaPrincipal::avisar(const std::string& texto) {
    caja(texto, Gravedad::Aviso);
}

bool VentanaPrincipal::mensajeFinal(const std::string& texto, Gravedad gravedad) {
    QMessageBox caja(iconoDe(gravedad), "Pontavia", QString::fromStdString(texto), QMessageBox::Ok,
                     this);
    QPushButton* ver = caja.addButton(d::kTextoVerInforme, QMessageBox::ActionRole);
    caja.setDefaultButton(QMessageBox::Ok);
    caja.setEscapeButton(QMessageBox::Ok);
    copiable(caja);
    caja.exec();
    return caja.clickedButton() == ver;
}

bool VentanaPrincipal::preguntar(const std::string& texto) {
    QMessageBox caja(QMessageBox::Question, "Pontavia", QString::fromStdString(texto),
                     QMessageBox::Yes | QMessageBox::No, this);
    caja.setDefaultButton(QMessageBox::No);
    copiable(caja);
    return caja.exec() == QMessageBox::Yes;
}

bool VentanaPrincipal::abrirEnVisor(const std::filesystem::path& archivo) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(archivo.string())));
}

void VentanaPrincipal::mostrarError(const std::string& texto) {
    caja(texto, Gravedad::Error);
}

void VentanaPrincipal::cursorOcupado(bool ocupado) {
    if (ocupado && !cursorPuesto_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        cursorPuesto_ = true;
    } else if (!ocupado && cursorPuesto_) {
        QApplication::restoreOverrideCursor();
        cursorPuesto_ = false;
    }
}

void VentanaPrincipal::cerrar() {
    close();
}

} // namespace pontavia
