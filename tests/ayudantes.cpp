#include "ayudantes.h"

#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace pontavia::prueba {

namespace {

fs::path carpetaNueva() {
    std::string plantilla = (fs::temp_directory_path() / "pontavia-prueba-XXXXXX").string();
    if (!::mkdtemp(plantilla.data())) throw std::runtime_error("mkdtemp");
    return plantilla;
}

std::string comillas(const std::string& s) {
    std::string r = "'";
    for (char c : s)
        r += (c == '\'') ? std::string("'\\''") : std::string(1, c);
    return r + "'";
}

} // namespace

KTEMPTemporal::KTEMPTemporal() : ruta_(carpetaNueva()) {
    ::setenv("PONTAVIA_KTEMP", ruta_.c_str(), 1);
}
KTEMPTemporal::~KTEMPTemporal() {
    ::unsetenv("PONTAVIA_KTEMP");
    std::error_code ec;
    fs::remove_all(ruta_, ec);
}

CarpetaTemporal::CarpetaTemporal() : ruta_(carpetaNueva()) {}
CarpetaTemporal::~CarpetaTemporal() {
    std::error_code ec;
    fs::remove_all(ruta_, ec);
}

LocaleTemporal::LocaleTemporal(const char* nombre) {
    anterior_ = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, nombre))
        throw std::runtime_error(std::string("falta la configuración regional ") + nombre);
}
LocaleTemporal::~LocaleTemporal() {
    std::setlocale(LC_ALL, anterior_.c_str());
}

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
    TablaDBase t = TablaDBase::abrir(ruta);
    std::vector<Fila> filas;
    for (t.First(); !t.Eof(); t.Next()) {
        Fila f;
        for (const auto& c : t.formato().campos)
            f[c.nombre] = t.leerTexto(NombreCampo::deTexto(c.nombre));
        filas.push_back(std::move(f));
    }
    return filas;
}

std::vector<std::string> camposDe(const fs::path& ruta) {
    TablaDBase t = TablaDBase::abrir(ruta);
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

std::map<std::string, std::string> instantanea(const fs::path& carpeta) {
    std::map<std::string, std::string> archivos;
    for (const auto& e : fs::recursive_directory_iterator(carpeta))
        archivos[fs::relative(e.path(), carpeta).string()] =
            e.is_regular_file() ? leerArchivo(e.path()) : std::string("<carpeta>");
    return archivos;
}

std::map<std::string, std::string> tablasEn(const fs::path& carpeta) {
    std::map<std::string, std::string> tablas;
    for (const auto& e : fs::directory_iterator(carpeta))
        if (e.is_regular_file() && e.path().extension() == ".DBF")
            tablas[e.path().filename().string()] = leerArchivo(e.path());
    return tablas;
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

ComoOtroUsuario::ComoOtroUsuario() {
    if (::geteuid() != 0) return;
    if (::setegid(65534) != 0 || ::seteuid(65534) != 0) throw std::runtime_error("seteuid");
    cambiado_ = true;
}

ComoOtroUsuario::~ComoOtroUsuario() {
    if (!cambiado_) return;
    if (::seteuid(0) != 0 || ::setegid(0) != 0) std::abort();
}

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

} // namespace pontavia::prueba
