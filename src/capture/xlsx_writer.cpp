#include "capture/xlsx_writer.h"
#include "store/private_files.h"

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

#include <QHash>
#include <QLocale>
#include <QSaveFile>
#include <QXmlStreamWriter>
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

void writeSheet(QXmlStreamWriter& xml, const SheetToWrite& sheet, SharedStrings& strings)
{
    xml.writeDefaultNamespace(kMainNs);
    xml.writeStartElement(kMainNs, QStringLiteral("worksheet"));
    if (sheet.landscapeFitToWidth) {
        xml.writeStartElement(kMainNs, QStringLiteral("sheetPr"));
        xml.writeEmptyElement(kMainNs, QStringLiteral("pageSetUpPr"));
        xml.writeAttribute(QStringLiteral("fitToPage"), QStringLiteral("1"));
        xml.writeEndElement();
    }
    xml.writeStartElement(kMainNs, QStringLiteral("sheetViews"));
    xml.writeStartElement(kMainNs, QStringLiteral("sheetView"));
    if (sheet.rightToLeft)
        xml.writeAttribute(QStringLiteral("rightToLeft"), QStringLiteral("1"));
    xml.writeAttribute(QStringLiteral("workbookViewId"), QStringLiteral("0"));
    if (sheet.freezeFirstRow) {
        xml.writeEmptyElement(kMainNs, QStringLiteral("pane"));
        xml.writeAttribute(QStringLiteral("ySplit"), QStringLiteral("1"));
        xml.writeAttribute(QStringLiteral("topLeftCell"), QStringLiteral("A2"));
        xml.writeAttribute(QStringLiteral("activePane"), QStringLiteral("bottomLeft"));
        xml.writeAttribute(QStringLiteral("state"), QStringLiteral("frozen"));
    }
    xml.writeEndElement();
    xml.writeEndElement();
    if (!sheet.columnWidths.isEmpty()) {
        xml.writeStartElement(kMainNs, QStringLiteral("cols"));
        for (auto it = sheet.columnWidths.constBegin(); it != sheet.columnWidths.constEnd(); ++it) {
            xml.writeEmptyElement(kMainNs, QStringLiteral("col"));
            xml.writeAttribute(QStringLiteral("min"), QString::number(it.key()));
            xml.writeAttribute(QStringLiteral("max"), QString::number(it.key()));
            xml.writeAttribute(QStringLiteral("width"), QString::number(it.value()));
            xml.writeAttribute(QStringLiteral("customWidth"), QStringLiteral("1"));
        }
        xml.writeEndElement();
    }
    xml.writeStartElement(kMainNs, QStringLiteral("sheetData"));
    for (auto row = sheet.rows.constBegin(); row != sheet.rows.constEnd(); ++row) {
        xml.writeStartElement(kMainNs, QStringLiteral("row"));
        xml.writeAttribute(QStringLiteral("r"), QString::number(row.key()));
        // Spreadsheet programs do not all fit a row to text broken over lines when they open it.
        if (const double height = sheet.rowHeights.value(row.key()); height > 0) {
            xml.writeAttribute(QStringLiteral("ht"), QString::number(height));
            xml.writeAttribute(QStringLiteral("customHeight"), QStringLiteral("1"));
        }
        const bool bold = sheet.boldFirstRow && row.key() == 1;
        for (auto cell = row->constBegin(); cell != row->constEnd(); ++cell) {
            const CellValue& v = cell.value();
            const bool number = v.kind == CellValue::Kind::Number && std::isfinite(v.number);
            const QString text = xmlSafe(v.asText());
            if (!number && text.isEmpty())
                continue;
            xml.writeStartElement(kMainNs, QStringLiteral("c"));
            xml.writeAttribute(QStringLiteral("r"), columnName(cell.key()) + QString::number(row.key()));
            Style style = Plain;
            if (bold)
                style = sheet.centred ? Heading : Bold;
            else if (sheet.wrappedColumns.contains(cell.key()))
                style = Wrapped;
            else if (sheet.centred)
                style = Centred;
            if (style != Plain)
                xml.writeAttribute(QStringLiteral("s"), QString::number(int(style)));
            if (number) {
                xml.writeTextElement(kMainNs, QStringLiteral("v"), text);
            } else {
                xml.writeAttribute(QStringLiteral("t"), QStringLiteral("s"));
                ++strings.uses;
                xml.writeTextElement(kMainNs, QStringLiteral("v"), QString::number(strings.indexOf(text)));
            }
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();
    if (sheet.landscapeFitToWidth) {
        xml.writeEmptyElement(kMainNs, QStringLiteral("pageMargins"));
        for (const auto& [side, inches] : {std::pair{"left", "0.4"}, {"right", "0.4"}, {"top", "0.5"},
                                          {"bottom", "0.5"}, {"header", "0.3"}, {"footer", "0.3"}})
            xml.writeAttribute(QString::fromLatin1(side), QString::fromLatin1(inches));
        xml.writeEmptyElement(kMainNs, QStringLiteral("pageSetup"));
        xml.writeAttribute(QStringLiteral("paperSize"), QStringLiteral("9")); // A4
        xml.writeAttribute(QStringLiteral("orientation"), QStringLiteral("landscape"));
        xml.writeAttribute(QStringLiteral("fitToWidth"), QStringLiteral("1"));
        xml.writeAttribute(QStringLiteral("fitToHeight"), QStringLiteral("0")); // as many pages down as needed
    }
    xml.writeEndElement();
}

bool openMember(QuaZipFile& file, const QString& name)
{
    QuaZipNewInfo info(name);
    info.dateTime = kStamp;
    info.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    return file.open(QIODevice::WriteOnly, info);
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

// Gathers the many small writes of an XML writer into pieces large enough to compress well.
class Chunked final : public QIODevice {
public:
    explicit Chunked(QIODevice& target)
        : target_(target)
    {
        open(QIODevice::WriteOnly);
    }
    bool flushPiece()
    {
        const bool ok = piece_.isEmpty() || target_.write(piece_) == piece_.size();
        piece_.clear();
        return ok;
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        piece_.append(data, size);
        if (piece_.size() >= kPiece && !flushPiece())
            return -1;
        return size;
    }

private:
    static constexpr qsizetype kPiece = 256 * 1024;
    QIODevice& target_;
    QByteArray piece_;
};

// Written straight into the archive: a sheet of many thousand rows is never held whole as XML.
bool addStreamedMember(QuaZip& zip, const QString& name, const std::function<void(QXmlStreamWriter&)>& body)
{
    QuaZipFile file(&zip);
    if (!openMember(file, name))
        return false;
    bool written = false;
    {
        Chunked pieces(file);
        QXmlStreamWriter xml(&pieces);
        xml.writeStartDocument(QStringLiteral("1.0"), true);
        body(xml);
        xml.writeEndDocument();
        written = !xml.hasError() && pieces.flushPiece();
    }
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

store::Result WriteXlsx(const QString& path, const QVector<SheetToWrite>& sheets)
{
    if (sheets.isEmpty())
        return store::Result::failure(QStringLiteral("a workbook needs a worksheet"));
    for (int i = 0; i < sheets.size(); ++i) {
        if (const QString problem = SheetNameProblem(sheets[i].name); !problem.isEmpty())
            return store::Result::failure(problem + QStringLiteral(": ") + sheets[i].name);
        for (int j = 0; j < i; ++j)
            if (sheets[j].name.compare(sheets[i].name, Qt::CaseInsensitive) == 0)
                return store::Result::failure(QStringLiteral("two worksheets named ") + sheets[i].name);
    }

    SharedStrings strings;
    QList<QPair<QString, QString>> workbookRels;
    for (int i = 1; i <= sheets.size(); ++i)
        workbookRels.append({QStringLiteral("worksheet"), QStringLiteral("worksheets/sheet%1.xml").arg(i)});
    workbookRels.append({QStringLiteral("styles"), QStringLiteral("styles.xml")});
    workbookRels.append({QStringLiteral("sharedStrings"), QStringLiteral("sharedStrings.xml")});

    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || !store::MakeOwnerOnly(out))
        return store::Result::failure(out.errorString());
    bool ok = true;
    {
        QuaZip zip(&out);
        zip.setAutoClose(false); // the save file is committed below, never closed by the archive
        zip.setUtf8Enabled(true);
        zip.setZip64Enabled(false);
        zip.setDataDescriptorWritingEnabled(false);
        if (!zip.open(QuaZip::mdCreate))
            return store::Result::failure(QStringLiteral("cannot start the archive"));
        ok = addMember(zip, QStringLiteral("[Content_Types].xml"), contentTypes(int(sheets.size())))
            && addMember(zip, QStringLiteral("_rels/.rels"),
                         relationships({{QStringLiteral("officeDocument"), QStringLiteral("xl/workbook.xml")}}))
            && addMember(zip, QStringLiteral("xl/workbook.xml"), workbookPart(sheets))
            && addMember(zip, QStringLiteral("xl/_rels/workbook.xml.rels"), relationships(workbookRels))
            && addMember(zip, QStringLiteral("xl/styles.xml"), stylesPart());
        for (int i = 0; ok && i < sheets.size(); ++i)
            ok = addStreamedMember(zip, QStringLiteral("xl/worksheets/sheet%1.xml").arg(i + 1),
                                   [&](QXmlStreamWriter& xml) { writeSheet(xml, sheets[i], strings); });
        // Last: the sheets have gathered the texts.
        ok = ok && addMember(zip, QStringLiteral("xl/sharedStrings.xml"), strings.part());
        zip.close();
        ok = ok && zip.getZipError() == ZIP_OK;
    }
    if (!ok) {
        out.cancelWriting();
        return store::Result::failure(QStringLiteral("the workbook could not be written"));
    }
    if (!out.commit())
        return store::Result::failure(out.errorString());
    return store::Result::success();
}

} // namespace workbook
