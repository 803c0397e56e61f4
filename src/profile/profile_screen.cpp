#include "profile/profile_screen.h"
#include "examinees/identity.h"
#include "kit/controls.h"
#include "kit/texts.h"
#include "kit/twips.h"
#include "profile/profile_chart.h"
#include "profile/profile_geometry.h"
#include "profile/profile_screen_texts.h"
#include "profile/score_rows.h"
#include "store/examinee_rows.h"
#include "store/schema.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QWindow>

using namespace profile;

namespace {

// The conversion and drawing follow the activation after this pause.
constexpr int kDeferredStepMs = 100;

// Below the chart's drawing: the line saying where the scores came from, then the button panel
// on its decoration band.
constexpr int kProvenanceTop = chart::kExtentHeight;
constexpr int kProvenanceHeight = 240;
constexpr int kPanelTop = 9330 + kProvenanceHeight;
constexpr int kPanelHeight = 540;
constexpr int kWindowHeight = 9960 + kProvenanceHeight;
constexpr int kTableFontPx = 13;

QStringList textsOf(const QVector<QLabel*>& row)
{
    QStringList out;
    for (const QLabel* label : row)
        out << label->text();
    return out;
}

void setTexts(const QVector<QLabel*>& row, const QStringList& texts)
{
    for (int i = 0; i < row.size(); ++i)
        row[i]->setText(i < texts.size() ? texts.at(i) : QString());
}

// The screen's labels are centred in their cells; its buttons share one size.
QLabel* centredLabel(QWidget* parent, const QString& name, const QString& text = {})
{
    QLabel* label = MakeLabel(parent, name, text);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QPushButton* panelButton(QWidget* parent, const QString& name, const QString& caption)
{
    QPushButton* button = MakeButton(parent, name, caption);
    button->setMinimumSize(120, 30);
    return button;
}

} // namespace

FrmNemudar::FrmNemudar(AppContext& ctx, examinees::ExamineeRecord examinee, NormGroupSource normGroup,
                       QWidget* parent)
    : QWidget(parent)
    , ctx_(ctx)
    , examinee_(std::move(examinee))
    , normGroup_(std::move(normGroup))
    , settingsFile_(std::make_shared<store::Connection>(ctx.path(store::kSettingsFile)))
    , normsFile_(std::make_shared<store::Connection>(ctx.path(store::kNormsFile)))
    , settings_(settingsFile_, QStringLiteral("Theme"))
    , storedT_(normsFile_, QStringLiteral("NOMREbikIR"))
    , storedRaw_(normsFile_, QStringLiteral("NOMREKhamIR"))
    , norms_(ctx.path(store::kNormsFile), [&ctx](const QString& table) { return ctx.dataProblem(table); })
{
    setObjectName(QStringLiteral("FrmNemudar"));
    setWindowTitle(texts::kProgramCaption);
    buildWindow();
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &FrmNemudar::focusWindowChanged);
    load();
}

FrmNemudar::~FrmNemudar() = default;

void FrmNemudar::setExaminee(const examinees::ExamineeRecord& examinee)
{
    examinee_ = examinee;
}

