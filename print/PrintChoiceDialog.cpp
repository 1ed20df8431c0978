#include "print/PrintChoiceDialog.h"

#include "print/PrintJob.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QVBoxLayout>

namespace {

QRadioButton* radio(const QString& name, const QString& text, QWidget* parent)
{
    auto* button = new QRadioButton(text, parent);
    button->setObjectName(name);
    return button;
}

QDateEdit* dateEdit(const QString& name, QDate date, QWidget* parent)
{
    auto* edit = new QDateEdit(date, parent);
    edit->setObjectName(name);
    edit->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    edit->setCalendarPopup(true);
    return edit;
}

} // namespace

PrintChoiceDialog::PrintChoiceDialog(Mode mode, QDate shown, QWidget* parent)
    : QDialog(parent), m_mode(mode), m_shown(shown.isValid() ? shown : QDate::currentDate())
{
    setObjectName(QStringLiteral("PrintChoiceDialog"));
    setWindowTitle(mode == Mode::Print ? QStringLiteral("印刷") : QStringLiteral("印刷プレビュー"));

    auto* content = new QGroupBox(QStringLiteral("内容"), this);
    MonthRadio = radio(QStringLiteral("MonthRadio"), QStringLiteral("月間予定表(&M)"), content);
    PeriodRadio = radio(QStringLiteral("PeriodRadio"), QStringLiteral("日誌・予定(&D)"), content);
    ToDoRadio = radio(QStringLiteral("ToDoRadio"), QStringLiteral("ToDo(&T)"), content);
    MemoRadio = radio(QStringLiteral("MemoRadio"), QStringLiteral("メモ(&O)"), content);
    MonthRadio->setChecked(true);
    auto* group = new QButtonGroup(this);
    auto* contentLayout = new QVBoxLayout(content);
    for (QRadioButton* button : {MonthRadio, PeriodRadio, ToDoRadio, MemoRadio}) {
        group->addButton(button);
        contentLayout->addWidget(button);
    }

    const QDate first(m_shown.year(), m_shown.month(), 1);
    FromDate = dateEdit(QStringLiteral("FromDate"), first, this);
    ToDate = dateEdit(QStringLiteral("ToDate"), first.addMonths(1).addDays(-1), this);
    auto* period = new QHBoxLayout;
    period->addWidget(FromDate);
    period->addWidget(new QLabel(QStringLiteral("～"), this));
    auto* toLabel = new QLabel(QStringLiteral("終了日(&E)"), this);
    toLabel->setBuddy(ToDate);
    period->addWidget(toLabel);
    period->addWidget(ToDate);

    PaperBox = new QComboBox(this);
    PaperBox->setObjectName(QStringLiteral("PaperBox"));
    PaperBox->addItem(QStringLiteral("A4"), int(QPageSize::A4));
    PaperBox->addItem(QStringLiteral("レター"), int(QPageSize::Letter));
    OrientationBox = new QComboBox(this);
    OrientationBox->setObjectName(QStringLiteral("OrientationBox"));
    OrientationBox->addItem(QStringLiteral("縦"), int(QPageLayout::Portrait));
    OrientationBox->addItem(QStringLiteral("横"), int(QPageLayout::Landscape));

    OutputBox = new QComboBox(this);
    OutputBox->setObjectName(QStringLiteral("OutputBox"));
    OutputBox->addItem(QStringLiteral("プリンタ"), int(PrintChoice::Output::Printer));
    OutputBox->addItem(QStringLiteral("PDFファイル"), int(PrintChoice::Output::Pdf));
    OutputBox->addItem(QStringLiteral("テキストファイル"), int(PrintChoice::Output::Text));
    FileEdit = new QLineEdit(this);
    FileEdit->setObjectName(QStringLiteral("FileEdit"));
    FileEdit->setMinimumWidth(260);
    BrowseButton = new QPushButton(QStringLiteral("参照(&W)..."), this);
    BrowseButton->setObjectName(QStringLiteral("BrowseButton"));
    auto* file = new QHBoxLayout;
    file->addWidget(FileEdit, 1);
    file->addWidget(BrowseButton);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("開始日(&B)"), period);
    form->addRow(QStringLiteral("用紙(&A)"), PaperBox);
    form->addRow(QStringLiteral("向き(&I)"), OrientationBox);
    form->addRow(QStringLiteral("出力先(&U)"), OutputBox);
    form->addRow(QStringLiteral("ファイル名(&N)"), file);
    if (mode == Mode::Preview) {
        // A preview goes to the screen only.
        form->setRowVisible(OutputBox, false);
        form->setRowVisible(file, false);
    }
    // Rows that hold a layout get no buddy of their own.
    if (auto* label = qobject_cast<QLabel*>(form->labelForField(period)))
        label->setBuddy(FromDate);
    if (auto* label = qobject_cast<QLabel*>(form->labelForField(file)))
        label->setBuddy(FileEdit);

    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    Buttons->setObjectName(QStringLiteral("Buttons"));
    Buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKBtn"));
    Buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(Buttons, &QDialogButtonBox::accepted, this, &PrintChoiceDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &PrintChoiceDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(content);
    layout->addLayout(form);
    layout->addWidget(Buttons);

    for (QRadioButton* button : {MonthRadio, PeriodRadio, ToDoRadio, MemoRadio})
        connect(button, &QRadioButton::toggled, this, &PrintChoiceDialog::update);
    connect(FromDate, &QDateEdit::dateChanged, this, &PrintChoiceDialog::update);
    connect(ToDate, &QDateEdit::dateChanged, this, &PrintChoiceDialog::update);
    connect(OutputBox, &QComboBox::currentIndexChanged, this, &PrintChoiceDialog::update);
    connect(BrowseButton, &QPushButton::clicked, this, &PrintChoiceDialog::browse);
    update();
    MonthRadio->setFocus();
}

