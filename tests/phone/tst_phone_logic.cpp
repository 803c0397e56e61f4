#include "support/test_registry.h"
#include "capture/response_row_edit.h"
#include "phone/answer_book.h"
#include "phone/page_look.h"
#include "phone/page_routes.h"
#include "phone/qr_code.h"
#include "phone/session_table.h"
#include "phone/wrong_token_brake.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace phone;

namespace {

const QDateTime kStart(QDate(2024, 10, 12), QTime(9, 0));

// Answers kept in memory instead of the data files.
class MemoryBook final : public AnswerBook {
public:
    QHash<QString, QStringList> rows;
    QList<std::tuple<QString, int, QString>> stored;
    bool failing = false;

    store::Result readSheet(const QString& code, Sheet& sheet) override
    {
        if (failing || !rows.contains(code))
            return store::Result::failure(u"no row"_s);
        sheet.clinic = u"درمانگاه"_s;
        sheet.firstName = u"مريم"_s;
        for (int i = 1; i <= 71; ++i)
            sheet.items << u"جمله %1"_s.arg(i);
        sheet.responses = rows.value(code);
        return {};
    }
    store::Result storeAnswer(const QString& code, int item, const QString& response, int& answered) override
    {
        if (failing || !rows.contains(code))
            return store::Result::failure(u"disk full"_s);
        rows[code][item - 1] = response;
        stored.append({code, item, response});
        answered = AnsweredCount(rows.value(code));
        return {};
    }
};

QStringList responses(const QString& pattern) // one character an item: 1, 2, 0 or . (empty)
{
    QStringList r;
    for (int i = 0; i < 71; ++i) {
        const QChar c = i < pattern.size() ? pattern.at(i) : QChar(u'.');
        r << (c == u'.' ? QString() : QString(c));
    }
    return r;
}

} // namespace

class TestPhoneLogic : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tokensAreLongAndUnguessable();
    void admission_data();
    void admission();
    void liveSessionsAndExpiry();
    void brake_data();
    void brake();
    void parseAnswer_data();
    void parseAnswer();
    void routes_data();
    void routes();
    void openResumesAtFirstUnanswered();
    void storeFailureIsNoSuccess();
    void pageLook_data();
    void pageLook();
    void changedMeanwhile_data();
    void changedMeanwhile();
    void qrCodeReadsBack();
};

void TestPhoneLogic::tokensAreLongAndUnguessable()
{
    QSet<QByteArray> seen;
    for (int i = 0; i < 2000; ++i) {
        const QByteArray t = NewSecret();
        QVERIFY(QRegularExpression(u"^[A-Za-z0-9_-]{22}$"_s).match(QString::fromLatin1(t)).hasMatch());
        // 22 base64url characters carry 132 bits, of which 128 are random.
        QCOMPARE(QByteArray::fromBase64(t, QByteArray::Base64UrlEncoding).size(), 16);
        seen.insert(t);
    }
    QCOMPARE(seen.size(), 2000);
}

// Steps: "begin", "finish", "close", "reopen"; then a request after `seconds` with the current
// or the replaced token and the session's own, no or another device key.
void TestPhoneLogic::admission_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QString>("token");  // "current", "replaced", "unknown"
    QTest::addColumn<QString>("device"); // "own", "none", "other"
    QTest::addColumn<Admission>("expected");

    QTest::newRow("waiting: begins") << QStringList{} << 0 << u"current"_s << u"none"_s << Admission::Begins;
    QTest::newRow("begun: own device") << QStringList{u"begin"_s} << 60 << u"current"_s << u"own"_s << Admission::Granted;
    QTest::newRow("begun: no device") << QStringList{u"begin"_s} << 60 << u"current"_s << u"none"_s << Admission::OtherDevice;
    QTest::newRow("begun: other device") << QStringList{u"begin"_s} << 60 << u"current"_s << u"other"_s << Admission::OtherDevice;
    QTest::newRow("finished") << QStringList{u"begin"_s, u"finish"_s} << 60 << u"current"_s << u"own"_s << Admission::Finished;
    QTest::newRow("closed") << QStringList{u"begin"_s, u"close"_s} << 60 << u"current"_s << u"own"_s << Admission::Closed;
    QTest::newRow("one second before two hours") << QStringList{u"begin"_s} << 7199 << u"current"_s << u"own"_s << Admission::Granted;
    QTest::newRow("two hours") << QStringList{u"begin"_s} << 7200 << u"current"_s << u"own"_s << Admission::Expired;
    QTest::newRow("clock set back three hours") << QStringList{u"begin"_s} << -10800 << u"current"_s << u"own"_s << Admission::Expired;
    QTest::newRow("reopened: old token") << QStringList{u"begin"_s, u"reopen"_s} << 60 << u"replaced"_s << u"own"_s << Admission::Unknown;
    QTest::newRow("reopened: any device begins") << QStringList{u"begin"_s, u"reopen"_s} << 60 << u"current"_s << u"other"_s << Admission::Begins;
    QTest::newRow("reopened after finishing") << QStringList{u"begin"_s, u"finish"_s, u"reopen"_s} << 60 << u"current"_s << u"none"_s << Admission::Begins;
    QTest::newRow("unknown token") << QStringList{} << 0 << u"unknown"_s << u"none"_s << Admission::Unknown;
}

