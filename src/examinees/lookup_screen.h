#pragma once
// The lookup and deletion screen: finds a forgotten examinee code by family name, first name or
// group, and deletes an examinee with every row kept for him. It also asks for the results of
// the examinees it shows in one workbook (made elsewhere: it needs the scoring and the norms).
#include "kit/dialogs.h"
#include "store/row_models.h"
#include "store/view.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

class AppContext;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

class FrmCode : public QDialog {
    Q_OBJECT
public:
    // identifierLabel: the clinic's word for the examinee code, read when it is shown.
    FrmCode(AppContext& ctx, std::function<QString()> identifierLabel, QWidget* parent = nullptr);
    ~FrmCode() override;

    // The filter the grid shows now: a column ("LName", "FName" or "Group") and its text, or
    // std::nullopt for every examinee.
    const std::optional<store::ColumnFilter>& currentFilter() const;
    // The codes of every examinee the grid shows now (not only the rows it has fetched).
    store::Result codesInView(QStringList& codes) const;

    void deleteExaminee(); // Command2, or Enter in Text5
    // findByCheck, or Enter in checkCode: the grid shows the examinees whose stored answers have
    // the check code printed with their results.
    void findByCheckCode();
    // CmdGroupExcel: hands the codes the grid shows on to groupExportRequested; a failed read
    // is told here.
    void requestGroupExport();

Q_SIGNALS:
    // The results of these examinees (every one the grid shows, in its order) are wanted in one
    // workbook.
    void groupExportRequested(const QStringList& codes);

private:
    std::shared_ptr<store::Connection> examineeFile_;
    std::shared_ptr<store::Connection> normsFile_;

public:
    store::RowListModel examinees;        // the grid's rows (IDE)
    store::DistinctValuesModel familyNames; // DataCombo1's entries
    store::DistinctValuesModel givenNames;  // DataCombo6's entries
    store::View identities; // IDE, the deletion copy
    store::View answers;    // Answer
    store::View rawScores;  // NOMREKhamIR
    store::View tScores;    // NOMREbikIR

    QTableView* DataGrid1 = nullptr;
    QComboBox* DataCombo1 = nullptr; // family name
    QComboBox* DataCombo6 = nullptr; // first name
    QComboBox* Combo3 = nullptr;     // group
    QGroupBox* Frame1 = nullptr;     // delete
    QLabel* SkinLabel1 = nullptr;    // "<label> enter"
    QLineEdit* Text5 = nullptr;      // the code to delete
    QPushButton* Command2 = nullptr; // delete
    QPushButton* Command6 = nullptr; // exit
    QPushButton* CmdGroupExcel = nullptr; // the group's results in a workbook
    QLineEdit* checkCode = nullptr;       // the check code of a printed result's answers
    QPushButton* findByCheck = nullptr;

private:
    void build();
    void load();
    // One filter at a time: the list just used filters the grid, the other two are blanked.
    void filterBy(QComboBox* list, const QString& column);
    void blankLists(const QList<QComboBox*>& lists);
    void showEveryExaminee();
    store::Result removeExaminee(const QString& code);

    AppContext& ctx_;
    std::function<QString()> identifierLabel_;
};
