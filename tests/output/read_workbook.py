#!/usr/bin/python3
"""Reads a workbook with an independent reader (openpyxl for .xlsx, xlrd for .xls)
and prints what the tests compare, one fact a line, tab-separated, UTF-8:

  cells PATH         sheet NAME ROWS COLS, then cell ROW COL TYPE CENTRED VALUE
                     for every non-empty cell (ROW and COL from 0; TYPE "s" for a
                     string; VALUE with \\ \t \n \r escaped)
  columns PATH       sheet NAME, then col INDEX WIDTH CENTRED for the given columns
                     (WIDTH in character units; COUNT columns from argument 3)
  summary PATH       sheet NAME ROWS COLS only
  stream PATH NAME OUT  copies stream NAME of a compound document to OUT
"""
import sys


def esc(text):
    return (text.replace("\\", "\\\\").replace("\t", "\\t")
            .replace("\n", "\\n").replace("\r", "\\r"))


def out(*fields):
    sys.stdout.write("\t".join(str(f) for f in fields) + "\n")


def is_xls(path):
    with open(path, "rb") as f:
        return f.read(8) == bytes.fromhex("D0CF11E0A1B11AE1")


def xls_cells(path, with_cells):
    import xlrd
    book = xlrd.open_workbook(path, formatting_info=with_cells, on_demand=True)
    for index in range(book.nsheets):
        sheet = book.sheet_by_index(index)
        out("sheet", sheet.name, sheet.nrows, sheet.ncols)
        if not with_cells:
            continue
        for r in range(sheet.nrows):
            for c, cell in enumerate(sheet.row(r)):
                if cell.ctype == xlrd.XL_CELL_EMPTY:
                    continue
                kind = "s" if cell.ctype == xlrd.XL_CELL_TEXT else "t%d" % cell.ctype
                centred = int(book.xf_list[cell.xf_index].alignment.hor_align == 2)
                out("cell", r, c, kind, centred, esc(str(cell.value)))


def xlsx_cells(path, with_cells):
    import openpyxl
    book = openpyxl.load_workbook(path, read_only=True)
    for sheet in book.worksheets:
        out("sheet", sheet.title, sheet.max_row or 0, sheet.max_column or 0)
        if not with_cells:
            continue
        for r, row in enumerate(sheet.iter_rows()):
            for c, cell in enumerate(row):
                if cell.value is None:
                    continue
                kind = "s" if cell.data_type in ("s", "inlineStr") and isinstance(cell.value, str) else "t" + cell.data_type
                centred = int(cell.alignment is not None and cell.alignment.horizontal == "center")
                out("cell", r, c, kind, centred, esc(str(cell.value)))


def columns(path, count):
    if is_xls(path):
        import xlrd
        book = xlrd.open_workbook(path, formatting_info=True)
        for sheet in book.sheets():
            out("sheet", sheet.name)
            for c in range(count):
                info = sheet.colinfo_map.get(c)
                if info is None:
                    out("col", c, "none", 0)
                    continue
                centred = int(book.xf_list[info.xf_index].alignment.hor_align == 2)
                out("col", c, "%.3f" % (info.width / 256.0), centred)
    else:
        import openpyxl
        from openpyxl.utils import get_column_letter
        book = openpyxl.load_workbook(path)
        for sheet in book.worksheets:
            out("sheet", sheet.title)
            for c in range(count):
                letter = get_column_letter(c + 1)
                if letter not in sheet.column_dimensions:
                    out("col", c, "none", 0)
                    continue
                dim = sheet.column_dimensions[letter]
                centred = int(dim.alignment is not None and dim.alignment.horizontal == "center")
                out("col", c, "%.3f" % (dim.width or 0), centred)


def stream(path, name, target):
    from xlrd import compdoc
    with open(path, "rb") as f:
        data = f.read()
    doc = compdoc.CompDoc(data, logfile=sys.stderr)
    with open(target, "wb") as f:
        f.write(doc.get_named_stream(name))


def main():
    mode, path = sys.argv[1], sys.argv[2]
    if mode == "stream":
        stream(path, sys.argv[3], sys.argv[4])
    elif mode == "columns":
        columns(path, int(sys.argv[3]))
    elif mode in ("cells", "summary"):
        (xls_cells if is_xls(path) else xlsx_cells)(path, mode == "cells")
    else:
        sys.exit("unknown mode " + mode)


if __name__ == "__main__":
    main()