void TestPhoneLogic::admission()
{
    QFETCH(QStringList, steps);
    QFETCH(int, seconds);
    QFETCH(QString, token);
    QFETCH(QString, device);
    QFETCH(Admission, expected);

    SessionTable table;
    const int other = table.open(u"8"_s, kStart); // another examinee's session is never in the way
    table.begin(other);
    const int id = table.open(u"7"_s, kStart);
    const QByteArray first = table.byId(id)->token;
    QByteArray key;
    for (const QString& step : steps) {
        if (step == u"begin")
            key = table.begin(id);
        else if (step == u"finish")
            QVERIFY(table.finish(id));
        else if (step == u"close")
            QVERIFY(table.close(id));
        else if (step == u"reopen")
            QVERIFY(table.reopen(id, kStart));
    }
    const QByteArray used = token == u"current" ? table.byId(id)->token : token == u"replaced" ? first : NewSecret();
    const QByteArray deviceKey = device == u"own" ? key : device == u"other" ? NewSecret() : QByteArray();
    QCOMPARE(table.admit(used, deviceKey, kStart.addSecs(seconds)), expected);
}

void TestPhoneLogic::liveSessionsAndExpiry()
{
    SessionTable table;
    const int a = table.open(u"7"_s, kStart);
    const int b = table.open(u"8"_s, kStart.addSecs(600));
    QCOMPARE(table.liveCount(kStart), 2);
    QCOMPARE(table.nextExpiry(kStart), kStart.addSecs(7200));
    table.begin(a);
    table.finish(a);
    QCOMPARE(table.liveCount(kStart), 1);
    QCOMPARE(table.nextExpiry(kStart), kStart.addSecs(7800));
    QCOMPARE(table.state(b, kStart.addSecs(7800)), SessionState::Expired);
    QCOMPARE(table.liveCount(kStart.addSecs(7800)), 0);
    QVERIFY(!table.nextExpiry(kStart.addSecs(7800)).isValid());
}

// Each request: peer and milliseconds; the verdicts in order ("now", "wait:<ms>", "drop").
void TestPhoneLogic::brake_data()
{
    QTest::addColumn<QStringList>("requests");
    QTest::addColumn<QStringList>("verdicts");
    // Limits of the table: a peer 2 at once, one more every 100 ms, 2 waiting; all peers 4.
    QTest::newRow("a burst is slowed, then dropped")
        << QStringList{u"a@0"_s, u"a@0"_s, u"a@0"_s, u"a@0"_s, u"a@0"_s}
        << QStringList{u"now"_s, u"now"_s, u"wait:100"_s, u"wait:200"_s, u"drop"_s};
    QTest::newRow("peers have their own allowance")
        << QStringList{u"a@0"_s, u"a@0"_s, u"a@0"_s, u"b@0"_s} << QStringList{u"now"_s, u"now"_s, u"wait:100"_s, u"now"_s};
    QTest::newRow("the allowance grows back")
        << QStringList{u"a@0"_s, u"a@0"_s, u"a@250"_s, u"a@250"_s, u"a@250"_s}
        << QStringList{u"now"_s, u"now"_s, u"now"_s, u"now"_s, u"wait:100"_s};
    QTest::newRow("all peers together")
        << QStringList{u"a@0"_s, u"b@0"_s, u"c@0"_s, u"d@0"_s, u"e@0"_s}
        << QStringList{u"now"_s, u"now"_s, u"now"_s, u"now"_s, u"wait:25"_s};
}

