#include "settings/clinic_details_panel.h"
#include "kit/app_context.h"
#include "kit/controls.h"
#include "kit/identity_texts.h"
#include "kit/twips.h"
#include "settings/clinic_details.h"
#include "settings/settings_texts.h"
#include "store/schema.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kNotRead = QStringLiteral("مشخصات کلينيک خوانده نشد.");
const QString kNotStored = QStringLiteral("مشخصات کلينيک ذخيره نشد.");

} // namespace

ClinicDetailsPanel::ClinicDetailsPanel(AppContext& ctx, std::shared_ptr<store::View> settingsRow, QWidget* parent)
    : QFrame(parent)
    , settingsRow_(std::move(settingsRow))
    , Adodc1(*settingsRow_)
    , ctx_(ctx)
{
    setObjectName(QStringLiteral("Frame9"));
    StylePanel(this);
    build();
    hide();
}

void ClinicDetailsPanel::build()
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(12, 8, 12, 8);
    grid->setVerticalSpacing(3);
    const QList<QPair<QString, QString>> rows{
        {QStringLiteral("Text31"), texts::kCaptionClinicName}, {QStringLiteral("Text30"), texts::kCaptionAddress},
        {QStringLiteral("Text24"), texts::kCaptionEmail},      {QStringLiteral("Text29"), texts::kCaptionTelegram},
        {QStringLiteral("Text2"), texts::kCaptionInstagram},   {QStringLiteral("Text14"), texts::kCaptionWebSite},
        {QStringLiteral("Text27"), texts::kCaptionTwitter},    {QStringLiteral("Text28"), texts::kCaptionTelephone},
        {QStringLiteral("Text23"), texts::kCaptionIdentifierLabel}};
    QList<QLineEdit*> made;
    for (int i = 0; i < rows.size(); ++i) {
        QLabel* caption = MakeFieldCaption(this, rows.at(i).second);
        QLineEdit* field = MakeField(this, rows.at(i).first);
        grid->addWidget(caption, i, 0);
        grid->addWidget(field, i, 1);
        made << field;
        if (i == rows.size() - 1)
            identifierCaption = caption;
    }
    Text31 = made[0];
    Text30 = made[1];
    Text24 = made[2];
    Text29 = made[3];
    Text2 = made[4];
    Text14 = made[5];
    Text27 = made[6];
    Text28 = made[7];
    Text23 = made[8];
    identifierCaption->setObjectName(QStringLiteral("identifierCaption"));
    grid->setColumnStretch(1, 1);

    Command64 = MakeButton(this, QStringLiteral("Command64"), texts::kCaptionSaveIdentity);
    Command7 = MakeButton(this, QStringLiteral("Command7"), texts::kCaptionCancel);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {Command64, Command7}) {
        b->setMinimumWidth(twips(1300));
        buttons->addWidget(b);
    }
    buttons->addStretch();
    grid->addLayout(buttons, int(rows.size()), 0, 1, 2);

    // The captions follow the fields as they change, before any save.
    connect(Text23, &QLineEdit::textChanged, this, [this](const QString& label) {
        filled_ = true;
        identifierCaption->setText(label);
        Q_EMIT identifierLabelChanged(label);
    });
    connect(Text31, &QLineEdit::textChanged, this, [this](const QString& name) {
        filled_ = true;
        Q_EMIT clinicNameChanged(name);
    });
    connect(Command64, &QPushButton::clicked, this, &ClinicDetailsPanel::save);
    connect(Command7, &QPushButton::clicked, this, &ClinicDetailsPanel::cancel);
}

QList<QPair<QLineEdit*, QString>> ClinicDetailsPanel::fields() const
{
    return {{Text31, QStringLiteral("Name")}, {Text30, QStringLiteral("Adress")}, {Text24, QStringLiteral("T1")},
            {Text29, QStringLiteral("T2")},   {Text2, QStringLiteral("T3")},      {Text14, QStringLiteral("T4")},
            {Text27, QStringLiteral("T5")},   {Text28, QStringLiteral("T6")},     {Text23, QStringLiteral("T11")}};
}

store::Result ClinicDetailsPanel::load()
{
    const store::Result r = Adodc1.refresh();
    showStoredRow();
    return r;
}

store::Result ClinicDetailsPanel::readStoredRow()
{
    if (filled_)
        return load();
    const store::Result r = Adodc1.refresh();
    // As the fields' own change would be given out, were they filled.
    if (const QString label = Adodc1.value(QStringLiteral("T11")); label != unfilledLabel_)
        Q_EMIT identifierLabelChanged(unfilledLabel_ = label);
    if (const QString name = Adodc1.value(QStringLiteral("Name")); name != unfilledName_)
        Q_EMIT clinicNameChanged(unfilledName_ = name);
    return r;
}

void ClinicDetailsPanel::showStoredRow()
{
    filled_ = true;
    for (const auto& [field, column] : fields())
        field->setText(Adodc1.value(column));
}

void ClinicDetailsPanel::open()
{
    setGeometry(twipsRect(1460, 855, 6680, 4935));
    show();
    raise();
    if (const store::Result r = load(); !r)
        ReportFailure(ctx_.dialogs(), window(), kNotRead, r.error);
}

void ClinicDetailsPanel::save()
{
    store::Result r = Adodc1.hasCurrent() ? store::Result::success() : Adodc1.refresh();
    for (const auto& [field, column] : fields())
        if (r)
            r = Adodc1.setValue(column, field->text());
    if (r)
        r = Adodc1.update();
    if (!r) {
        ReportFailure(ctx_.dialogs(), window(), kNotStored, r.error);
        if (r.kind == store::Failure::ChangedMeanwhile) {
            showStoredRow(); // re-read: the user sees the other computer's row before writing again
            return;
        }
        // Nothing stored: the entries stay in the fields, to try again, and the view forgets them.
        (void)Adodc1.refresh(); // a failed re-read shows at the next save
        return;
    }
    hide();
    Q_EMIT saved();
}

void ClinicDetailsPanel::cancel()
{
    hide();
    if (const store::Result r = load(); !r)
        ReportFailure(ctx_.dialogs(), window(), kNotRead, r.error);
    Q_EMIT cancelled();
}

QString ClinicDetailsPanel::contactLines() const
{
    QStringList values;
    for (int i = 1; i <= 6; ++i)
        values << Adodc1.value(QStringLiteral("T%1").arg(i));
    return settings::ComposeContactLines(values);
}