void FrmNemudar::buildWindow()
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, backColor());
    setPalette(pal);
    setFixedSize(twipsSize(chart::kExtentWidth, kWindowHeight));

    // The chart's twips are the window's: it lies at the window's corner at its natural size.
    chart = new ProfileChart(this);
    chart->setGeometry(QRect(QPoint(0, 0), chart->sizeHint()));

    Label6 = centredLabel(this, QStringLiteral("Label6"), screen_texts::kChartTitle);
    QFont titleFont = font();
    titleFont.setPointSize(10);
    titleFont.setBold(true);
    Label6->setFont(titleFont);
    Label6->setGeometry(twipsRect(225, 45, 9825, 330));

    Lblj = centredLabel(chart, QStringLiteral("Lblj"), examinees::kFemale);
    QFont sexFont = font();
    sexFont.setPixelSize(kTableFontPx);
    sexFont.setBold(true);
    Lblj->setFont(sexFont);
    Lblj->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    chart->place(Lblj, QRect(150, chart::kHeadingTop, 690, chart::kHeadingHeight));

    // Why the T row is empty, over the plot where the profile would be.
    LblTNotice = centredLabel(chart, QStringLiteral("LblTNotice"));
    LblTNotice->setWordWrap(true);
    LblTNotice->setAutoFillBackground(true);
    QPalette noticePalette = LblTNotice->palette();
    noticePalette.setColor(QPalette::Window, QColor(255, 255, 255, 230));
    noticePalette.setColor(QPalette::WindowText, QColor(170, 0, 0));
    LblTNotice->setPalette(noticePalette);
    LblTNotice->setFont(sexFont);
    chart->place(LblTNotice, QRect(chart::kSeparatorX + 300, 1200, chart::kPlotRight - chart::kSeparatorX - 600, 900));
    LblTNotice->hide();

    provenanceLine = centredLabel(this, QStringLiteral("provenanceLine"));
    QFont smallFont = font();
    smallFont.setPixelSize(11);
    provenanceLine->setFont(smallFont);
    provenanceLine->setGeometry(twipsRect(225, kProvenanceTop, 9825, kProvenanceHeight));

    Lblkham = buildRow(QStringLiteral("Lblkham"), chart::RawRow);
    lblt = buildRow(QStringLiteral("lblt"), chart::TRow);
    lbldarsad = buildRow(QStringLiteral("lbldarsad"), chart::PercentRow);

    Shape3 = new QFrame(this);
    Shape3->setObjectName(QStringLiteral("Shape3"));
    Shape3->setAutoFillBackground(true);
    QPalette shapePalette = Shape3->palette();
    shapePalette.setColor(QPalette::Window, shapeColor());
    Shape3->setPalette(shapePalette);
    Shape3->setGeometry(twipsRect(225, kPanelTop - 45, 9825, kPanelHeight + 90));

    Frame2 = new QFrame(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setGeometry(twipsRect(chart::kPlotLeft, kPanelTop, chart::kTableRight - chart::kPlotLeft, kPanelHeight));
    auto* buttons = new QHBoxLayout(Frame2);
    buttons->setContentsMargins(0, 2, 0, 2);
    buttons->setSpacing(12);
    CmdTaf = panelButton(Frame2, QStringLiteral("CmdTaf"), screen_texts::kCaptionInterpretation);
    Command3 = panelButton(Frame2, QStringLiteral("Command3"), screen_texts::kCaptionPrint);
    Cmdword = panelButton(Frame2, QStringLiteral("Cmdword"), screen_texts::kCaptionWord);
    Cmdexit = panelButton(Frame2, QStringLiteral("Cmdexit"), ::texts::kCaptionExit);
    for (QPushButton* b : {CmdTaf, Command3, Cmdword, Cmdexit})
        buttons->addWidget(b);

    Cmdbik = panelButton(this, QStringLiteral("Cmdbik"), screen_texts::kCaptionDraw);
    Cmdbik->hide();

    FramTaf = new InterpretationPanel(ctx_, this);
    FramTaf->hide();

    Timer3 = new QTimer(this);
    Timer3->setObjectName(QStringLiteral("Timer3"));
    Timer3->setSingleShot(true);
    Timer3->setInterval(kDeferredStepMs);

    connect(Timer3, &QTimer::timeout, this, &FrmNemudar::deferredStep);
    connect(Cmdbik, &QPushButton::clicked, this, &FrmNemudar::DrawProfile);
    // The interpretation buttons are only reachable with the panel shown, so the ranking has
    // always run for the scores on the screen before a text is built.
    connect(CmdTaf, &QPushButton::clicked, this, [this] {
        FramTaf->show();
        FramTaf->raise();
        FramTaf->RankScales();
    });
    connect(Cmdexit, &QPushButton::clicked, this, &QWidget::close);
}

QVector<QLabel*> FrmNemudar::buildRow(const QString& name, int row)
{
    QFont f = font();
    f.setPixelSize(kTableFontPx);
    QVector<QLabel*> labels;
    for (int i = 0; i < kScaleCount; ++i) {
        QLabel* label = centredLabel(chart, name + QLatin1Char('_') + QString::number(i));
        label->setFont(f);
        chart->place(label, TableCell(chart::TableRow(row), i));
        labels << label;
    }
    return labels;
}

void FrmNemudar::load()
{
    move(twipsPoint(2085, 145));
    for (store::View* view : {&settings_, &storedT_, &storedRaw_})
        note(view->refresh());
    FramTaf->setGeometry(twipsRect(225, 360, 9825, 7620));
    FramTaf->hide();
}