void TestPhoneLogic::brake()
{
    QFETCH(QStringList, requests);
    QFETCH(QStringList, verdicts);
    WrongTokenBrake::Limits limits;
    limits.peerBurst = 2;
    limits.peerRefillMs = 100;
    limits.peerWaiting = 2;
    limits.allBurst = 4;
    limits.allRefillMs = 25;
    limits.allWaiting = 10;
    WrongTokenBrake brake(limits);
    QStringList got;
    for (const QString& r : requests) {
        const auto v = brake.refused(r.section(u'@', 0, 0), r.section(u'@', 1).toLongLong());
        got << (v.kind == WrongTokenBrake::Verdict::Kind::Now    ? u"now"_s
                : v.kind == WrongTokenBrake::Verdict::Kind::Drop ? u"drop"_s
                                                                 : u"wait:%1"_s.arg(v.waitMs));
    }
    QCOMPARE(got, verdicts);
}

void TestPhoneLogic::parseAnswer_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("response");
    QTest::newRow("yes") << QByteArray(R"({"item":12,"answer":"yes"})") << 12 << u"1"_s;
    QTest::newRow("no, last item") << QByteArray(R"({"answer":"no","item":71})") << 71 << u"2"_s;
    QTest::newRow("item 0") << QByteArray(R"({"item":0,"answer":"yes"})") << 0 << QString();
    QTest::newRow("item 72") << QByteArray(R"({"item":72,"answer":"yes"})") << 0 << QString();
    QTest::newRow("item 1.5") << QByteArray(R"({"item":1.5,"answer":"yes"})") << 0 << QString();
    QTest::newRow("item as text") << QByteArray(R"({"item":"12","answer":"yes"})") << 0 << QString();
    QTest::newRow("a stored code is no answer") << QByteArray(R"({"item":12,"answer":"1"})") << 0 << QString();
    QTest::newRow("more than asked") << QByteArray(R"({"item":12,"answer":"yes","code":"8"})") << 0 << QString();
    QTest::newRow("not JSON") << QByteArray("item=12&answer=yes") << 0 << QString();
    QTest::newRow("array") << QByteArray("[12,\"yes\"]") << 0 << QString();
}

void TestPhoneLogic::parseAnswer()
{
    QFETCH(QByteArray, body);
    QFETCH(int, item);
    QFETCH(QString, response);
    int gotItem = 0;
    QString gotResponse;
    QCOMPARE(ParseAnswer(body, gotItem, gotResponse), item != 0);
    if (item) {
        QCOMPARE(gotItem, item);
        QCOMPARE(gotResponse, response);
    }
}

// Requests against examinee 7's session, begun on the device "own" unless the path says
// "/open" (then it is still waiting) ; "stored" is what the book stored, "item:response".
void TestPhoneLogic::routes_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<QString>("path"); // <t> stands for the session's token, <x> for a made-up one
    QTest::addColumn<QString>("device");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("origin");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("refused"); // held back by the brake
    QTest::addColumn<QString>("stored");

    const QByteArray yes12 = R"({"item":12,"answer":"yes"})";
    const QByteArray own = "http://127.0.0.1:7171";
    QTest::newRow("the page") << u"GET"_s << u"/t/<t>"_s << u"none"_s << QByteArray() << QByteArray() << 200 << false << QString();
    QTest::newRow("page of an unknown token") << u"GET"_s << u"/t/<x>"_s << u"none"_s << QByteArray() << QByteArray() << 404 << true << QString();
    QTest::newRow("unknown path") << u"GET"_s << u"/admin"_s << u"none"_s << QByteArray() << QByteArray() << 404 << false << QString();
    QTest::newRow("script") << u"GET"_s << u"/a/phone.js"_s << u"none"_s << QByteArray() << QByteArray() << 200 << false << QString();
    QTest::newRow("no such file") << u"GET"_s << u"/a/../phone.js"_s << u"none"_s << QByteArray() << QByteArray() << 404 << false << QString();
    QTest::newRow("answer") << u"POST"_s << u"/t/<t>/answer"_s << u"own"_s << yes12 << own << 200 << false << u"12:1"_s;
    QTest::newRow("answer with GET") << u"GET"_s << u"/t/<t>/answer"_s << u"own"_s << yes12 << own << 404 << false << QString();
    QTest::newRow("answer of another device") << u"POST"_s << u"/t/<t>/answer"_s << u"other"_s << yes12 << own << 403 << true << QString();
    QTest::newRow("answer of an unknown token") << u"POST"_s << u"/t/<x>/answer"_s << u"own"_s << yes12 << own << 404 << true << QString();
    QTest::newRow("answer from another site") << u"POST"_s << u"/t/<t>/answer"_s << u"own"_s << yes12 << QByteArray("http://evil.example") << 403 << false << QString();
    QTest::newRow("answer that is no answer") << u"POST"_s << u"/t/<t>/answer"_s << u"own"_s << QByteArray(R"({"item":12})") << own << 400 << false << QString();
    QTest::newRow("second device opening") << u"POST"_s << u"/t/<t>/open"_s << u"none"_s << QByteArray() << own << 403 << true << QString();
    QTest::newRow("own device reopening the page") << u"POST"_s << u"/t/<t>/open"_s << u"own"_s << QByteArray() << own << 200 << false << QString();
}

