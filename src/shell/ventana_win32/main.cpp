// pontavia.exe: the window. Started by Tamberlo with a mode word, or by hand.
#include "mform.h"
#include "nucleo.h"
#include "texto_ancho.h"

#include <windows.h>

#include <clocale>
#include <shellapi.h>

int WINAPI wWinMain(HINSTANCE instancia, HINSTANCE, PWSTR, int) {
    std::setlocale(LC_ALL, "");
    int n = 0;
    pontavia::Propio<LPWSTR*, pontavia::liberarLocal> argumentos(
        CommandLineToArgvW(GetCommandLineW(), &n));
    std::vector<std::string> parametros;
    for (int i = 1; argumentos && i < n; ++i)
        parametros.push_back(pontavia::utf8(argumentos.get()[i]));
    pontavia::VentanaPrincipal ventana(instancia, parametros, pontavia::carpetaDelEjecutable());
    return ventana.ejecutarBucle();
}
