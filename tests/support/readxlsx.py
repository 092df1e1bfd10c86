#!/usr/bin/python3
"""Prints the first sheet of an .xlsx workbook as JSON for the writer's tests.

    readxlsx.py FILE

Output: {"sheets": [names], "cells": [{"row", "column", "value", "type",
"format", "bold"}], "widths": {"<column number>": width}}. "cells" lists every
cell stored in the file, also cells that carry only a format; "widths" lists
the columns with a width of their own.
"""

import json
import sys

import openpyxl


def cell_type(cell):
    return {"n": "number", "s": "string"}.get(cell.data_type, cell.data_type)


def main():
    book = openpyxl.load_workbook(sys.argv[1])
    sheet = book.worksheets[0]
    cells = []
    # The stored cells only: iter_rows() would walk the whole used range,
    # which for a cell in the last row and column is the entire sheet.
    for (row, column), cell in sorted(sheet._cells.items()):
        if cell.value is None and not cell.has_style:
            continue
        cells.append({
            "row": row,
            "column": column,
            "value": cell.value,
            "type": cell_type(cell),
            "format": cell.number_format,
            "bold": bool(cell.font.b),
        })
    widths = {}
    for dimension in list(sheet.column_dimensions.values()):
        if dimension.customWidth and dimension.min:
            for column in range(dimension.min, dimension.max + 1):
                widths[str(column)] = dimension.width
    json.dump({"sheets": book.sheetnames, "cells": cells, "widths": widths}, sys.stdout)


if __name__ == "__main__":
    main()
