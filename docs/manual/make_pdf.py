#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""make_pdf.py MANUAL.md STYLE.css CROPS.txt IMAGE_DIR WORK_DIR OUT.pdf

Turns the manual's Markdown (facts already filled in) into the PDF: cuts the close-ups of the
main face from the 200 % picture, converts the Markdown to HTML and lays it out with WeasyPrint.
"""
import shutil
import sys
from pathlib import Path

import markdown
from PIL import Image
from weasyprint import HTML


def cut_close_ups(crops, images, work):
    face = Image.open(images / "orvane-200.png")
    scale = face.width / 550  # positions are given at 100 %
    for line in crops.read_text().splitlines():
        if not line.strip() or line.startswith("#"):
            continue
        name, x, y, w, h = line.split()
        box = [round(int(v) * scale) for v in (x, y, int(x) + int(w), int(y) + int(h))]
        face.crop(box).save(work / name)


def main(source, style, crops, images, work, out):
    work.mkdir(parents=True, exist_ok=True)
    for picture in images.glob("orvane-*.png"):
        shutil.copy(picture, work / picture.name)
    shutil.copy(Path(__file__).parent / "signal-flow.svg", work / "signal-flow.svg")
    cut_close_ups(crops, images, work)
    body = markdown.markdown(source.read_text(encoding="utf-8"),
                             extensions=["tables", "attr_list", "md_in_html", "fenced_code"])
    html = ('<!DOCTYPE html><html lang="en"><head><meta charset="utf-8">'
            "<title>Orvane User Manual</title></head><body>" + body + "</body></html>")
    (work / "manual.html").write_text(html, encoding="utf-8")
    HTML(string=html, base_url=str(work)).write_pdf(out, stylesheets=[str(style)])


if __name__ == "__main__":
    if len(sys.argv) != 7:
        sys.exit(__doc__)
    main(*(Path(a) for a in sys.argv[1:]))
