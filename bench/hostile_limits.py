#!/usr/bin/env python3
"""No hostile input file of under 1 MB may make any fiscora-cli command use more than 500 MB of memory
or 10 seconds.

Runs every command that reads a snapshot (export to PDF and HTML, play, dump) on each snapshot of the
replayed regression inputs (tests/report/data) and on snapshots made here, and the report command on
hostile templates made here, each under /usr/bin/time -v. Prints the peak resident memory and the time
of every run and exits 1 when a run exceeds a limit, ends by a signal, or an input is not under 1 MB.
Big pictures and long reports are made at run time; nothing here is committed but this script.

    bench/hostile_limits.py [--cli build/bin/fiscora-cli] [--corpus tests/report/data]
    bench/hostile_limits.py --write-corpus tests/report/data   # (re)writes the committed inputs
"""

import argparse
import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import zlib
from pathlib import Path

MEMORY_LIMIT_MB = 500
TIME_LIMIT_S = 10.0
INPUT_LIMIT_BYTES = 1024 * 1024
# A run still going after this long has failed anyway; it is stopped.
HARD_STOP_S = 120

ROOT = Path(__file__).resolve().parent.parent

# ---- Snapshot streams (version 10000) -----------------------------------------------------------------

PAGE_HEADER, PAGE_END = 80, 82
LEFT_TEXT, RECTANGLE, PRINT_BITMAP_RECT, STRETCH_DRAW, BRUSH_COPY = 24, 18, 17, 21, 2
BITMAP, REFERENCE = 1, 128


def text(value):
    data = value.encode("utf-16-le")
    assert len(value) < 192
    return bytes([len(value)]) + data


def floats(*values):
    return struct.pack("<%df" % len(values), *values)


class Snapshot:
    """A report header, then pages chained through their header offsets."""

    def __init__(self, pages, paper=(8.5, 11.0)):
        self.paper = paper
        self.data = bytearray(b"Z" + struct.pack("<H", 10000) + text("Hostile"))
        self.data += struct.pack("<iii", pages, 1, 99999)
        self.data += floats(paper[0], paper[1], 0, 0, 0, 0)
        self.data += struct.pack("<BHBBHHHH", 0, 265, 0, 0, 1, 1, 0, 0) + text("")
        self.previous = 0
        self.next_field = 0

    def page(self, number, records=b""):
        position = len(self.data)
        if self.next_field:
            self.data[self.next_field:self.next_field + 4] = struct.pack("<i", position)
        self.data += struct.pack("<Bi", PAGE_HEADER, self.previous)
        self.next_field = len(self.data)
        self.data += struct.pack("<ii", 0, number) + floats(*self.paper) + struct.pack("<BH", 0, 512)
        self.data += records + bytes([PAGE_END])
        self.previous = position

    def next_records(self):
        """Where the records of the next page begin: after its 24-byte header."""
        return len(self.data) + 24


def graphic(picture):
    return struct.pack("<Bi", BITMAP, len(picture)) + picture


def reference(length_field):
    return struct.pack("<Bi", BITMAP | REFERENCE, length_field)


def run_length_bitmap(width, height, colour=0xFF):
    """An 8-bit run-length encoded BMP whose pixels end at once: 62 bytes for any size."""
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 1, 0, 2835, 2835, 2, 0)
    palette = struct.pack("<II", colour, 0x00FF00)
    pixels = b"\x00\x01"
    header = b"BM" + struct.pack("<IHHI", 14 + len(info) + len(palette) + len(pixels), 0, 0, 14 + len(info) + 8)
    return header + info + palette + pixels


def small_bitmap():
    """A 2 x 2 24-bit BMP."""
    rows = (b"\x00\x00\xff" * 2 + b"\x00\x00") * 2
    info = struct.pack("<IiiHHIIiiII", 40, 2, 2, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + 40 + len(rows), 0, 0, 54) + info + rows


def stretch_110_inches():
    """A tiny picture stretched over 110 x 110 inches of a letter page."""
    shot = Snapshot(1)
    shot.page(1, bytes([STRETCH_DRAW]) + graphic(small_bitmap()) + floats(0, 0, 110, 110))
    return bytes(shot.data)


def picture_5000_square():
    """A 62-byte bitmap of 5000 x 5000 pixels."""
    shot = Snapshot(1)
    shot.page(1, bytes([PRINT_BITMAP_RECT]) + graphic(run_length_bitmap(5000, 5000)) + floats(1, 1, 2, 2))
    return bytes(shot.data)


