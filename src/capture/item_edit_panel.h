#pragma once
// The item-edit panel of the main window: one item text at a time, corrected and saved into the
// item table, where the test screen reads it.
#include <QFrame>

class AppContext;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
namespace store {
class View;
}

class ItemEditPanel : public QFrame {
    Q_OBJECT
public:
    // items: the main window's view of the item table (QUS); the panel filters it to one item.
    ItemEditPanel(AppContext& ctx, store::View& items, QWidget* parent);

    // Shows item 1 (the main window has placed and shown the panel).
    void open();
    void ShowItemForEdit(); // every change of the item number
    void previous();        // Command18
    void next();            // Command14
    void save();            // Command16
    void closePanel();      // Command15

    // The item the text field shows (0 before the first one).
    int currentItem() const { return item_; }
    // The text differs from the stored one.
    bool hasUnsavedEdit() const;

    QPlainTextEdit* Text18 = nullptr; // item text
    QLineEdit* Text21 = nullptr;      // item number
    QPushButton* Command18 = nullptr; // previous
    QPushButton* Command14 = nullptr; // next
    QPushButton* Command16 = nullptr; // save
    QPushButton* Command15 = nullptr; // close

Q_SIGNALS:
    void closed();

public Q_SLOTS:
    void setVisible(bool visible) override;

private:
    void build();
    void setNumber(int item);
    // Before the shown item is left: an unsaved edit is saved or dropped, as the user answers.
    void leaveItem();
    bool storeText();

    AppContext& ctx_;
    store::View& items_;
    int item_ = 0;
    QString storedText_;
};
