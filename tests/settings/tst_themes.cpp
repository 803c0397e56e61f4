// The 48 delivered themes, and how the theme list file picks one for a window.
#include "support/test_env.h"
#include "support/test_registry.h"
#include "app/main_window.h"
#include "settings/apply_theme.h"
#include "settings/theme_list.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>
#include <QToolTip>
#include <QVBoxLayout>
#include <cmath>

namespace {

QString themeResource(int n)
{
    return QStringLiteral(":/data/skin/%1.skn").arg(n);
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString sheetOf(int n)
{
    return QString::fromUtf8(readAll(themeResource(n)));
}

QString withoutComments(const QString& sheet)
{
    static const QRegularExpression comment(QStringLiteral("/\\*.*?\\*/"),
                                            QRegularExpression::DotMatchesEverythingOption);
    QString s = sheet;
    s.remove(comment);
    return s.simplified();
}

// What a window carries after the theme is applied: the plain look is no sheet at all.
QString appliedSheetOf(int n)
{
    const QString sheet = sheetOf(n);
    return withoutComments(sheet).isEmpty() ? QString() : sheet;
}

// ---- a small reader for the sheets' rules -------------------------------------------

struct Rule {
    QString selector; // one selector of the rule, blanks collapsed
    QHash<QString, QString> props;
};

QList<Rule> parseRules(const QString& sheet)
{
    QList<Rule> rules;
    const QStringList blocks = withoutComments(sheet).split(QLatin1Char('}'));
    for (const QString& block : blocks) {
        const qsizetype brace = block.indexOf(QLatin1Char('{'));
        if (brace < 0)
            continue;
        QHash<QString, QString> props;
        for (const QString& decl : block.mid(brace + 1).split(QLatin1Char(';'))) {
            const qsizetype colon = decl.indexOf(QLatin1Char(':'));
            if (colon > 0)
                props.insert(decl.left(colon).trimmed().toLower(), decl.mid(colon + 1).trimmed());
        }
        for (const QString& selector : block.left(brace).split(QLatin1Char(',')))
            rules.append({selector.simplified(), props});
    }
    return rules;
}

const Rule* findRule(const QList<Rule>& rules, const QString& selector)
{
    for (const Rule& r : rules)
        if (r.selector == selector)
            return &r;
    return nullptr;
}

// The solid colours a background is made of (every stop of a gradient); empty when the
// rule paints no background of its own.
QList<QColor> backgroundColours(const Rule& rule)
{
    QString value = rule.props.value(QStringLiteral("background-color"), rule.props.value(QStringLiteral("background")));
    QList<QColor> colours;
    static const QRegularExpression hex(QStringLiteral("#[0-9a-fA-F]{6}\\b|#[0-9a-fA-F]{3}\\b"));
    for (auto it = hex.globalMatch(value); it.hasNext();)
        colours << QColor(it.next().captured());
    return colours;
}

double luminance(const QColor& c)
{
    auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Every text colour against the background it is drawn on: the rule's own background, or,
// for text on a transparent control, the window and the in-window panel. Disabled controls
// need 3:1, everything else 4.5:1.
QStringList contrastProblems(const QString& sheet)
{
    const QList<Rule> rules = parseRules(sheet);
    const Rule* window = findRule(rules, QStringLiteral("QWidget"));
    const Rule* panel = findRule(rules, QStringLiteral("QFrame[role=\"panel\"]"));
    if (!window || !panel || !window->props.contains(QStringLiteral("color")))
        return {QStringLiteral("no window or panel colours")};
    const QColor baseText(window->props.value(QStringLiteral("color")));
    const QList<QColor> surfaces = backgroundColours(*window) + backgroundColours(*panel);
    if (surfaces.size() < 2 || !baseText.isValid())
        return {QStringLiteral("window or panel colours are not solid colours")};

    QStringList problems;
    for (const Rule& r : rules) {
        const double needed = r.selector.contains(QLatin1String(":disabled")) ? 3.0 : 4.5;
        const QList<QColor> own = backgroundColours(r);
        const QString colour = r.props.value(QStringLiteral("color"));
        if (colour.isEmpty() && (own.isEmpty() || r.selector.contains(QLatin1String("::"))))
            continue; // no text drawn by this rule
        const QColor fg = colour.isEmpty() ? baseText : QColor(colour);
        if (!fg.isValid()) {
            problems << r.selector + QStringLiteral(": unreadable colour ") + colour;
            continue;
        }
        for (const QColor& bg : own.isEmpty() ? surfaces : own)
            if (contrast(fg, bg) < needed)
                problems << QStringLiteral("%1: %2 on %3 is %4")
                                .arg(r.selector, fg.name(), bg.name())
                                .arg(contrast(fg, bg), 0, 'f', 2);
        const QColor selFg(r.props.value(QStringLiteral("selection-color")));
        const QColor selBg(r.props.value(QStringLiteral("selection-background-color")));
        if (selFg.isValid() && selBg.isValid() && contrast(selFg, selBg) < 4.5)
            problems << r.selector + QStringLiteral(": selection colours");
    }
    return problems;
}

// ---- style-sheet warnings -----------------------------------------------------------

QStringList g_messages;

void recordMessage(QtMsgType, const QMessageLogContext&, const QString& message)
{
    g_messages << message;
}

// A window holding one of every kind of control the themes style, so that applying a sheet
// makes Qt parse and use every rule.
std::unique_ptr<QWidget> makeGallery()
{
    auto window = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(window.get());
    auto role = [](QWidget* w, const char* r) {
        w->setProperty("role", QString::fromLatin1(r));
        return w;
    };
    layout->addWidget(role(new QLabel(QStringLiteral("title")), "title"));
    layout->addWidget(role(new QLabel(QStringLiteral("clinic")), "clinic"));
    layout->addWidget(role(new QLabel(QStringLiteral("hint")), "hint"));
    layout->addWidget(role(new QLabel(QStringLiteral("notice")), "notice"));
    auto* menu = new QFrame;
    role(menu, "menu-panel");
    auto* menuLayout = new QVBoxLayout(menu);
    menuLayout->addWidget(role(new QPushButton(QStringLiteral("menu")), "menu"));
    layout->addWidget(menu);
    auto* panel = new QFrame;
    role(panel, "panel");
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->addWidget(new QLineEdit(QStringLiteral("line")));
    auto* combo = new QComboBox;
    combo->addItems({QStringLiteral("a"), QStringLiteral("b")});
    panelLayout->addWidget(combo);
    auto* group = new QGroupBox(QStringLiteral("group"));
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(new QRadioButton(QStringLiteral("radio")));
    groupLayout->addWidget(new QCheckBox(QStringLiteral("check")));
    panelLayout->addWidget(group);
    auto* disabled = new QPushButton(QStringLiteral("disabled"));
    disabled->setEnabled(false);
    panelLayout->addWidget(disabled);
    layout->addWidget(panel);
    layout->addWidget(role(new QPushButton(QStringLiteral("link")), "link"));
    layout->addWidget(new QPlainTextEdit(QStringLiteral("plain")));
    layout->addWidget(new QTextEdit(QStringLiteral("rich")));
    auto* table = new QTableWidget(3, 3);
    table->setAlternatingRowColors(true);
    layout->addWidget(table);
    layout->addWidget(new QProgressBar);
    return window;
}

// Applies the sheet to the gallery and to a message box inside it, shows them, and returns
// what Qt said about style sheets meanwhile.
QStringList styleSheetWarnings(QWidget* gallery, const QString& sheet)
{
    g_messages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(recordMessage);
    gallery->setStyleSheet(sheet);
    gallery->show();
    for (QWidget* w : gallery->findChildren<QWidget*>())
        w->ensurePolished();
    QMessageBox box(QMessageBox::Information, QStringLiteral("t"), QStringLiteral("text"), QMessageBox::Ok, gallery);
    box.show();
    box.ensurePolished();
    QToolTip::showText(gallery->mapToGlobal(QPoint(5, 5)), QStringLiteral("tip"), gallery);
    QCoreApplication::processEvents();
    QToolTip::hideText();
    box.hide();
    qInstallMessageHandler(previous);

    QStringList found;
    for (const QString& m : std::as_const(g_messages))
        if (m.contains(QLatin1String("Could not parse"), Qt::CaseInsensitive)
            || m.contains(QLatin1String("style sheet"), Qt::CaseInsensitive)
            || m.contains(QLatin1String("stylesheet"), Qt::CaseInsensitive)
            || m.contains(QLatin1String("Unknown property"), Qt::CaseInsensitive))
            found << m;
    return found;
}

void writeThemeList(const TestEnv& env, const QByteArray& content)
{
    QFile f(ThemeListPath(env.folder()));
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
}

} // namespace

class TestThemeFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void deliveredAndSeeded();
    void sheetsParseWithoutWarnings();
    void themesArePairwiseDifferent();
    void everyThemeStylesTheProgramsControls();
    void textReadsOnItsBackground();
    void appliedThemeColoursTheWindow();
};

void TestThemeFiles::deliveredAndSeeded()
{
    TestEnv env;
    QVERIFY2(env.isValid(), qPrintable(env.seedError()));
    for (int n = 1; n <= kThemeCount; ++n) {
        const QByteArray delivered = readAll(themeResource(n));
        QVERIFY2(QFile::exists(themeResource(n)), qPrintable(themeResource(n)));
        if (n > 1)
            QVERIFY2(!withoutComments(QString::fromUtf8(delivered)).isEmpty(), qPrintable(themeResource(n)));
        const QString seeded = ThemeFilePath(env.folder(), QString::number(n));
        QVERIFY2(QFile::exists(seeded), qPrintable(seeded));
        QCOMPARE(readAll(seeded), delivered);
    }
    // Theme 1 is the plain look: nothing but comments.
    QVERIFY(withoutComments(sheetOf(1)).isEmpty());
    QCOMPARE(ReadThemeName(env.folder()).value_or(QString()), QStringLiteral("1"));
}

void TestThemeFiles::sheetsParseWithoutWarnings()
{
    auto gallery = makeGallery();
    // The harness must notice a broken sheet, or its silence below would mean nothing.
    QVERIFY(!styleSheetWarnings(gallery.get(), QStringLiteral("QWidget { color: #123456; ")).isEmpty());
    for (int n = 1; n <= kThemeCount; ++n) {
        const QStringList warnings = styleSheetWarnings(gallery.get(), sheetOf(n));
        QVERIFY2(warnings.isEmpty(), qPrintable(QStringLiteral("theme %1: %2").arg(n).arg(warnings.join(QLatin1Char('|')))));
    }
}

void TestThemeFiles::themesArePairwiseDifferent()
{
    // Compared without comments and layout, so a theme that differs only in its heading
    // counts as a copy.
    QHash<QString, int> seen;
    for (int n = 1; n <= kThemeCount; ++n) {
        const QString body = withoutComments(sheetOf(n));
        QVERIFY2(!seen.contains(body), qPrintable(QStringLiteral("theme %1 repeats theme %2").arg(n).arg(seen.value(body))));
        seen.insert(body, n);
    }
}

void TestThemeFiles::everyThemeStylesTheProgramsControls()
{
    const QStringList required{
        QStringLiteral("QWidget"), QStringLiteral("QPushButton"), QStringLiteral("QPushButton:hover"),
        QStringLiteral("QPushButton:pressed"), QStringLiteral("QPushButton:disabled"),
        QStringLiteral("QPushButton[role=\"menu\"]"), QStringLiteral("QPushButton[role=\"link\"]"),
        QStringLiteral("QLabel[role=\"title\"]"), QStringLiteral("QLabel[role=\"clinic\"]"),
        QStringLiteral("QLabel[role=\"hint\"]"), QStringLiteral("QLabel[role=\"notice\"]"),
        QStringLiteral("QFrame[role=\"panel\"]"), QStringLiteral("QFrame[role=\"menu-panel\"]"),
        QStringLiteral("QLineEdit"), QStringLiteral("QComboBox"), QStringLiteral("QComboBox QAbstractItemView"),
        QStringLiteral("QPlainTextEdit"), QStringLiteral("QTextEdit"), QStringLiteral("QGroupBox"),
        QStringLiteral("QRadioButton"), QStringLiteral("QCheckBox"), QStringLiteral("QTableWidget"),
        QStringLiteral("QHeaderView::section"), QStringLiteral("QMessageBox"), QStringLiteral("QToolTip")};
    for (int n = 2; n <= kThemeCount; ++n) {
        const QString sheet = sheetOf(n);
        const QList<Rule> rules = parseRules(sheet);
        for (const QString& selector : required)
            QVERIFY2(findRule(rules, selector), qPrintable(QStringLiteral("theme %1 lacks %2").arg(n).arg(selector)));
        // The program chooses the Persian face; a theme naming one would undo it.
        for (const Rule& r : rules)
            QVERIFY2(!r.props.contains(QStringLiteral("font-family")) && !r.props.contains(QStringLiteral("font")),
                     qPrintable(QStringLiteral("theme %1 sets a font face in %2").arg(n).arg(r.selector)));
        const Rule* buttons = findRule(rules, QStringLiteral("QPushButton"));
        QVERIFY2(buttons->props.value(QStringLiteral("border-radius")).remove(QStringLiteral("px")).toInt() > 0,
                 qPrintable(QStringLiteral("theme %1: square buttons").arg(n)));
    }
}

void TestThemeFiles::textReadsOnItsBackground()
{
    // The checker itself must reject a pale text on a pale window.
    const QString pale = QStringLiteral("QWidget { background-color: #ffffff; color: #aaaaaa; }"
                                        "QFrame[role=\"panel\"] { background-color: #ffffff; }");
    QVERIFY(!contrastProblems(pale).isEmpty());
    for (int n = 2; n <= kThemeCount; ++n) {
        const QStringList problems = contrastProblems(sheetOf(n));
        QVERIFY2(problems.isEmpty(), qPrintable(QStringLiteral("theme %1: %2").arg(n).arg(problems.join(QStringLiteral("; ")))));
    }
}

void TestThemeFiles::appliedThemeColoursTheWindow()
{
    TestEnv env;
    QVERIFY2(env.isValid(), qPrintable(env.seedError()));
    Frm1 window(env.ctx);
    QVERIFY2(window.load(), qPrintable(window.loadError()));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (int n = 2; n <= kThemeCount; ++n) {
        QVERIFY(LoadAndApplyTheme(env.folder(), &window, QString::number(n)));
        const QList<Rule> rules = parseRules(sheetOf(n));
        const QColor background = backgroundColours(*findRule(rules, QStringLiteral("QWidget"))).value(0);
        const QColor menuButton = backgroundColours(*findRule(rules, QStringLiteral("QPushButton[role=\"menu\"]"))).value(0);
        const QImage shot = window.grab().toImage();
        // A corner of the bare window, and the middle of the first menu button's left edge area.
        QCOMPARE(QColor(shot.pixel(4, 4)).name(), background.name());
        const QPoint inButton = window.Command1->mapTo(&window, QPoint(6, window.Command1->height() / 2));
        QCOMPARE(QColor(shot.pixel(inButton)).name(), menuButton.name());
    }
}

class TestThemeApplication : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void themeListPicksTheTheme_data();
    void themeListPicksTheTheme();
    void missingOrEmptyListFallsBackToThemeOne();
    void missingThemeFileKeepsTheCurrentLook();
    void nameThatIsNoNumberKeepsTheCurrentLook();
    void plainSheetsAreCommentsAndBlanksOnly();
};

