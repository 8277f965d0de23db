#include "ayudantes.h"

#include <clocale>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

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
