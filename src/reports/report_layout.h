#pragma once
// The printed report laid out on A4 pages, in twips (1/1440 inch) from the page's top-left
// corner. The report's body, 10,791 twips wide, is centred on the page; its detail section
// starts under the top margin and its footer sits above the bottom margin of every page.
// The interpretation text grows downward from its place and continues on further pages.
// Plain values in, positioned boxes out: the painter only draws what this computes.
#include "reports/report_content.h"

#include <QFont>
#include <QImage>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QVector>

namespace reports::layout {

inline constexpr int kBodyWidth = 10791;
inline constexpr int kDetailHeight = 13245;
inline constexpr int kFooterHeight = 1449;
// A4 portrait.
inline constexpr int kPageWidth = 11906;
inline constexpr int kPageHeight = 16838;
inline constexpr int kBodyLeft = (kPageWidth - kBodyWidth) / 2;
inline constexpr int kTopMargin = 720;
inline constexpr int kBottomMargin = 720;
inline constexpr int kFooterTop = kPageHeight - kBottomMargin - kFooterHeight;
static_assert(kFooterTop - kTopMargin >= kDetailHeight, "the detail section fits above the footer");

// The interpretation label: its place in the detail section and its width.
inline constexpr int kTextLeft = 189;
inline constexpr int kTextTop = 9701;
inline constexpr int kTextWidth = 10395;

// Rules under the header and in the footer run this long, centred on the body.
inline constexpr int kRuleLength = 10727;

// The line saying where the scores came from sits just above the footer; the interpretation
// stops above it. It is written in the footer's face, a little smaller.
inline constexpr double kProvenancePoints = 8.25;

} // namespace reports::layout

namespace reports {

// A face as the report names it; every face of the report is bold.
struct Face {
    QString family;
    double points = 0;
    bool bold = true;
    friend bool operator==(const Face&, const Face&) = default;
};

// The report's faces resolve to installed ones ("B Nazanin", "B Titr", "Calibri", "Arial").
void EnsureReportFaces();
// The face at its size in twips (a pixel here is a twip), for measuring and for painting on a
// painter whose unit is the twip.
QFont ReportFont(const Face& face);

struct ReportItem {
    enum class Kind { Text, Picture, Frame, Rule };
    Kind kind = Kind::Text;
    QString name;      // the report control: Label8, Image2, Line3, ...
    QRectF rect;       // twips on the page; a rule runs along the top edge of its rect
    QString text;
    Face font;
    Qt::Alignment alignment = Qt::AlignRight;
    Qt::LayoutDirection direction = Qt::RightToLeft;
    bool wrap = false;  // several lines inside the box
    QImage picture;     // drawn scaled into rect, which already keeps its proportions
};

struct ReportPage {
    QVector<ReportItem> items;
    // The first item of that control on this page, or null.
    const ReportItem* find(const QString& name) const;
    // Every item of that control on this page (the interpretation has one per line).
    QVector<const ReportItem*> all(const QString& name) const;
};

// The box a picture of that size takes inside its frame: as large as fits, proportions kept,
// centred. An empty size yields an empty box.
QRectF FitPicture(const QSizeF& picture, const QRectF& frame);

// The interpretation text broken into lines at the label's width: each CR LF (or lone LF) ends
// a line, a line too long for the label wraps at a word boundary (anywhere, if one word is
// wider than the label); the line end after the last line makes no empty line.
struct TextLine {
    QString text;
    double height = 0;
};
QVector<TextLine> BreakInterpretation(const QString& text);

// Every page of the report: the detail section on the first, the interpretation continuing on
// further pages when it runs into the footer, the footer on each.
QVector<ReportPage> LayoutReport(const ReportContent& content);

} // namespace reports
