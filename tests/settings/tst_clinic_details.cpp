// The clinic's part of the report read from a real settings file and logo file.
#include "settings/clinic_details.h"
#include "store/data_files.h"
#include "store/view.h"
#include "support/test_env.h"
#include "support/test_registry.h"

#include <QTest>

using namespace settings;

class TestClinicDetails : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fromTheSettingsRow_data();
    void fromTheSettingsRow();
};

void TestClinicDetails::fromTheSettingsRow_data()
{
    QTest::addColumn<QString>("check1");
    QTest::addColumn<bool>("logoFile");
    QTest::addColumn<bool>("logo");
    QTest::newRow("switch on, logo chosen") << QStringLiteral("1") << true << true;
    QTest::newRow("switch off") << QStringLiteral("0") << true << false;
    QTest::newRow("switch on, no logo file") << QStringLiteral("1") << false << false;
}

void TestClinicDetails::fromTheSettingsRow()
{
    QFETCH(QString, check1);
    QFETCH(bool, logoFile);
    QFETCH(bool, logo);
    TestEnv env;
    QVERIFY2(env.isValid(), qPrintable(env.seedError()));
    store::View theme(env.path(store::kSettingsFile), QStringLiteral("Theme"));
    QVERIFY(theme.refresh());
    const QList<QPair<const char*, QString>> row{
        {"Name", QStringLiteral("كلينيك آرامش")}, {"T11", QStringLiteral("كد آزمودني")},
        {"Adress", QStringLiteral("تهران")}, {"T1", QStringLiteral("021-1")}, {"T2", QString()},
        {"T3", QStringLiteral("a@b.example")}, {"T4", QString()}, {"T5", QString()}, {"T6", QString()},
        {"Check1", check1}};
    for (const auto& [column, value] : row)
        (void)theme.setValue(QString::fromLatin1(column), value);
    QVERIFY(theme.update());
    if (logoFile) {
        QImage png(30, 20, QImage::Format_RGB32);
        png.fill(Qt::red);
        QVERIFY(png.save(env.path(kLogoFileName), "PNG")); // a PNG under the logo's .jpg name
    }

    store::View fresh(env.path(store::kSettingsFile), QStringLiteral("Theme"));
    QVERIFY(fresh.refresh());
    const ClinicDetails c = ClinicFromSettings([&](const QString& column) { return fresh.value(column); }, env.folder());
    QCOMPARE(c.name, QStringLiteral("كلينيك آرامش"));
    QCOMPARE(c.identifierLabel, QStringLiteral("كد آزمودني"));
    QCOMPARE(c.address, QStringLiteral("تهران"));
    QCOMPARE(c.contactLines, QStringLiteral("021-1\r\na@b.example\r\n"));
    QCOMPARE(c.logoOn, check1 == QLatin1String("1"));
    QCOMPARE(!c.logo.isNull(), logo);
}

TAVORA_TEST(TestClinicDetails)
#include "tst_clinic_details.moc"
