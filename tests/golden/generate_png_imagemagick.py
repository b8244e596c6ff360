#!/usr/bin/env python3
"""Writes png_imagemagick.ppm: the pixels ImageMagick's convert reads from
the PNG our encoder makes of the sample picture, as plain-text PPM. Run it
by hand after a native build (it runs build/native's encode_sample_png);
the tests read only the PPM it writes.

Usage: generate_png_imagemagick.py [path of encode_sample_png]
"""

import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
OUTPUT = os.path.join(HERE, "png_imagemagick.ppm")
TOOL = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
    HERE, "..", "..", "build", "native", "tests", "charts_encode_sample_png")

with tempfile.TemporaryDirectory() as tmp:
    png = os.path.join(tmp, "sample.png")
    subprocess.run([TOOL, png], check=True)
    ppm = subprocess.run(["convert", png, "-compress", "none", "ppm:-"], check=True,
                         stdout=subprocess.PIPE).stdout
with open(OUTPUT, "wb") as out:
    out.write(ppm)
print("wrote", OUTPUT)
