// The system seam on Windows: wide-character calls throughout, so that any name works.
#include "sistema.h"

#include <windows.h>

#include <algorithm>
#include <ctime>
#include <random>
#include <shellapi.h>

namespace pontavia::sistema {

namespace {

std::wstring ancho(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int n =
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring r(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), r.data(), n);
    return r;
}

std::string utf8(std::wstring_view texto) {
    if (texto.empty()) return {};
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, texto.data(), static_cast<int>(texto.size()),
                                        nullptr, 0, nullptr, nullptr);
    std::string r(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, texto.data(), static_cast<int>(texto.size()), r.data(), n,
                          nullptr, nullptr);
    return r;
}

// The locale of the regional formats: the thread's, which is the user's own (with the changes
// the user made to it) unless the thread was given another.
const wchar_t* localeDelHilo(wchar_t (&nombre)[LOCALE_NAME_MAX_LENGTH]) {
    const LCID hilo = ::GetThreadLocale();
    if (hilo == ::GetUserDefaultLCID() ||
        ::LCIDToLocaleName(hilo, nombre, LOCALE_NAME_MAX_LENGTH, 0) == 0)
        return LOCALE_NAME_USER_DEFAULT;
    return nombre;
}

HANDLE h(Archivo::Nativo n) {
    return static_cast<HANDLE>(n);
}

// A name's unique ending, as mkstemp makes one.
std::string terminacionUnica() {
    static const char letras[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static thread_local std::minstd_rand azar(
        static_cast<unsigned>(::GetTickCount64() ^ ::GetCurrentProcessId()));
    std::string r(6, ' ');
    for (char& c : r)
        c = letras[azar() % (sizeof letras - 1)];
    return r;
}

} // namespace

fs::path ruta(std::string_view utf8texto) {
    return fs::path(ancho(utf8texto));
}

int ultimoError() {
    return static_cast<int>(::GetLastError());
}

std::string textoError(int codigo) {
    wchar_t* texto = nullptr;
    const DWORD n = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(codigo), 0, reinterpret_cast<wchar_t*>(&texto), 0, nullptr);
    if (n == 0 || !texto) return "error " + std::to_string(codigo);
    std::wstring_view t(texto, n);
    // The system's sentence ends with a period and a line end; the caller adds its own.
    while (!t.empty() &&
           (t.back() == L'\n' || t.back() == L'\r' || t.back() == L' ' || t.back() == L'.'))
        t.remove_suffix(1);
    std::string r = utf8(t);
    ::LocalFree(texto);
    return r;
}

int errorDiscoLleno() {
    return ERROR_DISK_FULL;
}

int errorEntradaSalida() {
    return ERROR_IO_DEVICE;
}

void fijarError(int codigo) {
    ::SetLastError(static_cast<DWORD>(codigo));
}
bool enUsoPorOtro(int codigo) {
    return codigo == ERROR_SHARING_VIOLATION || codigo == ERROR_LOCK_VIOLATION;
}

Archivo::~Archivo() {
    if (abierto()) ::CloseHandle(h(nativo_));
}

Archivo::Archivo(Archivo&& otro) noexcept : nativo_(otro.nativo_) {
    otro.nativo_ = kCerrado;
}

Archivo& Archivo::operator=(Archivo&& otro) noexcept {
    if (this != &otro) {
        if (abierto()) ::CloseHandle(h(nativo_));
        nativo_ = otro.nativo_;
        otro.nativo_ = kCerrado;
    }
    return *this;
}

bool Archivo::abierto() const {
    return nativo_ != kCerrado;
}

long long Archivo::escribir(const char* datos, std::size_t n) {
    DWORD escrito = 0;
    const DWORD pedido = static_cast<DWORD>(std::min<std::size_t>(n, 1u << 30));
    if (!::WriteFile(h(nativo_), datos, pedido, &escrito, nullptr)) return -1;
    return escrito;
}

bool Archivo::vaciar() {
    return ::FlushFileBuffers(h(nativo_)) != 0;
}

bool Archivo::cerrar() {
    const bool bien = ::CloseHandle(h(nativo_)) != 0;
    nativo_ = kCerrado;
    return bien;
}

