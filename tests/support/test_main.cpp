#include "support/test_registry.h"
#include "kit/persian_display.h"

#include <QApplication>
#include <QTest>

namespace testing_support {

std::vector<RegisteredTest>& registeredTests()
{
    static std::vector<RegisteredTest> tests;
    return tests;
}

} // namespace testing_support

// Usage: tst_folder [-class Name] [Qt Test options and test functions]
int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    ConfigurePersianDisplay(app);

    QStringList args = app.arguments();
    QString only;
    if (int i = args.indexOf(QStringLiteral("-class")); i > 0 && i + 1 < args.size()) {
        only = args.at(i + 1);
        args.remove(i, 2);
    }
    int failed = 0;
    int ran = 0;
    for (const auto& t : testing_support::registeredTests()) {
        if (!only.isEmpty() && only != QLatin1String(t.name))
            continue;
        std::unique_ptr<QObject> test = t.make();
        failed += QTest::qExec(test.get(), args);
        ++ran;
    }
    if (ran == 0) { // a misspelt class name must not pass as an empty run
        qCritical("no test class named %s", qPrintable(only));
        return 1;
    }
    return failed == 0 ? 0 : 1;
}
