#!/usr/bin/env bash
# Makes the test workbooks of this folder with real spreadsheet software. Not run by the tests;
# run it again only to renew them. Needs python3-openpyxl and libreoffice-calc-nogui.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

/usr/bin/python3 "$here/make_workbooks.py" "$here"

# LibreOffice saves the example again: shared strings and relative targets, and as .xls.
cp "$here/openpyxl-example.xlsx" "$work/libreoffice-example.xlsx"
mkdir "$work/out"
soffice --headless --norestore -env:UserInstallation=file://$work/profile \
  --convert-to xlsx:"Calc MS Excel 2007 XML" --outdir "$work/out" "$work/libreoffice-example.xlsx" >/dev/null
soffice --headless --norestore -env:UserInstallation=file://$work/profile \
  --convert-to xls:"MS Excel 97" --outdir "$work/out" "$work/libreoffice-example.xlsx" >/dev/null
cp "$here/marker-trailing-blank.xlsx" "$work/marker-trailing-blank-xls.xlsx"
soffice --headless --norestore -env:UserInstallation=file://$work/profile \
  --convert-to xls:"MS Excel 97" --outdir "$work/out" "$work/marker-trailing-blank-xls.xlsx" >/dev/null
cp "$work/out/libreoffice-example.xlsx" "$work/out/libreoffice-example.xls" "$here/"
cp "$work/out/marker-trailing-blank-xls.xls" "$here/marker-trailing-blank.xls"

# A damaged archive: the LibreOffice workbook cut off in the middle.
size=$(stat -c %s "$here/libreoffice-example.xlsx")
head -c $((size / 2)) "$here/libreoffice-example.xlsx" > "$here/damaged.xlsx"

# A small zip bomb: the example whose worksheet unpacks to 40 MB.
/usr/bin/python3 - "$here/openpyxl-example.xlsx" "$here/zip-bomb.xlsx" <<'PY'
import sys, zipfile
src, dst = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(src) as zin, zipfile.ZipFile(dst, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as zout:
    for info in zin.infolist():
        data = zin.read(info.filename)
        if info.filename == "xl/worksheets/sheet2.xml":
            head, tail = data.split(b"<sheetData>", 1)
            data = head + b"<sheetData>" + b" " * (40 * 1024 * 1024) + tail
        zout.writestr(info.filename, data)
PY
ls -l "$here"
