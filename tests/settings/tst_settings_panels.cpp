// The settings panel and the clinic details, logo and theme choices, from the main window.
#include "support/test_env.h"
#include "support/probes.h"
#include "support/test_registry.h"
#include "app/main_window.h"
#include "examinees/registration_panel.h"
#include "kit/twips.h"
#include "settings/clinic_details.h"
#include "settings/clinic_details_panel.h"
#include "settings/settings_panel.h"
#include "settings/theme_list.h"
#include "settings/theme_panel.h"
#include "store/schema.h"
#include "store/view.h"

#include <QCheckBox>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Settings {
    TestEnv env;
    Frm1 w{env.ctx};
    bool loaded = w.load();
    SettingsPanel* panel = w.settingsPanel();
    ClinicDetailsPanel* details = w.clinicDetailsPanel();
    ThemePanel* theme = w.themePanel();

    QString stored(const QString& column) const
    {
        store::View row(env.path(store::kSettingsFile), u"Theme"_s);
        (void)row.refresh();
        return row.value(column);
    }
    QByteArray themeList() const
    {
        QFile f(ThemeListPath(env.folder()));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
    }
    bool refuseWrites(const QString& file, const QString& table) const
    {
        return testing_support::execSql(
            env.path(file),
            {u"CREATE TRIGGER refuse BEFORE UPDATE ON %1 BEGIN SELECT RAISE(ABORT, 'disk refused'); END"_s.arg(table)});
    }
    QStringList errorBoxes() const
    {
        QStringList out;
        for (const auto& m : env.dialogs.messages())
            if (m.title == u"خطا"_s)
                out << m.text;
        return out;
    }
};

} // namespace

class TestSettingsPanels : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void settingsPanelOpensAndCloses();
    void identifierLabelFollowedInThreePlaces();
    void contactLines();
    void clinicDetailsSaveAndCancel();
    void failedSaveIsReported();
    void settingsRowChangedMeanwhile();
    void logoSwitchStoresZeroAndOne();
    void logoChoice_data();
    void logoChoice();
    void themeSteps_data();
    void themeSteps();
    void themeNumberFromText_data();
    void themeNumberFromText();
};

void TestSettingsPanels::settingsPanelOpensAndCloses()
{
    Settings s;
    QVERIFY(s.loaded);
    s.w.registrationPanel()->show();
    s.w.Command9->click();
    QVERIFY(s.w.Frame10->isHidden());
    QVERIFY(!s.panel->isHidden());
    // Taller than its first design by the line naming the store and the move button under it.
    QCOMPARE(s.panel->geometry(), twipsRect(2880, 3510, 5250, 4560));
    QCOMPARE(s.panel->storeInUse->text(), u"داده ها روي همين رايانه نگه داشته مي شوند."_s);
    QVERIFY(!s.panel->moveDataToServer->isEnabled()); // nothing to move to without a server
    s.panel->Command67->click();
    QVERIFY(!s.details->isHidden());
    QCOMPARE(s.details->geometry(), twipsRect(1460, 855, 6680, 4935));
    s.panel->Command68->click(); // one panel over the settings panel at a time
    QVERIFY(s.details->isHidden());
    QVERIFY(!s.theme->isHidden());
    QCOMPARE(s.theme->geometry(), twipsRect(3015, 1080, 3690, 2415));
    s.theme->Command46->click(); // the theme panel's exit leaves the settings panel
    QVERIFY(s.theme->isHidden());
    QVERIFY(!s.panel->isHidden());
    s.panel->Command69->click();
    QVERIFY(s.panel->isHidden());
}

void TestSettingsPanels::identifierLabelFollowedInThreePlaces()
{
    Settings s;
    s.w.Command9->click();
    s.panel->Command67->click();
    s.details->Text23->clear();
    for (const QChar c : u"شماره پرونده"_s) // typed one letter at a time
        s.details->Text23->insert(QString(c));
    QCOMPARE(s.details->identifierCaption->text(), u"شماره پرونده"_s);
    QCOMPARE(s.w.registrationPanel()->codeCaption->text(), u"شماره پرونده"_s);
    QCOMPARE(s.w.Command4->text(), u"نمايش شماره پرونده"_s);
    QCOMPARE(s.w.IdentifierLabel(), u"شماره پرونده"_s);
    s.details->Text31->setText(u"کلينيک آرامش"_s);
    QCOMPARE(s.w.SkinLabel1->text(), u"کلينيک آرامش"_s);
}

