#include "capture/xlsx_writer.h"
#include "store/private_files.h"

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

#include <QHash>
#include <QLocale>
#include <QSaveFile>
#include <QXmlStreamWriter>
#include <algorithm>
#include <cmath>
#include <iterator>

namespace workbook {

namespace {

const QString kMainNs = QStringLiteral("http://schemas.openxmlformats.org/spreadsheetml/2006/main");
const QString kRelNs = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
const QString kPackageRelNs = QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships");
const QString kContentTypesNs = QStringLiteral("http://schemas.openxmlformats.org/package/2006/content-types");
const QString kRelTypeBase = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships/");
const QString kTypeBase = QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.");

// A fixed time stamp keeps the same workbook byte for byte the same.
const QDateTime kStamp(QDate(2024, 1, 1), QTime(0, 0));

QString columnName(int column)
{
    QString name;
    for (int c = column; c > 0; c = (c - 1) / 26)
        name.prepend(QChar(u'A' + (c - 1) % 26));
    return name;
}

// XML 1.0 has no place for most control characters; they are left out.
QString xmlSafe(const QString& text)
{
    const auto unsafe = [](char16_t u) {
        return (u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r') || u == 0xFFFE || u == 0xFFFF;
    };
    if (std::none_of(text.cbegin(), text.cend(), [&](QChar c) { return unsafe(c.unicode()); }))
        return text;
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x20 || u == u'\t' || u == u'\n' || u == u'\r')
            if (u != 0xFFFE && u != 0xFFFF)
                out += c;
    }
    return out;
}

QByteArray document(const std::function<void(QXmlStreamWriter&)>& body)
{
    QByteArray data;
    QXmlStreamWriter xml(&data);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    body(xml);
    xml.writeEndDocument();
    return data;
}

QByteArray contentTypes(int sheetCount)
{
    return document([&](QXmlStreamWriter& xml) {
        xml.writeDefaultNamespace(kContentTypesNs);
        xml.writeStartElement(kContentTypesNs, QStringLiteral("Types"));
        auto def = [&](const char* ext, const QString& type) {
            xml.writeEmptyElement(kContentTypesNs, QStringLiteral("Default"));
            xml.writeAttribute(QStringLiteral("Extension"), QString::fromLatin1(ext));
            xml.writeAttribute(QStringLiteral("ContentType"), type);
        };
        auto over = [&](const QString& part, const QString& type) {
            xml.writeEmptyElement(kContentTypesNs, QStringLiteral("Override"));
            xml.writeAttribute(QStringLiteral("PartName"), part);
            xml.writeAttribute(QStringLiteral("ContentType"), type);
        };
        def("rels", QStringLiteral("application/vnd.openxmlformats-package.relationships+xml"));
        def("xml", QStringLiteral("application/xml"));
        over(QStringLiteral("/xl/workbook.xml"), kTypeBase + QStringLiteral("sheet.main+xml"));
        for (int i = 1; i <= sheetCount; ++i)
            over(QStringLiteral("/xl/worksheets/sheet%1.xml").arg(i), kTypeBase + QStringLiteral("worksheet+xml"));
        over(QStringLiteral("/xl/styles.xml"), kTypeBase + QStringLiteral("styles+xml"));
        over(QStringLiteral("/xl/sharedStrings.xml"), kTypeBase + QStringLiteral("sharedStrings+xml"));
        xml.writeEndElement();
    });
}

QByteArray relationships(const QList<QPair<QString, QString>>& typeAndTarget)
{
    return document([&](QXmlStreamWriter& xml) {
        xml.writeDefaultNamespace(kPackageRelNs);
        xml.writeStartElement(kPackageRelNs, QStringLiteral("Relationships"));
        int id = 0;
        for (const auto& [type, target] : typeAndTarget) {
            xml.writeEmptyElement(kPackageRelNs, QStringLiteral("Relationship"));
            xml.writeAttribute(QStringLiteral("Id"), QStringLiteral("rId%1").arg(++id));
            xml.writeAttribute(QStringLiteral("Type"), kRelTypeBase + type);
            xml.writeAttribute(QStringLiteral("Target"), target);
        }
        xml.writeEndElement();
    });
}

QByteArray workbookPart(const QVector<SheetToWrite>& sheets)
{
    return document([&](QXmlStreamWriter& xml) {
        xml.writeDefaultNamespace(kMainNs);
        xml.writeNamespace(kRelNs, QStringLiteral("r"));
        xml.writeStartElement(kMainNs, QStringLiteral("workbook"));
        xml.writeStartElement(kMainNs, QStringLiteral("sheets"));
        for (int i = 0; i < sheets.size(); ++i) {
            xml.writeEmptyElement(kMainNs, QStringLiteral("sheet"));
            xml.writeAttribute(QStringLiteral("name"), sheets[i].name);
            xml.writeAttribute(QStringLiteral("sheetId"), QString::number(i + 1));
            xml.writeAttribute(kRelNs, QStringLiteral("id"), QStringLiteral("rId%1").arg(i + 1));
        }
        xml.writeEndElement();
        // The rows printed at the top of every page.
        bool named = false;
        for (int i = 0; i < sheets.size(); ++i) {
            if (!sheets[i].freezeFirstRow)
                continue;
            if (!named)
                xml.writeStartElement(kMainNs, QStringLiteral("definedNames"));
            named = true;
            xml.writeStartElement(kMainNs, QStringLiteral("definedName"));
            xml.writeAttribute(QStringLiteral("name"), QStringLiteral("_xlnm.Print_Titles"));
            xml.writeAttribute(QStringLiteral("localSheetId"), QString::number(i));
            QString quoted = sheets[i].name;
            quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
            xml.writeCharacters(QLatin1Char('\'') + quoted + QStringLiteral("'!$1:$1"));
            xml.writeEndElement();
        }
        if (named)
            xml.writeEndElement();
        xml.writeEndElement();
    });
}

// The cell styles of stylesPart, by index.
enum Style { Plain = 0, Bold = 1, Centred = 2, Heading = 3, Wrapped = 4 };

QByteArray stylesPart()
{
    // Tahoma carries Persian letters wherever the workbook opens.
    return document([](QXmlStreamWriter& xml) {
        xml.writeDefaultNamespace(kMainNs);
        xml.writeStartElement(kMainNs, QStringLiteral("styleSheet"));
        xml.writeStartElement(kMainNs, QStringLiteral("fonts"));
        xml.writeAttribute(QStringLiteral("count"), QStringLiteral("2"));
        for (bool bold : {false, true}) {
            xml.writeStartElement(kMainNs, QStringLiteral("font"));
            if (bold)
                xml.writeEmptyElement(kMainNs, QStringLiteral("b"));
            xml.writeEmptyElement(kMainNs, QStringLiteral("sz"));
            xml.writeAttribute(QStringLiteral("val"), QStringLiteral("11"));
            xml.writeEmptyElement(kMainNs, QStringLiteral("name"));
            xml.writeAttribute(QStringLiteral("val"), QStringLiteral("Tahoma"));
            xml.writeEndElement();
        }
        xml.writeEndElement();
        xml.writeStartElement(kMainNs, QStringLiteral("fills"));
        xml.writeAttribute(QStringLiteral("count"), QStringLiteral("2"));
        for (const char* pattern : {"none", "gray125"}) {
            xml.writeStartElement(kMainNs, QStringLiteral("fill"));
            xml.writeEmptyElement(kMainNs, QStringLiteral("patternFill"));
            xml.writeAttribute(QStringLiteral("patternType"), QString::fromLatin1(pattern));
            xml.writeEndElement();
        }
        xml.writeEndElement();
        xml.writeStartElement(kMainNs, QStringLiteral("borders"));
        xml.writeAttribute(QStringLiteral("count"), QStringLiteral("1"));
        xml.writeStartElement(kMainNs, QStringLiteral("border"));
        for (const char* side : {"left", "right", "top", "bottom", "diagonal"})
            xml.writeEmptyElement(kMainNs, QString::fromLatin1(side));
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeStartElement(kMainNs, QStringLiteral("cellStyleXfs"));
        xml.writeAttribute(QStringLiteral("count"), QStringLiteral("1"));
        xml.writeEmptyElement(kMainNs, QStringLiteral("xf"));
        for (const char* a : {"numFmtId", "fontId", "fillId", "borderId"})
            xml.writeAttribute(QString::fromLatin1(a), QStringLiteral("0"));
        xml.writeEndElement();
        struct Xf {
            bool bold, centred, wrapped;
        };
        const Xf xfs[] = {{false, false, false}, {true, false, false}, {false, true, false}, {true, true, true},
                          {false, false, true}}; // by Style
        xml.writeStartElement(kMainNs, QStringLiteral("cellXfs"));
        xml.writeAttribute(QStringLiteral("count"), QString::number(std::size(xfs)));
        for (const Xf& xf : xfs) {
            const bool aligned = xf.centred || xf.wrapped;
            xml.writeStartElement(kMainNs, QStringLiteral("xf"));
            xml.writeAttribute(QStringLiteral("numFmtId"), QStringLiteral("0"));
            xml.writeAttribute(QStringLiteral("fontId"), xf.bold ? QStringLiteral("1") : QStringLiteral("0"));
            xml.writeAttribute(QStringLiteral("fillId"), QStringLiteral("0"));
            xml.writeAttribute(QStringLiteral("borderId"), QStringLiteral("0"));
            xml.writeAttribute(QStringLiteral("xfId"), QStringLiteral("0"));
            if (xf.bold)
                xml.writeAttribute(QStringLiteral("applyFont"), QStringLiteral("1"));
            if (aligned) {
                xml.writeAttribute(QStringLiteral("applyAlignment"), QStringLiteral("1"));
                // Centred vertically too, beside a neighbour broken over lines.
                xml.writeEmptyElement(kMainNs, QStringLiteral("alignment"));
                if (xf.centred)
                    xml.writeAttribute(QStringLiteral("horizontal"), QStringLiteral("center"));
                xml.writeAttribute(QStringLiteral("vertical"), QStringLiteral("center"));
                if (xf.wrapped)
                    xml.writeAttribute(QStringLiteral("wrapText"), QStringLiteral("1"));
            }
            xml.writeEndElement();
        }
        xml.writeEndElement();
        xml.writeStartElement(kMainNs, QStringLiteral("cellStyles"));
        xml.writeAttribute(QStringLiteral("count"), QStringLiteral("1"));
        xml.writeEmptyElement(kMainNs, QStringLiteral("cellStyle"));
        xml.writeAttribute(QStringLiteral("name"), QStringLiteral("Normal"));
        xml.writeAttribute(QStringLiteral("xfId"), QStringLiteral("0"));
        xml.writeAttribute(QStringLiteral("builtinId"), QStringLiteral("0"));
        xml.writeEndElement();
        xml.writeEndElement();
    });
}

class SharedStrings {
public:
    int indexOf(const QString& text)
    {
        const auto it = index_.constFind(text);
        if (it != index_.constEnd())
            return *it;
        const int i = int(strings_.size());
        index_.insert(text, i);
        strings_ << text;
        return i;
    }
    int uses = 0;

