#include "mainwindow/FontColorDialog.h"

#include "mainwindow/FontConvert.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The sixteen colours a font dialog offers, as the settings store colours (0x00BBGGRR).
struct NamedColor {
    TColor color;
    const char16_t* name;
};
constexpr NamedColor kColors[] = {
    {0x000000, u"黒"}, {0x000080, u"マルーン"}, {0x008000, u"緑"},   {0x008080, u"オリーブ"},
    {0x800000, u"紺"}, {0x800080, u"紫"},       {0x808000, u"青緑"}, {0x808080, u"灰色"},
    {0xC0C0C0, u"銀"}, {0x0000FF, u"赤"},       {0x00FF00, u"黄緑"}, {0x00FFFF, u"黄"},
    {0xFF0000, u"青"}, {0xFF00FF, u"赤紫"},     {0xFFFF00, u"水色"}, {0xFFFFFF, u"白"}};

QColor shown(TColor color)
{
    const QColor rgb = FontConvert::toQColor(quint32(color));
    return rgb.isValid() ? rgb : QPalette().color(QPalette::Text);
}

QIcon swatch(TColor color)
{
    QPixmap pixmap(16, 12);
    pixmap.fill(shown(color));
    QPainter(&pixmap).drawRect(0, 0, 15, 11);
    return QIcon(pixmap);
}

} // namespace

TFontColorDialog::TFontColorDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FontDialog"));
    setWindowTitle(QStringLiteral("フォント"));

    FaceBox = new QComboBox;
    FaceBox->setObjectName(QStringLiteral("FaceBox"));
    FaceBox->setEditable(true);
    FaceBox->setInsertPolicy(QComboBox::NoInsert);
    FaceBox->addItems(QFontDatabase::families());
    FaceBox->setMinimumWidth(220);
    SizeBox = new QComboBox;
    SizeBox->setObjectName(QStringLiteral("SizeBox"));
    SizeBox->setEditable(true);
    SizeBox->setInsertPolicy(QComboBox::NoInsert);
    SizeBox->setValidator(new QIntValidator(1, 1638, SizeBox));
    for (int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
        SizeBox->addItem(QString::number(size));

    BoldBox = new QCheckBox(QStringLiteral("太字(&B)"));
    ItalicBox = new QCheckBox(QStringLiteral("斜体(&I)"));
    UnderlineBox = new QCheckBox(QStringLiteral("下線(&U)"));
    StrikeOutBox = new QCheckBox(QStringLiteral("取り消し線(&K)"));
    BoldBox->setObjectName(QStringLiteral("BoldBox"));
    ItalicBox->setObjectName(QStringLiteral("ItalicBox"));
    UnderlineBox->setObjectName(QStringLiteral("UnderlineBox"));
    StrikeOutBox->setObjectName(QStringLiteral("StrikeOutBox"));
    ColorBox = new QComboBox;
    ColorBox->setObjectName(QStringLiteral("ColorBox"));
    for (const NamedColor& entry : kColors)
        ColorBox->addItem(swatch(entry.color), QString::fromUtf16(entry.name), entry.color);

    auto* form = new QFormLayout;
    auto* faceLabel = new QLabel(QStringLiteral("フォント名(&F):"));
    faceLabel->setBuddy(FaceBox);
    form->addRow(faceLabel, FaceBox);
    auto* sizeLabel = new QLabel(QStringLiteral("サイズ(&S):"));
    sizeLabel->setBuddy(SizeBox);
    form->addRow(sizeLabel, SizeBox);
    auto* effects = new QGroupBox(QStringLiteral("文字飾り"));
    auto* effectsLayout = new QVBoxLayout(effects);
    for (QCheckBox* box : {BoldBox, ItalicBox, UnderlineBox, StrikeOutBox})
        effectsLayout->addWidget(box);
    auto* colorLabel = new QLabel(QStringLiteral("色(&C):"));
    colorLabel->setBuddy(ColorBox);
    effectsLayout->addWidget(colorLabel);
    effectsLayout->addWidget(ColorBox);
    m_sample = new QLabel(QStringLiteral("AaBbYyZz あア亜"));
    m_sample->setObjectName(QStringLiteral("Sample"));
    m_sample->setAlignment(Qt::AlignCenter);
    m_sample->setMinimumHeight(48);
    m_sample->setFrameShape(QFrame::StyledPanel);

    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("CancelBtn"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(effects);
    layout->addWidget(m_sample);
    layout->addWidget(buttons);

    connect(FaceBox, &QComboBox::currentTextChanged, this, &TFontColorDialog::updateSample);
    connect(SizeBox, &QComboBox::currentTextChanged, this, &TFontColorDialog::updateSample);
    connect(ColorBox, &QComboBox::currentIndexChanged, this, &TFontColorDialog::updateSample);
    for (QCheckBox* box : {BoldBox, ItalicBox, UnderlineBox, StrikeOutBox})
        connect(box, &QCheckBox::toggled, this, &TFontColorDialog::updateSample);
}

int TFontColorDialog::colorIndex(TColor color)
{
    int index = ColorBox->findData(color);
    if (index < 0) {
        // A colour of its own (or the system's text colour) stays on offer as it is.
        ColorBox->insertItem(0, swatch(color),
                             color < 0 ? QStringLiteral("自動") : QColor(shown(color)).name(QColor::HexRgb),
                             color);
        index = 0;
    }
    return index;
}

void TFontColorDialog::setFont(const TFont& font)
{
    m_font = font;
    FaceBox->setCurrentText(font.Name);
    SizeBox->setCurrentText(QString::number(font.Size > 0 ? font.Size : 9));
    BoldBox->setChecked(font.Style & fsBold);
    ItalicBox->setChecked(font.Style & fsItalic);
    UnderlineBox->setChecked(font.Style & fsUnderline);
    StrikeOutBox->setChecked(font.Style & fsStrikeOut);
    ColorBox->setCurrentIndex(colorIndex(font.Color));
    updateSample();
}

TFont TFontColorDialog::font() const
{
    TFont out = m_font;
    const QString face = FaceBox->currentText().trimmed();
    if (!face.isEmpty())
        out.Name = face;
    bool sized = false;
    const int size = SizeBox->currentText().toInt(&sized);
    if (sized && size > 0)
        out.Size = size;
    out.Style =
        quint8((BoldBox->isChecked() ? fsBold : 0) | (ItalicBox->isChecked() ? fsItalic : 0) |
               (UnderlineBox->isChecked() ? fsUnderline : 0) | (StrikeOutBox->isChecked() ? fsStrikeOut : 0));
    if (ColorBox->currentIndex() >= 0)
        out.Color = TColor(ColorBox->currentData().toInt());
    return out;
}

void TFontColorDialog::updateSample()
{
    const TFont chosen = font();
    m_sample->setFont(FontConvert::toQFont(chosen));
    QPalette palette = m_sample->palette();
    palette.setColor(QPalette::WindowText, shown(chosen.Color));
    m_sample->setPalette(palette);
}
