#pragma once
// The interpretation panel of the profile screen: the ranking table, the interpretation text
// being built or edited, and the text saved with the examinee.
//
// The panel owns its views: Sortt2 (a writer and an independent reader) and Taff on the norms
// file, IDE on the examinee file. The profile screen hands it what it needs: the examinee (code
// and unanswered count) on each activation, the T scores with each ranking.
#include "kit/app_context.h"
#include "profile/ranking.h"
#include "scoring/scored_examinee.h"
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

    // Keeps the examinee the texts are about (its code and unanswered count) and re-reads IDE
    // narrowed to its code; Txttaf2 then shows that row's saved text. Shows no box (it runs on
    // every activation of the profile screen); a failure leaves Txttaf2 empty and a later save
    // reports it.
    void restrictToExaminee(const scoring::ScoredExaminee& examinee);

    // Writes the T scores (the profile screen's T row) into Sortt2, all rows or none, and fills
    // the ranking table; a failed write is reported.
    void RankScales(const profile::ScaleTexts& tScores);
    // Instead of RankScales when the T scores cannot be interpreted: the ranking table is
    // emptied, and building a text says why until the next RankScales.
    void refuse(const QString& why);
    // Replace Txttaf1 with a new text built from Sortt2 as stored and the Taff texts.
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
    QPlainTextEdit* Txttaf2 = nullptr; // hidden: the saved text
    QPushButton* CmdTafneuBoland = nullptr;
    QPushButton* CmdTafneuKotah = nullptr;
    QPushButton* CmdTafalt = nullptr;
    QPushButton* CmdSave = nullptr;
    QPushButton* Cmdexit2 = nullptr;

private:
    QWidget* buildRankingTable();
    QWidget* buildButtons();
    void build(bool longRun);
    void showSavedText();
    void showText(QPlainTextEdit* box, const QString& text);
    void reportError(const QString& what, const QString& why);

    AppContext& ctx_;
    QString code_;       // the examinee's code as handed over
    QString unanswered_; // its unanswered count
    std::shared_ptr<store::Connection> normsFile_;
    store::View sortt2Writer_;
    store::View sortt2Reader_;
    store::View taff_;
    store::View ide_;
    profile::RankingTable ranking_; // as shown in the ranking table
    QList<profile::Sortt2Row> sortt2Rows_; // what RankScales stored, stored again with each reading
    QString saved_;                 // TT1 as read
    // Why no text may be built now: no ranking stored for these scores yet, a failed store,
    // or T scores that cannot be interpreted. Empty once RankScales stored the ranking.
    QString refusal_ = kNotRanked;

public:
    static inline const QString kNotRanked = QStringLiteral("مقياسهاي اين آزمودني هنوز رتبه بندي نشده است؛ تفسير ساخته نشد");
};
