#pragma once
// Digits-only fields: Backspace, Enter and "0".."9" are accepted; any other typed character is
// dropped with a beep and the "you must enter a number" notice. Pasted or dropped text that
// is not all digits is refused the same way.
#include <QObject>

class AppContext;
class QLineEdit;

class DigitFilter : public QObject {
    Q_OBJECT
public:
    // Installs the filter on the field; it lives as long as the field.
    static DigitFilter* install(QLineEdit* field, AppContext& ctx);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DigitFilter(QLineEdit* field, AppContext& ctx);
    void refuse();

    QLineEdit* field_;
    AppContext& ctx_;
};
