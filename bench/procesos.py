#!/usr/bin/python3
"""Times pontavia-cli's runs as a user meets them, each a fresh process, against their floor,
also a fresh process: the floor parses the same VELMORA file with pugixml and writes the same
output bytes (exportar's six tables, importar's result) with one write each, no report, no
wait for the disk. Runs and floors alternate in random order; the medians are quoted.
With --otro, the same runs of another build of pontavia-cli (an earlier version) alternate
with them, and each run's time and memory are given against that version's too.

Usage: procesos.py PONTAVIA_CLI SUELO DATOS ESCALA... [--veces N] [--otro PONTAVIA_CLI]
DATOS holds centro_N.xml and ktemp_N (made by preparar), and ResultadoTamberlocentro_N.xml.
"""
import argparse
import os
import re
import random
import shutil
import statistics
import subprocess
import tempfile
import time

TABLAS = []  # the tables exportar writes, as pontavia-cli lists them


def medir(orden, entorno):
    """Wall time in ms, processor time (user and system, every thread) in ms and peak
    resident memory in bytes of one run of orden. GNU time starts it and reports its peak: a
    child started from this interpreter would count the interpreter's own memory before the
    exec. Runs and floors pay the same for it. On a machine others share, the processor time
    moves less than the wall time, which waits for them too."""
    with tempfile.NamedTemporaryFile("r") as cifras:
        inicio = time.perf_counter()
        r = subprocess.run(["/usr/bin/time", "-f", "%U %S %M", "-o", cifras.name] + orden,
                           env=entorno, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        ms = (time.perf_counter() - inicio) * 1000
        if r.returncode != 0:
            raise SystemExit(f"falló: {' '.join(orden)}")
        usuario, sistema, pico = cifras.read().split()[-3:]
        return ms, (float(usuario) + float(sistema)) * 1000, int(pico) * 1024


def configuracion_regional():
    """The regional settings of a Spanish school's machine, es_ES.UTF-8, which the runs read at
    start (the tests use them too), when the system has them; else the environment's own. The
    C.UTF-8 of a bare container costs a run three tenths of a millisecond more to load, a
    cost no timetabler's machine pays."""
    r = subprocess.run(["locale", "-a"], capture_output=True, text=True)
    return "es_ES.UTF-8" if "es_ES.utf8" in r.stdout.split() else None


def copia_de_trabajo(datos, escala, carpeta):
    """The scale's VELMORA file and Tamberlo folder copied into carpeta, as a run finds them;
    each version works in a copy of its own, so that neither meets what the other left."""
    os.makedirs(carpeta)
    ktemp = os.path.join(carpeta, "KTEMP")
    shutil.copytree(os.path.join(datos, f"ktemp_{escala}"), ktemp,
                    ignore=shutil.ignore_patterns(".pontavia-*", "INFORME-PONTAVIA.TXT",
                                                 "INFORME-IMPORTAR.TXT"))
    copia = os.path.join(carpeta, f"centro_{escala}.xml")
    shutil.copy(os.path.join(datos, f"centro_{escala}.xml"), copia)
    entorno = dict(os.environ, PONTAVIA_KTEMP=ktemp)
    if REGIONAL:
        entorno["LC_ALL"] = REGIONAL
    return copia, ktemp, entorno


def escenario(datos, escala, tmp):
    """The commands of both runs, of their floors and of the other version's runs at one
    scale, each with its environment, in working copies; and the Tamberlo folder of the runs."""
    copia, ktemp, entorno = copia_de_trabajo(datos, escala, os.path.join(tmp, f"run_{escala}"))
    salida = os.path.join(tmp, f"suelo_{escala}")
    os.makedirs(salida)
    tablas = [os.path.join(datos, f"ktemp_{escala}", t + ".DBF") for t in TABLAS]
    resultado = os.path.join(datos, f"ResultadoTamberlocentro_{escala}.xml")
    ordenes = {}
    for run, suelo in (("exportar", [SUELO, copia, salida] + tablas),
                       ("importar", [SUELO, copia, salida, resultado])):
        ordenes[run] = {"run": ([CLI, run, copia], entorno), "suelo": (suelo, entorno)}
    if OTRO:
        otra, _, entorno_otro = copia_de_trabajo(datos, escala, os.path.join(tmp, f"otro_{escala}"))
        for run in ordenes:
            ordenes[run]["otro"] = ([OTRO, run, otra], entorno_otro)
    return ordenes, ktemp


def avisos(ktemp, run):
    """How many items the run's last report holds (its line "Total: N avisos")."""
    nombre = "INFORME-PONTAVIA.TXT" if run == "exportar" else "INFORME-IMPORTAR.TXT"
    with open(os.path.join(ktemp, nombre), encoding="utf-8-sig") as f:
        m = re.search(r"^  Total: (\d+) avisos?\r?$", f.read(), re.MULTILINE)
    return int(m.group(1)) if m else 0


def main():
    global CLI, SUELO, REGIONAL, TABLAS, OTRO
    ap = argparse.ArgumentParser()
    ap.add_argument("cli")
    ap.add_argument("suelo")
    ap.add_argument("datos")
    ap.add_argument("escalas", type=int, nargs="+")
    ap.add_argument("--veces", type=int, default=11)
    ap.add_argument("--otro", help="another build of pontavia-cli, measured beside this one")
    a = ap.parse_args()
    CLI, SUELO = os.path.abspath(a.cli), os.path.abspath(a.suelo)
    OTRO = os.path.abspath(a.otro) if a.otro else None
    TABLAS = subprocess.run([CLI, "mostrar", "--tablas"], capture_output=True, text=True,
                            check=True).stdout.split()
    REGIONAL = configuracion_regional()
    print(f"{a.datos}: procesos nuevos, mediana de {a.veces} (intercalados al azar), "
          f"configuración regional {REGIONAL or 'la del entorno'}"
          + (f"; la otra versión: {OTRO}" if OTRO else ""))
    otra = f" {'otra ms':>9} {'x otra':>7} {'x CPU':>6} {'otra MB':>8} {'x otra':>7}" if OTRO else ""
    print(f"{'run':<9} {'escala':>6} {'avisos':>7} {'ms':>9} {'suelo ms':>9} {'x suelo':>8} "
          f"{'CPU ms':>7} {'MB':>7} {'suelo MB':>9} {'x suelo':>8}" + otra)
    medianas = {}
    with tempfile.TemporaryDirectory() as tmp:
        for escala in a.escalas:
            ordenes, ktemp = escenario(a.datos, escala, tmp)
            for run, cuales in ordenes.items():
                for orden, entorno in cuales.values():
                    medir(orden, entorno)  # warm-up: the first run also fills the undo set
                n = avisos(ktemp, run)
                figuras = {nombre: [] for nombre in cuales}
                for _ in range(a.veces):
                    turno = list(cuales.items())
                    random.shuffle(turno)
                    for nombre, (orden, entorno) in turno:
                        figuras[nombre].append(medir(orden, entorno))
                ms, cpu, mb = {}, {}, {}
                for nombre, f in figuras.items():
                    ms[nombre] = statistics.median(t for t, _, _ in f)
                    cpu[nombre] = statistics.median(c for _, c, _ in f)
                    mb[nombre] = statistics.median(m for _, _, m in f) / 2**20
                linea = (f"{run:<9} {escala:>6} {n:>7} {ms['run']:>9.1f} {ms['suelo']:>9.1f} "
                         f"{ms['run'] / ms['suelo']:>8.2f} {cpu['run']:>7.0f} {mb['run']:>7.1f} "
                         f"{mb['suelo']:>9.1f} {mb['run'] / mb['suelo']:>8.2f}")
                if OTRO:
                    linea += (f" {ms['otro']:>9.1f} {ms['run'] / ms['otro']:>7.2f} "
                              f"{cpu['run'] / max(cpu['otro'], 1):>6.2f} "
                              f"{mb['otro']:>8.1f} {mb['run'] / mb['otro']:>7.2f}")
                print(linea, flush=True)
                medianas[(run, escala)] = (ms["run"], mb["run"], n)
    crecimiento(a.datos, a.escalas, medianas)


def elementos(xml):
    """How many elements the VELMORA file holds: every start tag."""
    with open(xml, "rb") as f:
        datos = f.read()
    return datos.count(b"<") - datos.count(b"</") - datos.count(b"<?") - datos.count(b"<!")


def crecimiento(datos, escalas, medianas):
    """What each element, and each item of the report, added between one scale and the next
    costs, in time and in peak memory: a run that grows linearly costs the same per element at
    every size, and a report item that costs little adds little whatever the school."""
    escalas = sorted(escalas)
    if len(escalas) < 2:
        return
    n = {e: elementos(os.path.join(datos, f"centro_{e}.xml")) for e in escalas}
    print()
    print("Coste por elemento y por aviso añadidos entre una escala y la siguiente")
    print(f"{'run':<9} {'escalas':>9} {'µs/elem':>8} {'KB/elem':>8} {'µs/aviso':>9} "
          f"{'KB/aviso':>9}")
    for run in ("exportar", "importar"):
        por_tramo = {}
        for a, b in zip(escalas, escalas[1:]):
            (ms_a, mb_a, av_a), (ms_b, mb_b, av_b) = medianas[(run, a)], medianas[(run, b)]
            elems = n[b] - n[a]
            us = (ms_b - ms_a) * 1000 / elems
            kb = (mb_b - mb_a) * 1024 / elems
            por_tramo[b] = (us, kb)
            # The whole growth charged to the items: an upper bound on what one item costs.
            avisos = av_b - av_a
            por_aviso = (f"{(ms_b - ms_a) * 1000 / avisos:>9.2f} {(mb_b - mb_a) * 1024 / avisos:>9.3f}"
                         if avisos > 0 else f"{'-':>9} {'-':>9}")
            print(f"{run:<9} {f'{a}-{b}':>9} {us:>8.2f} {kb:>8.3f} {por_aviso}")
        primero, ultimo = por_tramo[escalas[1]], por_tramo[escalas[-1]]
        print(f"{run:<9} {'último/primero':>9} {ultimo[0] / primero[0]:>8.2f} "
              f"{ultimo[1] / primero[1]:>8.2f}")


if __name__ == "__main__":
    main()