void TestSettingsPanels::contactLines()
{
    QCOMPARE(settings::ComposeContactLines({u"x"_s, {}, {}, {}, {}, u"y"_s}), u"x\r\ny\r\n"_s);
    QCOMPARE(settings::ComposeContactLines({{}, {}, {}, {}, {}, {}}), QString());
}

void TestSettingsPanels::clinicDetailsSaveAndCancel()
{
    Settings s;
    s.w.Command9->click();
    s.panel->Command67->click();
    const QList<std::tuple<QLineEdit*, QString, QString>> entries{
        {s.details->Text31, u"Name"_s, u"کلينيک د'آرامش"_s}, {s.details->Text30, u"Adress"_s, u"تهران"_s},
        {s.details->Text24, u"T1"_s, u"x"_s},                {s.details->Text29, u"T2"_s, QString()},
        {s.details->Text2, u"T3"_s, QString()},              {s.details->Text14, u"T4"_s, QString()},
        {s.details->Text27, u"T5"_s, QString()},             {s.details->Text28, u"T6"_s, u"y"_s},
        {s.details->Text23, u"T11"_s, u"کد مراجع"_s}};
    for (const auto& [field, column, value] : entries)
        field->setText(value);
    s.details->Command64->click();
    for (const auto& [field, column, value] : entries)
        QCOMPARE(s.stored(column), value);
    QVERIFY(s.details->isHidden());
    QCOMPARE(s.w.contactLines(), u"x\r\ny\r\n"_s);
    QCOMPARE(s.env.dialogs.messageTexts(), QStringList{u"تغييرات با موفقيت ذخيره شد"_s});

    // Cancel stores nothing, and what followed the edits shows the stored row again.
    s.panel->Command67->click();
    s.details->Text23->setText(u"شماره پرونده"_s);
    s.details->Text24->setText(u"changed"_s);
    s.details->Command7->click();
    QVERIFY(s.details->isHidden());
    QCOMPARE(s.stored(u"T11"_s), u"کد مراجع"_s);
    QCOMPARE(s.stored(u"T1"_s), u"x"_s);
    QCOMPARE(s.w.IdentifierLabel(), u"کد مراجع"_s);
    QCOMPARE(s.w.Command4->text(), u"نمايش کد مراجع"_s);
}

void TestSettingsPanels::failedSaveIsReported()
{
    Settings s;
    QVERIFY(s.refuseWrites(store::kSettingsFile, u"Theme"_s));
    s.w.Command9->click();
    s.panel->Command67->click();
    s.details->Text31->setText(u"کلينيک تازه"_s);
    s.details->Command64->click();
    QCOMPARE(s.errorBoxes().size(), 1);
    QVERIFY(s.errorBoxes().first().contains(u"disk refused"_s));
    QVERIFY(!s.env.dialogs.messageTexts().contains(u"تغييرات با موفقيت ذخيره شد"_s));
    QVERIFY(!s.details->isHidden()); // the entries stay, to try again
    QCOMPARE(s.details->Text31->text(), u"کلينيک تازه"_s);
    QVERIFY(s.stored(u"Name"_s).isEmpty());
    s.details->Command7->click();
    QVERIFY(s.w.SkinLabel1->text().isEmpty()); // the clinic name shown is the stored one

    // The logo switch is refused the same way, and the box shows what is stored.
    s.env.dialogs.clear();
    s.panel->Check1->click();
    QCOMPARE(s.errorBoxes().size(), 1);
    QVERIFY(!s.panel->Check1->isChecked());
    QCOMPARE(s.panel->Check1->text(), u"آرم را نمايش نمي دهد"_s);
}