void TestThemeApplication::plainSheetsAreCommentsAndBlanksOnly()
{
    QVERIFY(IsPlainStyleSheet(QString()));
    QVERIFY(IsPlainStyleSheet(QStringLiteral(" /* a */\n\t/* b\n c */ ")));
    QVERIFY(!IsPlainStyleSheet(QStringLiteral("/* a */ QWidget { color: red; }")));
    QVERIFY(!IsPlainStyleSheet(QStringLiteral("/* never closed")));
    // Applying the plain theme clears whatever sheet the window had.
    TestEnv env;
    QWidget window;
    window.setStyleSheet(sheetOf(20));
    QVERIFY(LoadAndApplyTheme(env.folder(), &window, QStringLiteral("1")));
    QVERIFY(window.styleSheet().isEmpty());
}

void TestThemeApplication::themeListPicksTheTheme_data()
{
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QString>("theme");
    QTest::newRow("number and line break") << QByteArray("12\r\n") << QStringLiteral("12");
    QTest::newRow("number alone") << QByteArray("12") << QStringLiteral("12");
    QTest::newRow("comma ends the field") << QByteArray("7,abc\r\n") << QStringLiteral("7");
    QTest::newRow("quoted") << QByteArray("\"23\"\r\n") << QStringLiteral("23");
    QTest::newRow("quoted, comma") << QByteArray("\"31\",\"x\"\r\n") << QStringLiteral("31");
    QTest::newRow("blank padded") << QByteArray("   5  \r\n") << QStringLiteral("5");
    QTest::newRow("blanks around quotes") << QByteArray("  \"48\"  \n") << QStringLiteral("48");
    QTest::newRow("first line only") << QByteArray("3\r\n40\r\n") << QStringLiteral("3");
}

