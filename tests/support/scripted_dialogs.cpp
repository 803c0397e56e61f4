#include "support/scripted_dialogs.h"

void ScriptedDialogs::message(QWidget*, const QString& title, const QString& text, Icon icon, int autoCloseMs)
{
    Shown s{Kind::Message, title, text, icon, autoCloseMs, false, {}};
    shown << s;
    if (onMessage)
        onMessage(s);
}

bool ScriptedDialogs::question(QWidget*, const QString& title, const QString& text, Icon icon)
{
    shown << Shown{Kind::Question, title, text, icon, 0, true, {}};
    return questionAnswers.isEmpty() ? false : questionAnswers.dequeue();
}

std::optional<QString> ScriptedDialogs::inputText(QWidget*, const QString& title, const QString& prompt,
                                                  const QString&)
{
    shown << Shown{Kind::Input, title, prompt, Icon::None, 0, false, {}};
    return inputAnswers.isEmpty() ? std::nullopt : inputAnswers.dequeue();
}

std::optional<QString> ScriptedDialogs::secretText(QWidget*, const QString& title, const QString& prompt)
{
    shown << Shown{Kind::Secret, title, prompt, Icon::None, 0, false, {}};
    return secretAnswers.isEmpty() ? std::nullopt : secretAnswers.dequeue();
}

QString ScriptedDialogs::openFileName(QWidget*, const QString& title, const QString& folder, const QString& filter)
{
    shown << Shown{Kind::OpenFile, title, folder, Icon::None, 0, false, filter};
    return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
}

QString ScriptedDialogs::saveFileName(QWidget*, const QString& title, const QString& suggestedPath,
                                      const QString& filter)
{
    shown << Shown{Kind::SaveFile, title, suggestedPath, Icon::None, 0, false, filter};
    return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
}

void ScriptedDialogs::beep()
{
    ++beeps;
    shown << Shown{Kind::Beep, {}, {}, Icon::None, 0, false, {}};
}

void ScriptedDialogs::clear()
{
    shown.clear();
    beeps = 0;
}

QList<ScriptedDialogs::Shown> ScriptedDialogs::messages() const
{
    QList<Shown> out;
    for (const Shown& s : shown)
        if (s.kind == Kind::Message)
            out << s;
    return out;
}

std::optional<ScriptedDialogs::Shown> ScriptedDialogs::lastMessage() const
{
    const QList<Shown> m = messages();
    if (m.isEmpty())
        return std::nullopt;
    return m.last();
}

QStringList ScriptedDialogs::messageTexts() const
{
    QStringList out;
    for (const Shown& s : messages())
        out << s.text;
    return out;
}
