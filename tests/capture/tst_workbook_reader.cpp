#include "support/test_registry.h"
#include "workbook_samples.h"
#include "support/test_data.h"
#include "support/test_env.h"
#include "support/probes.h"
#include "capture/blank_workbook.h"
#include "capture/workbook_import.h"
#include "capture/workbook_reader.h"
#include "capture/xlsx_writer.h"

#include <quazip.h>
#include <quazipfile.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using workbook::AnswerWorkbook;

namespace {

// The answer worksheet of the test workbooks is named after this publisher's domain.
const QString kSheet = u"www.tavora71.example"_s;

QStringList stored(const QStringList& values)
{
    QStringList out;
    for (const QString& v : values)
        out << workbook::StoredResponse(v);
    return out;
}

using Members = QList<QPair<QString, QByteArray>>;

bool writeZip(const QString& path, const Members& members)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    for (const auto& [name, bytes] : members) {
        QuaZipFile f(&zip);
        if (!f.open(QIODevice::WriteOnly, QuaZipNewInfo(name)) || f.write(bytes) != bytes.size())
            return false;
        f.close();
    }
    zip.close();
    return zip.getZipError() == 0;
}

const QByteArray kRelNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

QByteArray workbookXml(const QByteArray& sheetName)
{
    return "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" xmlns:r=\"" + kRelNs
        + "\"><sheets><sheet name=\"" + sheetName + "\" sheetId=\"1\" r:id=\"rId7\"/></sheets></workbook>";
}

QByteArray rels(const QByteArray& body)
{
    return "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" + body
        + "</Relationships>";
}

QByteArray rel(const QByteArray& id, const QByteArray& type, const QByteArray& target)
{
    return "<Relationship Id=\"" + id + "\" Type=\"" + kRelNs + "/" + type + "\" Target=\"" + target + "\"/>";
}

QByteArray sheetXml(const QByteArray& sheetData, const QByteArray& prolog = {})
{
    return prolog + "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>"
        + sheetData + "</sheetData></worksheet>";
}

// A workbook of one answer worksheet whose sheet part holds sheetData.
Members answerPackage(const QByteArray& sheetData)
{
    return {{u"xl/workbook.xml"_s, workbookXml(kSheet.toUtf8())},
            {u"xl/_rels/workbook.xml.rels"_s, rels(rel("rId7", "worksheet", "worksheets/sheet1.xml"))},
            {u"xl/worksheets/sheet1.xml"_s, sheetXml(sheetData)}};
}

void put16(QByteArray& b, int v)
{
    b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
}

void put32(QByteArray& b, quint32 v)
{
    put16(b, int(v & 0xFFFF));
    put16(b, int(v >> 16));
}

QByteArray record(int type, const QByteArray& body)
{
    QByteArray r;
    put16(r, type);
    put16(r, int(body.size()));
    return r + body;
}

