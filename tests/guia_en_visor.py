#!/usr/bin/env python3
"""The compiled guide as Windows' help viewer reads it: unpacked with chmlib's extract_chmLib,
its title and its contents list decoded in the ANSI code page of its language (windows-1252
for Spanish), as the viewer does, must read as the UTF-8 sources say; and so must each page,
decoded as it declares.

    guia_en_visor.py PONTAVIA.CHM SOURCES-FOLDER
"""
import html
import html.parser
import pathlib
import re
import shutil
import struct
import subprocess
import sys
import tempfile

ESPANOL = 0x0C0A
CODIGO_DEL_VISOR = "windows-1252"  # the ANSI code page of 0x0c0a

bien = 0
mal = 0


def comprobar(que: str, cierto: bool, detalle: str = "") -> None:
    global bien, mal
    if cierto:
        bien += 1
    else:
        mal += 1
        print(f"FALLA: {que}" + (f": {detalle}" if detalle else ""))


def registros_de_sistema(datos: bytes) -> dict:
    """#SYSTEM: a version, then records of a code, a length and that many bytes."""
    registros = {}
    pos = 4
    while pos + 4 <= len(datos):
        codigo, largo = struct.unpack_from("<HH", datos, pos)
        registros[codigo] = datos[pos + 4 : pos + 4 + largo]
        pos += 4 + largo
    return registros


def cadena(valor: bytes) -> bytes:
    return valor.split(b"\0", 1)[0]


class Entradas(html.parser.HTMLParser):
    """The (Name, Local) pairs of a contents list."""

    def __init__(self) -> None:
        super().__init__(convert_charrefs=True)
        self.entradas = []
        self._actual = None

    def handle_starttag(self, etiqueta, atributos):
        a = dict(atributos)
        if etiqueta == "object" and a.get("type") == "text/sitemap":
            self._actual = {}
        elif etiqueta == "param" and self._actual is not None:
            self._actual[a.get("name", "").lower()] = a.get("value", "")

    def handle_endtag(self, etiqueta):
        if etiqueta == "object" and self._actual is not None:
            self.entradas.append((self._actual.get("name"), self._actual.get("local")))
            self._actual = None


def entradas(texto: str) -> list:
    p = Entradas()
    p.feed(texto)
    return p.entradas


def titulo(texto: str) -> str:
    m = re.search(r"<title>(.*?)</title>", texto, re.S | re.I)
    return html.unescape(m.group(1)).strip() if m else ""


def sin_cabecera_de_codigo(texto: str) -> str:
    """The text a reader sees: the declaration of its code page out, references resolved."""
    return html.unescape(re.sub(r"<meta[^>]*charset[^>]*>", "", texto, flags=re.I))


def como_declara(datos: bytes) -> str:
    """A page decoded in the code page its head declares (the viewer's default otherwise)."""
    m = re.search(rb'charset="?([A-Za-z0-9_-]+)', datos[:1024])
    return datos.decode(m.group(1).decode("ascii") if m else CODIGO_DEL_VISOR)


def main() -> int:
    chm, fuentes = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    extraer = shutil.which("extract_chmLib")
    if not extraer:
        print("FALLA: falta extract_chmLib (paquete libchm-bin, scripts/setup)")
        print("0 passed, 1 failed")
        return 1
    with tempfile.TemporaryDirectory() as tmp:
        subprocess.run([extraer, str(chm), tmp], check=True, stdout=subprocess.DEVNULL)
        dentro = pathlib.Path(tmp)
        sistema = registros_de_sistema((dentro / "#SYSTEM").read_bytes())

        lcid = struct.unpack_from("<I", sistema.get(4, b"\0\0\0\0"))[0]
        comprobar("el idioma de la guía es el español (0x0c0a)", lcid == ESPANOL, hex(lcid))

        proyecto = (fuentes / "Pontavia.hhp").read_text(encoding="utf-8")
        esperado = re.search(r"^Title=(.*)$", proyecto, re.M).group(1).strip()
        leido = cadena(sistema.get(3, b"")).decode(CODIGO_DEL_VISOR, errors="replace")
        comprobar("el título se lee bien en el visor", leido == esperado, f"«{leido}»")
        indice = (fuentes / "index.html").read_text(encoding="utf-8")
        comprobar("el título es el de la portada", esperado == titulo(indice), esperado)

        archivo_contenido = cadena(sistema.get(0, b"")).decode("ascii")
        comprobar("la guía tiene su índice", archivo_contenido == "Pontavia.hhc", archivo_contenido)
        compilado = (dentro / "Pontavia.hhc").read_bytes()
        leidas = entradas(compilado.decode(CODIGO_DEL_VISOR, errors="replace"))
        fuente = entradas((fuentes / "Pontavia.hhc").read_text(encoding="utf-8"))
        comprobar("el índice tiene una entrada por página", len(leidas) == len(fuente) > 1,
                  f"{len(leidas)} de {len(fuente)}")
        for (nombre, pagina), (nombre_fuente, _) in zip(leidas, fuente):
            comprobar(f"el índice se lee bien en el visor ({pagina})", nombre == nombre_fuente,
                      f"«{nombre}»")
            origen = fuentes / pagina
            comprobar(f"{pagina} existe", origen.is_file())
            if not origen.is_file():
                continue
            comprobar(f"el índice nombra {pagina} como su título", nombre == titulo(
                origen.read_text(encoding="utf-8")), f"«{nombre}»")

        for origen in sorted(fuentes.glob("*.html")):
            copia = dentro / origen.name
            comprobar(f"{origen.name} está en la guía", copia.is_file())
            if copia.is_file():
                leido = sin_cabecera_de_codigo(como_declara(copia.read_bytes()))
                fuente_texto = sin_cabecera_de_codigo(origen.read_text(encoding="utf-8"))
                comprobar(f"{origen.name} se lee bien en el visor", leido == fuente_texto,
                          f"título «{titulo(leido)}»")
    print(f"{bien} passed, {mal} failed")
    return 0 if mal == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
