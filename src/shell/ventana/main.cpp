// pontavia: the window. Started by Tamberlo with a mode word, or by hand.
#include "mform.h"
#include "nucleo.h"

#include <QApplication>
#include <QTranslator>
#include <clocale>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::setlocale(LC_ALL, "");
    QApplication::setApplicationName("Pontavia");
    QTranslator traduccionQt;
    pontavia::traducirQt(traduccionQt);
    QStringList parametros = QApplication::arguments();
    parametros.removeFirst();
    pontavia::VentanaPrincipal ventana(parametros, pontavia::carpetaDelEjecutable());
    ventana.show();
    return app.exec();
}
