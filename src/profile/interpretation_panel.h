#pragma once
// The interpretation panel of the profile screen: the ranking table, the interpretation text
// being built or edited, and the text saved with the examinee.
//
// The profile screen hands it the examinee's profile result on each activation; the ranking
// table and every text are made from that value. The panel owns its views: Sortt2 (the ranking
// rows are written there for the record, never read back) and Taff on the norms file, IDE on the
// examinee file (the saved text).
#include "kit/app_context.h"
#include "profile/profile_result.h"
#include "store/view.h"

#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVector>

class InterpretationPanel : public QFrame {
    Q_OBJECT
public:
    explicit InterpretationPanel(AppContext& ctx, QWidget* parent = nullptr);
    ~InterpretationPanel() override;

    // Keeps the profile the texts are about and re-reads the saved text of its examinee's IDE
    // row. Shows no box (it runs on every activation of the profile screen); a failure leaves the
    // saved text empty and a later save reports it. A ranking table already shown follows the
    // new profile.
    void showResult(const profile::ProfileResult& result);

    // Fills the ranking table from the profile and writes its rows into Sortt2, all of them or
    // none; a failed write is reported. A profile that cannot be interpreted (its problem) leaves
    // the table empty, and building a text then says why.
    void RankScales();
    // Replace Txttaf1 with a new text built from the profile and the Taff texts.
    void BuildLongInterpretation();
    void BuildShortInterpretation();
    // Asks, then stores Txttaf1 into TT1 of the examinee's IDE row.
    void SaveInterpretation();
    // Replaces Txttaf1 with the saved text.
    void loadSavedInterpretation();

    // The saved text (TT1 of the examinee's row), every line ending in CR LF: what the printed
    // report and the Word export carry.
    QString savedInterpretation() const;
    // The text of Txttaf1 as the user sees it, line ends LF.
    QString interpretationText() const;

    // Ranking table, indexed as the controls: validity block at 0..2 (Lblnm3 names, Lblnm2 T,
    // highest first), rank r at r + 2 (Lblnm2 number, Lblnm name, Lblnm3 T). Lblnm has no
    // validity labels: its entries 0..2 are null.
    QVector<QLabel*> Lblnm;
    QVector<QLabel*> Lblnm2;
    QVector<QLabel*> Lblnm3;

    QPlainTextEdit* Txttaf1 = nullptr; // the text being built or edited
    QPushButton* CmdTafneuBoland = nullptr;
    QPushButton* CmdTafneuKotah = nullptr;
    QPushButton* CmdTafalt = nullptr;
    QPushButton* CmdSave = nullptr;
    QPushButton* Cmdexit2 = nullptr;

private:
    QWidget* buildRankingTable();
    QWidget* buildButtons();
    void build(bool longRun);
    void readSavedText();
    void showText(QPlainTextEdit* box, const QString& text);
    void showRanking();

    AppContext& ctx_;
    profile::ProfileResult result_; // the profile the texts are about
    std::shared_ptr<store::Connection> normsFile_;
    store::View sortt2_;
    store::View ide_;
    QString saved_;                 // TT1 as read
    // Why no text may be built now: nothing ranked yet, or T scores that cannot be interpreted.
    // Empty once an interpretable profile has been ranked.
    QString refusal_ = kNotRanked;

public:
    static inline const QString kNotRanked = QStringLiteral("مقياسهاي اين آزمودني هنوز رتبه بندي نشده است؛ تفسير ساخته نشد");
};
