// The system seam on Linux and other POSIX systems.
#include "sistema.h"

#include "sanitizador.h"

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pontavia::sistema {

fs::path ruta(std::string_view utf8) {
    return fs::path(utf8);
}

int ultimoError() {
    return errno;
}
std::string textoError(int codigo) {
    return std::strerror(codigo);
}
int errorDiscoLleno() {
    return ENOSPC;
}
int errorEntradaSalida() {
    return EIO;
}
void fijarError(int codigo) {
    errno = codigo;
}
bool enUsoPorOtro(int codigo) {
    return codigo == EBUSY || codigo == ETXTBSY || codigo == EWOULDBLOCK;
}

Archivo::~Archivo() {
    if (nativo_ >= 0) ::close(nativo_);
}

Archivo::Archivo(Archivo&& otro) noexcept : nativo_(otro.nativo_) {
    otro.nativo_ = kCerrado;
}

Archivo& Archivo::operator=(Archivo&& otro) noexcept {
    if (this != &otro) {
        if (nativo_ >= 0) ::close(nativo_);
        nativo_ = otro.nativo_;
        otro.nativo_ = kCerrado;
    }
    return *this;
}

bool Archivo::abierto() const {
    return nativo_ >= 0;
}

long long Archivo::escribir(const char* datos, std::size_t n) {
    for (;;) {
        const ssize_t escrito = ::write(nativo_, datos, n);
        if (escrito < 0 && errno == EINTR) continue;
        return escrito;
    }
}

bool Archivo::vaciar() {
    return ::fsync(nativo_) == 0;
}

bool Archivo::cerrar() {
    const int r = ::close(nativo_);
    nativo_ = kCerrado;
    return r == 0;
}

Archivo::Lectura Archivo::leerTodo(std::string& datos) const {
    struct stat st {};
    if (::fstat(nativo_, &st) != 0) return Lectura::Fallo;
    if (!S_ISREG(st.st_mode)) return Lectura::NoEsArchivo;
    datos.assign(static_cast<std::size_t>(st.st_size), '\0');
    std::size_t leidos = 0;
    while (leidos < datos.size()) {
        const ssize_t n = ::pread(nativo_, datos.data() + leidos, datos.size() - leidos,
                                  static_cast<off_t>(leidos));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Lectura::Fallo;
        if (n == 0) break;
        leidos += static_cast<std::size_t>(n);
    }
    datos.resize(leidos);
    return Lectura::Leido;
}

Archivo crearJunto(const fs::path& destino, fs::path& creado) {
    std::string plantilla =
        (destino.parent_path() / ("." + destino.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(plantilla.data());
    if (fd >= 0) {
        // Keep the usual permissions of a new file rather than mkstemp's private ones.
        const mode_t mascara = ::umask(0);
        ::umask(mascara);
        ::fchmod(fd, 0666 & ~mascara);
        creado = plantilla;
    }
    return Archivo(fd);
}

Archivo abrirExclusivo(const fs::path& ruta, Retencion& resultado) {
    const int fd = ::open(ruta.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        resultado = Retencion::NoAbre;
        return Archivo();
    }
    // An advisory lock: Tamberlo's engine takes the same on the tables it has open.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int e = errno;
        ::close(fd);
        errno = e;
        resultado = e == EWOULDBLOCK ? Retencion::EnUso : Retencion::NoBloquea;
        return Archivo();
    }
    resultado = Retencion::Tomada;
    return Archivo(fd);
}

bool reemplazar(const fs::path& desde, const fs::path& hasta) {
    return ::rename(desde.c_str(), hasta.c_str()) == 0;
}

bool borrar(const fs::path& ruta) {
    return ::unlink(ruta.c_str()) == 0;
}

bool enlazar(const fs::path& existente, const fs::path& nuevo) {
    return ::link(existente.c_str(), nuevo.c_str()) == 0;
}

bool borrarCarpeta(const fs::path& carpeta) {
    std::error_code ec;
    fs::remove_all(carpeta, ec);
    if (ec) errno = ec.value();
    return !ec;
}

Archivo retenerEnUso(const Archivo& abierto, const fs::path& ruta) {
    const int fd = abierto.nativo();
    if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) return Archivo();
    // Still the entry of that name: another run may have removed it before the lock.
    struct stat retenido {};
    struct stat nombrado {};
    if (::fstat(fd, &retenido) != 0 || ::lstat(ruta.c_str(), &nombrado) != 0 ||
        retenido.st_dev != nombrado.st_dev || retenido.st_ino != nombrado.st_ino)
        return Archivo();
    // The same open file: the lock outlives the descriptor it was taken on.
    return Archivo(::fcntl(fd, F_DUPFD_CLOEXEC, 0));
}

Archivo abrirCarpeta(const fs::path& carpeta) {
    return Archivo(::open(carpeta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

void retirarSiAbandonado(const fs::path& ruta) {
    Archivo entrada(::open(ruta.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (!entrada.abierto()) return;
    struct stat st {};
    // Held by the lock until removed: a live run cannot take it in between.
    if (::flock(entrada.nativo(), LOCK_EX | LOCK_NB) != 0 || ::fstat(entrada.nativo(), &st) != 0)
        return;
    if (S_ISDIR(st.st_mode))
        borrarCarpeta(ruta);
    else if (S_ISREG(st.st_mode))
        borrar(ruta);
}

Archivo retenerAbandonada(const fs::path& carpeta) {
    Archivo entrada(::open(carpeta.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!entrada.abierto() || ::flock(entrada.nativo(), LOCK_EX | LOCK_NB) != 0) return Archivo();
    return entrada;
}

fs::path nombreEnCarpeta(const fs::path& ruta) {
    return ruta;
}

fs::path crearCarpetaUnica(const fs::path& base, std::string_view prefijo) {
    std::string plantilla = (base / (std::string(prefijo) + "XXXXXX")).string();
    if (!::mkdtemp(plantilla.data())) return {};
    return plantilla;
}

bool crearCarpeta(const fs::path& carpeta) {
    return ::mkdir(carpeta.c_str(), 0777) == 0;
}

namespace {

// fsync of what ruta names, opened with flags; errno is fsync's or open's.
bool vaciarAbierto(const fs::path& ruta, int flags) {
    Archivo abierto(::open(ruta.c_str(), flags | O_CLOEXEC));
    if (!abierto.abierto()) return false;
    if (::fsync(abierto.nativo()) != 0) return false;
    return abierto.cerrar();
}

} // namespace

bool vaciarArchivo(const fs::path& ruta) {
    return vaciarAbierto(ruta, O_RDONLY);
}

bool vaciarEntradas(const fs::path& carpeta) {
    return vaciarAbierto(carpeta, O_RDONLY | O_DIRECTORY);
}

fs::path carpetaKTEMPPredeterminada() {
    return "/KTEMP";
}

const char* descripcionCarpetaKTEMP() {
    return "/KTEMP";
}

std::string variableEntorno(const char* nombre) {
    const char* valor = std::getenv(nombre);
    return valor ? valor : "";
}

fs::path carpetaDelEjecutable() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return fs::current_path();
    return exe.parent_path();
}

std::tm ahoraLocal() {
    const std::time_t ahora = std::time(nullptr);
    std::tm local{};
    localtime_r(&ahora, &local);
    return local;
}

std::string fechaHoraLocal() {
    const std::tm local = ahoraLocal();
    char buf[128];
    const std::size_t n = std::strftime(buf, sizeof buf, "%x %X", &local);
    return std::string(buf, n);
}

char separadorDecimal() {
    const std::lconv* lc = std::localeconv();
    return (lc && lc->decimal_point && lc->decimal_point[0]) ? lc->decimal_point[0] : '.';
}

std::vector<std::string> argumentos(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

// A large school's run spends a third of its time giving fresh 4 KiB pages to the allocator.
// glibc takes them in huge pages where the system allows it on request (its tunable
// glibc.malloc.hugetlb), but reads its tunables only when a process starts: the program starts
// itself again, once, with the tunable set. That second start costs a few milliseconds, which
// only a large input pays back. Nothing is done when the system gives no huge pages, under a
// sanitizer (which has its own allocator), or when the tunable is set already; when the new
// start fails, the run goes on as it is.
void prepararMemoria(char** argv, std::uintmax_t bytesEntrada) {
#if defined(__GLIBC__) && !defined(PONTAVIA_CON_SANITIZADOR)
    constexpr std::uintmax_t kEntradaGrande = std::uintmax_t{2} << 20;
    if (bytesEntrada < kEntradaGrande) return;
    constexpr const char* kVariable = "GLIBC_TUNABLES";
    constexpr const char* kAjuste = "glibc.malloc.hugetlb=1";
    const char* previo = std::getenv(kVariable);
    const std::string antes = previo ? previo : "";
    if (antes.find("glibc.malloc.hugetlb") != std::string::npos) return;
    std::ifstream modo("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string linea;
    if (!std::getline(modo, linea) || linea.find("[never]") != std::string::npos) return;
    // By its own name, which the new start keeps as the process's (/proc/self/exe would make
    // it "exe" to ps and top).
    std::error_code error;
    const fs::path propio = fs::read_symlink("/proc/self/exe", error);
    if (error) return;
    const std::string valor = antes.empty() ? kAjuste : antes + ":" + kAjuste;
    if (::setenv(kVariable, valor.c_str(), 1) != 0) return;
    ::execv(propio.c_str(), argv);
    if (previo)
        ::setenv(kVariable, antes.c_str(), 1);
    else
        ::unsetenv(kVariable);
#else
    (void)argv;
    (void)bytesEntrada;
#endif
}

void prepararConsola() {}

} // namespace pontavia::sistema
