#include "reports/report_layout.h"
#include "reports/report_texts.h"

#include <QFontMetricsF>
#include <QTextLayout>
#include <QTextOption>

namespace reports {

namespace {

using Kind = ReportItem::Kind;

const QString kNazanin = QStringLiteral("B Nazanin");
const QString kTitr = QStringLiteral("B Titr");
const QString kCalibri = QStringLiteral("Calibri");
const QString kArial = QStringLiteral("Arial");

Face nazanin(double points)
{
    return {kNazanin, points};
}

constexpr Qt::Alignment kLeft = Qt::AlignLeft;
constexpr Qt::Alignment kRight = Qt::AlignRight;
constexpr Qt::Alignment kCentre = Qt::AlignHCenter;

// A label of the detail section, x and y from the body's corner.
ReportItem label(const QString& name, int x, int y, int w, int h, const Face& font, Qt::Alignment a,
                 const QString& text)
{
    ReportItem item;
    item.kind = Kind::Text;
    item.name = name;
    item.rect = QRectF(layout::kBodyLeft + x, layout::kTopMargin + y, w, h);
    item.font = font;
    item.alignment = a;
    item.direction = Qt::LayoutDirectionAuto;
    item.text = text;
    return item;
}

ReportItem rule(const QString& name, double top)
{
    ReportItem item;
    item.kind = Kind::Rule;
    item.name = name;
    item.rect = QRectF(layout::kBodyLeft + (layout::kBodyWidth - layout::kRuleLength) / 2.0, top,
                       layout::kRuleLength, 0);
    return item;
}

ReportItem picture(const QString& name, int x, int y, int w, int h, const QImage& image)
{
    ReportItem item;
    item.kind = Kind::Picture;
    item.name = name;
    item.rect = FitPicture(image.size(), QRectF(layout::kBodyLeft + x, layout::kTopMargin + y, w, h));
    item.picture = image;
    return item;
}

// Everything of the detail section but the interpretation text.
QVector<ReportItem> detailSection(const ReportContent& c)
{
    const Identity& id = c.identity;
    const Face n9 = nazanin(9.75);
    const Face n11 = nazanin(11.25);
    QVector<ReportItem> items;
    if (c.logoOn && !c.logo.isNull())
        items << picture(QStringLiteral("Image4"), 114, 18, 1515, 1395, c.logo);
    ReportItem band;
    band.kind = Kind::Frame;
    band.name = QStringLiteral("Image1");
    band.rect = QRectF(layout::kBodyLeft + 322, layout::kTopMargin + 18, 10425, 1740);
    items << band;
    items << label(QStringLiteral("Label8"), 1819, 131, 8853, 555, nazanin(15.75), kCentre, c.clinicName)
          << label(QStringLiteral("Label186"), 1638, 882, 9012, 435, nazanin(12), kCentre, c.title)
          << rule(QStringLiteral("Line3"), layout::kTopMargin + 1667)
          << rule(QStringLiteral("Line4"), layout::kTopMargin + 1705)
          << label(QStringLiteral("Label187"), 1983, 1777, 1485, 270, n9, kCentre, texts::kCaptionTestDate)
          << label(QStringLiteral("Label188"), 650, 1777, 1350, 270, n9, kRight, id.date)
          // First identity row, right to left: code, group, given name, family name, sex, age.
          << label(QStringLiteral("Label169"), 8882, 2079, 1575, 330, n11, kLeft,
                   c.identifierLabel + texts::kCaptionSuffix)
          << label(QStringLiteral("Label170"), 7703, 2069, 1155, 333, n11, kRight, id.code)
          << label(QStringLiteral("Label183"), 7181, 2069, 516, 345, n11, kCentre, texts::kCaptionGroup)
          << label(QStringLiteral("Label184"), 6878, 2132, 348, 333, Face{kArial, 11.25}, kRight, id.group)
          << label(QStringLiteral("Label171"), 6463, 2069, 405, 333, n11, kCentre, texts::kCaptionGivenName)
          << label(QStringLiteral("Label172"), 5208, 2069, 1233, 333, n11, kRight, id.givenName)
          << label(QStringLiteral("Label173"), 4047, 2069, 1200, 333, n11, kCentre, texts::kCaptionFamilyName)
          << label(QStringLiteral("Label174"), 2438, 2069, 1647, 333, n11, kRight, id.familyName)
          << label(QStringLiteral("Label175"), 1763, 2069, 650, 333, n11, kCentre, texts::kCaptionSex)
          << label(QStringLiteral("Label176"), 1261, 2069, 510, 270, n11, kRight, id.sex)
          << label(QStringLiteral("Label177"), 632, 2069, 471, 333, n11, kCentre, texts::kCaptionAge)
          << label(QStringLiteral("Label178"), 237, 2069, 345, 333, n9, kRight, id.age)
          // Second row: marital status, education, unanswered count.
          << label(QStringLiteral("Label179"), 9197, 2447, 1470, 330, n11, kLeft, texts::kCaptionMaritalStatus)
          << label(QStringLiteral("Label180"), 8445, 2447, 744, 330, n11, kRight, id.maritalStatus)
          << label(QStringLiteral("Label181"), 7500, 2447, 1176, 333, n11, kLeft, texts::kCaptionEducation)
          << label(QStringLiteral("Label182"), 5852, 2447, 1602, 333, n11, kRight, id.education)
          << label(QStringLiteral("Label1"), 3614, 2457, 2280, 330, n11, kLeft, texts::kCaptionUnanswered)
          << label(QStringLiteral("Label2"), 2992, 2475, 525, 333, n11, kRight, c.unanswered);
    if (!c.profile.isNull())
        items << picture(QStringLiteral("Image2"), 882, 2898, 8955, 6615, c.profile);
    return items;
}

QVector<ReportItem> pageFooter(const ReportContent& c)
{
    const double top = layout::kFooterTop;
    ReportItem address;
    address.kind = Kind::Text;
    address.name = QStringLiteral("Label5");
    address.rect = QRectF(layout::kBodyLeft + 5448, top + 103, 5146, 1343);
    address.font = Face{kTitr, 9.75};
    address.alignment = kRight;
    address.direction = Qt::LayoutDirectionAuto;
    address.wrap = true;
    address.text = c.address;

    ReportItem contact = address;
    contact.name = QStringLiteral("Label10");
    contact.rect = QRectF(layout::kBodyLeft + 29, top + 103, 5302, 1343);
    contact.font = Face{kCalibri, 9.75};
    contact.alignment = kLeft;
    // The stored lines end in CR LF; a bare CR would be drawn as a blank.
    contact.text = QString(c.contactLines).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).trimmed();