void TestSettingsPanels::settingsRowChangedMeanwhile()
{
    Settings s;
    s.w.Command9->click();
    s.panel->Command67->click();
    // This computer's own writes of the row, one panel after the other, are no one else's change.
    s.details->Text31->setText(u"کلينيک يک"_s);
    s.panel->Check1->click();
    s.details->Command64->click();
    s.panel->Check1->click();
    QVERIFY2(s.errorBoxes().isEmpty(), qPrintable(s.errorBoxes().join(u'\n')));
    QCOMPARE(s.stored(u"Name"_s), u"کلينيک يک"_s);
    QCOMPARE(s.stored(u"Check1"_s), u"0"_s);

    // Another computer's change since the panel read the row: not overwritten, said, and shown.
    s.panel->Command67->click();
    store::View other(s.env.path(store::kSettingsFile), u"Theme"_s);
    QVERIFY(other.refresh().ok && other.setValue(u"Name"_s, u"کلينيک ديگر"_s).ok && other.update().ok);
    s.details->Text31->setText(u"کلينيک دو"_s);
    s.details->Command64->click();
    QCOMPARE(s.errorBoxes().size(), 1);
    QVERIFY2(s.errorBoxes().first().contains(u"تغيير کرده است"_s), qPrintable(s.errorBoxes().first()));
    QCOMPARE(s.stored(u"Name"_s), u"کلينيک ديگر"_s);
    QCOMPARE(s.details->Text31->text(), u"کلينيک ديگر"_s);
    QCOMPARE(s.w.SkinLabel1->text(), u"کلينيک ديگر"_s);
    s.details->Text31->setText(u"کلينيک دو"_s); // seen, then written on purpose
    s.details->Command64->click();
    QCOMPARE(s.errorBoxes().size(), 1);
    QCOMPARE(s.stored(u"Name"_s), u"کلينيک دو"_s);
}

void TestSettingsPanels::logoSwitchStoresZeroAndOne()
{
    Settings s;
    // From the first look, the caption says what is stored.
    QVERIFY(testing_support::execSql(s.env.path(store::kSettingsFile), {u"UPDATE Theme SET Check1 = 1"_s}));
    QVERIFY(s.w.load());
    s.w.Command9->click();
    QVERIFY(s.panel->Check1->isChecked());
    QCOMPARE(s.panel->Check1->text(), u"آرم را نمايش مي دهد"_s);
    s.panel->Check1->setChecked(false);
    s.panel->Check1->click();
    QCOMPARE(s.stored(u"Check1"_s), u"1"_s);
    QCOMPARE(s.panel->Check1->text(), u"آرم را نمايش مي دهد"_s);
    s.panel->Check1->click();
    QCOMPARE(s.stored(u"Check1"_s), u"0"_s);
    QCOMPARE(s.panel->Check1->text(), u"آرم را نمايش نمي دهد"_s);
    QVERIFY(s.errorBoxes().isEmpty());
    Frm1 again(s.env.ctx); // the stored state is read at start-up
    QVERIFY(again.load());
    QVERIFY(!again.settingsPanel()->Check1->isChecked());
}

void TestSettingsPanels::logoChoice_data()
{
    QTest::addColumn<QString>("chosen"); // "" cancels the dialog
    QTest::addColumn<bool>("written");
    QTest::newRow("cancelled, no logo before") << QString() << false;
    QTest::newRow("a PNG with a transparent corner") << u"logo.png"_s << true;
    QTest::newRow("not a picture") << u"notes.txt"_s << false;
    QTest::newRow("a FIFO") << u"pipe.png"_s << false;
}