// An .xls (BIFF8 in a compound file of 512-byte sectors) with these sheets, each declaring
// 65536 rows by 256 columns and holding one number at IV65536: a few KB that make a reader
// which reserves the declared cells set aside 256 MB a sheet.
QByteArray hugeDeclaredXls(const QStringList& sheetNames)
{
    auto bof = [](int kind) {
        QByteArray b;
        put16(b, 0x0600);
        put16(b, kind);
        return record(0x0809, b + QByteArray(12, '\0'));
    };
    QByteArray sheets;
    QList<int> offsets;
    for (int i = 0; i < sheetNames.size(); ++i) {
        offsets << int(sheets.size());
        QByteArray dimension;
        put32(dimension, 0);
        put32(dimension, 65536);
        put16(dimension, 0);
        put16(dimension, 256);
        put16(dimension, 0);
        QByteArray number;
        put16(number, 65535);
        put16(number, 255);
        put16(number, 0);
        const double one = 1;
        number.append(reinterpret_cast<const char*>(&one), 8);
        sheets += bof(0x0010) + record(0x0200, dimension) + record(0x0203, number) + record(0x000A, {});
    }
    // The globals, padded so the stream is too large for the small-stream area.
    QByteArray globals = bof(0x0005) + record(0x00E2, QByteArray(4000, '\0'));
    int boundSheets = 0;
    for (const QString& name : sheetNames)
        boundSheets += 4 + 8 + int(name.size());
    const int sheetsStart = int(globals.size()) + boundSheets + 4;
    for (int i = 0; i < sheetNames.size(); ++i) {
        QByteArray b;
        put32(b, quint32(sheetsStart + offsets.at(i)));
        b.append('\0').append('\0').append(char(sheetNames.at(i).size())).append('\0');
        globals += record(0x0085, b + sheetNames.at(i).toLatin1());
    }
    QByteArray stream = globals + record(0x000A, {}) + sheets;
    const int streamSize = int(stream.size());
    stream.append(QByteArray((512 - streamSize % 512) % 512, '\0'));
    const int streamSectors = int(stream.size()) / 512;

    // Sector 0: the allocation table; sector 1: the directory; then the stream.
    QByteArray header("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    header += QByteArray(16, '\0');
    put16(header, 0x003E);
    put16(header, 0x0003);
    put16(header, 0xFFFE);
    put16(header, 9);
    put16(header, 6);
    header += QByteArray(6, '\0');
    put32(header, 0);          // directory sectors
    put32(header, 1);          // allocation table sectors
    put32(header, 1);          // first directory sector
    put32(header, 0);
    put32(header, 4096);       // small-stream cutoff
    put32(header, 0xFFFFFFFE); // no small-stream table
    put32(header, 0);
    put32(header, 0xFFFFFFFE); // no further table sectors
    put32(header, 0);
    put32(header, 0);          // the table is sector 0
    while (header.size() < 512)
        put32(header, 0xFFFFFFFF);
    QByteArray fat;
    put32(fat, 0xFFFFFFFD);
    put32(fat, 0xFFFFFFFE);
    for (int i = 0; i < streamSectors; ++i)
        put32(fat, i + 1 < streamSectors ? quint32(i + 3) : 0xFFFFFFFE);
    while (fat.size() < 512)
        put32(fat, 0xFFFFFFFF);
    auto entry = [](const QString& name, int type, quint32 start, quint32 size, quint32 child) {
        QByteArray e(reinterpret_cast<const char*>(name.utf16()), int(name.size()) * 2);
        e += QByteArray(64 - e.size(), '\0');
        put16(e, int(name.size() + 1) * 2);
        e.append(char(type)).append(char(1));
        put32(e, 0xFFFFFFFF);
        put32(e, 0xFFFFFFFF);
        put32(e, child);
        e += QByteArray(36, '\0');
        put32(e, start);
        put32(e, size);
        put32(e, 0);
        return e;
    };
    QByteArray directory = entry(u"Root Entry"_s, 5, 0xFFFFFFFE, 0, 1)
        + entry(u"Workbook"_s, 2, 2, quint32(streamSize), 0xFFFFFFFF);
    while (directory.size() < 512)
        directory += entry(QString(), 0, 0, 0, 0xFFFFFFFF);
    return header + fat + directory + stream;
}

} // namespace

