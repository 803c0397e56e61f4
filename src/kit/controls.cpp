#include "kit/controls.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLineEdit* MakeField(QWidget* parent, const QString& name)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    return field;
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

QFrame* MakePanel(QWidget* parent, const QString& name)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(name);
    StylePanel(frame);
    return frame;
}

void StylePanel(QFrame* frame)
{
    frame->setProperty("role", QStringLiteral("panel"));
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setAutoFillBackground(true);
}

QLabel* MakeFieldCaption(QWidget* parent, const QString& text)
{
    QLabel* caption = MakeLabel(parent, QString(), text);
    caption->setLayoutDirection(Qt::LeftToRight);
    caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter); // next to the field on its left
    return caption;
}

QComboBox* MakeChoiceList(QWidget* parent, const QString& name, const QString& prompt, const QStringList& entries)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setEditable(false);
    list->addItems(entries);
    list->setPlaceholderText(prompt);
    list->setCurrentIndex(-1);
    return list;
}

void CoupleListToField(QComboBox* list, QLineEdit* field)
{
    QObject::connect(list, &QComboBox::currentIndexChanged, field, [list, field](int index) {
        if (index < 0)
            return;
        const QString picked = list->itemText(index);
        if (field->text() != picked)
            field->setText(picked);
    });
    QObject::connect(field, &QLineEdit::textChanged, list, [list](const QString& text) {
        const int index = list->findText(text, Qt::MatchExactly);
        if (list->currentIndex() != index)
            list->setCurrentIndex(index);
    });
}