    QByteArray part() const
    {
        return document([&](QXmlStreamWriter& xml) {
            xml.writeDefaultNamespace(kMainNs);
            xml.writeStartElement(kMainNs, QStringLiteral("sst"));
            xml.writeAttribute(QStringLiteral("count"), QString::number(uses));
            xml.writeAttribute(QStringLiteral("uniqueCount"), QString::number(strings_.size()));
            for (const QString& s : strings_) {
                xml.writeStartElement(kMainNs, QStringLiteral("si"));
                xml.writeStartElement(kMainNs, QStringLiteral("t"));
                if (s != s.trimmed())
                    xml.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
                xml.writeCharacters(s);
                xml.writeEndElement();
                xml.writeEndElement();
            }
            xml.writeEndElement();
        });
    }

private:
    QHash<QString, int> index_;
    QStringList strings_;
};

// The worksheet part is written by hand: it holds only numbers and names of its own (texts are
// in the shared strings), and a sheet of 100,000 rows goes through it in seconds.
QByteArray number(double value)
{
    if (value == std::trunc(value) && std::abs(value) < 1e15)
        return QByteArray::number(qint64(value)); // most cells: quicker, and the same text
    return QByteArray::number(value, 'g', QLocale::FloatingPointShortest);
}

// "A", "B", ... "AA": the names of the first columns, made once.
const QByteArray& columnLetters(int column)
{
    static const QList<QByteArray> first = [] {
        QList<QByteArray> names;
        for (int c = 1; c <= 64; ++c)
            names << columnName(c).toLatin1();
        return names;
    }();
    if (column >= 1 && column <= first.size())
        return first.at(column - 1);
    thread_local QByteArray other;
    other = columnName(column).toLatin1();
    return other;
}

QByteArray sheetStart(const SheetToWrite& sheet)
{
    QByteArray x = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<worksheet xmlns=\""
                   + kMainNs.toLatin1() + "\">";
    if (sheet.landscapeFitToWidth)
        x += "<sheetPr><pageSetUpPr fitToPage=\"1\"/></sheetPr>";
    x += "<sheetViews><sheetView";
    if (sheet.rightToLeft)
        x += " rightToLeft=\"1\"";
    x += " workbookViewId=\"0\"";
    if (sheet.freezeFirstRow)
        x += "><pane ySplit=\"1\" topLeftCell=\"A2\" activePane=\"bottomLeft\" state=\"frozen\"/></sheetView>";
    else
        x += "/>";
    x += "</sheetViews>";
    if (!sheet.columnWidths.isEmpty()) {
        x += "<cols>";
        for (auto it = sheet.columnWidths.constBegin(); it != sheet.columnWidths.constEnd(); ++it)
            x += "<col min=\"" + QByteArray::number(it.key()) + "\" max=\"" + QByteArray::number(it.key())
                 + "\" width=\"" + number(it.value()) + "\" customWidth=\"1\"/>";
        x += "</cols>";
    }
    x += "<sheetData>";
    return x;
}

QByteArray sheetEnd(const SheetToWrite& sheet)
{
    QByteArray x = "</sheetData>";
    if (sheet.landscapeFitToWidth) {
        x += "<pageMargins left=\"0.4\" right=\"0.4\" top=\"0.5\" bottom=\"0.5\" header=\"0.3\" footer=\"0.3\"/>"
             // A4, as many pages down as needed
             "<pageSetup paperSize=\"9\" orientation=\"landscape\" fitToWidth=\"1\" fitToHeight=\"0\"/>";
    }
    x += "</worksheet>";
    return x;
}

void appendRow(QByteArray& x, const SheetToWrite& sheet, int row, const QMap<int, CellValue>& cells, double height,
               SharedStrings& strings)
{
    const QByteArray rowNumber = QByteArray::number(row);
    x += "<row r=\"" + rowNumber + '"';
    // Spreadsheet programs do not all fit a row to text broken over lines when they open it.
    if (height > 0)
        x += " ht=\"" + number(height) + "\" customHeight=\"1\"";
    x += '>';
    const bool bold = sheet.boldFirstRow && row == 1;
    for (auto cell = cells.constBegin(); cell != cells.constEnd(); ++cell) {
        const CellValue& v = cell.value();
        const bool isNumber = v.kind == CellValue::Kind::Number && std::isfinite(v.number);
        QString text;
        if (!isNumber) {
            text = xmlSafe(v.asText());
            if (text.isEmpty())
                continue;
        }
        x += "<c r=\"" + columnLetters(cell.key()) + rowNumber + '"';
        Style style = Plain;
        if (bold)
            style = sheet.centred ? Heading : Bold;
        else if (sheet.wrappedColumns.contains(cell.key()))
            style = Wrapped;
        else if (sheet.centred)
            style = Centred;
        if (style != Plain)
            x += " s=\"" + QByteArray::number(int(style)) + '"';
        if (isNumber) {
            x += "><v>" + (v.number == 0 ? QByteArray("0") : number(v.number)) + "</v></c>"; // never "-0"
        } else {
            ++strings.uses;
            x += " t=\"s\"><v>" + QByteArray::number(strings.indexOf(text)) + "</v></c>";
        }
    }
    x += "</row>";
}

bool openMember(QuaZipFile& file, const QString& name, int level = Z_DEFAULT_COMPRESSION)
{
    QuaZipNewInfo info(name);
    info.dateTime = kStamp;
    info.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    return file.open(QIODevice::WriteOnly, info, nullptr, 0, Z_DEFLATED, level);
}

bool addMember(QuaZip& zip, const QString& name, const QByteArray& data)
{
    QuaZipFile file(&zip);
    if (!openMember(file, name))
        return false;
    const bool written = file.write(data) == data.size();
    file.close();
    return written && file.getZipError() == ZIP_OK;
}

} // namespace

