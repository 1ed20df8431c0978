#include "mainwindow/ChangedElsewhereBar.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

ChangedElsewhereBar::ChangedElsewhereBar(const QString& name, QWidget* parent) : QFrame(parent)
{
    setObjectName(name);
    setFrameShape(QFrame::StyledPanel);
    // The palette's own tooltip colours: a note that stands out and reads on light and dark themes.
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 3, 6, 3);
    m_text = new QLabel;
    m_text->setObjectName(QStringLiteral("text"));
    m_text->setWordWrap(true);
    m_text->setForegroundRole(QPalette::ToolTipText);
    layout->addWidget(m_text, 1);
    const auto add = [&](const char* buttonName, const QString& caption, OutsideEditChoice choice) {
        auto* button = new QPushButton(caption);
        button->setObjectName(QLatin1String(buttonName));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, choice] {
            hide();
            Q_EMIT chosen(choice);
        });
        layout->addWidget(button);
    };
    // The same choices and words as the question the save asks.
    add("keepMine", QStringLiteral("画面の内容で上書き(&O)"), OutsideEditChoice::KeepMine);
    add("takeFile", QStringLiteral("ファイルの内容を読み込む(&R)"), OutsideEditChoice::TakeFile);
    add("keepBoth", QStringLiteral("両方残す(&B)"), OutsideEditChoice::KeepBoth);
    hide();
}

void ChangedElsewhereBar::showFor(const QString& path)
{
    m_text->setText(QStringLiteral("ファイル\"") + QDir::toNativeSeparators(path) +
                    QStringLiteral("\"は、ほかのプログラムによって変更されました。"));
    show();
}
