#pragma once
// The about screen: the credit list scrolling upward in changing colours, and a credit line whose
// letters close up one by one.
#include "kit/app_context.h"
#include "maintenance/about_animation.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

class About : public QWidget {
    Q_OBJECT
public:
    explicit About(AppContext& ctx, QWidget* parent = nullptr);

    QGroupBox* Frame1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Text1 = nullptr;   // the credit line
    QPushButton* Command1 = nullptr;
    QTimer* Timer1 = nullptr;     // colours, 700 ms
    QTimer* Timer10 = nullptr;    // scrolling, 55 ms
    QTimer* Timer3 = nullptr;     // credit line, 1 ms

    const QStringList& creditList() const { return credits_; }
    // Label1..Label4 in order.
    QVector<QLabel*> labels() const { return {Label1, Label2, Label3, Label4}; }
    // A label's top in twips, as the scrolling counts it.
    int labelTop(int label) const { return scroll_.tops.at(label); }

    void scrollTick();
    void colourTick();
    void creditLineTick();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildWindow();
    void placeLabels();
    static void setColour(QLabel* label, const QColor& colour);

    AppContext& ctx_;
    QStringList credits_;
    maintenance::CreditScroll scroll_;
    maintenance::CreditLineCloser closer_;
    int colourCounter_ = 0;
};