class TestWorkbookReader : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsRealWorkbooks_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("openpyxl: inline strings, absolute targets") << u"openpyxl-example.xlsx"_s;
        QTest::newRow("LibreOffice: shared strings, relative targets") << u"libreoffice-example.xlsx"_s;
        QTest::newRow("LibreOffice .xls") << u"libreoffice-example.xls"_s;
    }
    void readsRealWorkbooks()
    {
        QFETCH(QString, file);
        const AnswerWorkbook read = workbook::ReadAnswerWorkbook(workbook_samples::file(file), kSheet);
        QCOMPARE(read.outcome, AnswerWorkbook::Outcome::Read);
        QCOMPARE(read.values.size(), 71);
        QCOMPARE(read.values.at(3), u"0"_s); // the cell as read; the mapping empties it
        QCOMPARE(stored(read.values), workbook_samples::exampleStored());
    }

    void refusesWorkbooks_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<AnswerWorkbook::Outcome>("outcome");
        const auto wrongMarker = AnswerWorkbook::Outcome::WrongMarker;
        const auto unreadable = AnswerWorkbook::Outcome::Unreadable;
        QTest::newRow("marker with a trailing blank") << workbook_samples::file(u"marker-trailing-blank.xlsx"_s) << wrongMarker;
        QTest::newRow("marker in lower case") << workbook_samples::file(u"marker-lower-case.xlsx"_s) << wrongMarker;
        QTest::newRow(".xls, marker with a trailing blank") << workbook_samples::file(u"marker-trailing-blank.xls"_s) << wrongMarker;
        QTest::newRow("no worksheet of the name") << workbook_samples::file(u"missing-sheet.xlsx"_s) << unreadable;
        QTest::newRow("damaged archive") << workbook_samples::file(u"damaged.xlsx"_s) << unreadable;
        QTest::newRow("zip bomb") << workbook_samples::file(u"zip-bomb.xlsx"_s) << unreadable;
        QTest::newRow("a script, not a workbook") << workbook_samples::file(u"make_workbooks.sh"_s) << unreadable;
        QTest::newRow("no such file") << workbook_samples::file(u"nothing-here.xlsx"_s) << unreadable;
    }
    void refusesWorkbooks()
    {
        QFETCH(QString, file);
        QFETCH(AnswerWorkbook::Outcome, outcome);
        const AnswerWorkbook read = workbook::ReadAnswerWorkbook(file, kSheet);
        QCOMPARE(read.outcome, outcome);
        QVERIFY(read.values.isEmpty());
    }

    void mapsValuesThatAreNoResponseCode()
    {
        const AnswerWorkbook read = workbook::ReadAnswerWorkbook(workbook_samples::file(u"openpyxl-odd-values.xlsx"_s), kSheet);
        QCOMPARE(read.outcome, AnswerWorkbook::Outcome::Read);
        // a word, 3, 1.5, -1, "1" as text, a Persian 2, 2.0, TRUE
        const QStringList expected{u""_s, u""_s, u""_s, u""_s, u"1"_s, u"2"_s, u"2"_s, u""_s};
        QCOMPARE(stored(read.values.mid(0, 8)), expected);
    }

    // Packages the way other writers lay them out, made here part by part.
    void readsPackageVariants_data()
    {
        QTest::addColumn<Members>("members");
        QTest::addColumn<QStringList>("expected"); // C3, C4, C5 as read; empty list: refused
        const QByteArray types = "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>";
        const QByteArray marker = "<c r=\"Z3\" t=\"inlineStr\"><is><t>Tavora-II-71</t></is></c>";
        QTest::newRow("numbers written 1.0, 1E0, 2; absolute targets")
            << Members{
                   {u"[Content_Types].xml"_s, types},
                   {u"_rels/.rels"_s, rels(rel("rId1", "officeDocument", "/xl/workbook.xml"))},
                   {u"xl/workbook.xml"_s, workbookXml(kSheet.toUtf8())},
                   {u"xl/_rels/workbook.xml.rels"_s, rels(rel("rId7", "worksheet", "/xl/worksheets/answers.xml"))},
                   {u"xl/worksheets/answers.xml"_s,
                    sheetXml("<row r=\"3\"><c r=\"C3\" t=\"n\"><v>1.0</v></c>" + marker
                             + "</row><row r=\"4\"><c r=\"C4\"><v>1E0</v></c></row>"
                               "<row r=\"5\"><c r=\"C5\"><v>2</v></c></row>")}}
            << QStringList{u"1"_s, u"1"_s, u"2"_s};
        QTest::newRow("rich shared strings, a target that climbs, the workbook found without package rels")
            << Members{
                   {u"xl/workbook.xml"_s, workbookXml("WWW.TAVORA71.EXAMPLE")},
                   {u"xl/_rels/workbook.xml.rels"_s,
                    rels(rel("rId7", "worksheet", "sheets/../worksheets/s.xml") + rel("rId9", "sharedStrings", "strings.xml"))},
                   {u"xl/strings.xml"_s,
                    "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                    "<si><r><t>Tavora</t></r><r><t>-II-71</t></r><rPh><t>x</t></rPh></si><si><t xml:space=\"preserve\"> 2 </t></si></sst>"},
                   {u"xl/worksheets/s.xml"_s,
                    sheetXml("<row r=\"3\"><c r=\"C3\" t=\"s\"><v>1</v></c><c r=\"Z3\" t=\"s\"><v>0</v></c></row>"
                             "<row r=\"5\"><c r=\"C5\" t=\"str\"><f>1+1</f><v>2</v></c></row>")}}
            << QStringList{u" 2 "_s, QString(), u"2"_s};
        QTest::newRow("cells and rows without positions")
            << Members{
                   {u"xl/workbook.xml"_s, workbookXml(kSheet.toUtf8())},
                   {u"xl/_rels/workbook.xml.rels"_s, rels(rel("rId7", "worksheet", "worksheets/sheet1.xml"))},
                   {u"xl/worksheets/sheet1.xml"_s,
                    sheetXml("<row r=\"3\"><c/><c/><c><v>2</v></c><c r=\"Z3\" t=\"inlineStr\"><is><t>Tavora-II-71</t></is></c></row>"
                             "<row><c r=\"C4\"><v>1</v></c></row>")}}
            << QStringList{u"2"_s, u"1"_s, QString()};
        QTest::newRow("a document type declaration is refused")
            << Members{
                   {u"xl/workbook.xml"_s, workbookXml(kSheet.toUtf8())},
                   {u"xl/_rels/workbook.xml.rels"_s, rels(rel("rId7", "worksheet", "worksheets/sheet1.xml"))},
                   {u"xl/worksheets/sheet1.xml"_s,
                    sheetXml("<row r=\"3\"><c r=\"C3\" t=\"inlineStr\"><is><t>&a;</t></is></c>" + marker + "</row>",
                             "<!DOCTYPE worksheet [<!ENTITY a \"aaaaaaaaaa\">]>")}}
            << QStringList{};
    }
    void readsPackageVariants()
    {
        QFETCH(Members, members);
        QFETCH(QStringList, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"variant.xlsx"_s);
        QVERIFY(writeZip(path, members));
        const AnswerWorkbook read = workbook::ReadAnswerWorkbook(path, kSheet);
        if (expected.isEmpty()) {
            QCOMPARE(read.outcome, AnswerWorkbook::Outcome::Unreadable);
            return;
        }
        QCOMPARE(read.outcome, AnswerWorkbook::Outcome::Read);
        QCOMPARE(read.values.mid(0, 3), expected);
    }

    // Small files shaped to cost a reader gigabytes or minutes are refused at once and cheaply.
    void hostileWorkbooksAreRefusedCheaply_data()
    {
        QTest::addColumn<QByteArray>("xls"); // the file, or empty for the package below
        QTest::addColumn<Members>("members");
        const QByteArray marker = "<c r=\"Z3\" t=\"inlineStr\"><is><t>Tavora-II-71</t></is></c>";
        QTest::newRow(".xls sheets declaring 65536 x 256 cells")
            << hugeDeclaredXls({kSheet, u"b"_s, u"c"_s}) << Members{};
        QByteArray attributes = "<row r=\"3\"><c r=\"C3\"";
        for (int i = 0; i < 100000; ++i)
            attributes += " a" + QByteArray::number(i) + "=\"\"";
        QTest::newRow("100,000 attributes on one element")
            << QByteArray() << answerPackage(attributes + "><v>1</v></c>" + marker + "</row>");
        QTest::newRow("elements nested 7,000 deep")
            << QByteArray() << answerPackage("<row r=\"3\">" + marker + "<c r=\"C3\" t=\"inlineStr\"><is>"
                                             + QByteArray("<r>").repeated(7000) + QByteArray("</r>").repeated(7000)
                                             + "</is></c></row>");
        // Without positions the 65,539th cell of row 2 would land on C3.
        QTest::newRow("cells without positions past the last column")
            << QByteArray()
            << answerPackage("<row r=\"2\">" + QByteArray("<c/>").repeated(65538) + "<c><v>2</v></c></row><row r=\"3\">"
                             + marker + "</row>");
    }
    void hostileWorkbooksAreRefusedCheaply()
    {
        QFETCH(QByteArray, xls);
        QFETCH(Members, members);
        QTemporaryDir dir;
        const QString path = dir.filePath(xls.isEmpty() ? u"hostile.xlsx"_s : u"hostile.xls"_s);
        if (xls.isEmpty()) {
            QVERIFY(writeZip(path, members));
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(xls) == xls.size());
        }
        testing_support::Cost cost;
        cost.start();
        const AnswerWorkbook read = workbook::ReadAnswerWorkbook(path, kSheet);
        QCOMPARE(read.outcome, AnswerWorkbook::Outcome::Unreadable);
        QVERIFY2(cost.peakGrowthMiB() < 100, qPrintable(u"%1 MiB"_s.arg(cost.peakGrowthMiB())));
    }

    void storedResponse_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("response");
        QTest::newRow("1") << u"1"_s << u"1"_s;
        QTest::newRow("2 with blanks") << u" 2 "_s << u"2"_s;
        QTest::newRow("1E0") << u"1E0"_s << u"1"_s;
        QTest::newRow("0") << u"0"_s << QString();
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("a word") << u"بلي"_s << QString();
        QTest::newRow("a leading number is not a number") << u"1 بلي"_s << QString();
        QTest::newRow("3") << u"3"_s << QString();
    }
    void storedResponse()
    {
        QFETCH(QString, value);
        QFETCH(QString, response);
        QCOMPARE(workbook::StoredResponse(value), response);
    }

    void cellReferences_data()
    {
        QTest::addColumn<QString>("ref");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column"); // 0: not a reference
        QTest::newRow("C3") << u"C3"_s << 3 << 3;
        QTest::newRow("Z3") << u"Z3"_s << 3 << 26;
        QTest::newRow("AA10") << u"AA10"_s << 10 << 27;
        QTest::newRow("last cell") << u"XFD1048576"_s << 1048576 << 16384;
        QTest::newRow("past the last column") << u"XFE1"_s << 0 << 0;
        QTest::newRow("row 0") << u"C0"_s << 0 << 0;
        QTest::newRow("digits first") << u"3C"_s << 0 << 0;
    }
    void cellReferences()
    {
        QFETCH(QString, ref);
        QFETCH(int, row);
        QFETCH(int, column);
        const std::optional<workbook::CellRef> at = workbook::ParseCellRef(ref);
        QCOMPARE(at.has_value(), column != 0);
        if (at) {
            QCOMPARE(at->row, row);
            QCOMPARE(at->column, column);
        }
    }
};

