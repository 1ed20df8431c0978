#pragma once

#include "settings/Font.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;

// The memo font with everything the stored font holds: face, size, bold, italic, underline,
// strike-out and the text colour (the toolkit's own font dialog has no colour).
class TFontColorDialog final : public QDialog {
    Q_OBJECT

public:
    explicit TFontColorDialog(QWidget* parent = nullptr);

    void setFont(const TFont& font);
    // The chosen font; the character set is the one given to setFont.
    TFont font() const;

    QComboBox* FaceBox = nullptr;
    QComboBox* SizeBox = nullptr;
    QCheckBox* BoldBox = nullptr;
    QCheckBox* ItalicBox = nullptr;
    QCheckBox* UnderlineBox = nullptr;
    QCheckBox* StrikeOutBox = nullptr;
    QComboBox* ColorBox = nullptr;

private:
    void updateSample();
    int colorIndex(TColor color);

    QLabel* m_sample = nullptr;
    TFont m_font;
};