bool FrmNemudar::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate) {
        // The first showing counts; later only a return from another window of the program,
        // not from another program.
        const bool counts = !activatedBefore_ || otherWindowActive_;
        activatedBefore_ = true;
        otherWindowActive_ = false;
        if (counts)
            activate();
    } else if (event->type() == QEvent::WindowDeactivate) {
        const QWidget* now = QApplication::activeWindow();
        if (now && now != this)
            otherWindowActive_ = true;
    }
    return QWidget::event(event);
}

void FrmNemudar::focusWindowChanged(QWindow* window)
{
    // Seen here too: the program may get the focus back in another of its windows after
    // another program had it.
    if (!window || window == windowHandle() || window->type() == Qt::Popup || window->type() == Qt::ToolTip)
        return;
    otherWindowActive_ = true;
}

void FrmNemudar::activate()
{
    failures_.clear();
    if (normGroup_) {
        const examinees::NormGroup group = normGroup_();
        examinee_.sex = group.sex;
        examinee_.education = group.education;
    }
    // The norm table is read afresh at every activation, as it was chosen afresh.
    norms_.clear();
    result_ = profile::ComputeProfileResult(examinee_, norms_.tables());
    if (!norms_.readError().isEmpty())
        failures_ << norms_.readError();
    const QString& code = result_.examinee.code;

    note(LocateOrCreateScoreRow(storedRaw_, code));
    setTexts(Lblkham, result_.rawScores);
    FramTaf->showResult(result_); // the saved text follows this examinee's row
    provenanceLine->setText(result_.provenance);
    if (!result_.normTable.isEmpty())
        Lblj->setText(result_.examinee.sex);
    showTProblem();
    // Until the deferred step shows the new T scores, the T row shows what was stored for this
    // examinee, and only when a norm table is used: a T row with no table behind it is empty.
    setTexts(lblt, {});
    if (!result_.normTable.isEmpty()) {
        // Score rows are stored under the code without surrounding blanks.
        const store::Result r = store::SelectByCode(storedT_, code.trimmed());
        note(r);
        if (r && storedT_.hasCurrent())
            showStoredRow(storedT_, lblt);
    }
    note(CommitScoreRow(storedRaw_, code, result_.rawScores));
    Timer3->start();
    reportFailures();
    Q_EMIT activated();
}

void FrmNemudar::deferredStep()
{
    const QString& code = result_.examinee.code;
    note(LocateOrCreateScoreRow(storedT_, code));
    setTexts(lblt, result_.tScores);
    setTexts(lbldarsad, result_.percentages);
    DrawProfile();
    note(CommitScoreRow(storedT_, code, result_.tScores));
    reportFailures();
    Q_EMIT profileReady();
}

void FrmNemudar::showTProblem()
{
    LblTNotice->setText(result_.problem);
    LblTNotice->setVisible(!result_.problem.isEmpty());
}

void FrmNemudar::reportFailures()
{
    // Each failure is said once: the box itself sends the screen through another activation.
    QStringList fresh;
    for (const QString& f : std::as_const(failures_)) {
        if (!reported_.contains(f))
            fresh << f;
        reported_.insert(f);
    }
    if (!fresh.isEmpty())
        ctx_.dialogs().message(this, titles::kError, screen_texts::kScoresNotStored + QLatin1Char('\n') +
                                                         fresh.join(QLatin1Char('\n')),
                               Dialogs::Icon::Critical);
}

void FrmNemudar::DrawProfile()
{
    Timer3->stop();
    chart->setTScores(result_.tScores);
}

void FrmNemudar::showStoredRow(const store::View& view, const QVector<QLabel*>& row)
{
    const QStringList scales = store::scaleColumns();
    for (int i = 0; i < row.size(); ++i)
        row[i]->setText(view.value(scales.at(i)));
}

QStringList FrmNemudar::rawScoreTexts() const
{
    return textsOf(Lblkham);
}

QStringList FrmNemudar::tScoreTexts() const
{
    return textsOf(lblt);
}

QStringList FrmNemudar::percentTexts() const
{
    return textsOf(lbldarsad);
}

void FrmNemudar::note(const store::Result& r)
{
    if (!r)
        failures_ << r.error;
}

void FrmNemudar::closeEvent(QCloseEvent* event)
{
    Timer3->stop();
    event->accept();
    Q_EMIT closed();
}
