#!/usr/bin/python3
"""Reads Pontavia's dBase III+ tables (those of the tables exportar writes, as pontavia-cli
lists them, whose file is at that level) with python3-dbf and checks that pontavia-cli mostrar
gives the same rows and values. Usage: comparar_con_dbf.py KTEMP PONTAVIA_CLI"""
import csv
import io
import os
import subprocess
import sys

import dbf

carpeta, cli = sys.argv[1], sys.argv[2]
fallos = 0
lista = subprocess.run([cli, "mostrar", "--tablas"], capture_output=True, text=True, check=True)
comparadas = 0
for nombre in lista.stdout.split():
    ruta = os.path.join(carpeta, nombre + ".DBF")
    with open(ruta, "rb") as f:
        if f.read(1) != b"\x03":
            continue
    comparadas += 1
    tabla = dbf.Table(ruta)
    tabla.open()
    esperado = []
    for registro in tabla:
        fila = []
        for campo in tabla.field_names:
            v = registro[campo]
            if isinstance(v, bool) or v is None or type(v).__name__ == "Logical":
                v = {True: "T", False: "F"}.get(v if isinstance(v, bool) else bool(v) if v in (True, False) else None, "")
            elif isinstance(v, float):
                v = f"{v:.4f}"
            elif isinstance(v, int):
                v = str(v)
            else:
                v = str(v).rstrip()
            fila.append(v)
        esperado.append(fila)
    tabla.close()
    salida = subprocess.run([cli, "mostrar", nombre], capture_output=True, text=True,
                            env=dict(os.environ, PONTAVIA_KTEMP=carpeta), check=True).stdout
    obtenido = list(csv.reader(io.StringIO(salida, newline="")))[1:]
    if obtenido != esperado:
        fallos += 1
        for a, b in zip(obtenido, esperado):
            if a != b:
                print(f"{nombre}: mostrar {a} / dbf {b}")
                break
        print(f"{nombre}: {len(obtenido)} filas por mostrar, {len(esperado)} por dbf")
if comparadas == 0:
    print("ninguna tabla dBase III+ que comparar")
sys.exit(1 if fallos or comparadas == 0 else 0)
