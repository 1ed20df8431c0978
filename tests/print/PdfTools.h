#pragma once

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The poppler tools read back what was written, as another program would.
namespace PdfTools {

inline bool available()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty();
}

inline QString run(const QString& tool, const QStringList& args)
{
    QProcess process;
    process.start(tool, args);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        ADD_FAILURE() << tool.toStdString() << " failed: " << process.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline QString text(const QString& pdf, int page = 0)
{
    QStringList args{QStringLiteral("-enc"), QStringLiteral("UTF-8")};
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
             << QString::number(page);
    return run(QStringLiteral("pdftotext"), args << pdf << QStringLiteral("-"));
}

inline bool has(const QString& text, const QString& expected)
{
    return text.contains(expected);
}

// Pages as pdftotext separates them, by form feeds.
inline int pageCount(const QString& pdf)
{
    return int(text(pdf).count(u'\f'));
}

inline QString fonts(const QString& pdf)
{
    return run(QStringLiteral("pdffonts"), {pdf});
}

inline QImage render(const QString& pdf, int page, int dpi)
{
    QTemporaryDir dir;
    const QString prefix = dir.filePath(QStringLiteral("page"));
    run(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                                     QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                     QString::number(page), QStringLiteral("-singlefile"), pdf, prefix});
    return QImage(prefix + QStringLiteral(".png"));
}

} // namespace PdfTools

#define REQUIRE_PDF_TOOLS()                                                                                  \
    do {                                                                                                     \
        if (!PdfTools::available()) {                                                                        \
            if (qEnvironmentVariableIsSet("CI"))                                                             \
                FAIL() << "pdftotext and pdftoppm are missing (scripts/install-deps.sh test)";               \
            GTEST_SKIP() << "pdftotext and pdftoppm are missing (scripts/install-deps.sh test)";             \
        }                                                                                                    \
    } while (false)
