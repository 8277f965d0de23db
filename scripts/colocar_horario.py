#!/usr/bin/python3
"""A small deterministic placer that stands in for Tamberlo: reads the tables that exportar
wrote in a KTEMP folder and writes SOLUC.DBF there, one record per lesson.

Each assignment of ASIGT gives as many lessons as its whole hours (at least one); each lesson
goes to the first of the 30 weekly slots where neither its group nor its teacher is busy, or,
when there is none, to the slot its group uses least. Rooms are taken in turn from AULAT.
SOLUC's layout is read from the program's own description of Tamberlo's tables
(src/components/tamberlo/esquema_tamberlo.h), so the two cannot differ.
Usage: colocar_horario.py KTEMP [SALIDA]
"""
import math
import os
import re
import sys

import dbf

DIAS, HORAS = 5, 6


ESQUEMA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "components",
                       "tamberlo", "esquema_tamberlo.h")


def estructura(nombre):
    """A table's fields as python-dbf writes a layout ("DIA N(2,0); ..."), from the description
    of the table in esquema_tamberlo.h; with its dBase level."""
    with open(ESQUEMA, encoding="utf-8") as f:
        texto = f.read()
    tabla = re.search(r'EsquemaTabla\s+%s\s*\{\s*"%s"\s*,\s*(?:"[^"]*"\s*,\s*)?NivelDBase::(\w+)\s*,[^{]*\{(.*?)\}\s*\}\s*;'
                      % (nombre, nombre), texto, re.S)
    if not tabla:
        sys.exit("colocar_horario: %s no está descrita en %s" % (nombre, ESQUEMA))
    nivel, cuerpo = tabla.groups()
    tipos = {"Texto": "C({w})", "Entero": "N({w},0)", "Decimal": "N({w},{d})", "Logico": "L"}
    campos = []
    for campo, tipo, ancho, decimales in re.findall(
            r'\{\s*"(\w+)"\s*,\s*(\w+)\s*,\s*(\d+)\s*,\s*(\d+)\s*\}', cuerpo):
        campos.append(campo + " " + tipos[tipo].format(w=ancho, d=decimales))
    if not campos:
        sys.exit("colocar_horario: %s sin campos en %s" % (nombre, ESQUEMA))
    return "; ".join(campos), {"III": "db3", "Siete": "db7"}[nivel]


def leer(carpeta, nombre):
    tabla = dbf.Table(os.path.join(carpeta, nombre + ".DBF"))
    tabla.open()
    filas = [{campo.upper(): registro[campo] for campo in tabla.field_names} for registro in tabla]
    tabla.close()
    return filas


def texto(v):
    return str(v).rstrip()


def main():
    carpeta = sys.argv[1]
    salida = sys.argv[2] if len(sys.argv) > 2 else os.path.join(carpeta, "SOLUC.DBF")
    asignaciones = leer(carpeta, "ASIGT")
    aulas = [texto(a["ABREV"]) for a in leer(carpeta, "AULAT")]
    ocupado = set()
    uso_grupo = {}
    registros = []
    for n, a in enumerate(asignaciones):
        grupo, profesor = texto(a["CGRUP"]), texto(a["CPROF"])
        lecciones = max(1, math.floor(a["HORAS"]))
        tarea = texto(a["CTAREA"])
        tarea = "LECT" if tarea == "LECTIVA" else "GUAR" if tarea == "GUARDIA" else tarea
        for k in range(lecciones):
            franjas = [(d, h) for d in range(1, DIAS + 1) for h in range(1, HORAS + 1)]
            libres = [f for f in franjas
                      if (grupo, f) not in ocupado and (profesor, f) not in ocupado]
            franja = libres[0] if libres else min(
                franjas, key=lambda f: (uso_grupo.get((grupo, f), 0), f))
            ocupado.add((grupo, franja))
            ocupado.add((profesor, franja))
            uso_grupo[(grupo, franja)] = uso_grupo.get((grupo, franja), 0) + 1
            registros.append((franja[0], franja[1], "1", grupo, texto(a["CASIG"]), tarea,
                              profesor, aulas[(n + k) % len(aulas)] if aulas else ""))
    if os.path.exists(salida):
        os.remove(salida)
    campos, nivel = estructura("SOLUC")
    tabla = dbf.Table(salida, campos, dbf_type=nivel, codepage="cp1252")
    tabla.open(dbf.READ_WRITE)
    for r in registros:
        # By name (python-dbf names fields in lower case), whatever their order in SOLUC.
        tabla.append(dict(zip(("dia", "hora", "sesiones", "codgrupo", "asig", "tarea", "prof",
                               "aula"), r)))
    tabla.close()


if __name__ == "__main__":
    main()
