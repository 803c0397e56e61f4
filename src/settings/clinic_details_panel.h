#pragma once
// The clinic details panel of the main window: the clinic's name, address and contact lines and
// its own word for the examinee code (the identifier label), kept in the settings row.
#include "store/view.h"

#include <QFrame>

class AppContext;
class QLabel;
class QLineEdit;
class QPushButton;

class ClinicDetailsPanel : public QFrame {
    Q_OBJECT
public:
    // settingsRow: the view of the settings row, shared with the settings panel, so that what
    // one stores is what the other has read.
    ClinicDetailsPanel(AppContext& ctx, std::shared_ptr<store::View> settingsRow, QWidget* parent);

    // Reads the settings row into the fields.
    store::Result load();
    // Start-up: reads the settings row and gives out what follows it (the identifier label, the
    // clinic name); the fields are filled when the panel opens.
    store::Result readStoredRow();
    // Command67 of the settings panel: places and shows the panel with the stored row; edits
    // not saved are dropped.
    void open();
    void save();   // Command64
    // Command7: the edits go, and with them what followed them (the identifier label, the
    // clinic name), back to the stored row. Leaving the panel otherwise keeps them in the
    // fields until it is opened again, as the captions that follow them show.
    void cancel();

    // The stored contact lines: each filled one of T1 … T6, followed by CR LF.
    QString contactLines() const;

    QLineEdit* Text31 = nullptr; // Name
    QLineEdit* Text30 = nullptr; // Adress
    QLineEdit* Text24 = nullptr; // T1 e-mail
    QLineEdit* Text29 = nullptr; // T2 Telegram
    QLineEdit* Text2 = nullptr;  // T3 Instagram
    QLineEdit* Text14 = nullptr; // T4 web site
    QLineEdit* Text27 = nullptr; // T5 Twitter
    QLineEdit* Text28 = nullptr; // T6 telephone
    QLineEdit* Text23 = nullptr; // T11 identifier label
    QLabel* identifierCaption = nullptr; // the caption of Text23: the label itself
    QPushButton* Command64 = nullptr; // save
    QPushButton* Command7 = nullptr;  // cancel

private:
    std::shared_ptr<store::View> settingsRow_;

public:
    store::View& Adodc1; // Theme, the settings row

Q_SIGNALS:
    // While typing and when the row is read: the captions that follow the fields.
    void identifierLabelChanged(const QString& label);
    void clinicNameChanged(const QString& name);
    void saved();     // the row is stored and the panel hidden
    void cancelled(); // the panel is hidden, the stored row shown again

private:
    void build();
    void showStoredRow();
    // Until a field is first filled or typed in, what the fields would hold, as last given out.
    bool filled_ = false;
    QString unfilledLabel_;
    QString unfilledName_;
    // The fields and their columns, in the row's order.
    QList<QPair<QLineEdit*, QString>> fields() const;

    AppContext& ctx_;
};
