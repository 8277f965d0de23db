// What a console shows, for the tests of pontavia-cli.exe in a console as a person runs it:
//   leer_consola SALIDA PROGRAMA [ARGS...]
// starts itself again in a console of its own (CREATE_NEW_CONSOLE) with the OEM code page of
// a Spanish cmd (850), runs PROGRAMA there with its output on that console, then reads the
// screen back and writes it to SALIDA in UTF-8, a row a line without its trailing spaces; the
// last line says the console's code page before and after PROGRAMA ran. Its exit code is
// PROGRAMA's.
#include <windows.h>

#include <fstream>
#include <shellapi.h>
#include <string>
#include <vector>

namespace {

constexpr UINT kPaginaDeCmd = 850;
// Wide enough that no line of the program's wraps, and tall enough for a table.
constexpr SHORT kColumnas = 200;
constexpr SHORT kFilas = 3000;

std::string utf8(const std::wstring& w) {
    if (w.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                        nullptr);
    return s;
}

std::wstring lineaDeOrdenes(const std::wstring& programa, const std::vector<std::wstring>& args) {
    std::wstring linea = L"\"" + programa + L"\"";
    for (const auto& a : args)
        linea += L" \"" + a + L"\"";
    return linea;
}

DWORD ejecutar(std::wstring linea, DWORD banderas) {
    STARTUPINFOW inicio{};
    inicio.cb = sizeof inicio;
    PROCESS_INFORMATION proceso{};
    if (!CreateProcessW(nullptr, linea.data(), nullptr, nullptr, FALSE, banderas, nullptr, nullptr,
                        &inicio, &proceso))
        return 125;
    WaitForSingleObject(proceso.hProcess, INFINITE);
    DWORD codigo = 125;
    GetExitCodeProcess(proceso.hProcess, &codigo);
    CloseHandle(proceso.hThread);
    CloseHandle(proceso.hProcess);
    return codigo;
}

// Inside the new console: the program run on it, and its screen read back.
int enLaConsola(const std::wstring& salida, const std::wstring& programa,
                const std::vector<std::wstring>& args) {
    HANDLE pantalla =
        CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (pantalla == INVALID_HANDLE_VALUE) return 126;
    SetConsoleScreenBufferSize(pantalla, {kColumnas, kFilas});
    SetConsoleOutputCP(kPaginaDeCmd);
    const UINT antes = GetConsoleOutputCP();
    const DWORD codigo = ejecutar(lineaDeOrdenes(programa, args), 0);
    const UINT despues = GetConsoleOutputCP();

    CONSOLE_SCREEN_BUFFER_INFO info{};
    GetConsoleScreenBufferInfo(pantalla, &info);
    std::ofstream f(salida.c_str(), std::ios::binary);
    std::vector<wchar_t> fila(static_cast<std::size_t>(info.dwSize.X));
    for (SHORT y = 0; y <= info.dwCursorPosition.Y; ++y) {
        DWORD leidos = 0;
        ReadConsoleOutputCharacterW(pantalla, fila.data(), static_cast<DWORD>(fila.size()), {0, y},
                                    &leidos);
        std::wstring texto(fila.data(), leidos);
        texto.erase(texto.find_last_not_of(L' ') + 1);
        f << utf8(texto) << '\n';
    }
    f << "página de códigos " << antes << " -> " << despues << '\n';
    CloseHandle(pantalla);
    return static_cast<int>(codigo);
}

} // namespace

int main() {
    int n = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &n);
    if (!argv || n < 3) return 2;
    const bool dentro = std::wstring(argv[1]) == L"--dentro";
    const int primero = dentro ? 2 : 1;
    if (n < primero + 2) return 2;
    const std::wstring salida = argv[primero];
    const std::wstring programa = argv[primero + 1];
    std::vector<std::wstring> args(argv + primero + 2, argv + n);
    if (dentro) return enLaConsola(salida, programa, args);

    std::vector<std::wstring> todos{L"--dentro", salida, programa};
    todos.insert(todos.end(), args.begin(), args.end());
    wchar_t propio[MAX_PATH];
    GetModuleFileNameW(nullptr, propio, MAX_PATH);
    return static_cast<int>(ejecutar(lineaDeOrdenes(propio, todos), CREATE_NEW_CONSOLE));
}
