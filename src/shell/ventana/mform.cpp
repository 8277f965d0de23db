#include "mform.h"

#include "archivo_ini.h"
#include "exportar.h"
#include "importar.h"
#include "panel_degradado.h"
#include "plataforma.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QUrl>
#include <exception>

namespace pontavia {

namespace {

constexpr int kAncho = 632;
constexpr int kAlto = 266;
const char* kTitulo = "Exportar e importar datos entre Tamberlo y VELMORA";
const char* kArchivoAyuda = "VELMORA.chm";

// What Tamberlo's mode word becomes: A to Z lower-cased, nothing else touched.
QString enMinusculas(QString s) {
    for (auto& c : s)
        if (c >= QChar('A') && c <= QChar('Z')) c = QChar(c.unicode() - 'A' + 'a');
    return s;
}

QLabel* etiqueta(const QString& texto, const QRect& r, QWidget* padre) {
    auto* l = new QLabel(texto, padre);
    l->setGeometry(r);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont f("Arial", 12);
    f.setBold(true);
    l->setFont(f);
    l->setAttribute(Qt::WA_TranslucentBackground);
    return l;
}

QPushButton* boton(const QString& texto, QStyle::StandardPixmap icono, const QRect& r,
                   QWidget* padre) {
    auto* b = new QPushButton(texto, padre);
    if (icono != QStyle::SP_CustomBase) b->setIcon(padre->style()->standardIcon(icono));
    b->setGeometry(r);
    return b;
}

} // namespace

TMForm::TMForm(QStringList parametros, std::filesystem::path rutaEstado, QWidget* padre)
    : QDialog(padre), parametros_(std::move(parametros)), rutaEstado_(std::move(rutaEstado)) {
    setWindowTitle(kTitulo);
    setFixedSize(kAncho, kAlto);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    QFont fuente("MS Sans Serif", 8);
    fuente.setStyleHint(QFont::SansSerif);
    setFont(fuente);

    // Created back to front: Draw3D1 lies behind the two top panels.
    Draw3D1 = new PanelDegradado(QColor(214, 223, 247), QColor(120, 146, 206), this);
    Draw3D1->setGeometry(0, 168, 633, 97);
    Draw3D2 = new PanelDegradado(QColor(255, 250, 230), QColor(236, 196, 120), this);
    Draw3D2->setGeometry(0, 0, 315, 169);
    Draw3D3 = new PanelDegradado(QColor(232, 246, 232), QColor(130, 190, 140), this);
    Draw3D3->setGeometry(316, 0, 317, 169);

    Label3 =
        etiqueta("Transformar datos desde VELMORA hacia Tamberlo ", {24, 24, 265, 57}, Draw3D2);
    BExportar = boton("OK", QStyle::SP_DialogOkButton, {96, 120, 89, 25}, Draw3D2);
    Label4 = etiqueta("Transformar datos desde Tamberlo hacia VELMORA", {8, 24, 305, 57}, Draw3D3);
    BImportar = boton("OK", QStyle::SP_DialogOkButton, {96, 120, 89, 25}, Draw3D3);
    BClose = boton("&Salir", QStyle::SP_DialogCloseButton, {256, 32, 89, 25}, Draw3D1);
    Button1 = boton("F1 Ayuda", QStyle::SP_CustomBase, {40, 64, 75, 25}, Draw3D1);
    Label1 = new QLabel("Pontavia para QX42 V-1.0", Draw3D1);
    Label1->move(368, 72);
    QFont negrita = font();
    negrita.setBold(true);
    Label1->setFont(negrita);
    Label1->setStyleSheet("color: red;");
    Label1->adjustSize();

    setTabOrder(BClose, Button1);
    setTabOrder(Button1, BExportar);
    setTabOrder(BExportar, BImportar);
    for (QPushButton* b : {BExportar, BImportar, BClose, Button1})
        b->setAutoDefault(false);

    connect(BExportar, &QPushButton::clicked, this, [this] { BExportarClick(); });
    connect(BImportar, &QPushButton::clicked, this, [this] { BImportarClick(); });
    connect(BClose, &QPushButton::clicked, this, [this] { close(); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });

    FormCreate(parametros_);
}

TMForm::~TMForm() {
    cursorOcupado(false);
}

void TMForm::FormCreate(const QStringList& parametros) {
    programa_.EstadoTransformado = 0;
    if (parametros.size() != 2) return;
    programa_.ModoLinea = 2;
    const QString modo = enMinusculas(parametros[0]);
    // The chosen side fills the window, in front of the bottom panel.
    if (modo == "importar") {
        Draw3D2->hide();
        Draw3D3->setGeometry(0, 0, kAncho, kAlto);
        Draw3D3->raise();
    }
    if (modo == "exportar") {
        Draw3D3->hide();
        Draw3D2->setGeometry(0, 0, kAncho, kAlto);
        Draw3D2->raise();
    }
}

void TMForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (mostrada_) return;
    mostrada_ = true;
    if (auto* pantalla = screen()) move(pantalla->availableGeometry().center() - rect().center());
    // The run starts once the window is on screen, so its dialogs appear over it.
    QTimer::singleShot(0, this, [this] { FormShow(); });
}

