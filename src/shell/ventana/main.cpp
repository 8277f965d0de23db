// pontavia: the window. Started by Tamberlo with a mode word, or by hand.
#include "mform.h"
#include "nucleo.h"

#include <QApplication>
#include <clocale>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::setlocale(LC_ALL, "");
    QApplication::setApplicationName("Pontavia");
    QStringList parametros = QApplication::arguments();
    parametros.removeFirst();
    pontavia::TMForm MForm(parametros, pontavia::carpetaDelEjecutable());
    MForm.show();
    return app.exec();
}
