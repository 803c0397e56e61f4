// The delivered interpretation texts: every row and field the interpretation builders look up
// must be there and readable, and nothing in the table may be half-finished.
#include "store/data_files.h"
#include "store/schema.h"
#include "store/view.h"
#include "support/test_env.h"
#include "support/test_registry.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <memory>
#include <optional>

namespace {

const QString kTable = QStringLiteral("Taff");
const QString kId = QStringLiteral("id");
const QString kTopp = QStringLiteral("Topp");
const QString kMediumm = QStringLiteral("Mediumm");
const QString kDownn = QStringLiteral("Downn");

// Clinical scale numbers: 1 to 9, with 5 left unassigned.
QStringList scaleNumbers()
{
    QStringList numbers;
    for (int n = 1; n <= 9; ++n)
        if (n != 5)
            numbers << QString::number(n);
    return numbers;
}

// Every two-point code: an ordered pair of distinct scale numbers, the higher scale first.
QStringList twoPointCodes()
{
    QStringList codes;
    for (const QString& a : scaleNumbers())
        for (const QString& b : scaleNumbers())
            if (a != b)
                codes << a + b;
    return codes;
}

struct TaffRow {
    QString id;
    QString topp;
    QString mediumm;
    QString downn;
    QStringList texts() const { return {topp, mediumm, downn}; }
};

// A field the builders paste into the report has to carry Persian words, not just blanks or marks.
bool hasPersianText(const QString& text)
{
    static const QRegularExpression letters(QStringLiteral("[\\x{0621}-\\x{064A}\\x{067E}-\\x{06CC}]{2,}"));
    return letters.match(text).hasMatch();
}

} // namespace

class TestTaffData : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestEnv> env_;
    std::unique_ptr<store::View> taff_;
    QVector<TaffRow> rows_; // the whole table, in stored order

    // The first row of the key, the way the builders select it; nullopt when there is none.
    std::optional<TaffRow> lookup(const QString& key)
    {
        const store::Result r = taff_->setFilter(kId, key);
        if (!r.ok || taff_->atEnd())
            return std::nullopt;
        return TaffRow{taff_->value(kId), taff_->value(kTopp), taff_->value(kMediumm), taff_->value(kDownn)};
    }

    void checkField(const QString& key, const QString& field)
    {
        const std::optional<TaffRow> row = lookup(key);
        QVERIFY2(row.has_value(), qPrintable(QStringLiteral("no row %1").arg(key)));
        const QString text = field == kTopp ? row->topp : field == kMediumm ? row->mediumm : row->downn;
        QVERIFY2(hasPersianText(text), qPrintable(QStringLiteral("row %1, %2 is empty").arg(key, field)));
    }

