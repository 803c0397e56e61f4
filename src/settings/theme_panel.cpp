#include "settings/theme_panel.h"
#include "kit/app_context.h"
#include "kit/controls.h"
#include "kit/twips.h"
#include "settings/settings_texts.h"
#include "settings/theme_list.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

const QString kListNotWritten = QStringLiteral("تم انتخاب شده در فهرست تم ها ثبت نشد.");

} // namespace

ThemePanel::ThemePanel(AppContext& ctx, QWidget* parent)
    : QFrame(parent)
    , ctx_(ctx)
    , current_(kDefaultThemeName)
{
    setObjectName(QStringLiteral("Frame6"));
    StylePanel(this);
    build();
    hide();
}

void ThemePanel::build()
{
    Txtthema = MakeField(this, QStringLiteral("Txtthema"));
    Txtthema->setAlignment(Qt::AlignCenter);
    Txtthema->setMaxLength(6);
    Comdtback = MakeButton(this, QStringLiteral("Comdtback"), texts::kCaptionPrevious);
    Comdtnext = MakeButton(this, QStringLiteral("Comdtnext"), texts::kCaptionNext);
    Command46 = MakeButton(this, QStringLiteral("Command46"), texts::kCaptionExit);

    // Right to left: next stands on the left of the number, previous on its right.
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(14, 14, 14, 14);
    grid->setSpacing(10);
    grid->addWidget(Comdtback, 0, 0);
    grid->addWidget(Txtthema, 0, 1);
    grid->addWidget(Comdtnext, 0, 2);
    grid->addWidget(Command46, 1, 1);

    connect(Txtthema, &QLineEdit::textChanged, this, &ThemePanel::numberChanged);
    connect(Comdtback, &QPushButton::clicked, this, &ThemePanel::previous);
    connect(Comdtnext, &QPushButton::clicked, this, &ThemePanel::next);
    connect(Command46, &QPushButton::clicked, this, &QWidget::hide);
}

void ThemePanel::open(const QString& currentTheme)
{
    setGeometry(twipsRect(3015, 1080, 3690, 2415));
    show();
    raise();
    current_ = currentTheme;
    // Showing the current theme chooses nothing.
    const QSignalBlocker quiet(Txtthema);
    Txtthema->setText(currentTheme);
}

void ThemePanel::numberChanged(const QString& text)
{
    const std::optional<int> number = ThemeNumberFromText(text);
    if (!number)
        return; // not a number (yet): the current theme stays
    const QString name = QString::number(*number);
    if (text != name) {
        const QSignalBlocker quiet(Txtthema);
        Txtthema->setText(name);
    }
    current_ = name;
    Q_EMIT themeChanged(name);
    if (const store::Result r = WriteThemeName(ctx_.programFolder(), name); !r)
        ReportFailure(ctx_.dialogs(), window(), kListNotWritten, r.error);
}

void ThemePanel::step(int by)
{
    // From the number shown, or from the current theme when the field holds no number.
    const int from = ThemeNumberFromText(Txtthema->text()).value_or(ThemeNumberFromText(current_).value_or(1));
    Txtthema->setText(QString::number(from + by));
}

void ThemePanel::previous()
{
    step(-1);
}

void ThemePanel::next()
{
    step(+1);
}
