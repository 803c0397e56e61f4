#include "reports/docx_writer.h"

#include <QBuffer>
#include <QDir>
#include <QRegularExpression>
#include <QXmlStreamWriter>
#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

namespace reports {

namespace {

const QString kW = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");
const QString kR = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
const QString kWp = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing");
const QString kA = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/main");
const QString kPic = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/picture");
const QString kPackageRels = QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships");
const QString kImageId = QStringLiteral("rIdImage1");
const QString kImagePart = QStringLiteral("media/image1.png");

constexpr qint64 kEmuPerPixel = 9525; // at 96 dpi
constexpr qint64 kEmuPerTwip = 635;

// Writes one XML part; the caller fills the root element.
template <typename Fill>
QByteArray xmlPart(Fill fill)
{
    QByteArray bytes;
    QXmlStreamWriter x(&bytes);
    x.writeStartDocument(QStringLiteral("1.0"), true);
    fill(x);
    x.writeEndDocument();
    return bytes;
}

QByteArray contentTypes(bool withPicture)
{
    return xmlPart([&](QXmlStreamWriter& x) {
        x.writeDefaultNamespace(QStringLiteral("http://schemas.openxmlformats.org/package/2006/content-types"));
        x.writeStartElement(QStringLiteral("Types"));
        const auto def = [&](const char* ext, const char* type) {
            x.writeEmptyElement(QStringLiteral("Default"));
            x.writeAttribute(QStringLiteral("Extension"), QString::fromLatin1(ext));
            x.writeAttribute(QStringLiteral("ContentType"), QString::fromLatin1(type));
        };
        const auto over = [&](const char* part, const char* type) {
            x.writeEmptyElement(QStringLiteral("Override"));
            x.writeAttribute(QStringLiteral("PartName"), QString::fromLatin1(part));
            x.writeAttribute(QStringLiteral("ContentType"), QString::fromLatin1(type));
        };
        def("rels", "application/vnd.openxmlformats-package.relationships+xml");
        def("xml", "application/xml");
        if (withPicture)
            def("png", "image/png");
        over("/word/document.xml", "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml");
        over("/word/styles.xml", "application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml");
        x.writeEndElement();
    });
}

void relationship(QXmlStreamWriter& x, const QString& id, const QString& type, const QString& target)
{
    x.writeEmptyElement(QStringLiteral("Relationship"));
    x.writeAttribute(QStringLiteral("Id"), id);
    x.writeAttribute(QStringLiteral("Type"), type);
    x.writeAttribute(QStringLiteral("Target"), target);
}

QByteArray packageRels()
{
    return xmlPart([](QXmlStreamWriter& x) {
        x.writeDefaultNamespace(kPackageRels);
        x.writeStartElement(QStringLiteral("Relationships"));
        relationship(x, QStringLiteral("rId1"), kR + QStringLiteral("/officeDocument"), QStringLiteral("word/document.xml"));
        x.writeEndElement();
    });
}

QByteArray documentRels(bool withPicture)
{
    return xmlPart([&](QXmlStreamWriter& x) {
        x.writeDefaultNamespace(kPackageRels);
        x.writeStartElement(QStringLiteral("Relationships"));
        relationship(x, QStringLiteral("rIdStyles"), kR + QStringLiteral("/styles"), QStringLiteral("styles.xml"));
        if (withPicture)
            relationship(x, kImageId, kR + QStringLiteral("/image"), kImagePart);
        x.writeEndElement();
    });
}

// Persian text in the customary face; Latin runs in the word processor's usual one.
QByteArray styles()
{
    return xmlPart([](QXmlStreamWriter& x) {
        x.writeNamespace(kW, QStringLiteral("w"));
        x.writeStartElement(kW, QStringLiteral("styles"));
        x.writeStartElement(kW, QStringLiteral("docDefaults"));
        x.writeStartElement(kW, QStringLiteral("rPrDefault"));
        x.writeStartElement(kW, QStringLiteral("rPr"));
        x.writeEmptyElement(kW, QStringLiteral("rFonts"));
        x.writeAttribute(kW, QStringLiteral("ascii"), QStringLiteral("Calibri"));
        x.writeAttribute(kW, QStringLiteral("hAnsi"), QStringLiteral("Calibri"));
        x.writeAttribute(kW, QStringLiteral("cs"), QStringLiteral("B Nazanin"));
        x.writeEmptyElement(kW, QStringLiteral("sz"));
        x.writeAttribute(kW, QStringLiteral("val"), QStringLiteral("24"));
        x.writeEmptyElement(kW, QStringLiteral("szCs"));
        x.writeAttribute(kW, QStringLiteral("val"), QStringLiteral("28"));
        x.writeEmptyElement(kW, QStringLiteral("lang"));
        x.writeAttribute(kW, QStringLiteral("bidi"), QStringLiteral("fa-IR"));
        x.writeEndElement(); // rPr
        x.writeEndElement(); // rPrDefault
        x.writeEndElement(); // docDefaults
        x.writeEndElement(); // styles
    });
}

void paragraphStart(QXmlStreamWriter& x)
{
    x.writeStartElement(kW, QStringLiteral("p"));
    x.writeStartElement(kW, QStringLiteral("pPr"));
    x.writeEmptyElement(kW, QStringLiteral("bidi"));
    x.writeEmptyElement(kW, QStringLiteral("jc"));
    x.writeAttribute(kW, QStringLiteral("val"), QStringLiteral("both"));
    x.writeEndElement();
}

// halfPoints: the text's size when it is not the document's own.
void textParagraph(QXmlStreamWriter& x, const QString& text, int halfPoints = 0)
{
    paragraphStart(x);
    if (!text.isEmpty()) {
        x.writeStartElement(kW, QStringLiteral("r"));
        x.writeStartElement(kW, QStringLiteral("rPr"));
        x.writeEmptyElement(kW, QStringLiteral("rtl"));
        if (halfPoints > 0) {
            for (const char* size : {"sz", "szCs"}) {
                x.writeEmptyElement(kW, QString::fromLatin1(size));
                x.writeAttribute(kW, QStringLiteral("val"), QString::number(halfPoints));
            }
        }
        x.writeEndElement();
        x.writeStartElement(kW, QStringLiteral("t"));
        x.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
        x.writeCharacters(text);
        x.writeEndElement();
        x.writeEndElement();
    }
    x.writeEndElement();
}

// The picture at its size on screen (96 dpi), scaled down to the text column when wider.
QSize pictureExtentEmu(const QSize& pixels)
{
    qint64 cx = pixels.width() * kEmuPerPixel;
    qint64 cy = pixels.height() * kEmuPerPixel;
    const qint64 maxCx = kDocxTextWidthTwips * kEmuPerTwip;
    if (cx > maxCx) {
        cy = cy * maxCx / cx;
        cx = maxCx;
    }
    return QSize(int(cx), int(cy));
}

void pictureParagraph(QXmlStreamWriter& x, const QSize& pixels, const QString& name)
{
    const QSize emu = pictureExtentEmu(pixels);
    const QString cx = QString::number(emu.width());
    const QString cy = QString::number(emu.height());
    paragraphStart(x);
    x.writeStartElement(kW, QStringLiteral("r"));
    x.writeStartElement(kW, QStringLiteral("drawing"));
    x.writeStartElement(kWp, QStringLiteral("inline"));
    for (const char* d : {"distT", "distB", "distL", "distR"})
        x.writeAttribute(QString::fromLatin1(d), QStringLiteral("0"));
    x.writeEmptyElement(kWp, QStringLiteral("extent"));
    x.writeAttribute(QStringLiteral("cx"), cx);
    x.writeAttribute(QStringLiteral("cy"), cy);
    x.writeEmptyElement(kWp, QStringLiteral("docPr"));
    x.writeAttribute(QStringLiteral("id"), QStringLiteral("1"));
    x.writeAttribute(QStringLiteral("name"), name);
    x.writeStartElement(kWp, QStringLiteral("cNvGraphicFramePr"));
    x.writeEmptyElement(kA, QStringLiteral("graphicFrameLocks"));
    x.writeAttribute(QStringLiteral("noChangeAspect"), QStringLiteral("1"));
    x.writeEndElement();
    x.writeStartElement(kA, QStringLiteral("graphic"));
    x.writeStartElement(kA, QStringLiteral("graphicData"));
    x.writeAttribute(QStringLiteral("uri"), kPic);
    x.writeStartElement(kPic, QStringLiteral("pic"));
    x.writeStartElement(kPic, QStringLiteral("nvPicPr"));
    x.writeEmptyElement(kPic, QStringLiteral("cNvPr"));
    x.writeAttribute(QStringLiteral("id"), QStringLiteral("0"));
    x.writeAttribute(QStringLiteral("name"), name);
    x.writeEmptyElement(kPic, QStringLiteral("cNvPicPr"));
    x.writeEndElement(); // nvPicPr
    x.writeStartElement(kPic, QStringLiteral("blipFill"));
    x.writeEmptyElement(kA, QStringLiteral("blip"));
    x.writeAttribute(kR, QStringLiteral("embed"), kImageId);
    x.writeStartElement(kA, QStringLiteral("stretch"));
    x.writeEmptyElement(kA, QStringLiteral("fillRect"));
    x.writeEndElement();
    x.writeEndElement(); // blipFill
    x.writeStartElement(kPic, QStringLiteral("spPr"));
    x.writeStartElement(kA, QStringLiteral("xfrm"));
    x.writeEmptyElement(kA, QStringLiteral("off"));
    x.writeAttribute(QStringLiteral("x"), QStringLiteral("0"));
    x.writeAttribute(QStringLiteral("y"), QStringLiteral("0"));
    x.writeEmptyElement(kA, QStringLiteral("ext"));
    x.writeAttribute(QStringLiteral("cx"), cx);
    x.writeAttribute(QStringLiteral("cy"), cy);
    x.writeEndElement(); // xfrm
    x.writeStartElement(kA, QStringLiteral("prstGeom"));
    x.writeAttribute(QStringLiteral("prst"), QStringLiteral("rect"));
    x.writeEmptyElement(kA, QStringLiteral("avLst"));
    x.writeEndElement();
    x.writeEndElement(); // spPr
    x.writeEndElement(); // pic
    x.writeEndElement(); // graphicData
    x.writeEndElement(); // graphic
    x.writeEndElement(); // inline
    x.writeEndElement(); // drawing
    x.writeEndElement(); // r
    x.writeEndElement(); // p
}

QByteArray documentXml(const WordDocument& d)
{
    return xmlPart([&](QXmlStreamWriter& x) {
        x.writeNamespace(kW, QStringLiteral("w"));
        x.writeNamespace(kR, QStringLiteral("r"));
        x.writeNamespace(kWp, QStringLiteral("wp"));
        x.writeNamespace(kA, QStringLiteral("a"));
        x.writeNamespace(kPic, QStringLiteral("pic"));
        x.writeStartElement(kW, QStringLiteral("document"));
        x.writeStartElement(kW, QStringLiteral("body"));
        textParagraph(x, {});
        if (d.picture.isNull())
            textParagraph(x, {});
        else
            pictureParagraph(x, d.picture.size(), d.pictureName);
        textParagraph(x, {});
        // Each line end of the text starts a paragraph, as typing it would.
        static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
        for (const QString& line : d.text.split(lineEnd))
            textParagraph(x, line);
        if (!d.provenance.isEmpty()) {
            textParagraph(x, {});
            textParagraph(x, d.provenance, 16);
        }
        x.writeStartElement(kW, QStringLiteral("sectPr"));
        x.writeEmptyElement(kW, QStringLiteral("pgSz"));
        x.writeAttribute(kW, QStringLiteral("w"), QStringLiteral("11906"));
        x.writeAttribute(kW, QStringLiteral("h"), QStringLiteral("16838"));
        x.writeEmptyElement(kW, QStringLiteral("pgMar"));
        for (const char* side : {"top", "right", "bottom", "left"})
            x.writeAttribute(kW, QString::fromLatin1(side), QStringLiteral("1440"));
        x.writeEmptyElement(kW, QStringLiteral("bidi"));
        x.writeEndElement(); // sectPr
        x.writeEndElement(); // body
        x.writeEndElement(); // document
    });
}

} // namespace

QVector<DocxPart> DocxParts(const WordDocument& d)
{
    const bool withPicture = !d.picture.isNull();
    QVector<DocxPart> parts{
        {QStringLiteral("[Content_Types].xml"), contentTypes(withPicture)},
        {QStringLiteral("_rels/.rels"), packageRels()},
        {QStringLiteral("word/document.xml"), documentXml(d)},
        {QStringLiteral("word/_rels/document.xml.rels"), documentRels(withPicture)},
        {QStringLiteral("word/styles.xml"), styles()},
    };
    if (withPicture) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        d.picture.save(&buffer, "PNG");
        parts.append({QStringLiteral("word/") + kImagePart, png});
    }
    return parts;
}