private Q_SLOTS:
    void initTestCase()
    {
        env_ = std::make_unique<TestEnv>();
        QVERIFY2(env_->isValid(), qPrintable(env_->seedError()));
        taff_ = std::make_unique<store::View>(store::DataFilePath(env_->folder(), store::kNormsFile), kTable);
        const store::Result r = taff_->refresh();
        QVERIFY2(r.ok, qPrintable(r.error));
        while (!taff_->atEnd()) {
            rows_ << TaffRow{taff_->value(kId), taff_->value(kTopp), taff_->value(kMediumm), taff_->value(kDownn)};
            const store::Result next = taff_->moveNext();
            QVERIFY2(next.ok, qPrintable(next.error));
        }
        QVERIFY(!rows_.isEmpty());
    }

    void clinicalDescriptors_data()
    {
        QTest::addColumn<QString>("key");
        for (const QString& n : scaleNumbers())
            QTest::newRow(qPrintable(n)) << n;
    }
    // The long interpretation reads all three bands of every clinical scale.
    void clinicalDescriptors()
    {
        QFETCH(QString, key);
        for (const QString& field : {kTopp, kMediumm, kDownn}) {
            checkField(key, field);
            if (QTest::currentTestFailed())
                return;
        }
    }

    void validityDescriptors_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("field");
        // L: up to 50, 51 and up.
        QTest::newRow("L low") << QStringLiteral("104") << kDownn;
        QTest::newRow("L high") << QStringLiteral("104") << kTopp;
        // F: up to 50, 100 and up, 51-65, 66-79, 80-99.
        QTest::newRow("F low") << QStringLiteral("101") << kDownn;
        QTest::newRow("F invalid") << QStringLiteral("101") << kTopp;
        QTest::newRow("F average") << QStringLiteral("100") << kDownn;
        QTest::newRow("F moderate") << QStringLiteral("104") << kMediumm;
        QTest::newRow("F marked") << QStringLiteral("104") << kTopp;
        // K: up to 40, 44-55 and 56-65, 66 and up.
        QTest::newRow("K low") << QStringLiteral("102") << kDownn;
        QTest::newRow("K middle") << QStringLiteral("103") << kDownn;
        QTest::newRow("K high") << QStringLiteral("102") << kTopp;
    }
    void validityDescriptors()
    {
        QFETCH(QString, key);
        QFETCH(QString, field);
        checkField(key, field);
    }

    // Every profile has a two-point code, so every one of them needs its interpretation.
    void everyTwoPointCodeInterpreted()
    {
        QStringList missing;
        for (const QString& code : twoPointCodes()) {
            const std::optional<TaffRow> row = lookup(code);
            if (!row || !hasPersianText(row->topp))
                missing << code;
        }
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("no text for: ") + missing.join(QLatin1Char(' '))));
    }

    void idsAreUniqueAndClean()
    {
        QSet<QString> seen;
        for (const TaffRow& row : std::as_const(rows_)) {
            QVERIFY2(!row.id.isEmpty() && row.id == row.id.trimmed(),
                     qPrintable(QStringLiteral("bad id \"%1\"").arg(row.id)));
            QVERIFY2(!seen.contains(row.id), qPrintable(QStringLiteral("duplicate id %1").arg(row.id)));
            seen.insert(row.id);
        }
    }

    void noRowWithoutText()
    {
        for (const TaffRow& row : std::as_const(rows_)) {
            bool any = false;
            for (const QString& text : row.texts())
                any = any || !text.trimmed().isEmpty();
            QVERIFY2(any, qPrintable(QStringLiteral("row %1 has no text").arg(row.id)));
        }
    }

    // Each text is pasted as one report line; a tab, a line break or a leftover escape would
    // break the line layout of the saved and printed text.
    void textsAreSingleLines()
    {
        for (const TaffRow& row : std::as_const(rows_))
            for (const QString& text : row.texts())
                for (const QChar c : {QLatin1Char('\t'), QLatin1Char('\n'), QLatin1Char('\r'), QLatin1Char('\\')})
                    QVERIFY2(!text.contains(c), qPrintable(QStringLiteral("row %1 contains U+%2")
                                                               .arg(row.id)
                                                               .arg(c.unicode(), 4, 16, QLatin1Char('0'))));
    }

    // Latin words may only be scale names; anything else is a placeholder or a stray draft.
    // Persian spelling: no Arabic yeh or kaf in our own texts.
    void textsAreFinishedPersian()
    {
        static const QSet<QString> scaleNames{
            QStringLiteral("L"),  QStringLiteral("F"),  QStringLiteral("K"),  QStringLiteral("T"),
            QStringLiteral("Hs"), QStringLiteral("D"),  QStringLiteral("Hy"), QStringLiteral("Pd"),
            QStringLiteral("Pa"), QStringLiteral("Pt"), QStringLiteral("Sc"), QStringLiteral("Ma")};
        static const QRegularExpression latinWord(QStringLiteral("[A-Za-z]+"));
        for (const TaffRow& row : std::as_const(rows_)) {
            for (const QString& text : row.texts()) {
                for (auto it = latinWord.globalMatch(text); it.hasNext();) {
                    const QString word = it.next().captured();
                    QVERIFY2(scaleNames.contains(word),
                             qPrintable(QStringLiteral("row %1 contains \"%2\"").arg(row.id, word)));
                }
                QVERIFY2(!text.contains(QChar(0x064A)) && !text.contains(QChar(0x0643)),
                         qPrintable(QStringLiteral("row %1 uses Arabic yeh or kaf").arg(row.id)));
                if (!text.isEmpty())
                    QVERIFY2(hasPersianText(text), qPrintable(QStringLiteral("row %1 has no Persian text").arg(row.id)));
            }
        }
    }
};

TAVORA_TEST(TestTaffData)
#include "tst_taff_data.moc"
