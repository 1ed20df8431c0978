#include "print/model/TextExport.h"

namespace TextExport {

QString planCaption()
{
    return QStringLiteral("【予定】");
}

QString diaryCaption()
{
    return QStringLiteral("【日誌】");
}

QString annivCaption()
{
    return QStringLiteral("【記念日】");
}

namespace {

void appendSection(QString& out, const QString& caption, const QString& text)
{
    if (text.isEmpty())
        return;
    out += caption;
    out += u'\n';
    out += text;
    out += u'\n';
}

} // namespace

QByteArray period(const QList<PeriodDays::Day>& days)
{
    QString out;
    bool first = true;
    for (const PeriodDays::Day& day : days) {
        if (!first)
            out += u'\n';
        first = false;
        out += QStringLiteral("■ ") + PeriodDays::heading(day.date) + u'\n';
        appendSection(out, planCaption(), day.plan);
        appendSection(out, diaryCaption(), day.diary);
        appendSection(out, annivCaption(), day.anniv);
    }
    return out.toUtf8();
}

QByteArray page(const QString& caption, const QString& text)
{
    QString out = QStringLiteral("■ ") + caption + u'\n';
    const QString body = PeriodDays::printedText(text);
    if (!body.isEmpty())
        out += body + u'\n';
    return out.toUtf8();
}

} // namespace TextExport
