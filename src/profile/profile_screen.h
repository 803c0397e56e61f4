#pragma once
// The profile screen: the examinee's raw scores, T scores and answered shares under a profile
// chart, for the examinee the scoring screen handed over.
//
// Every time the screen becomes the active window of the program (the first showing included)
// it computes the examinee's profile result once (profile_result.h), with the sex and education
// of that moment and the norm table read afresh; it shows the raw scores and stores them. 100 ms
// later (Timer3) it shows the T scores and answered shares, draws the chart and stores the T
// scores. Everything shown, stored, interpreted, printed and exported comes from that one value;
// nothing is read back from a label. A step that fails leaves its result undone and the next one
// runs. Closing it emits closed().
#include "examinees/examinee_record.h"
#include "kit/app_context.h"
#include "profile/interpretation_panel.h"
#include "profile/norm_conversion.h"
#include "profile/profile_result.h"
#include "store/view.h"

#include <QColor>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTimer>
#include <QVector>
#include <QWidget>
#include <functional>
#include <memory>

class ProfileChart;
class QWindow;

class FrmNemudar : public QWidget {
    Q_OBJECT
public:
    // The sex and education that choose the norm table, asked on every activation (they may be
    // corrected while the screen is open); without it the handed-over ones hold.
    using NormGroupSource = std::function<examinees::NormGroup()>;

    FrmNemudar(AppContext& ctx, examinees::ExamineeRecord examinee, NormGroupSource normGroup = {},
               QWidget* parent = nullptr);
    ~FrmNemudar() override;

    // The screen's design colours: the window's background and the decoration band Shape3.
    static QColor backColor() { return {255, 192, 128}; }
    static QColor shapeColor() { return {225, 102, 204}; }

    // Another examinee for the next activation.
    void setExaminee(const examinees::ExamineeRecord& examinee);
    // The profile as computed at the last activation: the one value the screen, its
    // interpretation panel, the report and the Word document show.
    const profile::ProfileResult& result() const { return result_; }

    // The score rows as the labels show them, in scale order.
    QStringList rawScoreTexts() const;
    QStringList tScoreTexts() const;
    QStringList percentTexts() const;
    // The norm table in use (read at an activation); empty while none has been.
    const QString& normTableName() const { return result_.normTable; }

    // The settings row, read by the printed report.
    store::View& settingsSource() { return settings_; }

    // What failed in the last activation and deferred step; each failure is shown once in a
    // "خطا" box.
    const QStringList& stepFailures() const { return failures_; }
    // Why the T scores cannot be shown or interpreted (no norm group, no T for a raw score...);
    // empty when they can. LblTNotice shows it.
    const QString& tScoreProblem() const { return result_.problem; }

    // Redraws the profile line from the T scores of the result (the action of Cmdbik).
    void DrawProfile();

    QLabel* Label6 = nullptr;  // title over the chart
    QLabel* Lblj = nullptr;    // the examinee's sex
    QLabel* LblTNotice = nullptr; // why the T row is empty, hidden while it is not
    QLabel* provenanceLine = nullptr; // under the chart: norm table, version, check code of the answers
    ProfileChart* chart = nullptr;
    QVector<QLabel*> Lblkham;  // raw scores, scale order (Lblkham_0..Lblkham_10)
    QVector<QLabel*> lblt;     // T scores
    QVector<QLabel*> lbldarsad; // answered percentages
    QFrame* Shape3 = nullptr;  // decoration band behind the buttons
    QFrame* Frame2 = nullptr;  // button panel
    QPushButton* CmdTaf = nullptr;
    QPushButton* Command3 = nullptr; // print
    QPushButton* Cmdword = nullptr;  // Word output
    QPushButton* Cmdexit = nullptr;
    QPushButton* Cmdbik = nullptr;   // draw chart, never shown
    InterpretationPanel* FramTaf = nullptr; // interpretation panel
    QTimer* Timer3 = nullptr;        // the deferred step, one-shot 100 ms

Q_SIGNALS:
    // After the steps of an activation have run.
    void activated();
    // After the deferred step: scores shown, drawn and stored.
    void profileReady();
    // The screen is closing (by its exit button or the window's close box).
    void closed();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    QVector<QLabel*> buildRow(const QString& name, int row);
    void load();
    void activate();
    void deferredStep();
    void showStoredRow(const store::View& view, const QVector<QLabel*>& row);
    void note(const store::Result& r);
    void reportFailures();
    void showTProblem();
    void focusWindowChanged(QWindow* window);

    AppContext& ctx_;
    examinees::ExamineeRecord examinee_;
    NormGroupSource normGroup_;
    std::shared_ptr<store::Connection> settingsFile_;
    std::shared_ptr<store::Connection> normsFile_;
    store::View settings_;
    store::View storedT_;   // NOMREbikIR
    store::View storedRaw_; // NOMREKhamIR
    profile::NormTableCache norms_; // read afresh at every activation
    profile::ProfileResult result_;
    QStringList failures_;
    QSet<QString> reported_;
    bool activatedBefore_ = false;
    bool otherWindowActive_ = false;
};
