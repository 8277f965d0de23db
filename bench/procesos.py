#!/usr/bin/python3
"""Times pontavia-cli's runs as a user meets them, each a fresh process, against their floor,
also a fresh process: the floor parses the same VELMORA file with pugixml and writes the same
output bytes (exportar's six tables, importar's result) with one write each, no report, no
wait for the disk. Runs and floors alternate in random order; the medians are quoted.

Usage: procesos.py PONTAVIA_CLI SUELO DATOS ESCALA... [--veces N]
DATOS holds centro_N.xml and ktemp_N (made by preparar), and ResultadoTamberlocentro_N.xml.
"""
import argparse
import os
import random
import shutil
import statistics
import subprocess
import tempfile
import time

TABLAS = []  # the tables exportar writes, as pontavia-cli lists them


def medir(orden, entorno):
    """Wall time in ms and peak resident memory in bytes of one run of orden. GNU time starts
    it and reports its peak: a child started from this interpreter would count the
    interpreter's own memory before the exec. Runs and floors pay the same for it."""
    with tempfile.NamedTemporaryFile("r") as pico:
        inicio = time.perf_counter()
        r = subprocess.run(["/usr/bin/time", "-f", "%M", "-o", pico.name] + orden, env=entorno,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        ms = (time.perf_counter() - inicio) * 1000
        if r.returncode != 0:
            raise SystemExit(f"falló: {' '.join(orden)}")
        return ms, int(pico.read().split()[-1]) * 1024


def configuracion_regional():
    """The regional settings of a Spanish school's machine, es_ES.UTF-8, which the runs read at
    start (the tests use them too), when the system has them; else the environment's own. The
    C.UTF-8 of a bare container costs a run three tenths of a millisecond more to load, a
    cost no timetabler's machine pays."""
    r = subprocess.run(["locale", "-a"], capture_output=True, text=True)
    return "es_ES.UTF-8" if "es_ES.utf8" in r.stdout.split() else None


def escenario(datos, escala, tmp):
    """The commands of both runs and of their floors at one scale, in a working copy."""
    xml = os.path.join(datos, f"centro_{escala}.xml")
    ktemp = os.path.join(tmp, f"ktemp_{escala}")
    shutil.copytree(os.path.join(datos, f"ktemp_{escala}"), ktemp,
                    ignore=shutil.ignore_patterns(".pontavia-*", "INFORME-PONTAVIA.TXT",
                                                 "INFORME-IMPORTAR.TXT"))
    copia = os.path.join(tmp, f"centro_{escala}.xml")
    shutil.copy(xml, copia)
    salida = os.path.join(tmp, f"suelo_{escala}")
    os.makedirs(salida)
    tablas = [os.path.join(datos, f"ktemp_{escala}", t + ".DBF") for t in TABLAS]
    resultado = os.path.join(datos, f"ResultadoTamberlocentro_{escala}.xml")
    entorno = dict(os.environ, PONTAVIA_KTEMP=ktemp)
    if REGIONAL:
        entorno["LC_ALL"] = REGIONAL
    return {
        "exportar": ([CLI, "exportar", copia], [SUELO, copia, salida] + tablas, entorno),
        "importar": ([CLI, "importar", copia], [SUELO, copia, salida, resultado], entorno),
    }


def main():
    global CLI, SUELO, REGIONAL, TABLAS
    ap = argparse.ArgumentParser()
    ap.add_argument("cli")
    ap.add_argument("suelo")
    ap.add_argument("datos")
    ap.add_argument("escalas", type=int, nargs="+")
    ap.add_argument("--veces", type=int, default=11)
    a = ap.parse_args()
    CLI, SUELO = os.path.abspath(a.cli), os.path.abspath(a.suelo)
    TABLAS = subprocess.run([CLI, "mostrar", "--tablas"], capture_output=True, text=True,
                            check=True).stdout.split()
    REGIONAL = configuracion_regional()
    print(f"Procesos nuevos, mediana de {a.veces} (run y suelo intercalados al azar), "
          f"configuración regional {REGIONAL or 'la del entorno'}")
    print(f"{'run':<9} {'escala':>6} {'ms':>9} {'suelo ms':>9} {'x suelo':>8} "
          f"{'MB':>7} {'suelo MB':>9} {'x suelo':>8}")
    medianas = {}
    with tempfile.TemporaryDirectory() as tmp:
        for escala in a.escalas:
            for run, (orden, suelo, entorno) in escenario(a.datos, escala, tmp).items():
                medir(orden, entorno)  # warm-up: the first run also fills the undo set
                medir(suelo, entorno)
                figuras = {"run": [], "suelo": []}
                for _ in range(a.veces):
                    pares = [("run", orden), ("suelo", suelo)]
                    random.shuffle(pares)
                    for nombre, o in pares:
                        figuras[nombre].append(medir(o, entorno))
                ms = statistics.median(t for t, _ in figuras["run"])
                ms_s = statistics.median(t for t, _ in figuras["suelo"])
                mb = statistics.median(m for _, m in figuras["run"]) / 2**20
                mb_s = statistics.median(m for _, m in figuras["suelo"]) / 2**20
                print(f"{run:<9} {escala:>6} {ms:>9.1f} {ms_s:>9.1f} {ms / ms_s:>8.2f} "
                      f"{mb:>7.1f} {mb_s:>9.1f} {mb / mb_s:>8.2f}", flush=True)
                medianas[(run, escala)] = (ms, mb)
    crecimiento(a.datos, a.escalas, medianas)


def elementos(xml):
    """How many elements the VELMORA file holds: every start tag."""
    with open(xml, "rb") as f:
        datos = f.read()
    return datos.count(b"<") - datos.count(b"</") - datos.count(b"<?") - datos.count(b"<!")


def crecimiento(datos, escalas, medianas):
    """What each element added between one scale and the next costs, in time and in peak
    memory: a run that grows linearly costs the same per element at every size."""
    escalas = sorted(escalas)
    if len(escalas) < 2:
        return
    n = {e: elementos(os.path.join(datos, f"centro_{e}.xml")) for e in escalas}
    print()
    print("Coste por elemento añadido entre una escala y la siguiente")
    print(f"{'run':<9} {'escalas':>9} {'µs/elem':>8} {'KB/elem':>8}")
    for run in ("exportar", "importar"):
        por_tramo = {}
        for a, b in zip(escalas, escalas[1:]):
            (ms_a, mb_a), (ms_b, mb_b) = medianas[(run, a)], medianas[(run, b)]
            elems = n[b] - n[a]
            us = (ms_b - ms_a) * 1000 / elems
            kb = (mb_b - mb_a) * 1024 / elems
            por_tramo[b] = (us, kb)
            print(f"{run:<9} {f'{a}-{b}':>9} {us:>8.2f} {kb:>8.3f}")
        primero, ultimo = por_tramo[escalas[1]], por_tramo[escalas[-1]]
        print(f"{run:<9} {'último/primero':>9} {ultimo[0] / primero[0]:>8.2f} "
              f"{ultimo[1] / primero[1]:>8.2f}")


if __name__ == "__main__":
    main()
