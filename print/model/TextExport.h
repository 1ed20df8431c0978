#pragma once

#include "print/model/PeriodDays.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Plain-text exports: UTF-8 without byte order mark and LF line breaks, as other programs of
// the platform read them.
namespace TextExport {

// The caption each page's text is printed under.
QString planCaption();
QString diaryCaption();
QString annivCaption();

// One heading per day, then each of its texts under its caption; a blank line between days.
QByteArray period(const QList<PeriodDays::Day>& days);
// A ToDo or メモ page under its name.
QByteArray page(const QString& caption, const QString& text);

} // namespace TextExport
