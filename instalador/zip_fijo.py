#!/usr/bin/env python3
"""Writes a zip whose bytes depend only on its files' contents and names: the entries sorted,
each dated at the given time (seconds since 1970, UTC), with fixed permissions and no owner.
   zip_fijo.py ZIP SEGUNDOS CARPETA ARCHIVO..."""
import sys
import time
import zipfile
from pathlib import Path


def main():
    destino, segundos, carpeta, nombres = sys.argv[1], int(sys.argv[2]), Path(sys.argv[3]), sys.argv[4:]
    # A zip's dates start in 1980.
    fecha = time.gmtime(max(segundos, 315532800))[:6]
    temporal = destino + ".tmp"
    with zipfile.ZipFile(temporal, "w") as z:
        for nombre in sorted(nombres):
            info = zipfile.ZipInfo(nombre, date_time=fecha)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0
            info.external_attr = 0x20  # the archive bit, as Windows' own zips have
            z.writestr(info, (carpeta / nombre).read_bytes(), compresslevel=9)
    Path(temporal).replace(destino)


if __name__ == "__main__":
    main()
