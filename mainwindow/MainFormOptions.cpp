// The option commands: memo font, day and markup colours, first weekday, column captions,
// markup symbols, and the settings dialog for the editor and the data folder.
#include "mainwindow/schedule.h"

#include "controls/DialogRunner.h"
#include "controls/jvStringGrid.h"
#include "mainwindow/EditorSetup.h"
#include "mainwindow/FontColorDialog.h"
#include "mainwindow/FontConvert.h"
#include "mainwindow/MarkupStrSetup.h"
#include "mainwindow/MenuAction.h"
#include "mainwindow/OptionDialogs.h"
#include "mainwindow/SchItemSetup.h"
#include "mainwindow/WeekSetup.h"
#include "schedule/MainSettings.h"
#include "platform/Failure.h"
#include "settings/RegMng.h"

#include <QAction>
#include <QColorDialog>
#include <QMenu>

namespace {

ColorRef toColorRef(const QColor& color)
{
    return ColorRef(color.red()) | ColorRef(color.green()) << 8 | ColorRef(color.blue()) << 16;
}

} // namespace

void TMainForm::buildOptionMenus()
{
    EditorSet1 = makeAction(QStringLiteral("EditorSet1"), QStringLiteral("設定(&S)..."),
                            QStringLiteral("各種設定を行います。"), this);
    connect(EditorSet1, &QAction::triggered, this, &TMainForm::EditorSet1Click);
    File1->insertAction(Exit1, EditorSet1);
    File1->insertSeparator(Exit1);

    SchItemSet1 = makeAction(QStringLiteral("SchItemSet1"), QStringLiteral("項目の設定(&I)"),
                             QStringLiteral("予定一覧の項目を設定します。"), this);
    connect(SchItemSet1, &QAction::triggered, this, [this] { runCommand(&TMainForm::SchItemSet1Click); });
    Sch1->addAction(SchItemSet1);

    // After Today1, ViewMonthsForm and their separators.
    Font1 = makeAction(QStringLiteral("Font1"), QStringLiteral("フォント(&F)..."),
                       QStringLiteral("表示フォントの設定をします。"), this);
    connect(Font1, &QAction::triggered, this, &TMainForm::Font1Click);
    Show1->addAction(Font1);
    Show1->addSeparator();
    StartWeek1 = makeAction(QStringLiteral("StartWeek1"), QStringLiteral("表示開始曜日設定(&W)..."),
                            QStringLiteral("カレンダ表示での開始曜日を設定します。"), this);
    connect(StartWeek1, &QAction::triggered, this, &TMainForm::StartWeek1Click);
    ColSat1 = makeAction(QStringLiteral("ColSat1"), QStringLiteral("土曜日の色(&D)..."),
                         QStringLiteral("土曜日の色を設定します。"), this);
    connect(ColSat1, &QAction::triggered, this, &TMainForm::ColSat1Click);
    ColSun1 = makeAction(QStringLiteral("ColSun1"), QStringLiteral("日曜日の色(&N)..."),
                         QStringLiteral("日曜日の色を設定します。"), this);
    connect(ColSun1, &QAction::triggered, this, &TMainForm::ColSun1Click);
    Show1->addActions({StartWeek1, ColSat1, ColSun1});

    // The two sub-menus of the markup entries; entry k of either belongs to markup entry k.
    const auto subMenu = [this](const QString& name, const QString& caption, const QString& hint,
                                const char* entryName, std::array<QAction*, kMarkupCount>& entries,
                                void (TMainForm::*handler)(QObject*)) {
        QMenu* menu = Show1->addMenu(caption);
        menu->setObjectName(name + QStringLiteral("Menu"));
        QAction* parentEntry = menu->menuAction();
        parentEntry->setObjectName(name);
        parentEntry->setStatusTip(hint);
        parentEntry->setToolTip(hint);
        // Opening the sub-menu reaches the handler with the parent entry, which changes nothing.
        connect(menu, &QMenu::aboutToShow, this,
                [this, handler, parentEntry] { (this->*handler)(parentEntry); });
        for (int k = 0; k < kMarkupCount; ++k) {
            QAction* entry = new QAction(menu);
            entry->setObjectName(QLatin1String(entryName) + QString::number(k + 1));
            connect(entry, &QAction::triggered, this, [this, handler, entry] { (this->*handler)(entry); });
            menu->addAction(entry);
            entries[k] = entry;
        }
        return parentEntry;
    };
    MarkupBGColor1 = subMenu(QStringLiteral("MarkupBGColor1"), QStringLiteral("色分け記号の色設定(&C)"),
                             QStringLiteral("色分け表示する各記号に対応する背景色を設定します。"), "MBGC",
                             MBGC, &TMainForm::MarkupBGColor1Click);
    MarkupStr1 =
        subMenu(QStringLiteral("MarkupStr1"), QStringLiteral("色分け記号の設定(&S)"),
                QStringLiteral("色分け表示する各記号を設定します。"), "MS", MS, &TMainForm::MarkupStr1Click);
    for (int k = 0; k < kMarkupCount; ++k)
        updateMarkupCaptions(k);
}

