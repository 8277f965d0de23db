#!/usr/bin/python3
"""Generates a made-up VELMORA document for a secondary school, deterministic from a seed.

Scale 1 is a mid-sized school (about 60 teachers, 40 rooms, 24 groups, 120 subjects plus the
activities, 600 teaching assignments, 30 time slots); scale N has N times as many of each,
with the mix of padded values, repeated codes and over-long codes that real exports have.
The output is ISO-8859-1 with its XML declaration, as VELMORA writes it.

With --informe-largo the school is of the kind whose report is long, as many real files are:
besides the above, names longer than Tamberlo's fields and assignments whose group or
teacher VELMORA no longer has, about one report item for every seven elements at scale 1
and more as the school grows (its teachers' codes clash more). The random draws are the
same in both kinds, so the ordinary school stays as it was.
"""
import argparse
import random
from xml.sax.saxutils import quoteattr

NOMBRES = ["Ana", "Luis", "Eva", "Javier", "María", "José", "Lucía", "Álvaro", "Carmen",
           "Íñigo", "Begoña", "Raúl", "Nuria", "Óscar", "Pilar", "Sergio", "Marta", "Jesús",
           "Rocío", "Andrés", "Inés", "Tomás", "Elena", "Ángel", "Sofía", "Rubén", "Irene"]
APELLIDOS = ["García", "López", "Martínez", "Sánchez", "Pérez", "Gómez", "Fernández",
             "Ruiz", "Díaz", "Muñoz", "Álvarez", "Romero", "Navarro", "Torres", "Domínguez",
             "Vázquez", "Ramos", "Gil", "Serrano", "Blanco", "Castaño", "Ibáñez", "Peña"]

# (code stem, name) per subject; the level is added to both.
MATERIAS = [("LCL", "Lengua Castellana y Literatura"), ("MAT", "Matemáticas"),
            ("GH", "Geografía e Historia"), ("BG", "Biología y Geología"),
            ("FQ", "Física y Química"), ("ING", "Inglés"), ("FRA", "Francés"),
            ("EF", "Educación Física"), ("MUS", "Música"), ("TEC", "Tecnología"),
            ("EPV", "Educación Plástica, Visual y Audiovisual"), ("REL", "Religión"),
            ("VE", "Valores Éticos"), ("LAT", "Latín"), ("GRI", "Griego"),
            ("ECO", "Economía"), ("FIL", "Filosofía"), ("HE", "Historia de España"),
            ("DT", "Dibujo Técnico"), ("TUTORIA_", "Tutoría")]
NIVELES = [("1ESO", "ESO", "1", "1º ESO"), ("2ESO", "ESO", "2", "2º ESO"),
           ("3ESO", "ESO", "3", "3º ESO"), ("4ESO", "ESO", "4", "4º ESO"),
           ("1BACHILLERATO", "BACH", "1", "1º Bachillerato"),
           ("2BACHILLERATO", "BACH", "2", "2º Bachillerato")]
ACTIVIDADES = [("GUARDIA", "Guardia"), ("LECTIVA", "Lectiva"), ("TUTORIA", "Tutoría"),
               ("REUNION", "Reunión de departamento"), ("BIBLIOTECA", "Biblioteca"),
               ("JEFATURA", "Jefatura de estudios")]
HORAS = [("08:30", "09:25"), ("09:25", "10:20"), ("10:20", "11:15"), ("11:45", "12:40"),
         ("12:40", "13:35"), ("13:35", "14:30")]


def relleno(rng, valor):
    """Some values come padded with blanks, as real exports have them."""
    r = rng.random()
    if r < 0.05:
        return " " + valor + " "
    if r < 0.08:
        return valor + "  "
    return valor


def rng_fija(i, lista):
    """An element of lista chosen by position, so that the long-report kind draws no more
    random numbers than the ordinary one."""
    return lista[i * 7 % len(lista)]


def elemento(nombre, atributos):
    partes = " ".join(f"{k}={quoteattr(v)}" for k, v in atributos)
    return f"<{nombre} {partes}/>"


