#include "support/test_registry.h"
#include "support/test_env.h"
#include "page_client.h"
#include "phone/page_server.h"
#include "phone/phone_desk.h"
#include "phone/phone_texts.h"
#include "store/view.h"

#include <QFile>
#include <QSignalSpy>
#include <QSslCertificate>
#include <QTest>

using namespace Qt::StringLiterals;
using phone::PhoneDesk;

namespace {

QString stored(const TestEnv& env, const QString& code, int item)
{
    store::View v(env.path(u"Tavora71.mdb"_s), u"Answer"_s);
    (void)v.refresh();
    (void)v.setFilter(u"Code"_s, code);
    return v.value(QString::number(item));
}

// A desk serving examinee 7 on loopback, any free port.
struct Served {
    TestEnv env;
    bool seeded = testing_support::addExaminee(env.folder(), u"7"_s);
    PhoneDesk desk{env.folder(), env.clock};
    int id = 0;
    QString error;

    explicit Served(bool open = true)
    {
        desk.setPort(0);
        QString ignored;
        (void)desk.setAddress(QHostAddress(QHostAddress::LocalHost), ignored);
        if (open)
            (void)desk.open(u"7"_s, id, error);
    }
    QUrl link() const { return desk.link(id); }
};

} // namespace

class TestPageServer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void answersStoredAndToldAsTheyCome();
    void oversizedRequestCutOff();
    void servedOnlyWhileASessionIsLive();
    void wrongTokensSlowedNotTheSession();
    void httpsWithTheClinicsCertificate();
    void halfACertificateServesNothing();
};

void TestPageServer::answersStoredAndToldAsTheyCome()
{
    Served s;
    QVERIFY(s.seeded);
    QVERIFY2(s.id, qPrintable(s.error));
    QCOMPARE(s.link().host(), u"127.0.0.1"_s);
    QSignalSpy progress(&s.desk, &PhoneDesk::progress);
    PageClient phone;

    const PageAnswer page = phone.get(s.link());
    QCOMPARE(page.status, 200);
    QCOMPARE(page.header("X-Frame-Options"), QByteArray("DENY"));
    QVERIFY(page.header("Content-Security-Policy").contains("frame-ancestors 'none'"));
    QCOMPARE(page.header("Cache-Control"), QByteArray("no-store"));
    QCOMPARE(phone.post(PageClient::action(s.link(), u"open"_s)).status, 200);
    QCOMPARE(s.desk.state(s.id), phone::SessionState::Begun);

    const PageAnswer yes = phone.answer(s.link(), 12, "yes");
    QCOMPARE(yes.status, 200);
    QCOMPARE(yes.header("Cache-Control"), QByteArray("no-store"));
    QCOMPARE(phone.answer(s.link(), 13, "no").status, 200);
    QCOMPARE(stored(s.env, u"7"_s, 12), u"1"_s);
    QCOMPARE(stored(s.env, u"7"_s, 13), u"2"_s);
    QCOMPARE(progress.size(), 2);
    QCOMPARE(progress.last().value(1).toInt(), 2);

    QUrl elsewhere = s.link();
    elsewhere.setPath(u"/admin"_s);
    const PageAnswer unknown = phone.get(elsewhere);
    QCOMPARE(unknown.status, 404);
    QVERIFY(unknown.body.isEmpty());
}

void TestPageServer::oversizedRequestCutOff()
{
    Served s;
    PageClient phone;
    QCOMPARE(phone.post(PageClient::action(s.link(), u"open"_s)).status, 200);
    QByteArray huge = R"({"item":12,"answer":"yes","pad":")" + QByteArray(phone::PageServer::kRequestLimit, 'x') + "\"}";
    const PageAnswer cut = phone.post(PageClient::action(s.link(), u"answer"_s), huge);
    QCOMPARE(cut.status, 0);
    QCOMPARE(stored(s.env, u"7"_s, 12), QString());
    // The server goes on serving.
    QCOMPARE(phone.answer(s.link(), 12, "no").status, 200);
    QCOMPARE(stored(s.env, u"7"_s, 12), u"2"_s);
}

