#include "mainwindow/ChangedElsewhereBar.h"

#include <QBoxLayout>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>

ChangedElsewhereBar::ChangedElsewhereBar(const QString& name, QWidget* parent) : QFrame(parent)
{
    setObjectName(name);
    setFrameShape(QFrame::StyledPanel);
    // The palette's own tooltip colours: a note that stands out and reads on light and dark themes.
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 3, 6, 3);
    layout->setSpacing(3);
    // The bar's own minimum, not the buttons' row: see minimumSizeHint.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    m_text = new QLabel;
    m_text->setObjectName(QStringLiteral("text"));
    m_text->setWordWrap(true);
    m_text->setForegroundRole(QPalette::ToolTipText);
    layout->addWidget(m_text);
    m_buttons = new QBoxLayout(QBoxLayout::LeftToRight);
    m_buttons->setSpacing(4);
    m_buttons->addStretch(1);
    layout->addLayout(m_buttons);
    const auto add = [&](const char* buttonName, const QString& caption, const QString& full,
                         OutsideEditChoice choice) {
        auto* button = new QPushButton(caption);
        button->setObjectName(QLatin1String(buttonName));
        button->setAutoDefault(false);
        button->setToolTip(full);
        connect(button, &QPushButton::clicked, this, [this, choice] {
            hide();
            Q_EMIT chosen(choice);
        });
        m_buttons->addWidget(button);
    };
    // The choices of the question the save asks, in its words where they fit a narrow panel.
    add("keepMine", QStringLiteral("画面を残す(&O)"), QStringLiteral("画面の内容で上書き"),
        OutsideEditChoice::KeepMine);
    add("takeFile", QStringLiteral("ファイルを読む(&R)"), QStringLiteral("ファイルの内容を読み込む"),
        OutsideEditChoice::TakeFile);
    add("keepBoth", QStringLiteral("両方残す(&B)"),
        QStringLiteral("ファイルの内容を読み込み、画面の内容は別のファイルに残す"),
        OutsideEditChoice::KeepBoth);
    hide();
}

void ChangedElsewhereBar::showFor(const QString& path)
{
    m_text->setText(QStringLiteral("\"") + QFileInfo(path).fileName() +
                    QStringLiteral("\"は、ほかのプログラムによって変更されました。"));
    m_text->setToolTip(QDir::toNativeSeparators(path));
    show();
}

int ChangedElsewhereBar::rowWidth() const
{
    int width = 0;
    for (int i = 0; i < m_buttons->count(); ++i) {
        if (QWidget* button = m_buttons->itemAt(i)->widget())
            width += button->sizeHint().width() + m_buttons->spacing();
    }
    const QMargins margins = layout()->contentsMargins();
    return width + margins.left() + margins.right() + 2 * frameWidth();
}

QSize ChangedElsewhereBar::minimumSizeHint() const
{
    int widest = 0;
    for (int i = 0; i < m_buttons->count(); ++i) {
        if (QWidget* button = m_buttons->itemAt(i)->widget())
            widest = std::max(widest, button->sizeHint().width());
    }
    const QMargins margins = layout()->contentsMargins();
    return {widest + margins.left() + margins.right() + 2 * frameWidth(), layout()->minimumSize().height()};
}

void ChangedElsewhereBar::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    const QBoxLayout::Direction direction =
        event->size().width() >= rowWidth() ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom;
    if (m_buttons->direction() != direction) {
        m_buttons->setDirection(direction);
        updateGeometry();
    }
}