def generar(escala, semilla, largo=False):
    rng = random.Random(semilla)
    lineas = ['<?xml version="1.0" encoding="ISO-8859-1"?>',
              "<!-- Exportación de VELMORA: datos de ejemplo, inventados -->",
              '<centro codigo_interno=" 28012345 " nombre="IES Miguel de Cervantes" '
              'curso="2026/2027" version="3.2" fecha="2026-09-01">']
    ident = iter(range(1000, 10**9))

    # Subjects: one per stem and level, the first 120 per scale; activities at the end.
    lineas.append("  <materias>")
    materias = []  # (idmateria, level index)
    for copia in range(escala):
        sufijo = "" if copia == 0 else str(copia)
        n = 0
        for ni, (nivel, _, _, texto) in enumerate(NIVELES):
            for stem, nombre in MATERIAS:
                if n >= 120:
                    break
                n += 1
                codigo = stem + nivel + sufijo
                nombre_completo = f"{nombre} {texto}" + (f" ({copia})" if copia else "")
                if stem == "TUTORIA_":
                    nombre_completo = "Tutoría" + (f" {copia}" if copia else "")
                elif largo and n % 10 == 3:  # longer than the 80 characters Tamberlo keeps
                    nombre_completo += (" (programa bilingüe de profundización, con desdobles "
                                        "y apoyo)")
                idm = str(next(ident))
                materias.append((idm, ni))
                lineas.append("    " + elemento("dmateria", [
                    ("codigo", relleno(rng, codigo)), ("nombre", relleno(rng, nombre_completo)),
                    ("codigo_actividad", "LECTIVA"), ("idmateria", idm)]))
        # A repeated code and name, as VELMORA gives one element per level.
        idm = str(next(ident))
        lineas.append("    " + elemento("dmateria", [
            ("codigo", "LCL1ESO" + sufijo),
            ("nombre", "Lengua Castellana y Literatura 1º ESO" + (f" ({copia})" if copia else "")),
            ("codigo_actividad", "LECTIVA"), ("idmateria", idm)]))
        for codigo, nombre in ACTIVIDADES:
            c = codigo + sufijo
            lineas.append("    " + elemento("dmateria", [
                ("codigo", c), ("nombre", nombre + (f" {copia}" if copia else "")),
                ("codigo_actividad", c), ("idmateria", str(next(ident)))]))
    lineas.append("  </materias>")

    lineas.append("  <profesores>")
    profesores = []
    for i in range(60 * escala):
        nombre, a1, a2 = rng.choice(NOMBRES), rng.choice(APELLIDOS), rng.choice(APELLIDOS)
        codigo = (nombre[:1] + a1[:1] + a2[:1]).upper()
        if i % 17 == 5:
            codigo = codigo.lower()  # differs only in case from another teacher's
        if i % 23 == 7:
            codigo = (a1 + nombre).upper()  # longer than Tamberlo's 10 characters
        if i == 3:
            a2 = ""
        if i == 11:
            a1 = "Łukaszewicz"  # not in Tamberlo's code page: stored with '?'
        if largo and i % 6 == 1:  # a name longer than the 80 characters Tamberlo keeps
            a1 = (f"{a1} {rng_fija(i, APELLIDOS)} de la Santísima Trinidad y de los Caballeros "
                  "de San Juan")
        idp = str(next(ident))
        profesores.append(idp)
        dni = f"{rng.randrange(10**7, 10**8)}{rng.choice('TRWAGMYFPDXBNJZSQVHLCKE')}"
        lineas.append("    " + elemento("profesor", [
            ("codigo", relleno(rng, codigo)), ("nombre", nombre), ("apellido1", a1),
            ("apellido2", a2), ("documento", dni), ("idprofesor", idp),
            ("email", f"profesor{i}@example.org")]))
    lineas.append("  </profesores>")

    lineas.append("  <aulas>")
    especiales = ["Laboratorio de Biología", "Laboratorio de Química", "Lab 2",
                  "Aula de Música", "Aula de Informática", "Taller de Tecnología",
                  "Biblioteca", "Salón de actos"]
    for i in range(40 * escala):
        if i % 40 < 28:
            codigo, nombre = f"A{i + 1}", f"Aula {i + 1}"
        elif i % 40 < 36:
            codigo, nombre = "", especiales[i % 40 - 28] + (f" {i // 40}" if i >= 40 else "")
        elif i % 40 == 36:
            codigo, nombre = "GIMNASIO-PRINCIPAL", "Gimnasio"
        elif i % 40 == 37:
            codigo, nombre = "GIMNASIO-SECUNDARIO", "Gimnasio pequeño"
        else:
            codigo, nombre = f"D{i}", f"Departamento {i}"
        if i == 39:  # longer than the 80 characters Tamberlo keeps
            nombre = ("Departamento de Geografía e Historia y Seminario de Ciencias Sociales, "
                      "segunda planta del edificio B")
        capacidad = "" if i % 13 == 4 else str(rng.choice([20, 24, 25, 30, 32, 35]))
        lineas.append("    " + elemento("daula", [
            ("codigo", relleno(rng, codigo)), ("nombre", nombre),
            ("capacidad_alumnos", relleno(rng, capacidad)), ("idaula", str(next(ident)))]))
    lineas.append("  </aulas>")

    lineas.append("  <grupos>")
    grupos = []  # (idgrupo, level index)
    letras = "ABCD"
    for copia in range(escala):
        for ni, (nivel, cnivel, curso, texto) in enumerate(NIVELES):
            for letra in letras:
                codigo = nivel + letra + ("" if copia == 0 else str(copia))
                if ni == 0 and letra == "B":
                    codigo = codigo.lower()
                idg, idc = str(next(ident)), str(200 + ni + 10 * copia)
                grupos.append((idg, ni))
                lineas.append("    " + elemento("dgrupo", [
                    ("codigo", relleno(rng, codigo)), ("nombre", f"{texto} {letra}"),
                    ("codigo_nivel", cnivel), ("curso", curso), ("cgrupo", letra),
                    ("idgrupo", idg), ("idcurso", idc)]))
    lineas.append("  </grupos>")

    lineas.append("  <franjashorarias>")
    for dia in range(1, 6):
        for pos, (inicio, fin) in enumerate(HORAS, start=1):
            lineas.append("    " + elemento("franjahoraria", [
                ("dia_semana", str(dia)), ("posicion", f"0{pos}" if pos == 3 else str(pos)),
                ("hora_inicio", inicio), ("hora_final", fin)]))
    lineas.append("  </franjashorarias>")

    lineas.append("  <asignaturas>")
    por_nivel = {}
    for idm, ni in materias:
        por_nivel.setdefault(ni, []).append(idm)
    for i in range(600 * escala):
        idg, ni = grupos[i % len(grupos)]
        opciones = por_nivel[ni]
        idm = opciones[(i // len(grupos)) % len(opciones)]
        if i % 97 == 11:
            idm = "99999"  # a subject VELMORA no longer has
        cprofe = profesores[rng.randrange(len(profesores))]
        nhoras = str(rng.choice([1, 2, 2, 3, 3, 4, 4, 5]))
        if i % 150 == 40:
            nhoras = "0"
        if largo and i % 30 == 4:
            idg = "77777"  # a group VELMORA no longer has
        if largo and i % 30 == 19:
            cprofe = "88888"  # a teacher VELMORA no longer has
        lineas.append("    " + elemento("dasignatura", [
            ("cgrupo", idg), ("casig", idm), ("cprofe", cprofe),
            ("conexion", "0" if i % 9 else "1"), ("nhoras", relleno(rng, nhoras))]))
    lineas.append("  </asignaturas>")
    lineas.append("</centro>")
    return "\n".join(lineas) + "\n"


def main():
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("salida")
    ap.add_argument("--escala", type=int, default=1)
    ap.add_argument("--semilla", type=int, default=2026)
    ap.add_argument("--informe-largo", action="store_true",
                    help="a school whose report is long (names cut, references lost)")
    args = ap.parse_args()
    texto = generar(args.escala, args.semilla, args.informe_largo)
    # Characters Latin-1 lacks go as character references, as an XML writer does.
    with open(args.salida, "w", encoding="iso-8859-1", errors="xmlcharrefreplace",
              newline="\n") as f:
        f.write(texto)


if __name__ == "__main__":
    main()
