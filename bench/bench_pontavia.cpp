// The two runs, and the floor that reading their input and writing their output sets, at the
// scales bench/run generates (1 is the size of the sample school).
// Usage: bench_pontavia DATOS [Google Benchmark flags]
#include "codigos.h"
#include "documento_xml.h"
#include "escenario.h"
#include "esquema_tamberlo.h"
#include "informe.h"
#include "nucleo.h"
#include "xml_bien_formado.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <limits>
#include <malloc.h>
#include <pugixml.hpp>
#include <unistd.h>

namespace {

using namespace pontavia;
using namespace pontavia::bench;
namespace fs = std::filesystem;

fs::path g_datos;

void porElemento(benchmark::State& state, std::size_t elementos) {
    state.counters["elementos"] = static_cast<double>(elementos);
    // Seconds per element, per iteration.
    state.counters["s_por_elemento"] = benchmark::Counter(
        static_cast<double>(elementos),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The least any program must do to write these bytes durably: one write and one flush.
void escribirUnaVez(const fs::path& ruta, const std::string& bytes) {
    const int fd = ::open(ruta.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
        ::fsync(fd) != 0)
        std::abort();
    ::close(fd);
}

std::string leerUnaVez(const fs::path& ruta) {
    std::ifstream f(ruta, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

// One run, exportar or importar, through the door every front end uses.
using Puerta = void (*)(const fs::path&, const fs::path&, InformeLeido&, Disco&);
template <Puerta Run, std::size_t Escenario::*Elementos>
void CorridaPorLaPuerta(benchmark::State& state) {
    const Escenario& e = escenario(g_datos, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Informe informe;
        Run(e.xml, e.ktemp, informe, discoDelSistema());
    }
    porElemento(state, e.*Elementos);
}

void SueloExportar(benchmark::State& state) {
    const Escenario& e = escenario(g_datos, static_cast<int>(state.range(0)));
    const fs::path salida = e.ktemp / "suelo";
    fs::create_directories(salida);
    for (auto _ : state) {
        pugi::xml_document d;
        benchmark::DoNotOptimize(d.load_file(e.xml.c_str()));
        for (const auto& [nombre, bytes] : e.tablasExportadas)
            escribirUnaVez(salida / (nombre + ".DBF"), bytes);
        escribirUnaVez(salida / "informe.txt", e.informeExportar);
    }
    porElemento(state, e.elementosXML);
}

void SueloImportar(benchmark::State& state) {
    const Escenario& e = escenario(g_datos, static_cast<int>(state.range(0)));
    const fs::path salida = e.ktemp / "suelo";
    fs::create_directories(salida);
    for (auto _ : state) {
        pugi::xml_document d;
        benchmark::DoNotOptimize(d.load_file(e.xml.c_str()));
        // The tables importar reads: the timetable and the four it translates codes with.
        using namespace tamberlo;
        for (const VistaTabla& t :
             std::initializer_list<VistaTabla>{SOLUC, GRUPOST, PROFT, AULAT, ASIGNOMT})
            benchmark::DoNotOptimize(leerUnaVez(e.ktemp / t.archivo()));
        escribirUnaVez(salida / "resultado.xml", e.resultadoImportar);
        escribirUnaVez(salida / "informe.txt", e.informeImportar);
    }
    porElemento(state, e.lecciones);
}

// The loading of VELMORA's file as exportar does it: read, checked for well-formedness (a large
// file on the second core), the tree built.
void LecturaXML(benchmark::State& state) {
    const Escenario& e = escenario(g_datos, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        DocumentoXML d = DocumentoXML::cargarMientrasSeComprueba(e.xml, discoDelSistema());
        d.esperarComprobacion();
        benchmark::DoNotOptimize(d);
    }
    porElemento(state, e.elementosXML);
}

// The same without the check: the file read and the tree built as the loader builds it for
// the generated schools, which are in ISO-8859-1.
void LecturaXMLSinComprobar(benchmark::State& state) {
    const Escenario& e = escenario(g_datos, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const std::string bytes = leerUnaVez(e.xml);
        pugi::xml_document d;
        benchmark::DoNotOptimize(d.load_buffer(bytes.data(), bytes.size(),
                                               pugi::parse_default | pugi::parse_declaration |
                                                   pugi::parse_comments | pugi::parse_pi,
                                               pugi::encoding_latin1));
    }
    porElemento(state, e.elementosXML);
}

// The check alone, over bytes already in memory.
void ComprobacionXML(benchmark::State& state) {
    const Escenario& e = escenario(g_datos, static_cast<int>(state.range(0)));
    const std::string bytes = leerUnaVez(e.xml);
    for (auto _ : state)
        comprobarBienFormado(bytes, "ISO-8859-1", e.xml.string());
    porElemento(state, e.elementosXML);
}

// Subjects whose codes share their first 8 characters and whose names all differ, each
// given a code of its own: the search for a free code must stay linear in their number.
void CodigosCompartidos(benchmark::State& state) {
    const auto n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        RegistroMaterias materias;
        for (int i = 1; i <= n; ++i) {
            const std::string numero = std::to_string(i);
            benchmark::DoNotOptimize(
                asignarCodigoMateria(materias, "RELIGION" + numero, "Religión " + numero));
        }
    }
    state.SetComplexityN(state.range(0));
    porElemento(state, static_cast<std::size_t>(n));
}

} // namespace

BENCHMARK(CodigosCompartidos)
    ->Arg(1000)
    ->Arg(3000)
    ->Arg(30000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(CorridaPorLaPuerta<exportar, &Escenario::elementosXML>)
    ->Name("Exportar")
    ->Arg(1)
    ->Arg(10)
    ->Arg(100)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(SueloExportar)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(CorridaPorLaPuerta<importar, &Escenario::lecciones>)
    ->Name("Importar")
    ->Arg(1)
    ->Arg(10)
    ->Arg(100)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(SueloImportar)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

BENCHMARK(LecturaXML)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(LecturaXMLSinComprobar)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(ComprobacionXML)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (argc != 2) {
        std::cerr << "Uso: bench_pontavia DATOS [opciones de Google Benchmark]\n";
        return 1;
    }
    g_datos = argv[1];
    // Freed memory stays with the process, for every benchmark alike. Otherwise the allocator
    // hands large blocks back to the system or not depending on what ran before, and whoever
    // gets them back pays for fresh pages at random (a floor measured 3x its cost after one
    // run and not after another). Fresh pages are what the peak memory figures are for.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, std::numeric_limits<int>::max());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