QByteArray BuildDocx(const WordDocument& document, QString* error)
{
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return QByteArray();
    };
    QByteArray bytes;
    QBuffer buffer(&bytes);
    {
        QuaZip zip(&buffer);
        zip.setUtf8Enabled(true);
        if (!zip.open(QuaZip::mdCreate))
            return fail(QStringLiteral("zip error %1").arg(zip.getZipError()));
        for (const DocxPart& part : DocxParts(document)) {
            if (part.bytes.isEmpty())
                return fail(QStringLiteral("%1 could not be made").arg(part.name));
            QuaZipFile file(&zip);
            if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(part.name)) || file.write(part.bytes) != part.bytes.size())
                return fail(QStringLiteral("zip error %1 in %2").arg(file.getZipError()).arg(part.name));
            file.close();
            if (file.getZipError() != 0)
                return fail(QStringLiteral("zip error %1 in %2").arg(file.getZipError()).arg(part.name));
        }
        zip.close();
        if (zip.getZipError() != 0)
            return fail(QStringLiteral("zip error %1").arg(zip.getZipError()));
    }
    return bytes;
}

WriteOutcome WriteWordDocument(const QString& path, const WordDocument& document)
{
    QString error;
    const QByteArray bytes = BuildDocx(document, &error);
    if (bytes.isEmpty())
        return {false, QDir::toNativeSeparators(path), error};
    return WriteFileReplacing(path, bytes);
}

} // namespace reports