QString SheetNameProblem(const QString& name)
{
    if (name.trimmed().isEmpty())
        return QStringLiteral("empty worksheet name");
    if (name.size() > 31)
        return QStringLiteral("worksheet name longer than 31 characters");
    for (const QChar c : name)
        if (QStringLiteral(":\\/?*[]").contains(c) || c.unicode() < 0x20)
            return QStringLiteral("worksheet name with a character workbooks refuse");
    if (name.startsWith(QLatin1Char('\'')) || name.endsWith(QLatin1Char('\'')))
        return QStringLiteral("worksheet name starting or ending with an apostrophe");
    return QString();
}

struct XlsxWriter::Parts {
    QSaveFile out;
    QuaZip zip;
    QuaZipFile sheetFile;
    QVector<SheetToWrite> layouts;
    SharedStrings strings;
    QByteArray piece; // the sheet's XML not yet compressed
    int next = 0;     // the sheet beginSheet starts next
    bool inSheet = false;
    bool ok = true;

    explicit Parts(const QString& path)
        : out(path)
        , zip(&out)
        , sheetFile(&zip)
    {
    }
    bool flushPiece()
    {
        ok = ok && sheetFile.write(piece) == piece.size();
        piece.clear();
        return ok;
    }
    bool endSheet()
    {
        if (!inSheet)
            return ok;
        inSheet = false;
        piece += sheetEnd(layouts.at(next - 1));
        flushPiece();
        sheetFile.close();
        ok = ok && sheetFile.getZipError() == ZIP_OK;
        return ok;
    }
};

