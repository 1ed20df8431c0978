// Feeds outside bytes to the readers of stored component images: as hex lines of the settings
// file and as raw images. Whatever the bytes, the control is either replaced in its place or
// stays as it was with its names; nothing crashes, leaks or grows without bound.
#include "settings/HStreamUtils.h"
#include "settings/widgets/ComponentImage.h"

#include <QApplication>
#include <QBuffer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QVBoxLayout>

#include <cstdio>
#include <cstdlib>
#include <memory>

// Last: its check() macro must not meet the toolkit's headers.
#include "fuzz/FuzzCheck.h"

namespace {

QApplication* app = nullptr;

QWidget* makePanel()
{
    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("Panel1"));
    auto* layout = new QVBoxLayout(panel);
    auto* label = new QLabel(QStringLiteral("予定"));
    label->setObjectName(QStringLiteral("Label1"));
    auto* memo = new QPlainTextEdit;
    memo->setObjectName(QStringLiteral("Memo1"));
    layout->addWidget(label);
    layout->addWidget(memo);
    return panel;
}

QStringList namesOf(QWidget* w)
{
    QStringList names;
    HStreamUtils::ClearNames(w, names);
    int counter = 0;
    HStreamUtils::RestoreNames(w, names, counter);
    return names;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "minimal:freetype");
    // Style sheets and fonts of damaged images warn; the noise would hide the findings.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    app = new QApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const bool raw = data[0] & 1;
    const QByteArray input(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    QByteArray image;
    if (raw) {
        image = input;
    } else {
        const QStringList lines = QString::fromLatin1(input).split(u'\n');
        QBuffer out(&image);
        out.open(QIODevice::WriteOnly);
        HStreamUtils::HexLinesToStream(lines, out);
        qsizetype expected = 0;
        for (const QString& line : lines)
            expected += (line.size() + 1) / 2;
        check(image.size() == expected);
        // The lines of those bytes read back to the same bytes.
        QBuffer in(&image);
        in.open(QIODevice::ReadOnly);
        QStringList again;
        HStreamUtils::StreamToHexLines(in, again);
        QByteArray copy;
        QBuffer back(&copy);
        back.open(QIODevice::WriteOnly);
        HStreamUtils::HexLinesToStream(again, back);
        check(copy == image);
    }

    QWidget host;
    auto* layout = new QVBoxLayout(&host);
    layout->addWidget(new QLabel(QStringLiteral("head")));
    QPointer<QWidget> panel = makePanel();
    layout->addWidget(panel);
    const QStringList names = namesOf(panel);

    QBuffer stream(&image);
    stream.open(QIODevice::ReadOnly);
    QWidget* fresh = HStreamUtils::ReadComponentImage(stream, panel);
    if (fresh) {
        check(panel.isNull());
        check(fresh->parentWidget() == &host);
        check(layout->indexOf(fresh) == 1);
    } else {
        check(!panel.isNull());
        check(namesOf(panel) == names);
        check(layout->indexOf(panel) == 1);
    }
    return 0;
}