void TestThemeApplication::themeListPicksTheTheme()
{
    QFETCH(QByteArray, list);
    QFETCH(QString, theme);
    TestEnv env;
    QVERIFY2(env.isValid(), qPrintable(env.seedError()));
    writeThemeList(env, list);
    QWidget window;
    QString name;
    QVERIFY(ApplyTheme(env.folder(), &window, &name));
    QCOMPARE(name, theme);
    QCOMPARE(window.styleSheet(), appliedSheetOf(theme.toInt()));
}

void TestThemeApplication::missingOrEmptyListFallsBackToThemeOne()
{
    TestEnv env;
    QVERIFY2(env.isValid(), qPrintable(env.seedError()));
    for (const std::optional<QByteArray>& list : {std::optional<QByteArray>(), std::optional<QByteArray>(""),
                                                   std::optional<QByteArray>("  \r\n")}) {
        QFile::remove(ThemeListPath(env.folder()));
        if (list)
            writeThemeList(env, *list);
        QWidget window;
        window.setStyleSheet(sheetOf(20));
        QString name = QStringLiteral("unchanged");
        QVERIFY(ApplyTheme(env.folder(), &window, &name));
        QCOMPARE(name, QStringLiteral("1"));
        QCOMPARE(window.styleSheet(), appliedSheetOf(1));
    }
}

