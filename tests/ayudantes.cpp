#include "ayudantes.h"

#include "esquema_tamberlo.h"
#include "informe.h"
#include "registro_conjunto.h"
#include "sistema.h"

#include <cerrno>
#include <chrono>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <stdexcept>
#include <thread>
#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace pontavia::prueba {

namespace {

fs::path carpetaNueva() {
    const fs::path carpeta =
        sistema::crearCarpetaUnica(fs::temp_directory_path(), "pontavia-prueba-");
    if (carpeta.empty()) throw std::runtime_error("no se pudo crear una carpeta temporal");
    return carpeta;
}

#ifdef _WIN32
// One argument of a Windows command line, as CommandLineToArgvW reads it back.
std::wstring comillas(const std::wstring& s) {
    std::wstring r = L"\"";
    std::size_t barras = 0;
    for (wchar_t c : s) {
        if (c == L'\\') {
            ++barras;
            continue;
        }
        r.append(c == L'"' ? 2 * barras + 1 : barras, L'\\');
        barras = 0;
        r += c;
    }
    r.append(2 * barras, L'\\');
    return r + L"\"";
}
#else
std::string comillas(const std::string& s) {
    std::string r = "'";
    for (char c : s)
        r += (c == '\'') ? std::string("'\\''") : std::string(1, c);
    return r + "'";
}
#endif

} // namespace

void fijarVariable(const char* nombre, const std::string& valor) {
#ifdef _WIN32
    const std::wstring n = fs::path(sistema::ruta(nombre)).wstring();
    const std::wstring v = sistema::ruta(valor).wstring();
    ::SetEnvironmentVariableW(n.c_str(), valor.empty() ? nullptr : v.c_str());
#else
    if (valor.empty())
        ::unsetenv(nombre);
    else
        ::setenv(nombre, valor.c_str(), 1);
#endif
}

KTEMPTemporal::KTEMPTemporal() : ruta_(carpetaNueva()) {
    fijarVariable("PONTAVIA_KTEMP", ruta_.string());
}
KTEMPTemporal::~KTEMPTemporal() {
    fijarVariable("PONTAVIA_KTEMP", "");
    std::error_code ec;
    fs::remove_all(ruta_, ec);
}

CarpetasConEspaciosYEnes::CarpetasConEspaciosYEnes()
    : datos_(tmp_.ruta() / sistema::ruta("Jefatura de Estudios") /
             sistema::ruta("Horarios 2026-27 (ñ)")),
      ktemp_(tmp_.ruta() / sistema::ruta("Tamberlo año") / "KTEMP") {
    fs::create_directories(datos_);
    fijarVariable("PONTAVIA_KTEMP", ktemp_.string());
    fs::copy_file(sistema::ruta(PONTAVIA_EJEMPLOS) / "centro.xml", datos_ / "centro.xml");
}

CarpetasConEspaciosYEnes::~CarpetasConEspaciosYEnes() {
    fijarVariable("PONTAVIA_KTEMP", "");
}

CarpetaTemporal::CarpetaTemporal() : ruta_(carpetaNueva()) {}
CarpetaTemporal::~CarpetaTemporal() {
    std::error_code ec;
    fs::remove_all(ruta_, ec);
}

#ifdef _WIN32
LocaleTemporal::LocaleTemporal(const char* nombre) {
    const std::string n = nombre;
    const LCID lcid =
        n == "C" ? LOCALE_INVARIANT
                 : ::LocaleNameToLCID(
                       sistema::ruta(n.substr(0, n.find('.')) == "es_ES" ? "es-ES" : n).c_str(), 0);
    if (lcid == 0) throw std::runtime_error("falta la configuración regional " + n);
    hiloAnterior_ = ::GetThreadLocale();
    ::SetThreadLocale(lcid);
}
LocaleTemporal::~LocaleTemporal() {
    ::SetThreadLocale(static_cast<LCID>(hiloAnterior_));
}
#else
LocaleTemporal::LocaleTemporal(const char* nombre) {
    anterior_ = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, nombre))
        throw std::runtime_error(std::string("falta la configuración regional ") + nombre);
}
LocaleTemporal::~LocaleTemporal() {
    std::setlocale(LC_ALL, anterior_.c_str());
}
#endif

void escribirArchivo(const fs::path& ruta, const std::string& bytes) {
    std::ofstream f(ruta, std::ios::binary);
    f << bytes;
}

