#!/usr/bin/env python3
"""Writes the seed inputs of fuzz_gauge_answers and fuzz_workbook_writers.

The gauge seeds are whole conversations as the gauge would answer them (first byte:
job and flags, see fuzz_gauge_answers.cpp), so the fuzzer starts from answers that
pass every check and mutates from there. Run from anywhere; rewrites the seed files.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def crc16(data):
    crc = 0
    for byte in data:
        crc ^= byte
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return crc


def sealed(body):
    body = bytes(body) + b"\xAA\xAA"
    return body + struct.pack("<H", crc16(body))


def header(code, index=0):
    return bytes([0xAA, code, code ^ 0xFF, index >> 8, index & 0xFF])


def name_field(name):
    raw = name.encode("cp1251")[:20]
    field = bytes([len(raw)]) + raw
    if len(raw) < 20:
        field += b"\x00"
    return field.ljust(21, b"\xFF")


def material(j):
    body = name_field("Материал %d" % j) + name_field("Material %d" % j)
    body += struct.pack("<HB", 1000 + 100 * j, j + 1) + b"\x00\x00\x00"
    return header(0x04, j) + sealed(body)


def version(date="21.04.2015"):
    return header(0x01) + (b"RZ-4.7" + date.encode()).ljust(16, b"\x00")


def params(count):
    bits = bytearray(200)
    for slot in range(count):
        bits[slot // 8] |= 1 << (slot % 8)
    return header(0x02) + sealed(bits)


def record(j, day=13, month=4, hour=10, material_no=1, thickness=12.5, speed=4000):
    body = bytes([j % 60, 30, hour, day, month, 15, j + 1, 1, material_no, 0, 0, 0])
    body += struct.pack("<fI", thickness, speed)
    return header(0x03, j) + sealed(body)


def archive(count):
    return params(count) + b"".join(record(j) for j in range(count))


def materials():
    return b"".join(material(j) for j in range(13))


JOB_ARCHIVE, JOB_MATERIALS, JOB_WRITE, JOB_SCREEN = 0, 1, 2, 3
NEED_MATERIALS, MERGE, ENGLISH = 4, 8, 16

GAUGE_SEEDS = {
    "archive_with_materials": bytes([JOB_ARCHIVE | NEED_MATERIALS]) + materials() + version() + archive(3),
    "archive_merge_english": bytes([JOB_ARCHIVE | MERGE | ENGLISH]) + version() + archive(2),
    "archive_empty": bytes([JOB_ARCHIVE]) + version() + params(0),
    "archive_old_firmware": bytes([JOB_ARCHIVE]) + version("09.06.2014") + version(),
    "archive_bad_crc_then_good": bytes([JOB_ARCHIVE]) + version() + params(2) + record(0)
    + header(0x03, 1) + b"\x00" * 24 + archive(2),
    "archive_odd_dates": bytes([JOB_ARCHIVE]) + version() + params(3)
    + record(0, day=31, month=6) + record(1, month=13, hour=24)
    + record(2, material_no=25, thickness=float("nan"), speed=0xFFFFFFFF),
    "materials_read": bytes([JOB_MATERIALS]) + materials(),
    "materials_write": bytes([JOB_WRITE]) + b"".join(header(0x05, j) for j in range(13)),
    "screen": bytes([JOB_SCREEN]) + header(0x06) + bytes(range(256)) * 4,
}

# Workbook seeds: column count, row count, then length-prefixed cells.
def table(cols, rows, cells):
    out = bytes([cols - 1, rows - 1])
    for cell in cells:
        out += bytes([len(cell)]) + cell
    return out


WORKBOOK_SEEDS = {
    "measurements": table(8, 3, [t.encode("cp1251") for t in (
        "№", "Время", "Дата", "Серия", "Номер", "Материал", "Толщина", "Скорость",
        "1", "10:30:00", "13.04.2015", "1", "1", "Бетон ", "12,50", "4000",
        "2", "10:31:00", "13.04.2015", "1", "2", "Сoncrete", "NAN", "4294967295")]),
    "all_bytes": table(4, 4, [bytes(range(k, k + 64)) for k in range(0, 256, 64)]),
    "controls_and_markup": table(2, 2, [b"\x00\x01\x1f", b"<a>&amp;\"'", b"_x0041_", b" \t\r\n "]),
    "one_cell": table(1, 1, [b""]),
}


def write(folder, seeds):
    path = os.path.join(HERE, "corpus", folder)
    os.makedirs(path, exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join(path, name), "wb") as f:
            f.write(data)


write("gauge_answers", GAUGE_SEEDS)
write("workbook_writers", WORKBOOK_SEEDS)
