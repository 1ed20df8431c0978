#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class TURLLabel;
class UrlOpener;

// The program's about box: name, version, rights notice and two links. Built for one use.
class TAboutDlg final : public QDialog {
    Q_OBJECT

public:
    // The links hand their addresses to `opener` (null: the desktop's). The icon shown is the
    // window icon the box inherits from its owner.
    explicit TAboutDlg(UrlOpener* opener = nullptr, QWidget* parent = nullptr);
    ~TAboutDlg() override;
    Q_DISABLE_COPY_MOVE(TAboutDlg)

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    TURLLabel* QuavURL = nullptr;
    TURLLabel* QuavMail = nullptr;
    QFrame* Bevel1 = nullptr;
    QPushButton* OKBtn = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
