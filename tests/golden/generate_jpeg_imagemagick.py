#!/usr/bin/env python3
"""Writes jpeg_imagemagick.ppm: the pixels ImageMagick's convert reads from
the JPEG our encoder makes of the sample picture (at the default quality),
as plain-text PPM. Run it by hand after a native build (it runs build/native's
charts_write_sample_images); the tests read only the PPM it writes.

Usage: generate_jpeg_imagemagick.py [path of charts_write_sample_images]
"""

import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
OUTPUT = os.path.join(HERE, "jpeg_imagemagick.ppm")
TOOL = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
    HERE, "..", "..", "build", "native", "tests", "charts_write_sample_images")

with tempfile.TemporaryDirectory() as tmp:
    subprocess.run([TOOL, tmp], check=True)
    ppm = subprocess.run(["convert", os.path.join(tmp, "sample.jpg"), "-compress", "none", "ppm:-"],
                         check=True, stdout=subprocess.PIPE).stdout
with open(OUTPUT, "wb") as out:
    out.write(ppm)
print("wrote", OUTPUT)