void TestSettingsPanels::logoChoice()
{
    QFETCH(QString, chosen);
    QFETCH(bool, written);
    Settings s;
    QImage picture(60, 40, QImage::Format_ARGB32);
    picture.fill(QColor(200, 30, 30));
    for (int x = 0; x < 16; ++x)
        for (int y = 0; y < 16; ++y)
            picture.setPixel(x, y, qRgba(0, 0, 0, 0));
    const QString pngPath = s.env.path(u"logo.png"_s);
    QVERIFY(picture.save(pngPath, "PNG"));
    QFile notes(s.env.path(u"notes.txt"_s));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write("not a picture");
    notes.close();
    testing_support::Fifo pipe(s.env.path(u"pipe.png"_s)); // a reader would wait on it for ever
    QVERIFY(pipe.isValid());
    const QString logoPath = s.env.path(settings::kLogoFileName);
    const bool hadLogo = chosen == u"notes.txt"_s; // an old logo that must stay
    if (hadLogo) {
        QVERIFY(QFile::copy(pngPath, logoPath));
        QVERIFY(s.w.load());
    }
    QFile before(logoPath);
    const QByteArray oldBytes = before.open(QIODevice::ReadOnly) ? before.readAll() : QByteArray();
    before.close();

    if (!chosen.isEmpty())
        s.env.dialogs.fileAnswers.enqueue(s.env.path(chosen));
    s.w.Command9->click();
    s.panel->Command65->click();
    QVERIFY(!pipe.readerCame()); // never opened: it would have blocked the screen
    QCOMPARE(testing_support::ListedByFileDialog(s.env.dialogs.shown.first().filter, {u"logo.jpg"_s}),
             QStringList{u"logo.jpg"_s});

    const QList<ScriptedDialogs::Shown> boxes = s.env.dialogs.messages();
    if (!written) {
        QFile after(logoPath);
        QCOMPARE(after.open(QIODevice::ReadOnly) ? after.readAll() : QByteArray(), oldBytes);
        QCOMPARE(boxes.size(), chosen.isEmpty() ? 0 : 1); // a refusal says so
        QCOMPARE(s.panel->Picture2->pixmap().isNull(), !hadLogo);
        return;
    }
    QImageReader reader(logoPath);
    QCOMPARE(reader.format(), QByteArray("jpeg")); // the content its name promises
    const QImage logo = reader.read();
    QCOMPARE(logo.size(), QSize(60, 40));
    QVERIFY(qGray(logo.pixel(2, 2)) > 240); // laid on white, not on black
    QVERIFY(!s.panel->Picture2->pixmap().isNull());
    QVERIFY(!s.w.logo().isNull());
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first().title, u"توجه"_s);
    QCOMPARE(boxes.first().text, u" لوگو ذخيره شد"_s);
    QCOMPARE(boxes.first().icon, Dialogs::Icon::Information);
    QCOMPARE(boxes.first().autoCloseMs, 0);
}

void TestSettingsPanels::themeSteps_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("action"); // "next", "previous" or text typed over the number
    QTest::addColumn<QString>("theme");  // "" when the current theme stays and nothing is written
    QTest::newRow("next on 48") << u"48"_s << u"next"_s << u"48"_s;
    QTest::newRow("previous on 1") << u"1"_s << u"previous"_s << u"1"_s;
    QTest::newRow("next on 12") << u"12"_s << u"next"_s << u"13"_s;
    QTest::newRow("typed 99") << u"5"_s << u"99"_s << u"48"_s;
    QTest::newRow("typed 0") << u"5"_s << u"0"_s << u"1"_s;
    QTest::newRow("typed letters") << u"5"_s << u"abc"_s << QString();
}

void TestSettingsPanels::themeSteps()
{
    QFETCH(QString, start);
    QFETCH(QString, action);
    QFETCH(QString, theme);
    Settings s;
    QVERIFY(WriteThemeName(s.env.folder(), start));
    QVERIFY(s.w.load());
    s.w.Command9->click();
    s.panel->Command68->click();
    QCOMPARE(s.theme->Txtthema->text(), start);
    QFile::remove(ThemeListPath(s.env.folder())); // every step writes it anew
    const QString sheetBefore = s.w.styleSheet();

    if (action == u"next"_s)
        s.theme->Comdtnext->click();
    else if (action == u"previous"_s)
        s.theme->Comdtback->click();
    else
        s.theme->Txtthema->setText(action);

    if (theme.isEmpty()) {
        QCOMPARE(s.w.themeName(), start);
        QCOMPARE(s.w.styleSheet(), sheetBefore);
        QCOMPARE(s.themeList(), QByteArray("(missing)"));
        return;
    }
    QCOMPARE(s.theme->Txtthema->text(), theme);
    QCOMPARE(s.w.themeName(), theme);
    QCOMPARE(s.themeList(), (theme + u"\r\n"_s).toUtf8());
    const QString sheet = ReadThemeFile(s.env.folder(), theme).value_or(QString());
    QCOMPARE(s.w.styleSheet(), IsPlainStyleSheet(sheet) ? QString() : sheet);
}

void TestSettingsPanels::themeNumberFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("number"); // 0: not a number
    QTest::newRow("plain") << u"17"_s << 17;
    QTest::newRow("blanks") << u" 9 "_s << 9;
    QTest::newRow("negative") << u"-3"_s << 1;
    QTest::newRow("more digits than fit") << u"99999999999999999999999"_s << 48;
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("number then letters") << u"12a"_s << 0;
}

void TestSettingsPanels::themeNumberFromText()
{
    QFETCH(QString, text);
    QFETCH(int, number);
    QCOMPARE(ThemeNumberFromText(text).value_or(0), number);
}

TAVORA_TEST(TestSettingsPanels)
#include "tst_settings_panels.moc"