def huge_page():
    """The largest page a snapshot may have, with a text and a frame."""
    shot = Snapshot(1, paper=(99999.0, 99999.0))
    shot.page(1, bytes([LEFT_TEXT]) + floats(1) + text("huge page") + floats(1)
              + bytes([RECTANGLE]) + floats(0.5, 0.5, 99998, 99998))
    return bytes(shot.data)


def brush_copy_huge_source():
    """A brush copy of a 2 x 2 bitmap naming a source rectangle of a million inches."""
    shot = Snapshot(1)
    shot.page(1, bytes([BRUSH_COPY]) + graphic(small_bitmap()) + floats(0, 0, 8, 10)
              + floats(0, 0, 1e6, 1e6) + struct.pack("<i", 0))
    return bytes(shot.data)


def pictures_beyond_memory():
    """Twenty different 4096 x 4096 pictures: 320 MB decoded."""
    shot = Snapshot(1)
    records = b"".join(bytes([PRINT_BITMAP_RECT]) + graphic(run_length_bitmap(4096, 4096, colour))
                       + floats(1, 1, 2, 2) for colour in range(20))
    shot.page(1, records)
    return bytes(shot.data)


def picture_referenced_40000_times():
    """One 4096 x 4096 picture drawn 40,000 times over 400 pages, by reference."""
    shot = Snapshot(400)
    length_field = 0
    for number in range(1, 401):
        records = bytearray()
        for i in range(100):
            records.append(PRINT_BITMAP_RECT)
            if length_field == 0:
                length_field = shot.next_records() + 2  # after the record's code and the block's kind
                records += graphic(run_length_bitmap(4096, 4096))
            else:
                records += reference(length_field)
            records += floats(1, 1 + i * 0.09, 2, 1.08 + i * 0.09)
        shot.page(number, bytes(records))
    return bytes(shot.data)


def distinct_stretches():
    """A thousand stretched pictures over the whole page, each a little larger than the last."""
    shot = Snapshot(1)
    records = bytearray()
    length_field = shot.next_records() + 2
    for i in range(1000):
        records.append(STRETCH_DRAW)
        records += graphic(small_bitmap()) if i == 0 else reference(length_field)
        records += floats(0, 0, 8.5 - i * 0.001, 11 - i * 0.001)
    shot.page(1, bytes(records))
    return bytes(shot.data)


def pages_20000():
    """Twenty thousand pages of one text."""
    shot = Snapshot(20000)
    for number in range(1, 20001):
        shot.page(number, bytes([LEFT_TEXT]) + floats(1) + text("p%d" % number) + floats(1))
    return bytes(shot.data)


# Committed to tests/report/data and replayed by the tests; small enough to keep.
CORPUS = {
    "hostile-stretch-110-inches.fsn": stretch_110_inches,
    "hostile-picture-5000-square.fsn": picture_5000_square,
    "hostile-huge-page.fsn": huge_page,
    "hostile-brush-copy-huge-source.fsn": brush_copy_huge_source,
}

# Made for each run only.
GENERATED = {
    "pictures-beyond-memory.fsn": pictures_beyond_memory,
    "picture-referenced-40000-times.fsn": picture_referenced_40000_times,
    "distinct-stretches.fsn": distinct_stretches,
    "pages-20000.fsn": pages_20000,
}

# ---- Templates ----------------------------------------------------------------------------------------


def png(width, height):
    """A PNG of one colour, a few kilobytes for any size."""
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    row = b"\x00" + b"\x20\x60\xa0" * width
    pixels = zlib.compress(row * height, 9)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", pixels) + chunk(b"IEND", b""))


def template(bands):
    return ('<?xml version="1.0"?>\n<folio-project version="1"><report name="DeprReport"><page>'
            + bands + "</page></report></folio-project>\n").encode()


def twenty_pictures(folder):
    """Twenty picture elements naming one 4096 x 4096 picture."""
    (folder / "big.png").write_bytes(png(4096, 4096))
    pictures = "".join('<picture x="0" y="%g" width="1" height="0.4" file="big.png"/>' % (i * 0.45)
                       for i in range(20))
    return template('<title height="9.5">' + pictures + "</title>")


def bands_10000(folder):
    """Ten thousand title bands of one sheet each."""
    band = '<title height="9"><text x="0" y="0.5">band</text></title>'
    return template('<pageHeader height="0.3"><text x="0" y="0.2">head</text></pageHeader>'
                    + band * 10000 + '<pageFooter height="0.3"><text x="0" y="0.2">foot</text></pageFooter>')


TEMPLATES = {"twenty-pictures.fol": twenty_pictures, "bands-10000.fol": bands_10000}

