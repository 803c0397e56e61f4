#pragma once
#include <QObject>

// Every label of the program shows its text as plain text: names, item texts, the clinic's own
// words and messages come from users and data files, and a text that looks like markup must
// read as what was typed. Installed on the application, it sets each label to plain text before
// it is first shown (message boxes' labels included).
class PlainTextLabels final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