std::string leerArchivo(const fs::path& ruta) {
    std::ifstream f(ruta, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

std::vector<Fila> leerTabla(const fs::path& ruta) {
    TablaDBase t = TablaDBase::abrir(ruta, Durable::Si, discoDelSistema());
    std::vector<Fila> filas;
    for (t.primero(); !t.alFinal(); t.siguiente()) {
        Fila f;
        for (const auto& c : t.formato().campos)
            f[c.nombre] = t.leerTexto(NombreCampo::deTexto(c.nombre));
        filas.push_back(std::move(f));
    }
    return filas;
}

std::vector<std::string> camposDe(const fs::path& ruta) {
    TablaDBase t = TablaDBase::abrir(ruta, Durable::Si, discoDelSistema());
    std::vector<std::string> nombres;
    for (const auto& c : t.formato().campos)
        nombres.push_back(c.nombre);
    return nombres;
}

std::vector<std::string> columna(const fs::path& ruta, const std::string& campo) {
    std::vector<std::string> valores;
    for (const auto& f : leerTabla(ruta))
        valores.push_back(f.at(campo));
    return valores;
}

std::map<std::string, std::string> sinFecha(std::map<std::string, std::string> foto) {
    for (auto& [ruta, bytes] : foto) {
        const auto nombre = fs::path(ruta).filename();
        // The record of a set says when it was exported too.
        const bool registro = nombre == kRegistroConjunto;
        if (nombre != kNombreInforme && nombre != kNombreInformeImportar && !registro) continue;
        const auto inicio = bytes.find(registro ? "exportado\t" : "Fecha: ");
        if (inicio != std::string::npos) bytes.erase(inicio, bytes.find('\n', inicio) - inicio);
    }
    return foto;
}

std::map<std::string, std::string> instantanea(const fs::path& carpeta) {
    std::map<std::string, std::string> archivos;
    for (const auto& e : fs::recursive_directory_iterator(carpeta))
        archivos[fs::relative(e.path(), carpeta).string()] =
            e.is_regular_file() ? leerArchivo(e.path()) : std::string("<carpeta>");
    return archivos;
}

void reponer(const fs::path& carpeta, const std::map<std::string, std::string>& foto) {
    for (const auto& e : fs::directory_iterator(carpeta))
        fs::remove_all(e.path());
    for (const auto& [ruta, bytes] : foto) {
        if (bytes == "<carpeta>") {
            fs::create_directories(carpeta / ruta);
        } else {
            fs::create_directories((carpeta / ruta).parent_path());
            escribirArchivo(carpeta / ruta, bytes);
        }
    }
}

std::map<std::string, std::string> tablasEn(const fs::path& carpeta) {
    std::map<std::string, std::string> tablas;
    for (const auto& e : fs::directory_iterator(carpeta))
        if (e.is_regular_file() && e.path().extension() == ".DBF")
            tablas[e.path().filename().string()] = leerArchivo(e.path());
    return tablas;
}

std::vector<std::string> nombresExportados() {
    std::vector<std::string> nombres;
    for (const VistaTabla& t : tamberlo::kTablasTamberlo)
        if (t.exportada()) nombres.push_back(t.nombre);
    return nombres;
}

std::string documento(const std::string& interior) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<centro codigo_interno=\"1\" nombre=\"IES Prueba\" curso=\"2026/2027\" "
           "version=\"1\">" +
           interior + "</centro>\n";
}

static void le(std::string& d, std::size_t pos, std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i, v >>= 8)
        d[pos + static_cast<std::size_t>(i)] = static_cast<char>(v & 0xFF);
}

std::string tablaBytes(std::uint8_t version, const std::vector<CampoBytes>& campos,
                       const std::vector<std::string>& registros, std::uint8_t idioma,
                       long cuentaCabecera, const std::string& driver) {
    const bool n7 = version == 0x04;
    const std::size_t base = n7 ? 68 : 32, desc = n7 ? 48 : 32;
    std::size_t lreg = 1;
    for (auto& c : campos)
        lreg += static_cast<std::size_t>(c.ancho);
    const std::size_t vinculo = version == 0x30 ? 263 : 0;
    std::string d(base + desc * campos.size() + 1 + vinculo, '\0');
    d[0] = static_cast<char>(version);
    d[1] = 126, d[2] = 1, d[3] = 2;
    le(d, 4,
       static_cast<std::uint32_t>(cuentaCabecera < 0 ? (long)registros.size() : cuentaCabecera), 4);
    le(d, 8, static_cast<std::uint32_t>(d.size()), 2);
    le(d, 10, static_cast<std::uint32_t>(lreg), 2);
    d[29] = static_cast<char>(idioma);
    if (n7) d.replace(32, driver.size(), driver);
    std::size_t pos = base;
    for (auto& c : campos) {
        d.replace(pos, c.nombre.size(), c.nombre);
        d[pos + (n7 ? 32 : 11)] = c.tipo;
        d[pos + (n7 ? 33 : 16)] = static_cast<char>(c.ancho);
        d[pos + (n7 ? 34 : 17)] = static_cast<char>(c.decimales);
        if (!n7) d[pos + 18] = static_cast<char>(c.banderas);
        pos += desc;
    }
    d[pos] = 0x0D;
    for (auto& r : registros) {
        EXPECT_EQ(r.size(), lreg);
        d += r;
    }
    return d + "\x1A";
}