    return {rule(QStringLiteral("Line1"), top + 29), rule(QStringLiteral("Line2"), top + 67), address, contact};
}

const Face kTextFont{kNazanin, 11.25};
const Face kProvenanceFont{kTitr, layout::kProvenancePoints};

// The provenance line's height on the page; nothing when there is no line.
double provenanceHeight(const ReportContent& c)
{
    return c.provenance.isEmpty() ? 0 : QFontMetricsF(ReportFont(kProvenanceFont)).height();
}

ReportItem provenanceLine(const ReportContent& c)
{
    const double height = provenanceHeight(c);
    ReportItem line;
    line.kind = Kind::Text;
    line.name = QStringLiteral("Provenance");
    line.rect = QRectF(layout::kBodyLeft, layout::kFooterTop - height, layout::kBodyWidth, height);
    line.font = kProvenanceFont;
    line.alignment = kCentre;
    line.direction = Qt::RightToLeft;
    line.text = c.provenance;
    return line;
}

} // namespace

void EnsureReportFaces()
{
    // insertSubstitutions skips faces already listed, so this may run any number of times.
    QFont::insertSubstitutions(kNazanin, {QStringLiteral("Nazli"), QStringLiteral("Noto Naskh Arabic")});
    QFont::insertSubstitutions(kTitr, {QStringLiteral("Titr"), QStringLiteral("Noto Naskh Arabic")});
    QFont::insertSubstitutions(kCalibri, {QStringLiteral("Carlito"), QStringLiteral("Noto Sans"),
                                          QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(kArial, {QStringLiteral("Liberation Sans"), QStringLiteral("Noto Sans"),
                                        QStringLiteral("DejaVu Sans")});
}

QFont ReportFont(const Face& face)
{
    EnsureReportFaces();
    QFont f;
    // Persian text in a Latin face (contact lines, a group letter) takes a Persian face, not
    // whatever the system would pick. The Persian faces carry their own Latin letters and
    // digits: a second family there would take the digits away from them.
    // With several families the substitutes of the first are not looked at, so they are listed
    // here: otherwise the Persian face would set the Latin lines' height too.
    if (face.family == kCalibri || face.family == kArial)
        f.setFamilies(QStringList{face.family} + QFont::substitutes(face.family) + QStringList{QStringLiteral("Noto Sans Arabic")});
    else
        f.setFamilies({face.family});
    f.setPixelSize(qRound(face.points * 20)); // 20 twips to the point
    f.setBold(face.bold);
    f.setHintingPreference(QFont::PreferNoHinting); // the same widths on screen, paper and PDF
    return f;
}

const ReportItem* ReportPage::find(const QString& name) const
{
    for (const ReportItem& item : items)
        if (item.name == name)
            return &item;
    return nullptr;
}

QVector<const ReportItem*> ReportPage::all(const QString& name) const
{
    QVector<const ReportItem*> out;
    for (const ReportItem& item : items)
        if (item.name == name)
            out << &item;
    return out;
}

QRectF FitPicture(const QSizeF& picture, const QRectF& frame)
{
    if (picture.isEmpty() || frame.isEmpty())
        return {};
    const QSizeF size = picture.scaled(frame.size(), Qt::KeepAspectRatio);
    return QRectF(frame.center().x() - size.width() / 2, frame.center().y() - size.height() / 2, size.width(),
                  size.height());
}

QVector<TextLine> BreakInterpretation(const QString& text)
{
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList paragraphs = normalised.split(QLatin1Char('\n'));
    if (!paragraphs.isEmpty() && paragraphs.last().isEmpty())
        paragraphs.removeLast(); // the last line's own line end

    const QFont font = ReportFont(kTextFont);
    const double emptyHeight = QFontMetricsF(font).height();
    QTextOption option(Qt::AlignRight | Qt::AlignAbsolute);
    option.setTextDirection(Qt::RightToLeft);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);

    QVector<TextLine> lines;
    for (const QString& paragraph : paragraphs) {
        if (paragraph.isEmpty()) {
            lines << TextLine{QString(), emptyHeight};
            continue;
        }
        QTextLayout layout(paragraph, font);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(layout::kTextWidth);
            lines << TextLine{paragraph.mid(line.textStart(), line.textLength()), line.height()};
        }
        layout.endLayout();
    }
    return lines;
}

QVector<ReportPage> LayoutReport(const ReportContent& content)
{
    QVector<ReportItem> footer = pageFooter(content);
    if (!content.provenance.isEmpty())
        footer.prepend(provenanceLine(content));
    const double textBottom = layout::kFooterTop - provenanceHeight(content);
    QVector<ReportPage> pages(1);
    pages[0].items = detailSection(content);

    double y = layout::kTopMargin + layout::kTextTop;
    for (const TextLine& line : BreakInterpretation(content.interpretation)) {
        if (y + line.height > textBottom && y > layout::kTopMargin) {
            pages.append(ReportPage{});
            y = layout::kTopMargin;
        }
        ReportItem item;
        item.kind = Kind::Text;
        item.name = QStringLiteral("Label3");
        item.rect = QRectF(layout::kBodyLeft + layout::kTextLeft, y, layout::kTextWidth, line.height);
        item.font = kTextFont;
        item.alignment = kRight;
        item.direction = Qt::RightToLeft;
        item.text = line.text;
        pages.last().items << item;
        y += line.height;
    }
    for (ReportPage& page : pages)
        page.items << footer;
    return pages;
}

} // namespace reports
