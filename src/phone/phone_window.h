#pragma once
// The operator's window of one phone session: the QR code and link the examinee opens, the
// address they point to, and how far the examinee has got. Closing it ends the session.
#include <QWidget>

class AppContext;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace phone {
class PhoneDesk;
}

class FrmPhone : public QWidget {
    Q_OBJECT
public:
    // caption: the examinee as the operator knows him (code and name).
    FrmPhone(AppContext& ctx, phone::PhoneDesk& desk, int session, const QString& caption, QWidget* parent);
    ~FrmPhone() override;

    int session() const { return session_; }

    QLabel* LblName = nullptr;
    QComboBox* CboAddress = nullptr;
    QLabel* LblQr = nullptr;
    QLineEdit* TxtLink = nullptr;
    QLabel* LblProgress = nullptr;
    QLabel* LblState = nullptr;
    QPushButton* CmdReopen = nullptr;
    QPushButton* CmdClose = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showLink();
    void showState();
    void showProgress(int answered);
    void chooseAddress(int index);
    void reopen();
    void reportStoreFailure(int item, const QString& error);

    AppContext& ctx_;
    phone::PhoneDesk& desk_;
    int session_;
    bool reporting_ = false;
};
