#pragma once
// The norm tables panel of the settings: the four tables with what they are, their export to a
// workbook and import from one, the replaced table put back, the delivered tables restored.
#include "norms/norm_library.h"

#include <QFrame>

class AppContext;
class QLabel;
class QPushButton;
class QTableWidget;

class NormTablesPanel : public QFrame {
    Q_OBJECT
public:
    NormTablesPanel(AppContext& ctx, QWidget* parent);

    // Reads the tables' descriptions and shows the panel (the main window has placed it).
    void open();
    // Re-reads what the four tables are; a failure is said.
    void refresh();
    // The table of the selected row ("EvabaliniDJMIR", ...).
    QString selectedTable() const;

    void exportTables(bool all);
    void importTables(bool all);
    void putBack();
    void restoreDelivered();

    // Where the save dialog opens; empty (the default): the user's Documents folder.
    void setDocumentsFolder(const QString& folder) { documentsFolder_ = folder; }

    QLabel* title = nullptr;
    QTableWidget* normTables = nullptr; // one row a table: group, name, source, changed, provisional
    QLabel* sourceLine = nullptr;       // the selected table's source in full
    QLabel* keptLine = nullptr;         // the table kept for the selected group
    QLabel* storedScoresNote = nullptr;
    QPushButton* exportOne = nullptr;
    QPushButton* exportAll = nullptr;
    QPushButton* importOne = nullptr;
    QPushButton* importAll = nullptr;
    QPushButton* putBackKept = nullptr;
    QPushButton* restoreDeliveredTables = nullptr;
    QPushButton* closeButton = nullptr;

Q_SIGNALS:
    // Norm tables were replaced: what reads them must look at them again.
    void normTablesChanged();
    void closed();

private:
    void build();
    void showSelection();
    QStringList chosenTables(bool all) const;
    QString now() const;
    QString groupLabels(const QStringList& tables) const;

    AppContext& ctx_;
    QVector<norms::NormTableState> states_;
    QString documentsFolder_;
};
