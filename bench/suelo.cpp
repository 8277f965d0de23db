// The floor of a run, as a process of its own: what reading its input and writing its output
// cost at the least. It parses the VELMORA file with pugixml, then writes each reference file
// (the bytes the run writes) into the output folder with one write, without waiting for the
// disk. A run is measured against this, started afresh like a user's run.
//
// Usage: suelo ARCHIVO.xml CARPETA_SALIDA REFERENCIA...
#include <fcntl.h>
#include <pugixml.hpp>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

bool copiarDeUnaVez(const char* origen, const std::filesystem::path& destino) {
    const int in = ::open(origen, O_RDONLY);
    if (in < 0) return false;
    struct stat st {};
    if (::fstat(in, &st) != 0) return false;
    const auto n = static_cast<std::size_t>(st.st_size);
    void* datos = n ? ::mmap(nullptr, n, PROT_READ, MAP_PRIVATE, in, 0) : nullptr;
    ::close(in);
    if (n && datos == MAP_FAILED) return false;
    const int out = ::open(destino.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0) return false;
    const bool bien = n == 0 || ::write(out, datos, n) == static_cast<ssize_t>(n);
    ::close(out);
    if (n) ::munmap(datos, n);
    return bien;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("Uso: suelo ARCHIVO.xml CARPETA_SALIDA REFERENCIA...\n", stderr);
        return 1;
    }
    pugi::xml_document doc;
    if (!doc.load_file(argv[1], pugi::parse_default | pugi::parse_declaration)) return 1;
    const std::filesystem::path salida(argv[2]);
    for (int i = 3; i < argc; ++i)
        if (!copiarDeUnaVez(argv[i], salida / std::filesystem::path(argv[i]).filename())) return 1;
    return 0;
}
