#include "mform.h"

#include "disposicion.h"
#include "panel_degradado.h"

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

} // namespace

TMForm::TMForm(const QStringList& parametros, std::filesystem::path carpeta, QWidget* padre)
    : QDialog(padre), Formulario(enUtf8(parametros), std::move(carpeta)) {
    setWindowTitle(d::kTitulo);
    setFixedSize(d::kAncho, d::kAlto);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    QFont fuente(d::kFuente, d::kPuntosFuente);
    fuente.setStyleHint(QFont::SansSerif);
    setFont(fuente);

    // Created back to front; the side Tamberlo chose is raised in front of the bottom panel.
    Draw3D1 = panel(d::kDraw3D1, modo(), this);
    Draw3D2 = panel(d::kDraw3D2, modo(), this);
    Draw3D3 = panel(d::kDraw3D3, modo(), this);
    for (auto [w, p] : {std::pair{Draw3D2, &d::kDraw3D2}, std::pair{Draw3D3, &d::kDraw3D3}}) {
        if (!d::panelVisible(*p, modo()))
            w->hide();
        else if (d::llenaLaVentana(*p, modo()))
            w->raise();
    }

    Label3 = etiqueta(d::kTextoLabel3, d::kLabel3, Draw3D2);
    BExportar = boton(d::kTextoOK, QStyle::SP_DialogOkButton, d::kBExportar, Draw3D2);
    Label4 = etiqueta(d::kTextoLabel4, d::kLabel4, Draw3D3);
    BImportar = boton(d::kTextoOK, QStyle::SP_DialogOkButton, d::kBImportar, Draw3D3);
    BClose = boton(d::kTextoBClose, QStyle::SP_DialogCloseButton, d::kBClose, Draw3D1);
    Button1 = boton(d::kTextoButton1, QStyle::SP_CustomBase, d::kButton1, Draw3D1);
    Label1 = new QLabel(d::kTextoLabel1, Draw3D1);
    Label1->move(d::kXLabel1, d::kYLabel1);
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
}

TMForm::~TMForm() {
    cursorOcupado(false);
}

void TMForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (mostrada_) return;
    mostrada_ = true;
    if (auto* pantalla = screen()) move(pantalla->availableGeometry().center() - rect().center());
    // The run starts once the window is on screen, so its dialogs appear over it.
    QTimer::singleShot(0, this, [this] { FormShow(); });
}

void TMForm::closeEvent(QCloseEvent* e) {
    FormClose();
    QDialog::closeEvent(e);
}

void TMForm::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_F1) {
        teclaF1();
        return;
    }
    QDialog::keyPressEvent(e);
}

bool TMForm::abrirAyuda(const std::filesystem::path& archivo, int) {
    // Linux viewers of .chm files open at their table of contents; the topic is not passed.
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(archivo.string())));
}

bool TMForm::elegirArchivo(const std::string& ultimo, std::string& elegido) {
    QFileDialog dialogo(this, d::kTituloDialogo);
    dialogo.setNameFilter(d::kFiltroDialogo);
    dialogo.setDefaultSuffix(d::kExtensionDialogo);
    dialogo.setFileMode(QFileDialog::ExistingFile);
    dialogo.setAcceptMode(QFileDialog::AcceptOpen);
    if (!ultimo.empty()) dialogo.selectFile(QString::fromStdString(ultimo));
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) return false;
    elegido = dialogo.selectedFiles().first().toStdString();
    return true;
}

void TMForm::mensaje(const std::string& texto) {
    QMessageBox caja(QMessageBox::NoIcon, "Pontavia", QString::fromStdString(texto),
                     QMessageBox::Ok, this);
    caja.exec();
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