XlsxWriter::XlsxWriter() = default;

XlsxWriter::~XlsxWriter()
{
    if (d_) {
        if (d_->inSheet)
            d_->sheetFile.close();
        d_->zip.close();
        d_->out.cancelWriting();
    }
}

store::Result XlsxWriter::open(const QString& path, const QVector<SheetToWrite>& sheets)
{
    d_.reset();
    if (sheets.isEmpty())
        return store::Result::failure(QStringLiteral("a workbook needs a worksheet"));
    for (int i = 0; i < sheets.size(); ++i) {
        if (const QString problem = SheetNameProblem(sheets[i].name); !problem.isEmpty())
            return store::Result::failure(problem + QStringLiteral(": ") + sheets[i].name);
        for (int j = 0; j < i; ++j)
            if (sheets[j].name.compare(sheets[i].name, Qt::CaseInsensitive) == 0)
                return store::Result::failure(QStringLiteral("two worksheets named ") + sheets[i].name);
    }
    auto d = std::make_unique<Parts>(path);
    d->layouts = sheets;
    if (!d->out.open(QIODevice::WriteOnly) || !store::MakeOwnerOnly(d->out))
        return store::Result::failure(d->out.errorString());
    d->zip.setAutoClose(false); // the save file is committed by finish(), never closed by the archive
    d->zip.setUtf8Enabled(true);
    d->zip.setZip64Enabled(false);
    d->zip.setDataDescriptorWritingEnabled(false);
    if (!d->zip.open(QuaZip::mdCreate)) {
        d->out.cancelWriting();
        return store::Result::failure(QStringLiteral("cannot start the archive"));
    }
    QList<QPair<QString, QString>> workbookRels;
    for (int i = 1; i <= sheets.size(); ++i)
        workbookRels.append({QStringLiteral("worksheet"), QStringLiteral("worksheets/sheet%1.xml").arg(i)});
    workbookRels.append({QStringLiteral("styles"), QStringLiteral("styles.xml")});
    workbookRels.append({QStringLiteral("sharedStrings"), QStringLiteral("sharedStrings.xml")});
    d->ok = addMember(d->zip, QStringLiteral("[Content_Types].xml"), contentTypes(int(sheets.size())))
        && addMember(d->zip, QStringLiteral("_rels/.rels"),
                     relationships({{QStringLiteral("officeDocument"), QStringLiteral("xl/workbook.xml")}}))
        && addMember(d->zip, QStringLiteral("xl/workbook.xml"), workbookPart(sheets))
        && addMember(d->zip, QStringLiteral("xl/_rels/workbook.xml.rels"), relationships(workbookRels))
        && addMember(d->zip, QStringLiteral("xl/styles.xml"), stylesPart());
    d_ = std::move(d);
    if (!d_->ok)
        return store::Result::failure(QStringLiteral("the workbook could not be written"));
    return store::Result::success();
}