Archivo::Lectura Archivo::leerTodo(std::string& datos) const {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(h(nativo_), &info)) return Lectura::Fallo;
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return Lectura::NoEsArchivo;
    const unsigned long long tamano =
        (static_cast<unsigned long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    datos.assign(static_cast<std::size_t>(tamano), '\0');
    std::size_t leidos = 0;
    while (leidos < datos.size()) {
        OVERLAPPED posicion{};
        posicion.Offset = static_cast<DWORD>(leidos & 0xFFFFFFFFu);
        posicion.OffsetHigh = static_cast<DWORD>(static_cast<unsigned long long>(leidos) >> 32);
        DWORD n = 0;
        const DWORD pedido =
            static_cast<DWORD>(std::min<std::size_t>(datos.size() - leidos, 1u << 30));
        if (!::ReadFile(h(nativo_), datos.data() + leidos, pedido, &n, &posicion)) {
            if (::GetLastError() == ERROR_HANDLE_EOF) break;
            return Lectura::Fallo;
        }
        if (n == 0) break;
        leidos += n;
    }
    datos.resize(leidos);
    return Lectura::Leido;
}

Archivo crearJunto(const fs::path& destino, fs::path& creado) {
    const std::wstring prefijo = L"." + destino.filename().wstring() + L".";
    for (int intento = 0; intento < 100; ++intento) {
        const fs::path candidato = destino.parent_path() / (prefijo + ancho(terminacionUnica()));
        HANDLE a = ::CreateFileW(candidato.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                 CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (a != INVALID_HANDLE_VALUE) {
            creado = candidato;
            return Archivo(a);
        }
        if (::GetLastError() != ERROR_FILE_EXISTS) break;
    }
    return Archivo();
}

Archivo abrirExclusivo(const fs::path& ruta, Retencion& resultado) {
    // Others may read while we hold it, none may write: the share mode is the lock that every
    // Windows program meets, LockFileEx the one that dBase engines take on their tables.
    HANDLE a = ::CreateFileW(ruta.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (a == INVALID_HANDLE_VALUE) {
        const DWORD e = ::GetLastError();
        resultado = (e == ERROR_SHARING_VIOLATION || e == ERROR_LOCK_VIOLATION) ? Retencion::EnUso
                                                                                : Retencion::NoAbre;
        ::SetLastError(e);
        return Archivo();
    }
    Archivo archivo(a);
    OVERLAPPED todo{};
    if (!::LockFileEx(a, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD,
                      &todo)) {
        const DWORD e = ::GetLastError();
        resultado = e == ERROR_LOCK_VIOLATION ? Retencion::EnUso : Retencion::NoBloquea;
        archivo = Archivo();
        ::SetLastError(e);
        return archivo;
    }
    resultado = Retencion::Tomada;
    return archivo;
}

bool reemplazar(const fs::path& desde, const fs::path& hasta) {
    return ::MoveFileExW(desde.c_str(), hasta.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool borrar(const fs::path& ruta) {
    return ::DeleteFileW(ruta.c_str()) != 0;
}

bool enlazar(const fs::path& existente, const fs::path& nuevo) {
    return ::CreateHardLinkW(nuevo.c_str(), existente.c_str(), nullptr) != 0;
}

bool borrarCarpeta(const fs::path& carpeta) {
    std::error_code ec;
    fs::remove_all(carpeta, ec);
    if (ec) ::SetLastError(static_cast<DWORD>(ec.value()));
    return !ec;
}

Archivo retenerEnUso(const Archivo& abierto, const fs::path&) {
    // A handle that shares no deletion is the hold: no other run can remove the entry while
    // it is open. Its copy keeps it once the handle it was taken on closes.
    HANDLE copia = nullptr;
    if (!abierto.abierto() ||
        !::DuplicateHandle(::GetCurrentProcess(), abierto.nativo(), ::GetCurrentProcess(), &copia,
                           0, FALSE, DUPLICATE_SAME_ACCESS))
        return Archivo();
    return Archivo(copia);
}

Archivo abrirCarpeta(const fs::path& carpeta) {
    return Archivo(::CreateFileW(carpeta.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

void retirarSiAbandonado(const fs::path& ruta) {
    const DWORD atributos = ::GetFileAttributesW(ruta.c_str());
    if (atributos == INVALID_FILE_ATTRIBUTES || (atributos & FILE_ATTRIBUTE_REPARSE_POINT)) return;
    // Opened sharing nothing, it fails while a live run keeps its hold on it.
    {
        Archivo prueba(::CreateFileW(ruta.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                     nullptr));
        if (!prueba.abierto()) return;
    }
    if (atributos & FILE_ATTRIBUTE_DIRECTORY)
        borrarCarpeta(ruta);
    else
        borrar(ruta);
}

Archivo retenerAbandonada(const fs::path& carpeta) {
    const DWORD atributos = ::GetFileAttributesW(carpeta.c_str());
    if (atributos == INVALID_FILE_ATTRIBUTES || (atributos & FILE_ATTRIBUTE_REPARSE_POINT) ||
        !(atributos & FILE_ATTRIBUTE_DIRECTORY))
        return Archivo();
    // Opened sharing nothing, it fails while a live run keeps its hold on it; the hold taken
    // then is a live run's own, which lets the files inside move.
    {
        Archivo prueba(::CreateFileW(carpeta.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                     nullptr));
        if (!prueba.abierto()) return Archivo();
    }
    return abrirCarpeta(carpeta);
}

fs::path nombreEnCarpeta(const fs::path& ruta) {
    WIN32_FIND_DATAW dato;
    HANDLE busqueda = ::FindFirstFileW(ruta.c_str(), &dato);
    if (busqueda == INVALID_HANDLE_VALUE) return ruta;
    ::FindClose(busqueda);
    return ruta.parent_path() / dato.cFileName;
}

fs::path crearCarpetaUnica(const fs::path& base, std::string_view prefijo) {
    for (int intento = 0; intento < 100; ++intento) {
        const fs::path candidato = base / ancho(std::string(prefijo) + terminacionUnica());
        if (::CreateDirectoryW(candidato.c_str(), nullptr)) return candidato;
        if (::GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    return {};
}

bool crearCarpeta(const fs::path& carpeta) {
    return ::CreateDirectoryW(carpeta.c_str(), nullptr) != 0;
}

bool vaciarArchivo(const fs::path& ruta) {
    // FlushFileBuffers needs a handle that may write.
    Archivo abierto(::CreateFileW(ruta.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!abierto.abierto()) return false;
    if (!::FlushFileBuffers(h(abierto.nativo()))) return false;
    return abierto.cerrar();
}

bool vaciarEntradas(const fs::path&) {
    // NTFS journals its names, and every move is made with MOVEFILE_WRITE_THROUGH: nothing
    // is left to wait for.
    return true;
}

const char* descripcionCarpetaKTEMP() {
    return "\\KTEMP, en la raíz de la unidad actual";
}

fs::path carpetaKTEMPPredeterminada() {
    std::error_code ec;
    fs::path raiz = fs::current_path(ec).root_path();
    if (ec || raiz.empty()) raiz = L"C:\\";
    return raiz / L"KTEMP";
}

std::string variableEntorno(const char* nombre) {
    const std::wstring n = ancho(nombre);
    const DWORD tamano = ::GetEnvironmentVariableW(n.c_str(), nullptr, 0);
    if (tamano == 0) return {};
    std::wstring valor(tamano, L'\0');
    const DWORD escrito = ::GetEnvironmentVariableW(n.c_str(), valor.data(), tamano);
    valor.resize(escrito);
    return utf8(valor);
}

fs::path carpetaDelEjecutable() {
    std::wstring nombre(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            ::GetModuleFileNameW(nullptr, nombre.data(), static_cast<DWORD>(nombre.size()));
        if (n == 0) return fs::current_path();
        if (n < nombre.size()) {
            nombre.resize(n);
            return fs::path(nombre).parent_path();
        }
        nombre.resize(nombre.size() * 2);
    }
}

std::tm ahoraLocal() {
    const std::time_t ahora = std::time(nullptr);
    std::tm local{};
    ::localtime_s(&local, &ahora);
    return local;
}

std::string fechaHoraLocal() {
    SYSTEMTIME ahora;
    ::GetLocalTime(&ahora);
    wchar_t nombre[LOCALE_NAME_MAX_LENGTH];
    const wchar_t* locale = localeDelHilo(nombre);
    wchar_t fecha[128];
    wchar_t hora[128];
    const int nf = ::GetDateFormatEx(locale, DATE_SHORTDATE, &ahora, nullptr, fecha, 128, nullptr);
    const int nh = ::GetTimeFormatEx(locale, 0, &ahora, nullptr, hora, 128);
    return utf8(std::wstring_view(fecha, nf > 0 ? static_cast<std::size_t>(nf - 1) : 0)) + " " +
           utf8(std::wstring_view(hora, nh > 0 ? static_cast<std::size_t>(nh - 1) : 0));
}

char separadorDecimal() {
    wchar_t nombre[LOCALE_NAME_MAX_LENGTH];
    wchar_t sep[8];
    if (::GetLocaleInfoEx(localeDelHilo(nombre), LOCALE_SDECIMAL, sep, 8) > 1 && sep[0] < 128)
        return static_cast<char>(sep[0]);
    return '.';
}

std::vector<std::string> argumentos(int argc, char** argv) {
    int n = 0;
    wchar_t** lista = ::CommandLineToArgvW(::GetCommandLineW(), &n);
    if (!lista) return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> r;
    for (int i = 0; i < n; ++i)
        r.push_back(utf8(lista[i]));
    ::LocalFree(lista);
    return r;
}

// Windows' heap needs nothing set before it starts.
void prepararMemoria(char**, std::uintmax_t) {}

} // namespace pontavia::sistema
