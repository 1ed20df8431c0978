#include "controls/About.h"

#include "controls/AboutInfo.h"
#include "controls/URLLabel.h"

#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace {

constexpr int kWidth = 347;
constexpr int kHeight = 154;

// At its place, never cut: a text wider or taller than the given box makes the box grow.
template <typename Label> Label* placeLabel(Label* label, const QString& name, const QString& text, QRect box)
{
    label->setObjectName(name);
    label->setText(text);
    const QSize hint = label->sizeHint();
    label->setGeometry(box.x(), box.y(), std::max(box.width(), hint.width()),
                       std::max(box.height(), hint.height()));
    return label;
}

} // namespace

TAboutDlg::TAboutDlg(UrlOpener* opener, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutDlg"));
    setWindowTitle(QStringLiteral("QuavSchedulerのバージョン情報"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    QFont windowFont(QStringLiteral("ＭＳ Ｐゴシック"));
    windowFont.setPixelSize(12);
    setFont(windowFont);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(8, 8, 32, 32);
    Image1->setPixmap(windowIcon().pixmap(32, 32));

    Label1 = new QLabel(this);
    QFont bold = windowFont;
    bold.setBold(true);
    Label1->setFont(bold);
    placeLabel(Label1, QStringLiteral("Label1"), AboutInfo::kProduct, {64, 8, 0, 0});
    Label2 = placeLabel(new QLabel(this), QStringLiteral("Label2"), AboutInfo::kVersion, {64, 24, 0, 0});
    Label3 = placeLabel(new QLabel(this), QStringLiteral("Label3"), AboutInfo::kRights, {64, 40, 0, 0});

    QuavURL = new TURLLabel(this);
    QuavURL->setFontColor(QColor(0, 0, 255));
    QuavURL->setExecutable(true);
    QuavURL->setOpener(opener);
    placeLabel(QuavURL, QStringLiteral("QuavURL"), AboutInfo::kWebPage, {72, 64, 201, 12});

    QuavMail = new TURLLabel(this);
    QuavMail->setFontColor(QColor(0, 128, 0));
    QuavMail->setExecutable(true);
    QuavMail->setHotColor(QColor(0, 255, 0));
    QuavMail->setOpener(opener);
    placeLabel(QuavMail, QStringLiteral("QuavMail"), AboutInfo::kMail, {72, 80, 109, 12});

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(48, 112, 289, 2);

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    OKBtn->setGeometry(248, 124, 89, 21);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);

    // Addresses longer than the box leaves room for widen it; the button keeps the right edge.
    int right = kWidth;
    for (QLabel* label :
         {Label1, Label2, Label3, static_cast<QLabel*>(QuavURL), static_cast<QLabel*>(QuavMail)})
        right = std::max(right, label->geometry().right() + 1 + 10);
    if (right > kWidth) {
        Bevel1->setGeometry(48, 112, right - 58, 2);
        OKBtn->move(right - 99, 124);
    }
    setFixedSize(right, kHeight);

    // Centred on the screen, not on the owner; moving now also keeps the dialog from re-centring.
    if (const QScreen* shown = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(shown->availableGeometry().center());
        move(frame.topLeft());
    }
}

TAboutDlg::~TAboutDlg() = default;

void TAboutDlg::keyPressEvent(QKeyEvent* event)
{
    // No cancel button: Escape leaves the box open.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
