#include "kit/qt_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace {

QMessageBox::Icon toQt(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::Information: return QMessageBox::Information;
    case Dialogs::Icon::Warning: return QMessageBox::Warning;
    case Dialogs::Icon::Critical: return QMessageBox::Critical;
    case Dialogs::Icon::Question: return QMessageBox::Question;
    case Dialogs::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

bool CloseMessageBoxTitledMessage()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (!box || !box->isVisible() || box->windowTitle() != titles::kMessage)
            continue;
        box->raise();
        box->activateWindow();
        if (QAbstractButton* ok = box->button(QMessageBox::Ok))
            ok->click();
        else
            box->accept();
        return true;
    }
    return false;
}

void QtDialogs::message(QWidget* owner, const QString& title, const QString& text, Icon icon, int autoCloseMs)
{
    QMessageBox box(toQt(icon), title, text, QMessageBox::Ok, owner);
    box.setLayoutDirection(Qt::RightToLeft);
    if (autoCloseMs > 0) {
        // The timer finds the box by its title, so only a notice titled "پيام" closes by itself;
        // a warning or an error stays until the user has read it. The timer is the box's own:
        // closed early, the box takes it along and it fires into nothing.
        auto* timer = new QTimer(&box);
        timer->setObjectName(QStringLiteral("autoClose"));
        timer->setSingleShot(true);
        timer->setInterval(autoCloseMs);
        QObject::connect(timer, &QTimer::timeout, &box, [] { CloseMessageBoxTitledMessage(); });
        timer->start();
    }
    box.exec();
}

bool QtDialogs::question(QWidget* owner, const QString& title, const QString& text, Icon icon)
{
    QMessageBox box(toQt(icon), title, text, QMessageBox::Yes | QMessageBox::No, owner);
    box.setLayoutDirection(Qt::RightToLeft);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> QtDialogs::inputText(QWidget* owner, const QString& title, const QString& prompt,
                                            const QString& defaultText)
{
    QInputDialog dialog(owner);
    dialog.setLayoutDirection(Qt::RightToLeft);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

std::optional<QString> QtDialogs::secretText(QWidget* owner, const QString& title, const QString& prompt)
{
    QInputDialog dialog(owner);
    dialog.setLayoutDirection(Qt::RightToLeft);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextEchoMode(QLineEdit::Password);
    dialog.setInputMethodHints(Qt::ImhHiddenText | Qt::ImhNoPredictiveText | Qt::ImhSensitiveData);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

QString QtDialogs::openFileName(QWidget* owner, const QString& title, const QString& folder, const QString& filter)
{
    return QFileDialog::getOpenFileName(owner, title, folder, filter);
}

QString QtDialogs::saveFileName(QWidget* owner, const QString& title, const QString& suggestedPath,
                                const QString& filter)
{
    return QFileDialog::getSaveFileName(owner, title, suggestedPath, filter);
}

void QtDialogs::beep()
{
    QApplication::beep();
}
