// The delivered three-point code interpretations, read back the way the interpretation builder
// reads them: from a freshly created norms file, through a View.
#include "store/data_files.h"
#include "store/schema.h"
#include "store/view.h"
#include "support/test_env.h"
#include "support/test_registry.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

namespace {

struct TaffRow {
    QString id, topp, mediumm, downn;
};

// Three-digit keys that are scale descriptors, not code types; the table shares them.
const QStringList kValidityKeys = {QStringLiteral("100"), QStringLiteral("101"), QStringLiteral("102"),
                                   QStringLiteral("103"), QStringLiteral("104")};

bool isThreePointKey(const QString& id)
{
    static const QRegularExpression threeDigits(QStringLiteral("^[0-9]{3}$"));
    return threeDigits.match(id).hasMatch() && !kValidityKeys.contains(id);
}

QString normsFile(const TestEnv& env)
{
    return store::DataFilePath(env.folder(), store::kNormsFile);
}

// Every three-point row of Taff in stored order; other rows (descriptors, two-point codes) are
// left to their own tests.
QVector<TaffRow> readThreePointRows(const TestEnv& env)
{
    QVector<TaffRow> rows;
    store::View view(normsFile(env), QStringLiteral("Taff"));
    const store::Result r = view.refresh();
    if (!r) {
        qWarning("Taff: %s", qPrintable(r.error));
        return rows;
    }
    for (; !view.atEnd(); (void)view.moveNext()) {
        const QString id = view.value(QStringLiteral("id"));
        if (isThreePointKey(id))
            rows.append({id, view.value(QStringLiteral("Topp")), view.value(QStringLiteral("Mediumm")),
                         view.value(QStringLiteral("Downn"))});
    }
    return rows;
}

} // namespace

class TestTaffThreePoint : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void keysAreRankedCodeTypes();
    void commonCodesAreFoundByTheirKey();
    void onlyToppCarriesText();
    void textsAreCleanSingleLinePersian();

private:
    TestEnv env_;
    QVector<TaffRow> rows_;
};

void TestTaffThreePoint::initTestCase()
{
    QVERIFY2(env_.isValid(), qPrintable(env_.seedError()));
    rows_ = readThreePointRows(env_);
    QVERIFY2(rows_.size() >= 40, qPrintable(QStringLiteral("%1 three-point rows").arg(rows_.size())));
}

void TestTaffThreePoint::keysAreRankedCodeTypes()
{
    // Three different clinical scale numbers (5 is no scale); order matters, so 278 and 287
    // are separate rows, but one key must not appear twice (the lookup reads the first match).
    static const QRegularExpression code(QStringLiteral("^[12346789]{3}$"));
    QSet<QString> seen;
    for (const TaffRow& row : std::as_const(rows_)) {
        QVERIFY2(code.match(row.id).hasMatch(), qPrintable(row.id));
        QVERIFY2(row.id.at(0) != row.id.at(1) && row.id.at(0) != row.id.at(2) && row.id.at(1) != row.id.at(2),
                 qPrintable(row.id));
        QVERIFY2(!seen.contains(row.id), qPrintable(QStringLiteral("duplicate %1").arg(row.id)));
        seen.insert(row.id);
    }
}

void TestTaffThreePoint::commonCodesAreFoundByTheirKey()
{
    // Looked up as the builder does: a filter on id, first matching row.
    const QStringList common = {QStringLiteral("123"), QStringLiteral("213"), QStringLiteral("278"),
                                QStringLiteral("287"), QStringLiteral("728"), QStringLiteral("468"),
                                QStringLiteral("489"), QStringLiteral("246"), QStringLiteral("247"),
                                QStringLiteral("138")};
    store::View view(normsFile(env_), QStringLiteral("Taff"));
    QVERIFY2(view.refresh(), qPrintable(view.lastError()));
    for (const QString& key : common) {
        QVERIFY2(view.setFilter(QStringLiteral("id"), key), qPrintable(view.lastError()));
        QVERIFY2(view.count() == 1, qPrintable(key));
        QVERIFY2(!view.value(QStringLiteral("Topp")).trimmed().isEmpty(), qPrintable(key));
    }
    // A permutation is its own code type with its own text, not a copy of another order.
    QVERIFY(view.setFilter(QStringLiteral("id"), QStringLiteral("278")));
    const QString t278 = view.value(QStringLiteral("Topp"));
    QVERIFY(view.setFilter(QStringLiteral("id"), QStringLiteral("872")));
    QVERIFY(view.count() == 1 && view.value(QStringLiteral("Topp")) != t278);
}

void TestTaffThreePoint::onlyToppCarriesText()
{
    QHash<QString, QString> firstWithText;
    for (const TaffRow& row : std::as_const(rows_)) {
        QVERIFY2(!row.topp.trimmed().isEmpty(), qPrintable(row.id));
        QVERIFY2(row.mediumm.isEmpty() && row.downn.isEmpty(), qPrintable(row.id));
        // Two codes with the very same text is a copy-paste slip.
        QVERIFY2(!firstWithText.contains(row.topp),
                 qPrintable(QStringLiteral("%1 repeats %2").arg(row.id, firstWithText.value(row.topp))));
        firstWithText.insert(row.topp, row.id);
    }
}

void TestTaffThreePoint::textsAreCleanSingleLinePersian()
{
    // The text is pasted as one line of the report; a leftover escape, a placeholder, Arabic
    // letter forms or a blank where a half-space belongs would show in every report using it.
    static const QRegularExpression placeholder(QStringLiteral("TODO|FIXME|TBD|XXX|lorem|\\?\\?|؟؟|\\.\\.\\."),
                                                QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression detachedAffix(
        QStringLiteral("(^|\\s)(ن?می|ها|های|تر|ترین)(\\s|$)"));
    static const QRegularExpression persianLetters(QStringLiteral("[\\x{0600}-\\x{06FF}]{3,}"));
    for (const TaffRow& row : std::as_const(rows_)) {
        const QString& t = row.topp;
        const QByteArray idText = row.id.toUtf8();
        const char* id = idText.constData();
        QVERIFY2(!t.contains(QLatin1Char('\t')) && !t.contains(QLatin1Char('\n')) && !t.contains(QLatin1Char('\r')), id);
        QVERIFY2(!t.contains(QLatin1Char('\\')), id);
        QVERIFY2(!placeholder.match(t).hasMatch(), id);
        QVERIFY2(!t.contains(QChar(0x064A)) && !t.contains(QChar(0x0643)), id); // Arabic yeh, kaf
        QVERIFY2(persianLetters.match(t).hasMatch(), id);
        QVERIFY2(!detachedAffix.match(t).hasMatch(), qPrintable(detachedAffix.match(t).captured(0)));
        QVERIFY2(t == t.trimmed() && !t.contains(QStringLiteral("  ")), id);
        QVERIFY2(t.endsWith(QLatin1Char('.')), id);
    }
}

TAVORA_TEST(TestTaffThreePoint)
#include "tst_taff_three_point.moc"