class TestXlsxWriter : public QObject {
    Q_OBJECT

    static QVector<workbook::SheetToWrite> twoSheets()
    {
        workbook::SheetToWrite results;
        results.name = u"نتايج گروه A"_s;
        results.rightToLeft = true;
        results.boldFirstRow = true;
        results.freezeFirstRow = true;      // these two only change how it is shown and printed:
        results.landscapeFitToWidth = true; // both readers must still take every cell
        results.setText(1, 1, u"کد"_s);
        results.setText(1, 2, u"نام"_s);
        results.setText(1, 3, u"L"_s);
        results.setNumber(2, 1, 1024);
        results.setText(2, 2, u"  مريم <احمدي> & \"ها\" "_s);
        results.setNumber(2, 3, 57.5);
        results.setNumber(3, 3, -3);
        results.setText(3, 2, u"کد"_s); // a text used twice
        workbook::SheetToWrite notes;
        notes.name = u"Notes"_s;
        notes.setText(2, 28, u"far right"_s); // column AB
        return {results, notes};
    }

private Q_SLOTS:
    void readsBackWhatItWrote()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"out.xlsx"_s);
        const store::Result written = workbook::WriteXlsx(path, twoSheets());
        QVERIFY2(written.ok, qPrintable(written.error));
        const workbook::Opened opened = workbook::OpenWorkbook(path);
        QVERIFY2(opened.reader, qPrintable(opened.error));
        QCOMPARE(opened.reader->sheetNames(), (QStringList{u"نتايج گروه A"_s, u"Notes"_s}));
        QVERIFY(opened.reader->selectSheet(u"نتايج گروه A"_s));
        auto at = [&](int row, int column) {
            workbook::CellValue v;
            opened.reader->cell({row, column}, v);
            return v;
        };
        QCOMPARE(at(1, 2).asText(), u"نام"_s);
        QCOMPARE(at(2, 1).kind, workbook::CellValue::Kind::Number);
        QCOMPARE(at(2, 1).number, 1024.0);
        QCOMPARE(at(2, 2).asText(), u"  مريم <احمدي> & \"ها\" "_s);
        QCOMPARE(at(2, 3).asText(), u"57.5"_s);
        QCOMPARE(at(3, 3).asText(), u"-3"_s);
        QCOMPARE(at(3, 2).asText(), u"کد"_s);
        QVERIFY(at(4, 1).isEmpty());
        QVERIFY(opened.reader->selectSheet(u"notes"_s));
        QCOMPARE(at(2, 28).asText(), u"far right"_s);
    }

    void isReadByLibreOffice()
    {
        const QString soffice = QStandardPaths::findExecutable(u"soffice"_s);
        if (soffice.isEmpty())
            QSKIP("LibreOffice is not installed (apt-get install libreoffice-calc-nogui)");
        QTemporaryDir dir;
        const QString path = dir.filePath(u"out.xlsx"_s);
        QVERIFY(workbook::WriteXlsx(path, twoSheets()).ok);
        QProcess lo;
        lo.setWorkingDirectory(dir.path());
        // Every sheet into its own UTF-8 file (the last option, -1).
        lo.start(soffice, {u"--headless"_s, u"--norestore"_s,
                           u"-env:UserInstallation=file://"_s + dir.filePath(u"profile"_s), u"--convert-to"_s,
                           u"csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1"_s,
                           u"--outdir"_s, dir.path(), path});
        QVERIFY(lo.waitForFinished(180000));
        QFile first(dir.filePath(u"out-نتايج گروه A.csv"_s));
        QVERIFY2(first.open(QIODevice::ReadOnly), qPrintable(QDir(dir.path()).entryList().join(u", "_s)));
        const QStringList lines = QString::fromUtf8(first.readAll()).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.value(0), u"کد,نام,L"_s);
        QCOMPARE(lines.value(1), u"1024,\"  مريم <احمدي> & \"\"ها\"\" \",57.5"_s);
        QCOMPARE(lines.value(2), u",کد,-3"_s);
        QFile second(dir.filePath(u"out-Notes.csv"_s));
        QVERIFY(second.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(second.readAll()).contains(u",far right"_s));
    }

    void refusesSheetNames_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::newRow("empty") << QStringList{QString()};
        QTest::newRow("longer than 31") << QStringList{QString(32, u'x')};
        QTest::newRow("a slash") << QStringList{u"1403/07"_s};
        QTest::newRow("brackets") << QStringList{u"[A]"_s};
        QTest::newRow("the same name twice") << QStringList{u"Notes"_s, u"NOTES"_s};
    }
    void refusesSheetNames()
    {
        QFETCH(QStringList, names);
        QVector<workbook::SheetToWrite> sheets;
        for (const QString& n : names) {
            workbook::SheetToWrite sheet;
            sheet.name = n;
            sheets.append(sheet);
        }
        QTemporaryDir dir;
        const QString path = dir.filePath(u"bad.xlsx"_s);
        QVERIFY(!workbook::WriteXlsx(path, sheets).ok);
        QVERIFY(!QFile::exists(path));
    }

    // The delivered blank workbook is one the import accepts, named as the program names it.
    void blankWorkbookIsAccepted()
    {
        QTemporaryDir dir;
        QVERIFY(workbook::WriteBlankWorkbookIfMissing(dir.path()).ok);
        const QString path = dir.filePath(u"Tavora-II-71-Excel.xlsx"_s);
        const AnswerWorkbook read = workbook::ReadAnswerWorkbook(path, workbook::AnswerSheetName(PublisherAddresses{}));
        QCOMPARE(read.outcome, AnswerWorkbook::Outcome::Read);
        QCOMPARE(stored(read.values), QStringList(71, QString()));
        const workbook::Opened opened = workbook::OpenWorkbook(path);
        QVERIFY(opened.reader->selectSheet(workbook::AnswerSheetName(PublisherAddresses{})));
        workbook::CellValue number;
        QVERIFY(opened.reader->cell({73, 1}, number));
        QCOMPARE(number.asText(), u"71"_s);

        // A clinic's own copy is kept.
        QFile mine(path);
        QVERIFY(mine.open(QIODevice::WriteOnly | QIODevice::Truncate));
        mine.write("ours");
        mine.close();
        QVERIFY(workbook::WriteBlankWorkbookIfMissing(dir.path()).ok);
        QCOMPARE(QFileInfo(path).size(), 4);
    }

    void itemTextsNeedEveryItem()
    {
        QString table = u"ID\tQU\n"_s;
        for (int i = 1; i <= 70; ++i)
            table += QString::number(i) + u"\tمتن "_s + QString::number(i) + u'\n';
        QVERIFY(workbook::DeliveredItemTexts(table).isEmpty());
        table += u"71\tآخر\n"_s;
        const QStringList texts = workbook::DeliveredItemTexts(table);
        QCOMPARE(texts.size(), 71);
        QCOMPARE(texts.last(), u"آخر"_s);
    }
};

TAVORA_TEST(TestWorkbookReader)
TAVORA_TEST(TestXlsxWriter)
#include "tst_workbook_reader.moc"
