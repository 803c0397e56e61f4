// The .xlsx reader: a zip archive of XML parts. The worksheet is found by name through the
// workbook part and its relationships; targets may be relative to the part's folder
// ("worksheets/sheet1.xml") or absolute within the package ("/xl/worksheets/sheet1.xml").
#include "capture/workbook_reader.h"

#include <quazip.h>
#include <quazipfile.h>
#include <quazipfileinfo.h>

#include <QDir>
#include <QHash>
#include <QXmlStreamReader>

namespace workbook {

namespace {

const QString kOfficeDocumentType = QStringLiteral("/officeDocument");
const QString kSharedStringsType = QStringLiteral("/sharedStrings");

quint64 cellKey(int row, int column)
{
    return (quint64(quint32(row)) << 16) | quint32(column);
}

// The folder of a part ("xl/" for "xl/workbook.xml", "" for a part at the root).
QString folderOf(const QString& part)
{
    const qsizetype slash = part.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : part.left(slash + 1);
}

// A relationship target as a member name of the archive.
QString resolveTarget(const QString& sourceFolder, const QString& target)
{
    QString path = target.startsWith(QLatin1Char('/')) ? target.mid(1) : sourceFolder + target;
    path = QDir::cleanPath(path);
    while (path.startsWith(QLatin1String("../")))
        path = path.mid(3); // nothing lies above the package root
    return path;
}

// The relationships part of a part: "xl/_rels/workbook.xml.rels" for "xl/workbook.xml".
QString relsOf(const QString& part)
{
    const QString folder = folderOf(part);
    return folder + QStringLiteral("_rels/") + part.mid(folder.size()) + QStringLiteral(".rels");
}

struct Relationship {
    QString type;
    QString target; // resolved member name
};

// Text of the <t> elements inside the current element (a shared string or an inline string),
// leaving out phonetic runs. The reader stands on the start element and ends on its end.
QString readRichText(QXmlStreamReader& xml)
{
    QString text;
    int phonetic = 0;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        const QXmlStreamReader::TokenType t = xml.readNext();
        if (t == QXmlStreamReader::StartElement) {
            ++depth;
            if (xml.name() == QLatin1String("rPh"))
                ++phonetic;
            else if (xml.name() == QLatin1String("t") && phonetic == 0) {
                text += xml.readElementText(QXmlStreamReader::IncludeChildElements);
                --depth; // readElementText consumed the end element
            }
        } else if (t == QXmlStreamReader::EndElement) {
            --depth;
            if (xml.name() == QLatin1String("rPh"))
                --phonetic;
        }
    }
    return text;
}

class XlsxReader final : public WorkbookReader {
public:
    explicit XlsxReader(const QString& path)
        : zip_(path)
    {
    }

    bool open();
    QStringList sheetNames() const override
    {
        QStringList names;
        for (const Sheet& s : sheets_)
            names << s.name;
        return names;
    }
    bool selectSheet(const QString& name) override;
    bool cell(CellRef ref, CellValue& value) const override
    {
        value = cells_.value(cellKey(ref.row, ref.column));
        return true;
    }

private:
    struct Sheet {
        QString name;
        QString part;
    };

    bool fail(const QString& why)
    {
        error_ = why;
        return false;
    }
    // Reads a member whole, within the size limit. std::nullopt when it is missing (error_
    // empty) or cannot be read (error_ says why).
    std::optional<QByteArray> readMember(const QString& name);
    bool readRelationships(const QString& part, QHash<QString, Relationship>& out);
    bool readWorkbook(const QString& part);
    bool readSharedStrings(const QString& part);
    bool readSheet(const QString& part);
    // True (with error_ set) when the part was not well-formed XML.
    bool xmlFailed(const QXmlStreamReader& xml, const QString& part)
    {
        if (!xml.hasError())
            return false;
        error_ = part + QStringLiteral(": ") + xml.errorString();
        return true;
    }

