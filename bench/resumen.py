#!/usr/bin/python3
"""Prints the benchmark summary: time per element of each run at each scale, its ratio to
the floor, how the cost grows with the scale, peak memory against the input's size, and the
wall time of pontavia-cli exportar on the sample school, start-up included.

Usage: resumen.py DATOS PONTAVIA_CLI EJEMPLO.xml RESULTADOS.json...
"""
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ESCALAS = (1, 10, 100)


def medianas(rutas):
    """(benchmark, scale) -> (median real time in ms, elements), from every results file."""
    benchmarks = []
    for ruta in rutas:
        with open(ruta) as f:
            benchmarks += json.load(f)["benchmarks"]
    r = {}
    for b in benchmarks:
        if b.get("aggregate_name") != "median":
            continue
        nombre, escala = b["run_name"].split("/")
        r[(nombre, int(escala))] = (b["real_time"], b["elementos"])
    return r


def pico_memoria(orden, entorno):
    """Peak resident memory of one run of a command, in bytes. GNU time measures it: a
    child forked from Python would count Python's own memory before the exec."""
    r = subprocess.run(["/usr/bin/time", "-f", "%M"] + orden, env=entorno,
                       stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, check=True)
    return int(r.stderr.strip().splitlines()[-1]) * 1024


def memoria(cli, datos, escala):
    """Peak memory of exportar and importar at a scale, and the size of what each reads."""
    xml = os.path.join(datos, f"centro_{escala}.xml")
    tablas = os.path.join(datos, f"ktemp_{escala}")
    with tempfile.TemporaryDirectory() as tmp:
        ktemp = os.path.join(tmp, "ktemp")
        shutil.copytree(tablas, ktemp, ignore=shutil.ignore_patterns("suelo", ".pontavia-*"))
        entorno = dict(os.environ, PONTAVIA_KTEMP=ktemp)
        copia = os.path.join(tmp, "centro.xml")
        shutil.copy(xml, copia)
        leidas = ["SOLUC", "GRUPOST", "PROFT", "AULAT", "ASIGNOMT", "ASIGT"]
        entrada_importar = os.path.getsize(xml) + sum(
            os.path.getsize(os.path.join(ktemp, t + ".DBF")) for t in leidas)
        exp = pico_memoria([cli, "exportar", copia], entorno)
        imp = pico_memoria([cli, "importar", copia], entorno)
    return exp, os.path.getsize(xml), imp, entrada_importar


def tiempo_ejemplo(cli, ejemplo, veces=30):
    """Median wall time of pontavia-cli exportar on the sample school, in ms."""
    with tempfile.TemporaryDirectory() as tmp:
        entorno = dict(os.environ, PONTAVIA_KTEMP=tmp)
        tiempos = []
        for _ in range(veces):
            inicio = time.perf_counter()
            subprocess.run([cli, "exportar", ejemplo], env=entorno, check=True,
                           stdout=subprocess.DEVNULL)
            tiempos.append((time.perf_counter() - inicio) * 1000)
    return statistics.median(tiempos)


def marca(cumple):
    return "sí" if cumple else "NO"


def main():
    datos, cli, ejemplo = sys.argv[1:4]
    m = medianas(sys.argv[4:])
    print("Pontavia: benchmarks (mediana de 7 repeticiones intercaladas)")
    print(f"Máquina: {os.cpu_count()} núcleos, {os.uname().machine}, {os.uname().release}")
    print()
    print(f"{'run':<9} {'escala':>6} {'elementos':>9} {'ms':>9} {'µs/elem':>8} "
          f"{'suelo ms':>9} {'x suelo':>8}")
    objetivos = []
    for run in ("Exportar", "Importar"):
        por_elemento = {}
        for e in ESCALAS:
            ms, n = m[(run, e)]
            suelo, _ = m[("Suelo" + run, e)]
            por_elemento[e] = ms * 1000 / n
            print(f"{run.lower():<9} {e:>6} {int(n):>9} {ms:>9.1f} {por_elemento[e]:>8.2f} "
                  f"{suelo:>9.1f} {ms / suelo:>8.2f}")
        crecimiento = por_elemento[100] / por_elemento[1]
        ratio = m[(run, 100)][0] / m[("Suelo" + run, 100)][0]
        objetivos.append((f"{run.lower()}: tiempo por elemento a escala 100 / escala 1 "
                          f"= {crecimiento:.2f} (objetivo < 1.3)", crecimiento < 1.3))
        objetivos.append((f"{run.lower()}: escala 100 / suelo = {ratio:.2f} (objetivo < 3)",
                          ratio < 3))
    print()
    print(f"{'escala':>6} {'exportar MB':>11} {'entrada MB':>10} {'x':>6} "
          f"{'importar MB':>11} {'entrada MB':>10} {'x':>6}")
    for e in ESCALAS:
        exp, ent_exp, imp, ent_imp = memoria(cli, datos, e)
        mb = 1024 * 1024
        print(f"{e:>6} {exp / mb:>11.1f} {ent_exp / mb:>10.2f} {exp / ent_exp:>6.1f} "
              f"{imp / mb:>11.1f} {ent_imp / mb:>10.2f} {imp / ent_imp:>6.1f}")
        if e == 100:
            objetivos.append((f"memoria máxima a escala 100: exportar {exp / ent_exp:.1f}x, "
                              f"importar {imp / ent_imp:.1f}x la entrada (objetivo < 10)",
                              exp / ent_exp < 10 and imp / ent_imp < 10))
    print()
    ms = tiempo_ejemplo(cli, ejemplo)
    print(f"pontavia-cli exportar del colegio de ejemplo, con el arranque: {ms:.1f} ms "
          f"(mediana de 30)")
    objetivos.append((f"pontavia-cli exportar del ejemplo: {ms:.1f} ms (objetivo < 50)", ms < 50))
    print()
    print("Objetivos:")
    for texto, cumple in objetivos:
        print(f"  [{marca(cumple)}] {texto}")


if __name__ == "__main__":
    main()
