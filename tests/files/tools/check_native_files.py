#!/usr/bin/env python3
"""Checks native binary workbook files against the file layout, without the
program's own code: gzip from the standard library, MD5 from hashlib, RC4
written here. Runs the sample writer into a folder, then reads every file
its manifest lists.

Usage: check_native_files.py SAMPLE_WRITER FOLDER
"""
import gzip
import hashlib
import os
import struct
import subprocess
import sys

BLOCK_MAX = 8182
MAX_COLUMN = 2046
MAX_ROW = 2097151


def rc4(key, data):
    s = list(range(256))
    j = 0
    for i in range(256):
        j = (j + s[i] + key[i % len(key)]) & 255
        s[i], s[j] = s[j], s[i]
    out = bytearray(len(data))
    i = j = 0
    for n, byte in enumerate(data):
        i = (i + 1) & 255
        j = (j + s[i]) & 255
        s[i], s[j] = s[j], s[i]
        out[n] = byte ^ s[(s[i] + s[j]) & 255]
    return bytes(out)


class Reader:
    def __init__(self, data, at=0):
        self.data = data
        self.at = at

    def take(self, n):
        if self.at + n > len(self.data):
            raise ValueError("short data at %d (+%d of %d)" % (self.at, n, len(self.data)))
        piece = self.data[self.at:self.at + n]
        self.at += n
        return piece

    def u8(self):
        return self.take(1)[0]

    def u16(self):
        return struct.unpack("<H", self.take(2))[0]

    def u32(self):
        return struct.unpack("<I", self.take(4))[0]


def cell_size(block, at):
    kind = block[at] & 7
    if kind == 1:
        return 9 + struct.unpack_from("<H", block, at + 7)[0]
    if kind == 2:
        return 15
    if kind == 4:
        size = 35 + struct.unpack_from("<H", block, at + 33)[0]
        if block[at + 14] & 1:
            size += 2 + struct.unpack_from("<H", block, at + size)[0]
        return size
    raise ValueError("cell type byte %#x" % block[at])


def check_cells(r, values_only):
    last = None
    for _ in range(r.u32()):
        length = r.u16()
        if length > BLOCK_MAX:
            raise ValueError("cell block of %d bytes" % length)
        block = r.take(length)
        at = 0
        while at < length:
            size = cell_size(block, at)
            if at + size > length:
                raise ValueError("cell crosses its block")
            column, row = struct.unpack_from("<HI", block, at + 1)
            if column > MAX_COLUMN or row > MAX_ROW:
                raise ValueError("cell off the grid")
            if last is not None and (row, column) <= last:
                raise ValueError("cells out of order")
            if values_only and (block[at] & 4 or block[at] & 8):
                raise ValueError("formula or array value in a values-only copy")
            last = (row, column)
            at += size


def check_runs(r):
    last = None
    for _ in range(r.u32()):
        length = r.u16()
        if length > BLOCK_MAX or length % 10:
            raise ValueError("style-run block of %d bytes" % length)
        block = r.take(length)
        for at in range(0, length, 10):
            first, end, row, _style = struct.unpack_from("<HHIH", block, at)
            if first > end or end > MAX_COLUMN or row > MAX_ROW:
                raise ValueError("style run off the grid")
            if last is not None and (row, first) <= last:
                raise ValueError("style runs out of order")
            last = (row, end)


def check_body(r, values_only):
    r.take(128 + 50 + 8)
    for _ in range(r.u16()):
        if r.u16() >= 100:
            raise ValueError("list slot")
        if r.u16() > 29:
            raise ValueError("list name too long")
        r.at -= 2
        r.take(r.u16())
        for _ in range(r.u32()):
            r.take(r.u16())
    fonts = r.u8()
    if not 1 <= fonts <= 128:
        raise ValueError("font count %d" % fonts)
    r.take(135 * fonts)
    styles = r.u16()
    if not 1 <= styles <= 512:
        raise ValueError("style count %d" % styles)
    r.take(1152 * styles)
    r.take(396 * r.u32())
    items = r.u32()
    sheets = 0
    for _ in range(items):
        r.take(r.u8())
        level, kind, _flag = r.u16(), r.u8(), r.u8()
        if level < 1:
            raise ValueError("level 0")
        if kind != 1:
            continue
        sheets += 1
        for _ in range(r.u32()):
            header = r.take(984)
            for _ in range(header[976]):
                chart = r.take(732)
                series = chart[728]
                if series > 16 or chart[0] not in (1, 2, 3):
                    raise ValueError("chart kind %d with %d series" % (chart[0], series))
                r.take(64 + 3528 * series)
        columns = 0
        while columns < 2047:
            run = r.u16()
            r.take(6)
            if run == 0:
                raise ValueError("empty column run")
            columns += run
        if columns != 2047:
            raise ValueError("column runs cover %d columns" % columns)
        count = r.u32()
        covered = 0
        while covered < count:
            covered += r.u32()
            r.u16()
        if covered != count:
            raise ValueError("row runs cover %d of %d rows" % (covered, count))
        check_runs(r)
        check_cells(r, values_only)
        r.take(1152 + 472)
    if sheets == 0:
        raise ValueError("no worksheet")


def check_file(path, mode, password):
    raw = open(path, "rb").read()
    content = gzip.decompress(raw)  # checks the CRC and the length too
    header = content[:11]
    digits = {0: b"00", 1: b"11", 2: b"10", 3: b"21", 4: b"20"}[mode]
    if header != b"3" + digits + b"00000000":
        raise ValueError("header %r" % header)
    r = Reader(content, 11)
    if mode in (1, 3):
        check_body(r, True)
    if mode == 0:
        check_body(r, False)
        if len(content) - r.at != 8:
            raise ValueError("%d bytes after the body" % (len(content) - r.at))
        return
    md5 = hashlib.md5(password).digest()
    key = md5[:5] if mode in (1, 2) else md5
    plain = rc4(key, content[r.at:])
    n = plain[0]
    filler = 4 * n if n else 1
    digest = plain[1 + filler:17 + filler]
    if n != digest[0] or any(b != digest[1] for b in plain[1:1 + filler]):
        raise ValueError("length byte or filler do not follow the digest")
    body = plain[17 + filler:-8]
    if hashlib.md5(body).digest() != digest:
        raise ValueError("digest differs from the body's MD5")
    br = Reader(body)
    check_body(br, False)
    if br.at != len(body):
        raise ValueError("%d bytes after the body" % (len(body) - br.at))


def main():
    writer, folder = sys.argv[1], sys.argv[2]
    os.makedirs(folder, exist_ok=True)
    subprocess.run([writer, folder, "10"], check=True)
    passed = failed = 0
    for line in open(os.path.join(folder, "manifest.txt")):
        name, mode, hexword = line.split()
        password = b"" if hexword == "-" else bytes.fromhex(hexword)
        try:
            check_file(os.path.join(folder, name), int(mode), password)
            passed += 1
        except (ValueError, OSError, EOFError, IndexError, struct.error) as problem:
            print("%s: %s" % (name, problem))
            failed += 1
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed or not passed else 0


if __name__ == "__main__":
    sys.exit(main())
