#pragma once
// The phone page's requests and replies, apart from any server: which path gives what, who is
// admitted, how an answer is read from a request and stored.
//
//   GET  /t/<token>          the page (for a token the program knows)
//   POST /t/<token>/open     begins the session on this device, or resumes it: the sheet
//   POST /t/<token>/answer   {"item": 12, "answer": "yes" | "no"}: stored at once
//   POST /t/<token>/finish   the examinee has finished
//   GET  /a/<file>           the page's style, script and fonts
// Everything else is 404 without a word.
#include "phone/answer_book.h"
#include "phone/page_look.h"
#include "phone/session_table.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QPair>

namespace phone {

struct PageRequest {
    enum class Method { Get, Post, Other };
    Method method = Method::Get;
    QString path;
    QByteArray cookie;      // the Cookie header
    QByteArray contentType;
    QByteArray origin;      // the Origin header, empty when there is none
    QByteArray host;        // the Host header
    QByteArray body;
    bool https = false;
};

using HeaderList = QList<QPair<QByteArray, QByteArray>>;

struct PageReply {
    int status = 404;
    QByteArray contentType;
    QByteArray body;
    HeaderList headers;        // every reply also carries CommonHeaders()
    bool tokenRefused = false; // a token that admits nobody: the brake decides when it is sent
};

// What a request changed, for the operator's window.
struct PageEvent {
    enum class Kind { None, Begun, Answered, Finished, StoreFailed };
    Kind kind = Kind::None;
    int session = 0;
    int answered = 0; // after an answer: items answered yes or no
    int item = 0;
    QString error;    // why a store failed
};

// Headers on every reply: no framing, no caching, no sniffing, no referrer.
const HeaderList& CommonHeaders();
// {"item": n, "answer": "yes"|"no"} with n in 1 … 71: the item and its response code ("1"/"2").
bool ParseAnswer(const QByteArray& body, int& item, QString& response);
// The value of one cookie in a Cookie header.
QByteArray CookieValue(const QByteArray& header, const QByteArray& name);

class PageRoutes {
public:
    // Static files served under /a/, by name: content type and bytes.
    struct Asset {
        QByteArray contentType;
        QByteArray bytes;
    };

    PageRoutes(SessionTable& sessions, AnswerBook& book);

    PageReply handle(const PageRequest& request, const QDateTime& now, PageEvent& event);
    void setLook(const PageLook& look) { look_ = look; }
    // Every file of the page (the page itself under its path "/t/"), for its size.
    QHash<QString, Asset> files() const;

private:
    PageReply page(const QByteArray& token, const QDateTime& now);
    PageReply open(const PageRequest& request, const QByteArray& token, const QDateTime& now, PageEvent& event);
    PageReply answer(const PageRequest& request, const QByteArray& token, const QDateTime& now, PageEvent& event);
    PageReply finish(const PageRequest& request, const QByteArray& token, const QDateTime& now, PageEvent& event);
    PageReply refusal(Admission admission) const;
    bool sameOrigin(const PageRequest& request) const;

    SessionTable& sessions_;
    AnswerBook& book_;
    PageLook look_;
    QByteArray pageHtml_;
    QHash<QString, Asset> assets_;
};

} // namespace phone
