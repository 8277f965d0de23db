#!/usr/bin/python3
"""Reads Pontavia's dBase III+ tables with python3-dbf and checks that pontavia-cli mostrar
gives the same rows and values. Usage: comparar_con_dbf.py KTEMP PONTAVIA_CLI"""
import csv
import io
import os
import subprocess
import sys

import dbf

carpeta, cli = sys.argv[1], sys.argv[2]
fallos = 0
for nombre in ["ASIGNOMT", "PROFT", "AULAT", "GRUPOST", "ASIGT"]:
    tabla = dbf.Table(os.path.join(carpeta, nombre + ".DBF"))
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
sys.exit(1 if fallos else 0)
