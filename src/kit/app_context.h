#pragma once
// What every screen is given: the program folder and the seams to the outside world.
// No globals, no singletons beyond qApp.
#include "kit/clock.h"
#include "kit/desktop.h"
#include "kit/dialogs.h"
#include "kit/publisher.h"

#include <QDir>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

class AppContext {
public:
    AppContext(QString programFolder, Dialogs& dialogs, Clock& clock, Desktop& desktop,
               PublisherAddresses publisher = {})
        : programFolder_(std::move(programFolder))
        , dialogs_(dialogs)
        , clock_(clock)
        , desktop_(desktop)
        , publisher_(std::move(publisher))
    {
    }

    const QString& programFolder() const { return programFolder_; }
    // A file of the program folder ("Tavora71.mdb", "skin/skin.txt", ...).
    QString path(const QString& relative) const { return QDir(programFolder_).filePath(relative); }
    Dialogs& dialogs() const { return dialogs_; }
    Clock& clock() const { return clock_; }
    Desktop& desktop() const { return desktop_; }
    const PublisherAddresses& publisher() const { return publisher_; }
    void setPublisher(const PublisherAddresses& p) { publisher_ = p; }

    // Delivered tables found damaged at start-up, by table name, with what is wrong: the screens
    // that read a damaged table refuse to give results from it.
    QString dataProblem(const QString& table) const { return checkedProblems().value(table); }
    QStringList dataProblems() const { return checkedProblems().values(); }
    void setDataProblems(QMap<QString, QString> problems)
    {
        pendingCheck_ = nullptr;
        dataProblems_ = std::move(problems);
    }
    // The check runs when its answer is first asked for: the start-up asks once the window is
    // painted, a screen asking sooner waits for it.
    void setDataCheck(std::function<QMap<QString, QString>()> check) { pendingCheck_ = std::move(check); }

private:
    QString programFolder_;
    Dialogs& dialogs_;
    Clock& clock_;
    Desktop& desktop_;
    PublisherAddresses publisher_;
    const QMap<QString, QString>& checkedProblems() const
    {
        if (pendingCheck_)
            dataProblems_ = std::exchange(pendingCheck_, nullptr)();
        return dataProblems_;
    }

    mutable std::function<QMap<QString, QString>()> pendingCheck_;
    mutable QMap<QString, QString> dataProblems_;
};
