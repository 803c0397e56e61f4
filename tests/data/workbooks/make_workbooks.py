#!/usr/bin/python3
# Writes the test workbooks that openpyxl makes (inline strings, numbers, absolute relationship
# targets). Run by make_workbooks.sh, which also has LibreOffice save copies; not run by the tests.
# The answer worksheet is named after the test publisher's domain, www.tavora71.example.
import sys
import openpyxl

SHEET = "www.tavora71.example"
MARKER = "Tavora-II-71"


def example(ws):
    # C3 = 1, C4 = 2, C5 empty, C6 = 0, the rest 1.
    for item in range(1, 72):
        ws.cell(row=item + 2, column=3, value=1)
    ws["C4"] = 2
    ws["C5"] = None
    ws["C6"] = 0


def workbook(path, marker=MARKER, sheet=SHEET, fill=example):
    wb = openpyxl.Workbook()
    decoy = wb.active
    decoy.title = "Notes"  # the answer sheet is found by its name, not by its place
    decoy["Z3"] = MARKER
    decoy["C3"] = 2
    ws = wb.create_sheet(sheet)
    ws.sheet_view.rightToLeft = True
    ws["A1"] = "شماره سوال"
    ws["C1"] = "پاسخ"
    if marker is not None:
        ws["Z3"] = marker
    fill(ws)
    wb.save(path)


def odd_values(ws):
    example(ws)
    ws["C3"] = "بله"   # a word
    ws["C4"] = 3       # numbers that are no response code
    ws["C5"] = 1.5
    ws["C6"] = -1
    ws["C7"] = "1"     # digits kept as text
    ws["C8"] = "۲"     # a Persian digit
    ws["C9"] = 2.0     # a whole number kept as a float
    ws["C10"] = True   # a yes/no cell


out = sys.argv[1] if len(sys.argv) > 1 else "."
workbook(f"{out}/openpyxl-example.xlsx")
workbook(f"{out}/openpyxl-odd-values.xlsx", fill=odd_values)
workbook(f"{out}/marker-trailing-blank.xlsx", marker=MARKER + " ")
workbook(f"{out}/marker-lower-case.xlsx", marker=MARKER.lower())
workbook(f"{out}/missing-sheet.xlsx", sheet="Sheet1")