#ifndef _WIN32
ComoOtroUsuario::ComoOtroUsuario() {
    if (::geteuid() != 0) return;
    if (::setegid(65534) != 0 || ::seteuid(65534) != 0) throw std::runtime_error("seteuid");
    cambiado_ = true;
}

ComoOtroUsuario::~ComoOtroUsuario() {
    if (!cambiado_) return;
    if (::seteuid(0) != 0 || ::setegid(0) != 0) std::abort();
}
#endif

#ifdef _WIN32
ResultadoCLI ejecutarCLI(const std::vector<std::string>& argumentos) {
    CarpetaTemporal tmp;
    std::wstring orden = comillas(sistema::ruta(PONTAVIA_CLI).wstring());
    for (const auto& a : argumentos)
        orden += L" " + comillas(sistema::ruta(a).wstring());
    SECURITY_ATTRIBUTES heredable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    auto salida = [&](const char* nombre) {
        return ::CreateFileW((tmp / nombre).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &heredable,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    STARTUPINFOW inicio{};
    inicio.cb = sizeof inicio;
    inicio.dwFlags = STARTF_USESTDHANDLES;
    inicio.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    inicio.hStdOutput = salida("salida");
    inicio.hStdError = salida("errores");
    PROCESS_INFORMATION proceso{};
    ResultadoCLI r;
    r.codigo = -1;
    if (::CreateProcessW(nullptr, orden.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                         &inicio, &proceso)) {
        ::WaitForSingleObject(proceso.hProcess, INFINITE);
        DWORD codigo = 0;
        ::GetExitCodeProcess(proceso.hProcess, &codigo);
        r.codigo = static_cast<int>(codigo);
        ::CloseHandle(proceso.hThread);
        ::CloseHandle(proceso.hProcess);
    }
    ::CloseHandle(inicio.hStdOutput);
    ::CloseHandle(inicio.hStdError);
    r.salida = leerArchivo(tmp / "salida");
    r.errores = leerArchivo(tmp / "errores");
    return r;
}

int ejecutarPrograma(const std::string& programa, const std::vector<std::string>& argumentos) {
    std::wstring orden = comillas(sistema::ruta(programa).wstring());
    for (const auto& a : argumentos)
        orden += L" " + comillas(sistema::ruta(a).wstring());
    STARTUPINFOW inicio{};
    inicio.cb = sizeof inicio;
    PROCESS_INFORMATION proceso{};
    if (!::CreateProcessW(nullptr, orden.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &inicio, &proceso))
        return -1;
    ::WaitForSingleObject(proceso.hProcess, INFINITE);
    DWORD codigo = 0;
    ::GetExitCodeProcess(proceso.hProcess, &codigo);
    ::CloseHandle(proceso.hThread);
    ::CloseHandle(proceso.hProcess);
    return static_cast<int>(codigo);
}

TablaRetenida::TablaRetenida(const fs::path& tabla, int milisegundos) {
    const fs::path senal = tabla.wstring() + L".retenida";
    std::wstring orden = comillas(sistema::ruta(PONTAVIA_RETENER).wstring()) + L" " +
                         comillas(fs::absolute(tabla).wstring()) + L" " +
                         std::to_wstring(milisegundos);
    STARTUPINFOW inicio{};
    inicio.cb = sizeof inicio;
    PROCESS_INFORMATION proceso{};
    if (::CreateProcessW(nullptr, orden.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &inicio, &proceso)) {
        ::CloseHandle(proceso.hThread);
        proceso_ = proceso.hProcess;
    }
    for (int i = 0; i < 1000 && !fs::exists(senal); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(fs::exists(senal));
    std::error_code ec;
    fs::remove(senal, ec);
}

TablaRetenida::~TablaRetenida() {
    if (!proceso_) return;
    ::TerminateProcess(proceso_, 0);
    ::WaitForSingleObject(proceso_, INFINITE);
    ::CloseHandle(proceso_);
}
#else
ResultadoCLI ejecutarCLI(const std::vector<std::string>& argumentos) {
    CarpetaTemporal tmp;
    std::string orden = comillas(PONTAVIA_CLI);
    for (const auto& a : argumentos)
        orden += " " + comillas(a);
    orden +=
        " >" + comillas((tmp / "salida").string()) + " 2>" + comillas((tmp / "errores").string());
    const int estado = std::system(orden.c_str());
    ResultadoCLI r;
    r.codigo = WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
    r.salida = leerArchivo(tmp / "salida");
    r.errores = leerArchivo(tmp / "errores");
    return r;
}

int ejecutarPrograma(const std::string& programa, const std::vector<std::string>& argumentos) {
    std::vector<char*> args{const_cast<char*>(programa.c_str())};
    for (const auto& a : argumentos)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        ::execv(programa.c_str(), args.data());
        ::_exit(127);
    }
    int estado = 0;
    while (::waitpid(pid, &estado, 0) < 0)
        if (errno != EINTR) return -1;
    return WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
}

TablaRetenida::TablaRetenida(const fs::path& tabla, int milisegundos) : tabla_(tabla) {
    const auto senal = tabla.string() + ".retenida";
    pid_ = ::fork();
    if (pid_ == 0) {
        ::setpgid(0, 0); // flock's shell and sleep inherit the lock: all go together
        const std::string orden =
            "touch '" + senal + "'; exec sleep " + std::to_string(milisegundos / 1000) + "." +
            std::to_string(milisegundos % 1000 / 100) + std::to_string(milisegundos % 100 / 10) +
            std::to_string(milisegundos % 10);
        ::execlp("flock", "flock", "-x", tabla.c_str(), "-c", orden.c_str(),
                 static_cast<char*>(nullptr));
        ::_exit(127);
    }
    for (int i = 0; i < 500 && !fs::exists(senal); ++i)
        ::usleep(10'000);
    EXPECT_TRUE(fs::exists(senal));
    fs::remove(senal);
}

TablaRetenida::~TablaRetenida() {
    ::kill(-pid_, SIGTERM);
    int estado = 0;
    ::waitpid(pid_, &estado, 0);
    // flock's shell and sleep may outlive it by a moment, holding the lock: the table is free
    // only once it can be taken.
    for (int i = 0; i < 500; ++i) {
        const int fd = ::open(tabla_.c_str(), O_RDONLY | O_CLOEXEC);
        const bool libre = fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        if (fd >= 0) ::close(fd);
        if (libre) return;
        ::usleep(10'000);
    }
}
#endif

std::vector<AvisoLeido> avisosLeidos(const InformeLeido& informe) {
    // RFC 4180 as the report writes it: a quoted cell doubles its quotes, rows end in CRLF.
    const std::string csv = informe.csv();
    std::vector<std::vector<std::string>> filas(1);
    std::string celda;
    bool citada = false;
    for (std::size_t i = 0; i < csv.size(); ++i) {
        const char c = csv[i];
        if (citada) {
            if (c != '"')
                celda += c;
            else if (i + 1 < csv.size() && csv[i + 1] == '"')
                celda += csv[++i];
            else
                citada = false;
        } else if (c == '"') {
            citada = true;
        } else if (c == ',') {
            filas.back().push_back(std::move(celda));
            celda.clear();
        } else if (c == '\r' && i + 1 < csv.size() && csv[i + 1] == '\n') {
            filas.back().push_back(std::move(celda));
            celda.clear();
            filas.emplace_back();
            ++i;
        } else {
            celda += c;
        }
    }
    std::vector<AvisoLeido> avisos;
    for (std::size_t f = 1; f < filas.size(); ++f) {
        if (filas[f].empty()) continue; // after the last CRLF
        EXPECT_EQ(filas[f].size(), 7u) << "fila " << f << " del CSV del informe";
        filas[f].resize(7);
        const auto& v = filas[f];
        avisos.push_back({v[0], v[1], v[2], v[3], v[4], v[5], v[6]});
    }
    return avisos;
}

} // namespace pontavia::prueba
