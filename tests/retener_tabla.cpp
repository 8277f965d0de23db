// A stand-in for Tamberlo holding a table on Windows: opens the file with no sharing, as a
// dBase engine does, locks it whole, creates ARCHIVO.retenida once it holds it and waits to be
// ended, or lets it go after the milliseconds given as a second argument. Arguments arrive as
// UTF-8 through the wide command line.
#include <windows.h>

#include <shellapi.h>
#include <string>

int main() {
    int n = 0;
    wchar_t** args = ::CommandLineToArgvW(::GetCommandLineW(), &n);
    if (!args || n < 2 || n > 3) return 2;
    const DWORD espera = n == 3 ? static_cast<DWORD>(std::stoul(args[2])) : 60'000;
    const std::wstring tabla = args[1];
    HANDLE h = ::CreateFileW(tabla.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 1;
    OVERLAPPED todo{};
    if (!::LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &todo)) return 1;
    HANDLE senal = ::CreateFileW((tabla + L".retenida").c_str(), GENERIC_WRITE, 0, nullptr,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (senal == INVALID_HANDLE_VALUE) return 1;
    ::CloseHandle(senal);
    ::Sleep(espera);
    return 0;
}
