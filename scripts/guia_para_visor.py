#!/usr/bin/env python3
"""Turns a copy of the guide's sources (UTF-8) into what Windows' help viewer reads right.

The viewer reads the project's title and the contents list in the ANSI code page of the
guide's language (Spanish, 0x0c0a: windows-1252), and knows nothing of UTF-8 there: those two
are written in windows-1252, and a character that code page lacks stops the build. The pages
say their code page in the form every version of the viewer's browser knows, and keep any
character outside it as a character reference.

    guia_para_visor.py FOLDER
"""
import pathlib
import re
import sys

CODIFICACION = "windows-1252"
META_UTF8 = re.compile(r'<meta\s+charset="utf-8"\s*/?>', re.IGNORECASE)
META_ANSI = f'<meta http-equiv="Content-Type" content="text/html; charset={CODIFICACION}">'


def estricto(ruta: pathlib.Path, texto: str) -> bytes:
    try:
        return texto.encode(CODIFICACION)
    except UnicodeEncodeError as e:
        sys.exit(f"{ruta.name}: «{texto[e.start:e.end]}» no existe en {CODIFICACION}, "
                 "y el visor de ayuda lo mostraría mal")


def main() -> None:
    carpeta = pathlib.Path(sys.argv[1])
    for ruta in sorted(carpeta.iterdir()):
        if ruta.suffix not in (".html", ".hhc", ".hhp"):
            continue
        texto = ruta.read_text(encoding="utf-8")
        if ruta.suffix == ".hhp":
            ruta.write_bytes(estricto(ruta, texto))
            continue
        if not META_UTF8.search(texto):
            sys.exit(f'{ruta.name}: sin <meta charset="utf-8"> que cambiar')
        texto = META_UTF8.sub(META_ANSI, texto, count=1)
        if ruta.suffix == ".hhc":
            ruta.write_bytes(estricto(ruta, texto))
        else:
            ruta.write_bytes(texto.encode(CODIFICACION, errors="xmlcharrefreplace"))


if __name__ == "__main__":
    main()