void TestPhoneLogic::routes()
{
    QFETCH(QString, method);
    QFETCH(QString, path);
    QFETCH(QString, device);
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, origin);
    QFETCH(int, status);
    QFETCH(bool, refused);
    QFETCH(QString, stored);

    SessionTable sessions;
    MemoryBook book;
    book.rows.insert(u"7"_s, responses(QString()));
    PageRoutes routes(sessions, book);
    const int id = sessions.open(u"7"_s, kStart);
    const QByteArray token = sessions.byId(id)->token;
    const QByteArray key = sessions.begin(id);

    PageRequest request;
    request.method = method == u"GET" ? PageRequest::Method::Get : PageRequest::Method::Post;
    request.path = QString(path).replace(u"<t>"_s, QString::fromLatin1(token)).replace(u"<x>"_s, QString::fromLatin1(NewSecret()));
    request.cookie = device == u"own" ? "theme=1; device=" + key : device == u"other" ? "device=" + NewSecret() : QByteArray();
    request.contentType = "application/json";
    request.origin = origin;
    request.host = "127.0.0.1:7171";
    request.body = body;
    PageEvent event;
    const PageReply reply = routes.handle(request, kStart.addSecs(60), event);
    QCOMPARE(reply.status, status);
    QCOMPARE(reply.tokenRefused, refused);
    if (status == 404)
        QVERIFY(reply.body.isEmpty());
    QCOMPARE(book.stored.isEmpty(), stored.isEmpty());
    if (!stored.isEmpty()) {
        QCOMPARE(u"%1:%2"_s.arg(std::get<1>(book.stored.value(0))).arg(std::get<2>(book.stored.value(0))), stored);
        QCOMPARE(event.kind, PageEvent::Kind::Answered);
        QCOMPARE(event.answered, 1);
    }
}

void TestPhoneLogic::openResumesAtFirstUnanswered()
{
    SessionTable sessions;
    MemoryBook book;
    book.rows.insert(u"7"_s, responses(u"1212012"_s)); // item 5 marked unanswered on paper
    PageRoutes routes(sessions, book);
    const int id = sessions.open(u"7"_s, kStart);
    PageRequest request;
    request.method = PageRequest::Method::Post;
    request.path = u"/t/"_s + QString::fromLatin1(sessions.byId(id)->token) + u"/open"_s;
    request.contentType = "application/json";
    PageEvent event;
    const PageReply reply = routes.handle(request, kStart, event);
    QCOMPARE(reply.status, 200);
    const QJsonObject sheet = QJsonDocument::fromJson(reply.body).object();
    QCOMPARE(sheet.value(u"first"_s).toInt(), 5);
    QCOMPARE(sheet.value(u"answers"_s).toArray().at(1).toString(), u"no"_s);
    QCOMPARE(sheet.value(u"answers"_s).toArray().at(4).toString(), QString());
    QCOMPARE(sheet.value(u"name"_s).toString(), u"مريم"_s);
    QVERIFY(!sheet.contains(u"code"_s)); // nothing but the first name identifies him
    // The first device got its key: the session is begun.
    QCOMPARE(event.kind, PageEvent::Kind::Begun);
    QCOMPARE(event.answered, 6);
    QVERIFY(reply.headers.value(0).second.contains("HttpOnly; SameSite=Strict"));
    QCOMPARE(sessions.state(id, kStart), SessionState::Begun);
}

