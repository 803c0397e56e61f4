#pragma once
// The group workbook: asks where to save it, computes the results of the examinees handed over
// under a progress dialog that can be cancelled, and writes them as one .xlsx workbook.
// The file appears only when complete: a cancelled or failed export leaves none, and a failure
// is told in a box titled "خطا" with the path and the reason.
#include "kit/app_context.h"

#include <QObject>
#include <QStringList>

class QProgressDialog;
class QWidget;

class GroupExport : public QObject {
    Q_OBJECT
public:
    // owner: the window the dialogs belong to.
    GroupExport(AppContext& ctx, QWidget* owner);
    ~GroupExport() override;

    // Where the save dialog opens; empty (the default): the user's Documents folder.
    void setDocumentsFolder(const QString& folder) { documentsFolder_ = folder; }

    enum class Outcome { Written, Cancelled, Failed };
    // codes: the examinees in the order of the rows; identifierLabel heads their column.
    Outcome run(const QStringList& codes, const QString& identifierLabel);
    // The file of the last run (written or not).
    const QString& path() const { return path_; }

    // While a run computes; nullptr otherwise.
    QProgressDialog* progressDialog() const { return progress_; }

Q_SIGNALS:
    // Now and then while computing, after the dialog has been brought up to date.
    void progressed(int done, int total);

private:
    Outcome fail(const QString& reason);

    AppContext& ctx_;
    QWidget* owner_;
    QString documentsFolder_;
    QString path_;
    QProgressDialog* progress_ = nullptr; // the dialog of the run in progress
};