REPORT_INPUTS = ["--type", "0", "--placed", "03/15/2026", "--cost", "10000", "--fiscal-year-end", "12/31/2026"]

# ---- Running ------------------------------------------------------------------------------------------


def measure(command, folder):
    """Runs the command under /usr/bin/time -v: (exit status or signal text, peak MB, seconds)."""
    report = folder / "time.txt"
    # In a process group of its own, so that a run stopped takes the command with it, not only time.
    run = subprocess.Popen(["/usr/bin/time", "-v", "-o", str(report)] + command, cwd=folder,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True,
                           env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    try:
        run.wait(timeout=HARD_STOP_S)
    except subprocess.TimeoutExpired:
        os.killpg(run.pid, signal.SIGKILL)
        run.wait()
        return "stopped", 0.0, float(HARD_STOP_S)
    lines = report.read_text()
    peak = int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", lines).group(1)) / 1024.0
    clock = re.search(r"Elapsed \(wall clock\) time \(h:mm:ss or m:ss\): (?:(\d+):)?(\d+):([\d.]+)", lines)
    seconds = int(clock.group(1) or 0) * 3600 + int(clock.group(2)) * 60 + float(clock.group(3))
    ended = re.search(r"Command terminated by signal (\d+)", lines)
    status = re.search(r"Exit status: (\d+)", lines)
    return ("signal " + ended.group(1)) if ended else "exit " + status.group(1), peak, seconds


def snapshot_commands(cli, path, out):
    return {
        "export pdf": [cli, "export", str(path), "--output", str(out / "out.pdf")],
        "export html": [cli, "export", str(path), "--output", str(out / "html" / "out.html")],
        "play": [cli, "play", str(path)],
        "dump": [cli, "dump", str(path)],
    }


def template_commands(cli, path, out):
    return {"report " + kind: [cli, "report"] + REPORT_INPUTS + ["--template", str(path), "--output",
                                                                  str(out / ("html" if kind == "html" else "")
                                                                      / ("out." + kind))]
            for kind in ("fsn", "pdf", "html")}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", default=str(ROOT / "build" / "bin" / "fiscora-cli"))
    parser.add_argument("--corpus", default=str(ROOT / "tests" / "report" / "data"))
    parser.add_argument("--write-corpus", metavar="FOLDER", help="write the committed inputs and stop")
    arguments = parser.parse_args()

    if arguments.write_corpus:
        for name, make in CORPUS.items():
            (Path(arguments.write_corpus) / name).write_bytes(make())
        return 0

    failures = 0
    with tempfile.TemporaryDirectory(prefix="fiscora-hostile-") as work:
        work = Path(work)
        inputs = work / "inputs"
        inputs.mkdir()
        runs = []
        for path in sorted(Path(arguments.corpus).glob("*.fsn")):
            runs.append((path, [path], snapshot_commands))
        for name, make in GENERATED.items():
            path = inputs / name
            path.write_bytes(make())
            runs.append((path, [path], snapshot_commands))
        for name, make in TEMPLATES.items():
            folder = inputs / name.replace(".fol", "")
            folder.mkdir()
            path = folder / name
            path.write_bytes(make(folder))
            runs.append((path, sorted(folder.iterdir()), template_commands))

        print("%-40s %-12s %-9s %9s %8s" % ("input", "command", "status", "peak MB", "seconds"))
        for path, files, commands in runs:
            for file in files:
                if file.stat().st_size >= INPUT_LIMIT_BYTES:
                    print("%s is not under 1 MB (%d bytes)" % (file.name, file.stat().st_size))
                    failures += 1
            for label, command in commands(arguments.cli, path, work).items():
                (work / "html").mkdir()
                status, peak, seconds = measure(command, work)
                over = peak > MEMORY_LIMIT_MB or seconds > TIME_LIMIT_S or not status.startswith("exit")
                failures += over
                print("%-40s %-12s %-9s %9.1f %8.2f%s" % (path.name, label, status, peak, seconds,
                                                           "  <-- over the limit" if over else ""))
                for leftover in work.iterdir():  # outputs, finished or not
                    if leftover.is_dir() and leftover != inputs:
                        shutil.rmtree(leftover)
                    elif leftover.is_file():
                        leftover.unlink()
    if failures:
        print("%d run(s) over %d MB or %g s, or ended by a signal" % (failures, MEMORY_LIMIT_MB, TIME_LIMIT_S))
        return 1
    print("every run within %d MB and %g s" % (MEMORY_LIMIT_MB, TIME_LIMIT_S))
    return 0


if __name__ == "__main__":
    sys.exit(main())