void TestPageServer::servedOnlyWhileASessionIsLive()
{
    Served s;
    const QUrl first = s.link();
    PageClient phone;
    QCOMPARE(phone.get(first).status, 200);
    s.desk.close(s.id);
    QVERIFY(!s.desk.isServing());
    QCOMPARE(PageClient().get(first).status, 0); // nobody listens
    QString error;
    QVERIFY(s.desk.reopen(s.id, error));
    QVERIFY(s.desk.isServing());
    QVERIFY(s.link() != first);
    QCOMPARE(PageClient().get(first).status, 404);
    QCOMPARE(PageClient().get(s.link()).status, 200);
    // Two hours on, the link is refused even before the desk looks at its sessions again.
    PageClient late;
    s.env.clock.current = s.env.clock.current.addSecs(2 * 60 * 60);
    QCOMPARE(late.post(PageClient::action(s.link(), u"open"_s)).status, 403);
    s.desk.checkSessions();
    QVERIFY(!s.desk.isServing());
}

void TestPageServer::wrongTokensSlowedNotTheSession()
{
    Served s;
    PageClient phone;
    QCOMPARE(phone.post(PageClient::action(s.link(), u"open"_s)).status, 200);
    QUrl wrong = s.link();
    wrong.setPath(u"/t/AAAAAAAAAAAAAAAAAAAAAA/answer"_s);
    PageClient guesser;
    QList<qint64> times;
    for (int i = 0; i < 13; ++i)
        times << guesser.post(wrong, R"({"item":1,"answer":"yes"})").ms;
    // Past ten refusals, each waits for the allowance to grow back (a lower bound only: how fast
    // the real phone is answered meanwhile is the browser test's, a burst on its way).
    QVERIFY2(times.at(12) >= 400, qPrintable(QString::number(times.at(12))));
    const PageAnswer real = phone.answer(s.link(), 1, "yes");
    QCOMPARE(real.status, 200);
    QCOMPARE(stored(s.env, u"7"_s, 1), u"1"_s);
}

void TestPageServer::httpsWithTheClinicsCertificate()
{
    Served s(false);
    for (const QString& name : {PhoneDesk::kCertificateFile, PhoneDesk::kKeyFile})
        QVERIFY(QFile::copy(QStringLiteral(TAVORA_TEST_DATA "/phone/") + name, s.env.path(name)));
    QVERIFY2(s.desk.open(u"7"_s, s.id, s.error), qPrintable(s.error));
    QCOMPARE(s.link().scheme(), u"https"_s);
    PageClient phone;
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setCaCertificates(QSslCertificate::fromPath(s.env.path(PhoneDesk::kCertificateFile)));
    phone.tls = tls;
    QCOMPARE(phone.get(s.link()).status, 200);
    const PageAnswer opened = phone.post(PageClient::action(s.link(), u"open"_s));
    QCOMPARE(opened.status, 200);
    QVERIFY(opened.header("Set-Cookie").endsWith("; Secure"));
    QCOMPARE(phone.answer(s.link(), 5, "no").status, 200);
    QCOMPARE(stored(s.env, u"7"_s, 5), u"2"_s);
}

void TestPageServer::halfACertificateServesNothing()
{
    Served s(false);
    QVERIFY(QFile::copy(QStringLiteral(TAVORA_TEST_DATA "/phone/") + PhoneDesk::kCertificateFile,
                        s.env.path(PhoneDesk::kCertificateFile)));
    QVERIFY(!s.desk.open(u"7"_s, s.id, s.error));
    QVERIFY(s.error.contains(phone::texts::kCertificateHalf));
    QVERIFY(!s.desk.isServing());
}

TAVORA_TEST(TestPageServer)
#include "tst_page_server.moc"