void TMForm::FormShow() {
    if (parametros_.size() != 2) return;
    const QString modo = enMinusculas(parametros_[0]);
    if (modo == "importar") BImportarClick();
    if (modo == "exportar") BExportarClick();
}

void TMForm::closeEvent(QCloseEvent* e) {
    FormClose();
    QDialog::closeEvent(e);
}

void TMForm::FormClose() {
    if (programa_.ModoLinea != 2) return;
    try {
        escribirEntradaIni(rutaEstado_, "Transformadores", "Transformado",
                           std::to_string(programa_.EstadoTransformado));
    } catch (const std::exception& ex) {
        // Tamberlo waits for the program to end, so the window closes all the same.
        mostrarError(ex.what());
    }
}

void TMForm::ejecutar(const std::function<void()>& run) {
    try {
        run();
    } catch (const std::exception& ex) {
        cursorOcupado(false);
        mostrarError(ex.what());
    }
}

void TMForm::BExportarClick() {
    ejecutar([this] { pontavia::BExportarClick(programa_, *this); });
}

void TMForm::BImportarClick() {
    ejecutar([this] { pontavia::BImportarClick(programa_, *this); });
}

void TMForm::Button1Click() {
    mostrarAyuda(0);
}

void TMForm::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_F1) {
        mostrarAyuda(kContextoAyuda);
        return;
    }
    QDialog::keyPressEvent(e);
}

void TMForm::mostrarAyuda(int contexto) {
    const auto archivo = carpetaDelEjecutable() / kArchivoAyuda;
    if (!existeArchivo(archivo)) {
        mensaje("No se encuentra el archivo de ayuda " + archivo.string() + ".");
        return;
    }
    if (!abrirAyuda(archivo, contexto))
        mensaje("No hay ningún visor instalado para abrir la ayuda " + archivo.string() + ".");
}

bool TMForm::abrirAyuda(const std::filesystem::path& archivo, int) {
    // Linux viewers of .chm files open at their table of contents; the topic is not passed.
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(archivo.string())));
}

bool TMForm::elegirArchivo(const std::string& ultimo, std::string& elegido) {
    QFileDialog d(this, "Seleccione Archivo XML obtenido de VELMORA");
    d.setNameFilter("*.xml");
    d.setDefaultSuffix("xml");
    d.setFileMode(QFileDialog::ExistingFile);
    d.setAcceptMode(QFileDialog::AcceptOpen);
    if (!ultimo.empty()) d.selectFile(QString::fromStdString(ultimo));
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return false;
    elegido = d.selectedFiles().first().toStdString();
    return true;
}

void TMForm::mensaje(const std::string& texto) {
    QMessageBox caja(QMessageBox::NoIcon, "Pontavia", QString::fromStdString(texto),
                     QMessageBox::Ok, this);
    caja.exec();
}

void TMForm::mostrarError(const std::string& texto) {
    mensaje(texto);
}

void TMForm::cursorOcupado(bool ocupado) {
    if (ocupado && !cursorPuesto_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        cursorPuesto_ = true;
    } else if (!ocupado && cursorPuesto_) {
        QApplication::restoreOverrideCursor();
        cursorPuesto_ = false;
    }
}

void TMForm::cerrar() {
    close();
}

} // namespace pontavia