bool XlsxWriter::beginSheet()
{
    if (!d_ || !d_->endSheet() || d_->next >= d_->layouts.size())
        return false;
    const SheetToWrite& sheet = d_->layouts.at(d_->next++);
    // The fastest compression: a sheet's rows repeat so much that it still shrinks tenfold.
    if (!openMember(d_->sheetFile, QStringLiteral("xl/worksheets/sheet%1.xml").arg(d_->next), Z_BEST_SPEED))
        return d_->ok = false;
    d_->inSheet = true;
    d_->piece = sheetStart(sheet);
    for (auto row = sheet.rows.constBegin(); row != sheet.rows.constEnd(); ++row)
        if (!addRow(row.key(), row.value(), sheet.rowHeights.value(row.key())))
            return false;
    return d_->ok;
}

bool XlsxWriter::addRow(int row, const QMap<int, CellValue>& cells, double height)
{
    if (!d_ || !d_->inSheet || !d_->ok)
        return false;
    appendRow(d_->piece, d_->layouts.at(d_->next - 1), row, cells, height, d_->strings);
    // Pieces large enough to compress well; a sheet is never held whole.
    constexpr qsizetype kPiece = 256 * 1024;
    return d_->piece.size() < kPiece || d_->flushPiece();
}

store::Result XlsxWriter::finish()
{
    if (!d_)
        return store::Result::failure(QStringLiteral("the workbook was not started"));
    while (d_->ok && d_->next < d_->layouts.size())
        (void)beginSheet(); // a sheet nobody wrote rows into still has its layout's
    bool ok = d_->endSheet();
    // Last: the sheets have gathered the texts.
    ok = ok && addMember(d_->zip, QStringLiteral("xl/sharedStrings.xml"), d_->strings.part());
    d_->zip.close();
    ok = ok && d_->zip.getZipError() == ZIP_OK;
    const std::unique_ptr<Parts> d = std::move(d_);
    if (!ok) {
        d->out.cancelWriting();
        return store::Result::failure(QStringLiteral("the workbook could not be written"));
    }
    if (!d->out.commit())
        return store::Result::failure(d->out.errorString());
    return store::Result::success();
}

store::Result WriteXlsx(const QString& path, const QVector<SheetToWrite>& sheets)
{
    XlsxWriter writer;
    if (store::Result r = writer.open(path, sheets); !r)
        return r;
    return writer.finish();
}

} // namespace workbook
