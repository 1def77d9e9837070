#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets: the interesting cases, in the
targets' input layout. Run it after adding a case; the files are committed."""
import hashlib
import pathlib
import struct

here = pathlib.Path(__file__).resolve().parent

SCALES = [
    "150", " 150 ", "\t150", "\u00a0150\u3000", "12.5", ".5", "5.", "+110", "-150", "1e2", "1.5E+2",
    "15000e-2", "0", "-0", "1e400", "-1e400", "1e-400", "1e308", "1.7976931348623157e308", "1e",
    "1e+", "-", "+", ".", "", "   ", "abc", "inf", "nan", "0x10", "1,5", "1.5.2", "\uff11\uff15\uff10",
    "\u2212150", "(150)", "$150", "150%", "1 5", "5407.669984e+27", "3.68239147", "9007199254740993",
    "0." + "0" * 400 + "15e403", "1" + "0" * 400, "12,5", "1e99999999999999999999",
    "4.9406564584124654e-324", "2.4703282292062328e-324", "\x00", "1\x00",
]
POINTS = [(400, 300), (333, 201), (7, 3), (-128, 0), (0, 0), (-2147483648, 2147483647), (1, -1)]


def utf16(text: str) -> bytes:
    return text.encode("utf-16-le")


def write(folder: str, data: bytes) -> None:
    path = here / "corpus" / folder
    path.mkdir(parents=True, exist_ok=True)
    (path / hashlib.sha1(data).hexdigest()).write_bytes(data)


for separator in (0, 1):  # the full stop, the comma
    for scale in SCALES:
        write("parse_number", bytes([separator]) + utf16(scale))
    for x, y in POINTS:
        for scale in ("150", "110", "115", "12.5", "12,5", "0", "-0", "1e308", "abc", "1e-300", "1e20"):
            write("readout", struct.pack("<iiB", x, y, separator) + utf16(scale))