void TMainForm::updateMarkupCaptions(int index)
{
    const QString caption = Markup::caption(index, MarkupEntries[index].symbol);
    MS[index]->setText(caption);
    MBGC[index]->setText(caption);
}

OptionDialogs& TMainForm::optionDialogs()
{
    if (!m_optionDialogs) {
        m_ownDialogs = std::make_unique<OptionDialogs>(dialogRunner(), this);
        m_optionDialogs = m_ownDialogs.get();
    }
    return *m_optionDialogs;
}

DialogRunner& TMainForm::dialogRunner() const
{
    return m_env.dialogs ? *m_env.dialogs : DialogRunner::modal();
}

void TMainForm::Font1Click()
{
    if (!FontDialog)
        FontDialog = new TFontColorDialog(this);
    // The 日誌 editor shows the memo font as it is now.
    FontDialog->setFont(MemoFont);
    if (!dialogRunner().run(*FontDialog))
        return;
    MemoFont = FontDialog->font();
    applyMemoFont();
}

bool TMainForm::chooseColor(ColorRef& color)
{
    if (!ColorDialog1) {
        ColorDialog1 = new QColorDialog(this);
        ColorDialog1->setObjectName(QStringLiteral("ColorDialog1"));
    }
    const QColor start = FontConvert::toQColor(color);
    ColorDialog1->setCurrentColor(start.isValid() ? start : QColor(Qt::white));
    if (!dialogRunner().run(*ColorDialog1))
        return false;
    color = toColorRef(ColorDialog1->currentColor());
    return true;
}

void TMainForm::ColSat1Click()
{
    if (chooseColor(SatColor))
        jvStringGrid1->Invalidate();
}

void TMainForm::ColSun1Click()
{
    if (chooseColor(SunColor))
        jvStringGrid1->Invalidate();
}

void TMainForm::MarkupBGColor1Click(QObject* sender)
{
    const auto at = std::find(MBGC.begin(), MBGC.end(), sender);
    if (at == MBGC.end())
        return;
    if (chooseColor(MarkupEntries[at - MBGC.begin()].color))
        jvStringGrid1->Invalidate();
}

void TMainForm::MarkupStr1Click(QObject* sender)
{
    const auto at = std::find(MS.begin(), MS.end(), sender);
    if (at == MS.end())
        return;
    const int k = int(at - MS.begin());
    TMarkupStrDlg& dialog = optionDialogs().MarkupStrDlg();
    dialog.fill(MarkupEntries[k].symbol, FontConvert::toQColor(MarkupEntries[k].color));
    if (!dialogRunner().run(dialog))
        return;
    MarkupEntries[k].symbol = dialog.symbol();
    updateMarkupCaptions(k);
    jvStringGrid1->Invalidate();
}

void TMainForm::StartWeek1Click()
{
    TWeekSetupDlg& dialog = optionDialogs().WeekSetupDlg();
    dialog.fill(StartWeek);
    if (!dialogRunner().run(dialog))
        return;
    StartWeek = dialog.startWeek();
    ApplyFirstDayOfWeek();
}

void TMainForm::SchItemSet1Click()
{
    RegManager1->SetIniFileName(IniPath);
    // The settings hold the list even when the dialog is cancelled.
    RegManager1->GetFiler(SettingsKeys::kColumnsItem).WriteStrings(Memo5);
    QStringList stored;
    RegManager1->GetFiler(SettingsKeys::kColumnsItem).ReadStrings(stored);
    TSchItemDlg& dialog = optionDialogs().SchItemDlg();
    dialog.fill(stored);
    if (!dialogRunner().run(dialog))
        return;
    const QStringList lines = dialog.captions();
    try {
        RegManager1->GetFiler(SettingsKeys::kColumnsItem).WriteStrings(lines);
        QStringList readBack;
        RegManager1->GetFiler(SettingsKeys::kColumnsItem).ReadStrings(readBack);
        Memo5 = readBack;
    } catch (const EQuavError&) {
        // Settings that cannot be written must not cost the user the captions just typed.
        Memo5 = lines;
        SetColumnCaptions();
        throw;
    }
    SetColumnCaptions();
    jvStringGrid1->Invalidate();
}

void TMainForm::EditorSet1Click()
{
    TEditorSetupDlg& dialog = optionDialogs().EditorSetupDlg();
    dialog.fill(editorPath(), EditorPath, DataFolder);
    if (!dialogRunner().run(dialog))
        return;
    // Taken as typed: a wrong path shows up where it is used.
    EditorPath = dialog.editorPath();
    DataFolder = dialog.dataFolder();
}