    QuaZip zip_;
    QList<Sheet> sheets_;
    QString sharedStringsPart_;
    bool sharedStringsRead_ = false;
    QStringList sharedStrings_;
    QHash<quint64, CellValue> cells_;
};

// Refuses documents with a type declaration: no workbook part has one, and entity expansion
// is the other way a small part grows large.
bool refuseDtd(QXmlStreamReader& xml)
{
    if (xml.tokenType() == QXmlStreamReader::DTD) {
        xml.raiseError(QStringLiteral("document type declarations are not read"));
        return true;
    }
    return false;
}

std::optional<QByteArray> XlsxReader::readMember(const QString& name)
{
    error_.clear();
    if (!zip_.setCurrentFile(name, QuaZip::csInsensitive))
        return std::nullopt;
    QuaZipFileInfo64 info;
    if (!zip_.getCurrentFileInfo(&info)) {
        fail(name + QStringLiteral(": unreadable entry"));
        return std::nullopt;
    }
    if (info.uncompressedSize > quint64(kMaxPartBytes)) {
        fail(name + QStringLiteral(": larger than the limit"));
        return std::nullopt;
    }
    QuaZipFile file(&zip_);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(name + QStringLiteral(": cannot be opened"));
        return std::nullopt;
    }
    // The declared size may lie: count what actually comes out.
    QByteArray data;
    char buffer[65536];
    for (;;) {
        const qint64 n = file.read(buffer, sizeof buffer);
        if (n < 0) {
            fail(name + QStringLiteral(": damaged"));
            return std::nullopt;
        }
        if (n == 0)
            break;
        if (data.size() + n > kMaxPartBytes) {
            fail(name + QStringLiteral(": larger than the limit"));
            return std::nullopt;
        }
        data.append(buffer, n);
    }
    file.close();
    if (file.getZipError() != UNZ_OK) { // a CRC mismatch shows here
        fail(name + QStringLiteral(": damaged"));
        return std::nullopt;
    }
    // Every member read is XML; one shaped to make the parser slow or greedy is not parsed.
    if (QString why; !XmlWithinBounds(data, why)) {
        fail(name + QStringLiteral(": ") + why);
        return std::nullopt;
    }
    return data;
}

bool XlsxReader::readRelationships(const QString& part, QHash<QString, Relationship>& out)
{
    const QString relsPart = relsOf(part);
    const std::optional<QByteArray> data = readMember(relsPart);
    if (!data)
        return error_.isEmpty(); // a part without relationships has none
    QXmlStreamReader xml(*data);
    const QString folder = folderOf(part);
    while (!xml.atEnd()) {
        xml.readNext();
        if (refuseDtd(xml))
            break;
        if (xml.isStartElement() && xml.name() == QLatin1String("Relationship")) {
            const QXmlStreamAttributes a = xml.attributes();
            if (a.value(QLatin1String("TargetMode")) == QLatin1String("External"))
                continue;
            out.insert(a.value(QLatin1String("Id")).toString(),
                       {a.value(QLatin1String("Type")).toString(),
                        resolveTarget(folder, a.value(QLatin1String("Target")).toString())});
        }
    }
    return !xmlFailed(xml, relsPart);
}

bool XlsxReader::open()
{
    if (!zip_.open(QuaZip::mdUnzip))
        return fail(QStringLiteral("not a readable archive"));
    QString workbookPart = QStringLiteral("xl/workbook.xml");
    QHash<QString, Relationship> packageRels;
    if (!readRelationships(QString(), packageRels))
        return false;
    for (const Relationship& r : std::as_const(packageRels)) {
        if (r.type.endsWith(kOfficeDocumentType)) {
            workbookPart = r.target;
            break;
        }
    }
    return readWorkbook(workbookPart);
}

bool XlsxReader::readWorkbook(const QString& part)
{
    QHash<QString, Relationship> rels;
    if (!readRelationships(part, rels))
        return false;
    for (const Relationship& r : std::as_const(rels))
        if (r.type.endsWith(kSharedStringsType))
            sharedStringsPart_ = r.target;

    const std::optional<QByteArray> data = readMember(part);
    if (!data)
        return fail(error_.isEmpty() ? part + QStringLiteral(": missing") : error_);
    QXmlStreamReader xml(*data);
    while (!xml.atEnd()) {
        xml.readNext();
        if (refuseDtd(xml))
            break;
        if (!xml.isStartElement() || xml.name() != QLatin1String("sheet"))
            continue;
        QString id;
        for (const QXmlStreamAttribute& a : xml.attributes()) // r:id, whatever the prefix
            if (a.name() == QLatin1String("id") && !a.namespaceUri().isEmpty())
                id = a.value().toString();
        const auto rel = rels.constFind(id);
        if (rel != rels.constEnd())
            sheets_.append({xml.attributes().value(QLatin1String("name")).toString(), rel->target});
    }
    return !xmlFailed(xml, part);
}

