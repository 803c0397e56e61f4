#pragma once
// A screen's edit of an examinee's Answer row that never replaces, unasked, an answer stored
// meanwhile by someone else: the examinee on his phone, or another screen or computer.
//
// The screen selects the row, marks what it read, makes its edits through set(); before it
// stores, reread() reads the row anew, keeps the edits on it and lists those that would replace
// an answer changed since the screen read it. The screen asks; keepStored() gives up its own
// answers for the items the user wants kept.
#include "store/result.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

namespace store {
class View;
}

namespace capture {

struct ChangedAnswer {
    int item = 0;
    QString stored; // what the row holds now
    QString ours;   // what this screen would write
    bool operator==(const ChangedAnswer&) const = default;
};

// The screen's edits (item → response) that would replace a response that changed in the row
// since the screen read it (read and stored: the 71 responses then and now).
QVector<ChangedAnswer> ChangedMeanwhile(const QStringList& read, const QStringList& stored,
                                        const QMap<int, QString>& ours);
// The question put to the user about them.
QString ChangedMeanwhileQuestion(const QVector<ChangedAnswer>& changed);

class ResponseRowEdit {
public:
    explicit ResponseRowEdit(store::View& answers);

    // The view's current row is the examinee's row as the screen has just read it.
    void markRead();
    // Forgets the row (no examinee selected).
    void clear();
    store::Result set(int item, const QString& response);
    bool hasEdits() const { return !ours_.isEmpty(); }
    // Reads the examinee's row anew and puts the screen's edits back on it.
    store::Result reread(QVector<ChangedAnswer>& changed);
    // The row's answers stay for these items; the screen's edits of them are dropped.
    store::Result keepStored(const QVector<ChangedAnswer>& changed);
    // Stores the edits (the row is read back: what it holds is then what the screen read).
    store::Result store();
    // reread(), then, when edits would replace answers changed meanwhile, replace(question)
    // decides (false: those answers stay, kept lists them), then store().
    store::Result storeAsking(const std::function<bool(const QString& question)>& replace,
                              QVector<ChangedAnswer>* kept = nullptr);

private:
    store::View& view_;
    QString code_;
    QStringList read_;
    QMap<int, QString> ours_;
};

} // namespace capture