void TestPhoneLogic::storeFailureIsNoSuccess()
{
    SessionTable sessions;
    MemoryBook book;
    book.rows.insert(u"7"_s, responses(QString()));
    PageRoutes routes(sessions, book);
    const int id = sessions.open(u"7"_s, kStart);
    PageRequest request;
    request.method = PageRequest::Method::Post;
    request.path = u"/t/"_s + QString::fromLatin1(sessions.byId(id)->token) + u"/answer"_s;
    request.contentType = "application/json";
    request.cookie = "device=" + sessions.begin(id);
    request.body = R"({"item":3,"answer":"no"})";
    book.failing = true;
    PageEvent event;
    const PageReply reply = routes.handle(request, kStart, event);
    QCOMPARE(reply.status, 503);
    QCOMPARE(event.kind, PageEvent::Kind::StoreFailed);
    QCOMPARE(event.item, 3);
    QCOMPARE(event.error, u"disk full"_s);
}

void TestPhoneLogic::pageLook_data()
{
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<QString>("background");
    QTest::addColumn<QString>("accent");
    QTest::addColumn<QString>("border");
    const PageLook plain;
    QTest::newRow("plain theme") << u"/* Theme 1: the plain default look. */"_s << plain.background << plain.accent << plain.border;
    QTest::newRow("a theme's colours")
        << u"QWidget {\n    background-color: #eef4fb;\n    color: #1b2a3a;\n    selection-background-color: #2f6fb0;\n}\n"
           "QLabel, QRadioButton { background-color: transparent; }\n"
           "QPushButton {\n    background-color: #dce7f2;\n    border: 1px solid #8eb1d4;\n}\n"_s
        << u"#eef4fb"_s << u"#2f6fb0"_s << u"#8eb1d4"_s;
    QTest::newRow("only plain colours are taken")
        << u"QWidget { background-color: red; selection-background-color: #12345g; }"_s << plain.background << plain.accent << plain.border;
}

void TestPhoneLogic::pageLook()
{
    QFETCH(QString, sheet);
    QFETCH(QString, background);
    QFETCH(QString, accent);
    QFETCH(QString, border);
    const PageLook look = PageLookOf(sheet);
    QCOMPARE(look.background, background);
    QCOMPARE(look.accent, accent);
    QCOMPARE(look.border, border);
}

void TestPhoneLogic::changedMeanwhile_data()
{
    QTest::addColumn<QString>("read");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("ours"); // item=response, comma separated
    QTest::addColumn<QString>("changed");
    QTest::newRow("nothing changed") << u"12."_s << u"12."_s << u"3=1"_s << QString();
    QTest::newRow("another item changed") << u"12."_s << u"122"_s << u"1=2"_s << QString();
    QTest::newRow("same item, same answer") << u"12."_s << u"121"_s << u"3=1"_s << QString();
    QTest::newRow("same item, other answer") << u"12."_s << u"121"_s << u"3=2"_s << u"3:1>2"_s;
    QTest::newRow("ours is what was read") << u"1.."_s << u"2.."_s << u"1=1"_s << u"1:2>1"_s;
    QTest::newRow("cleared meanwhile") << u"1.."_s << u"..."_s << u"1=2"_s << u"1:>2"_s;
}

void TestPhoneLogic::changedMeanwhile()
{
    QFETCH(QString, read);
    QFETCH(QString, stored);
    QFETCH(QString, ours);
    QFETCH(QString, changed);
    QMap<int, QString> edits;
    for (const QString& e : ours.split(u',', Qt::SkipEmptyParts))
        edits.insert(e.section(u'=', 0, 0).toInt(), e.section(u'=', 1));
    QStringList got;
    for (const capture::ChangedAnswer& c : capture::ChangedMeanwhile(responses(read), responses(stored), edits))
        got << u"%1:%2>%3"_s.arg(c.item).arg(c.stored, c.ours);
    QCOMPARE(got.join(u','), changed);
}

void TestPhoneLogic::qrCodeReadsBack()
{
    const QString reader = QStandardPaths::findExecutable(u"zbarimg"_s);
    if (reader.isEmpty())
        QSKIP("zbarimg is not installed (apt-get install zbar-tools)");
    const QString link = u"http://192.168.1.20:7171/t/"_s + QString::fromLatin1(NewSecret());
    QTemporaryDir dir;
    const QString file = dir.filePath(u"qr.png"_s);
    QVERIFY(QrCodeImage(link, 4).save(file));
    QProcess zbar;
    zbar.start(reader, {u"--quiet"_s, u"--raw"_s, file});
    QVERIFY(zbar.waitForFinished(20000));
    QCOMPARE(QString::fromUtf8(zbar.readAllStandardOutput()).trimmed(), link);
}

TAVORA_TEST(TestPhoneLogic)
#include "tst_phone_logic.moc"
