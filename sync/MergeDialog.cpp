#include "sync/MergeDialog.h"

#include "sync/model/LineDiff.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>

namespace {

QPlainTextEdit* sideView(const QStringList& lines, QWidget* parent)
{
    auto* view = new QPlainTextEdit(parent);
    view->setReadOnly(true);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    view->setTabChangesFocus(true);
    view->setPlainText(lines.join(u'\n'));
    return view;
}

void markLines(QPlainTextEdit* view, const QList<qsizetype>& lines, const QColor& colour)
{
    QList<QTextEdit::ExtraSelection> marks;
    for (const qsizetype line : lines) {
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(view->document()->findBlockByNumber(int(line)));
        mark.format.setBackground(colour);
        mark.format.setProperty(QTextFormat::FullWidthSelection, true);
        marks.append(mark);
    }
    view->setExtraSelections(marks);
}

} // namespace

MergeDialog::MergeDialog(const QString& fileName, const QString& fileText, const QString& copyName,
                         const QString& copyText, QWidget* parent)
    : QDialog(parent), m_fileText(fileText), m_copyText(copyText)
{
    setWindowTitle(QStringLiteral("比較して統合"));
    const QStringList fileLines = LineDiff::splitLines(fileText);
    const QStringList copyLines = LineDiff::splitLines(copyText);
    QList<qsizetype> onlyFile;
    QList<qsizetype> onlyCopy;
    for (const LineDiff::Line& line : LineDiff::compare(fileLines, copyLines)) {
        if (line.side == LineDiff::Side::First)
            onlyFile.append(line.first);
        else if (line.side == LineDiff::Side::Second)
            onlyCopy.append(line.second);
    }

    FileText = sideView(fileLines, this);
    FileText->setObjectName(QStringLiteral("FileText"));
    CopyText = sideView(copyLines, this);
    CopyText->setObjectName(QStringLiteral("CopyText"));
    markLines(FileText, onlyFile, QColor(255, 215, 215));
    markLines(CopyText, onlyCopy, QColor(210, 240, 210));
    // One scroll for both, so the same region of each stays in view.
    connect(FileText->verticalScrollBar(), &QScrollBar::valueChanged, CopyText->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(CopyText->verticalScrollBar(), &QScrollBar::valueChanged, FileText->verticalScrollBar(),
            &QScrollBar::setValue);

    auto* fileCaption = new QLabel(QStringLiteral("ファイル(&L): ") + fileName, this);
    fileCaption->setBuddy(FileText);
    auto* copyCaption = new QLabel(QStringLiteral("競合コピー(&P): ") + copyName, this);
    copyCaption->setBuddy(CopyText);
    Summary = new QLabel(this);
    Summary->setText(onlyFile.isEmpty() && onlyCopy.isEmpty()
                         ? QStringLiteral("違う行はありません。")
                         : QStringLiteral("ファイルだけの行: %1　競合コピーだけの行: %2")
                               .arg(onlyFile.size())
                               .arg(onlyCopy.size()));

    TakeFile = new QPushButton(QStringLiteral("ファイルを採る(&F)"), this);
    TakeCopy = new QPushButton(QStringLiteral("コピーを採る(&C)"), this);
    TakeBoth = new QPushButton(QStringLiteral("両方を採る(&B)"), this);
    TakeBoth->setToolTip(QStringLiteral("ファイルの内容のあとに、競合コピーだけにある行を順に加えます"));
    Cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    TakeFile->setAutoDefault(false);
    TakeCopy->setAutoDefault(false);
    TakeBoth->setAutoDefault(false);
    Cancel->setAutoDefault(false);
    connect(TakeFile, &QPushButton::clicked, this, [this] { take(MergeText::Choice::File); });
    connect(TakeCopy, &QPushButton::clicked, this, [this] { take(MergeText::Choice::Copy); });
    connect(TakeBoth, &QPushButton::clicked, this, [this] { take(MergeText::Choice::Both); });
    connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* sides = new QGridLayout;
    sides->addWidget(fileCaption, 0, 0);
    sides->addWidget(copyCaption, 0, 1);
    sides->addWidget(FileText, 1, 0);
    sides->addWidget(CopyText, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Summary, 1);
    buttons->addWidget(TakeFile);
    buttons->addWidget(TakeCopy);
    buttons->addWidget(TakeBoth);
    buttons->addWidget(Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sides, 1);
    layout->addLayout(buttons);
    setTabOrder(FileText, CopyText);
    setTabOrder(CopyText, TakeFile);
    setTabOrder(TakeFile, TakeCopy);
    setTabOrder(TakeCopy, TakeBoth);
    setTabOrder(TakeBoth, Cancel);
    resize(760, 480);
}

QString MergeDialog::mergedText() const
{
    return MergeText::merged(m_fileText, m_copyText, m_choice.value_or(MergeText::Choice::File));
}

void MergeDialog::take(MergeText::Choice choice)
{
    m_choice = choice;
    accept();
}
