#include "maintenance/about_screen.h"
#include "kit/texts.h"
#include "kit/twips.h"
#include "maintenance/maintenance_texts.h"
#include "settings/apply_theme.h"

#include <QKeyEvent>
#include <QRandomGenerator>
#include <QStyle>

using namespace maintenance;
namespace mtexts = maintenance::texts;

namespace {

constexpr int kFormWidth = 6900;
constexpr int kFormHeight = 5700;
constexpr int kLabelHeight = 480;

} // namespace

About::About(AppContext& ctx, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , ctx_(ctx)
    , credits_(CreditList(ctx.publisher()))
{
    setObjectName(QStringLiteral("About"));
    setWindowTitle(mtexts::kAboutCaption);
    buildWindow();
    ApplyTheme(ctx_.programFolder(), this);

    Timer3->start();
    Text1->setText(SpacedCreditLine(CreditLineText()));
    closer_ = CreditLineCloser{};
    move(twipsPoint(2300, 1200));

    scroll_.formHeight = kFormHeight;
    scroll_.tops = {1240, 1960, 2680, 3400};
    scroll_.index = 4;
    const QVector<QLabel*> all = labels();
    for (int i = 0; i < all.size(); ++i)
        all[i]->setText(credits_.at(i));
    placeLabels();

    Timer1->start();
    Timer10->start();
}

void About::buildWindow()
{
    setFixedSize(twipsSize(kFormWidth, kFormHeight));

    Frame1 = new QGroupBox(mtexts::kAboutFrame, this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twipsRect(120, 60, kFormWidth - 240, kFormHeight - 900));

    QFont big(QStringLiteral("Arial"));
    big.setFamilies({QStringLiteral("Arial"), QStringLiteral("Noto Sans Arabic"), QStringLiteral("DejaVu Sans")});
    big.setPointSizeF(15.75);
    big.setBold(true);
    QLabel** targets[] = {&Label1, &Label2, &Label3, &Label4};
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(Frame1);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        label->setAlignment(Qt::AlignCenter);
        label->setFont(big);
        *targets[i] = label;
    }

    Text1 = new QLineEdit(Frame1);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setFrame(false);
    Text1->setAlignment(Qt::AlignCenter);
    Text1->setFocusPolicy(Qt::NoFocus);
    Text1->setStyleSheet(QStringLiteral("background: transparent;"));
    Text1->setGeometry(twipsRect(240, 330, kFormWidth - 720, 450));

    Command1 = new QPushButton(::texts::kCaptionExit, this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    Command1->setGeometry(twipsRect((kFormWidth - 1500) / 2, kFormHeight - 720, 1500, 480));
    connect(Command1, &QPushButton::clicked, this, &QWidget::close);

    auto makeTimer = [this](const QString& name, int ms) {
        auto* timer = new QTimer(this);
        timer->setObjectName(name);
        timer->setInterval(ms);
        return timer;
    };
    Timer1 = makeTimer(QStringLiteral("Timer1"), 700);
    Timer10 = makeTimer(QStringLiteral("Timer10"), 55);
    Timer3 = makeTimer(QStringLiteral("Timer3"), 1);
    connect(Timer1, &QTimer::timeout, this, &About::colourTick);
    connect(Timer10, &QTimer::timeout, this, &About::scrollTick);
    connect(Timer3, &QTimer::timeout, this, &About::creditLineTick);
}

void About::placeLabels()
{
    const QVector<QLabel*> all = labels();
    const int width = kFormWidth - 480;
    for (int i = 0; i < all.size(); ++i)
        all[i]->setGeometry(twipsRect(120, scroll_.tops.at(i), width, kLabelHeight));
}

void About::scrollTick()
{
    if (const std::optional<CreditScroll::Recycled> moved = scroll_.tick())
        labels().at(moved->label)->setText(credits_.value(moved->entry - 1));
    placeLabels();
}

void About::setColour(QLabel* label, const QColor& colour)
{
    // A sheet of the label's own: a theme's sheet would override a palette colour.
    label->setStyleSheet(QStringLiteral("color: %1;").arg(colour.name()));
    label->setProperty("creditColour", colour);
}

void About::colourTick()
{
    if (colourCounter_ > 15)
        colourCounter_ = 0;
    setColour(Label1, PaletteColour(colourCounter_));
    colourCounter_ += 2;
    QRandomGenerator* random = QRandomGenerator::global();
    auto component = [random] { return static_cast<int>(std::lround(random->generateDouble() * 255)); };
    const int r = component();
    const int g = component();
    const int b = component();
    setColour(Label3, QColor(r, g, b));
}

void About::creditLineTick()
{
    QString text = Text1->text();
    if (closer_.step(text))
        Text1->setText(text);
    else
        Timer3->stop(); // closed up: nothing will change any more
}

void About::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        Command1->click();
        return;
    }
    QWidget::keyPressEvent(event);
}
