// What a box on the screen says, for the keyboard tests of the Win32 window under Wine (whose
// boxes copy nothing with Ctrl+C): the text of every visible top-level window of the title
// given and of every control in it, one a line, in UTF-8. Exit code 1 when none is showing.
#include <windows.h>

#include <cstdio>
#include <shellapi.h>
#include <string>

namespace {

std::wstring buscado;
bool hallado = false;

void escribir(HWND h) {
    wchar_t texto[8192];
    const auto n = SendMessageW(h, WM_GETTEXT, sizeof texto / sizeof texto[0],
                                reinterpret_cast<LPARAM>(texto));
    if (n <= 0) return;
    char utf8[4 * 8192];
    const int largo = WideCharToMultiByte(CP_UTF8, 0, texto, static_cast<int>(n), utf8,
                                          static_cast<int>(sizeof utf8), nullptr, nullptr);
    std::fwrite(utf8, 1, static_cast<std::size_t>(largo), stdout);
    std::fputc('\n', stdout);
}

BOOL CALLBACK control(HWND h, LPARAM) {
    escribir(h);
    return TRUE;
}

BOOL CALLBACK ventana(HWND h, LPARAM) {
    wchar_t titulo[256];
    if (!IsWindowVisible(h) || GetWindowTextW(h, titulo, 256) <= 0 || buscado != titulo)
        return TRUE;
    hallado = true;
    EnumChildWindows(h, control, 0);
    return TRUE;
}

} // namespace

int main() {
    int n = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &n);
    if (!args || n != 2) return 2;
    buscado = args[1];
    EnumWindows(ventana, 0);
    return hallado ? 0 : 1;
}
