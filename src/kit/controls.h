#pragma once
// Builders for the controls several screens make the same way.
#include <QString>
#include <QStringList>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// A label that shows its text as plain text, never as markup: labels carry names, item texts and
// the clinic's own words.
QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text = {});
QLineEdit* MakeField(QWidget* parent, const QString& name);
QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption);

// An in-window panel, styled by the themes as role "panel".
QFrame* MakePanel(QWidget* parent, const QString& name);
// The same look for a panel that is a class of its own.
void StylePanel(QFrame* frame);
// A field caption written " :word", for a field on its left: drawn left to right, so the colon
// stands between the word and its field.
QLabel* MakeFieldCaption(QWidget* parent, const QString& text);
// A choose-only list that shows its prompt until an entry is chosen.
QComboBox* MakeChoiceList(QWidget* parent, const QString& name, const QString& prompt, const QStringList& entries);
// Couples a list to the hidden field that holds its value: choosing an entry sets the field, and
// the field's text selects the matching entry. A value that matches no entry shows the prompt and
// stays as it is.
void CoupleListToField(QComboBox* list, QLineEdit* field);
