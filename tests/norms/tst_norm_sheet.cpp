// A norm table's worksheet: written, then checked cell by cell before it may replace a table.
#include "norms/norm_library.h"
#include "norms/norm_sheet.h"
#include "support/test_registry.h"

#include <QTest>

using namespace Qt::StringLiterals;
using workbook::CellValue;

namespace {

norms::NormTableData delivered(const QString& table)
{
    return {table, norms::DeliveredDescription(), norms::DeliveredValues(table)};
}

} // namespace

class TestNormSheet : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writtenSheetReadsBackAsTheSameTable()
    {
        const norms::NormTableData table = delivered(u"EvabaliniDJFMIR"_s);
        QCOMPARE(table.values.size(), 25);
        const workbook::SheetToWrite sheet = norms::NormSheet(table);
        QCOMPARE(sheet.name, table.table);
        QVERIFY(sheet.rows.value(7 + 24).value(2).isEmpty()); // L above its highest raw score: left empty
        const norms::NormSheetCheck read = norms::CheckNormSheet(table.table, sheet.rows);
        QVERIFY2(read.table, qPrintable(read.problem.text()));
        QCOMPARE(read.table->description.name, table.description.name);
        QCOMPARE(read.table->description.source, table.description.source);
        QVERIFY(norms::SameReadValues(read.table->values, table.values));
    }

    // What a spreadsheet program may leave in a cell that is still a whole T.
    void wholeNumbersTypedAsText()
    {
        workbook::SheetToWrite sheet = norms::NormSheet(delivered(u"EvabaliniDAMIR"_s));
        const int t = int(sheet.rows[7][2].number);
        sheet.setText(7, 2, u" %1 "_s.arg(t));
        sheet.setText(7 + 24, 7, u"۱۲۰"_s); // Hy at its highest raw score, in Persian digits
        const norms::NormSheetCheck read = norms::CheckNormSheet(sheet.name, sheet.rows);
        QVERIFY2(read.table, qPrintable(read.problem.text()));
        QCOMPARE(read.table->values[0][0], QString::number(t));
        QCOMPARE(read.table->values[24][5], u"120"_s);
    }

    void refusals_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("value"); // a number where it reads as one; "-" empties the cell
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("said");
        // Raw score 5 missing: its row deleted, so the row of 6 stands where 5 should.
        QTest::newRow("missing raw score") << 12 << 1 << u"6"_s << u"A12"_s << u"نمره خام 5"_s;
        QTest::newRow("falling T") << 10 << 4 << u"1"_s << u"D10"_s << u"کمتر است"_s;
        QTest::newRow("fractional T") << 9 << 6 << u"55.5"_s << u"F9"_s << u"عدد صحيح نيست"_s;
        QTest::newRow("T above the chart") << 30 << 7 << u"121"_s << u"G30"_s << u"بيرون از 0 تا 120"_s;
        QTest::newRow("T below the chart") << 7 << 3 << u"-1"_s << u"C7"_s << u"بيرون از 0 تا 120"_s;
        QTest::newRow("empty T") << 8 << 12 << u"-"_s << u"L8"_s << u"خالي است"_s;
        QTest::newRow("not a number") << 8 << 9 << u"پنجاه"_s << u"I8"_s << u"عدد نيست"_s;
        QTest::newRow("scale columns moved") << 6 << 3 << u"K"_s << u"C6"_s << u"«F»"_s;
        QTest::newRow("no name") << 2 << 2 << u"-"_s << u"B2"_s << u"نام جدول"_s;
        QTest::newRow("no source") << 3 << 2 << u" "_s << u"B3"_s << u"منبع"_s;
    }
    void refusals()
    {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, value);
        QFETCH(QString, cell);
        QFETCH(QString, said);
        workbook::SheetToWrite sheet = norms::NormSheet(delivered(u"EvabaliniDJMIR"_s));
        bool number = false;
        const double n = value.toDouble(&number);
        if (value == u"-"_s)
            sheet.rows[row].remove(column);
        else if (number)
            sheet.setNumber(row, column, n);
        else
            sheet.setText(row, column, value);
        const norms::NormSheetCheck read = norms::CheckNormSheet(sheet.name, sheet.rows);
        QVERIFY(!read.table);
        QCOMPARE(read.problem.cell, cell);
        QVERIFY2(read.problem.text().contains(said), qPrintable(read.problem.text()));
        QVERIFY(read.problem.text().startsWith(u"برگه EvabaliniDJMIR، خانه "_s + cell));
    }
};

TAVORA_TEST(TestNormSheet)
#include "tst_norm_sheet.moc"
