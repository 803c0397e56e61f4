#include "kit/controls.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>

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
    auto* caption = new QLabel(text, parent);
    caption->setTextFormat(Qt::PlainText);
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