void TestThemeApplication::missingThemeFileKeepsTheCurrentLook()
{
    TestEnv env;
    QVERIFY2(env.isValid(), qPrintable(env.seedError()));
    Frm1 window(env.ctx);
    QVERIFY2(window.load(), qPrintable(window.loadError()));
    window.show();
    QVERIFY(LoadAndApplyTheme(env.folder(), &window, QStringLiteral("5")));
    const QString before = window.styleSheet();

    QVERIFY(QFile::remove(ThemeFilePath(env.folder(), QStringLiteral("30"))));
    writeThemeList(env, "30\r\n");
    QString name;
    QVERIFY(!ApplyTheme(env.folder(), &window, &name));
    QCOMPARE(name, QStringLiteral("30"));
    QCOMPARE(window.styleSheet(), before);
    QVERIFY(!LoadAndApplyTheme(env.folder(), &window, QStringLiteral("30")));
    QCOMPARE(window.styleSheet(), before);
    QVERIFY(!window.grab().isNull()); // still paints
}

void TestThemeApplication::nameThatIsNoNumberKeepsTheCurrentLook()
{
    TestEnv env;
    QVERIFY2(env.isValid(), qPrintable(env.seedError()));
    // A file that a non-numeric name would reach if it were used as a path piece.
    QFile stray(QDir(env.folder()).filePath(QStringLiteral("skin/abc.skn")));
    QVERIFY(stray.open(QIODevice::WriteOnly));
    stray.write("QWidget { color: #ff0000; }");
    stray.close();
    QWidget window;
    window.setStyleSheet(sheetOf(9));
    for (const QByteArray& list : {QByteArray("abc\r\n"), QByteArray("../Theme\r\n")}) {
        writeThemeList(env, list);
        QVERIFY(!ApplyTheme(env.folder(), &window));
        QCOMPARE(window.styleSheet(), appliedSheetOf(9));
    }
}

TAVORA_TEST(TestThemeFiles)
TAVORA_TEST(TestThemeApplication)
#include "tst_themes.moc"