bool XlsxReader::readSharedStrings(const QString& part)
{
    const std::optional<QByteArray> data = readMember(part);
    if (!data)
        return error_.isEmpty(); // no shared strings: no cell may refer to one
    QXmlStreamReader xml(*data);
    while (!xml.atEnd()) {
        xml.readNext();
        if (refuseDtd(xml))
            break;
        if (xml.isStartElement() && xml.name() == QLatin1String("si"))
            sharedStrings_ << readRichText(xml);
    }
    return !xmlFailed(xml, part);
}

bool XlsxReader::selectSheet(const QString& name)
{
    cells_.clear();
    error_.clear();
    const Sheet* sheet = nullptr;
    for (const Sheet& s : sheets_)
        if (s.name.compare(name, Qt::CaseInsensitive) == 0) {
            sheet = &s;
            break;
        }
    if (!sheet)
        return fail(QStringLiteral("no worksheet named ") + name);
    if (!sharedStringsRead_ && !sharedStringsPart_.isEmpty()) {
        if (!readSharedStrings(sharedStringsPart_))
            return false;
        sharedStringsRead_ = true;
    }
    return readSheet(sheet->part);
}

bool XlsxReader::readSheet(const QString& part)
{
    const std::optional<QByteArray> data = readMember(part);
    if (!data)
        return fail(error_.isEmpty() ? part + QStringLiteral(": missing") : error_);
    QXmlStreamReader xml(*data);
    int row = 0;
    int column = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (refuseDtd(xml))
            break;
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("row")) {
            // Rows and cells may leave out their positions: they then follow the previous one.
            bool ok = false;
            const int r = xml.attributes().value(QLatin1String("r")).toInt(&ok);
            row = ok && r > 0 ? r : row + 1;
            if (row > kMaxRows)
                return fail(part + QStringLiteral(": a row past the last row"));
            column = 0;
            continue;
        }
        if (xml.name() != QLatin1String("c"))
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        const QStringView ref = a.value(QLatin1String("r"));
        if (const std::optional<CellRef> at = ParseCellRef(ref)) {
            row = at->row;
            column = at->column;
        } else if (ref.isEmpty()) {
            // A cell without a position follows the previous one, never past the last column:
            // the position would wrap onto another cell.
            if (++column > kMaxColumns)
                return fail(part + QStringLiteral(": a cell past the last column"));
        } else {
            return fail(part + QStringLiteral(": bad cell reference"));
        }
        const QString type = a.value(QLatin1String("t")).toString();
        QString v;
        bool hasV = false;
        QString inlineText;
        bool hasInline = false;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isEndElement() && xml.name() == QLatin1String("c"))
                break;
            if (!xml.isStartElement())
                continue;
            if (xml.name() == QLatin1String("v")) {
                v = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                hasV = true;
            } else if (xml.name() == QLatin1String("is")) {
                inlineText = readRichText(xml);
                hasInline = true;
            } else {
                xml.skipCurrentElement(); // formulas are never evaluated: the stored value counts
            }
        }
        CellValue value;
        if (type == QLatin1String("s")) {
            if (!hasV)
                continue;
            bool ok = false;
            const int index = v.trimmed().toInt(&ok);
            if (!ok || index < 0 || index >= sharedStrings_.size())
                return fail(part + QStringLiteral(": missing shared string"));
            value = CellValue::fromText(sharedStrings_.at(index));
        } else if (type == QLatin1String("inlineStr")) {
            if (hasInline)
                value = CellValue::fromText(inlineText);
        } else if (type == QLatin1String("b")) {
            if (hasV)
                value = {CellValue::Kind::Boolean, v.trimmed() == QLatin1String("1") ? QStringLiteral("TRUE") : QStringLiteral("FALSE"), 0};
        } else if (type == QLatin1String("e")) {
            if (hasV)
                value = {CellValue::Kind::Error, v, 0};
        } else if (type == QLatin1String("str") || type == QLatin1String("d")) {
            if (hasV)
                value = CellValue::fromText(v);
        } else if (hasV) { // "n" or no type: a number
            bool ok = false;
            const double number = v.trimmed().toDouble(&ok);
            value = ok ? CellValue::fromNumber(number) : CellValue::fromText(v);
        }
        if (!value.isEmpty() && row > 0 && column > 0)
            cells_.insert(cellKey(row, column), value);
    }
    return !xmlFailed(xml, part);
}

} // namespace

Opened OpenXlsx(const QString& path)
{
    auto reader = std::make_unique<XlsxReader>(path);
    if (!reader->open())
        return {nullptr, reader->error()};
    return {std::move(reader), QString()};
}

} // namespace workbook