PrintChoice::Output PrintChoiceDialog::output() const
{
    if (m_mode == Mode::Preview)
        return PrintChoice::Output::Preview;
    return PrintChoice::Output(OutputBox->currentData().toInt());
}

PrintChoice PrintChoiceDialog::choice() const
{
    PrintChoice result;
    if (PeriodRadio->isChecked())
        result.content = PrintChoice::Content::Period;
    else if (ToDoRadio->isChecked())
        result.content = PrintChoice::Content::ToDo;
    else if (MemoRadio->isChecked())
        result.content = PrintChoice::Content::Memo;
    result.output = output();
    result.from = FromDate->date();
    result.to = ToDate->date();
    result.paper = QPageSize::PageSizeId(PaperBox->currentData().toInt());
    result.orientation = QPageLayout::Orientation(OrientationBox->currentData().toInt());
    result.file = FileEdit->text().trimmed();
    if (result.output == PrintChoice::Output::Pdf)
        result.file = PrintJob::withSuffix(result.file, QStringLiteral(".pdf"));
    else if (result.output == PrintChoice::Output::Text)
        result.file = PrintJob::withSuffix(result.file, QStringLiteral(".txt"));
    else
        result.file.clear();
    return result;
}

void PrintChoiceDialog::update()
{
    const bool period = PeriodRadio->isChecked();
    FromDate->setEnabled(period);
    ToDate->setEnabled(period);
    // The grid is a picture of the month: text export is for the pages.
    const int textIndex = OutputBox->findData(int(PrintChoice::Output::Text));
    if (MonthRadio->isChecked() && OutputBox->currentIndex() == textIndex)
        OutputBox->setCurrentIndex(OutputBox->findData(int(PrintChoice::Output::Pdf)));
    if (auto* model = qobject_cast<QStandardItemModel*>(OutputBox->model())) {
        if (QStandardItem* item = model->item(textIndex))
            item->setEnabled(!MonthRadio->isChecked());
    }
    const PrintChoice::Output out = output();
    const bool toFile = out == PrintChoice::Output::Pdf || out == PrintChoice::Output::Text;
    FileEdit->setEnabled(toFile);
    BrowseButton->setEnabled(toFile);
    const bool paper = out != PrintChoice::Output::Text;
    PaperBox->setEnabled(paper);
    OrientationBox->setEnabled(paper);
    Buttons->button(QDialogButtonBox::Ok)->setEnabled(!period || FromDate->date() <= ToDate->date());
}

QString PrintChoiceDialog::suggestedName() const
{
    const PrintChoice current = choice();
    QString name;
    switch (current.content) {
    case PrintChoice::Content::Month:
        name = QStringLiteral("予定表") + m_shown.toString(QStringLiteral("yyyyMM"));
        break;
    case PrintChoice::Content::Period:
        name = QStringLiteral("日誌") + current.from.toString(QStringLiteral("yyyyMMdd")) + u'-' +
               current.to.toString(QStringLiteral("yyyyMMdd"));
        break;
    case PrintChoice::Content::ToDo:
        name = QStringLiteral("ToDo");
        break;
    case PrintChoice::Content::Memo:
        name = QStringLiteral("メモ");
        break;
    }
    return QDir::home().filePath(
        name + (output() == PrintChoice::Output::Text ? QStringLiteral(".txt") : QStringLiteral(".pdf")));
}

void PrintChoiceDialog::browse()
{
    const PrintChoice::Output out = output();
    const QString start = FileEdit->text().trimmed().isEmpty() ? suggestedName() : FileEdit->text().trimmed();
    QString chosen;
    if (chooseFile) {
        chosen = chooseFile(out, start);
    } else {
        const QString filter = out == PrintChoice::Output::Text ? QStringLiteral("テキストファイル (*.txt)")
                                                                : QStringLiteral("PDFファイル (*.pdf)");
        chosen = QFileDialog::getSaveFileName(this, QStringLiteral("書き出すファイル"), start, filter);
    }
    if (!chosen.isEmpty())
        FileEdit->setText(QDir::toNativeSeparators(chosen));
}

void PrintChoiceDialog::accept()
{
    const PrintChoice::Output out = output();
    if ((out == PrintChoice::Output::Pdf || out == PrintChoice::Output::Text) &&
        FileEdit->text().trimmed().isEmpty()) {
        browse();
        if (FileEdit->text().trimmed().isEmpty())
            return;
    }
    if (!Buttons->button(QDialogButtonBox::Ok)->isEnabled())
        return;
    QDialog::accept();
}
