#pragma once

#include "print/PrintChoice.h"
#include "print/PrintSource.h"

#include <functional>

class QPrinter;

// The pages of a choice painted on a printer, a PDF file or a preview.
namespace PrintPages {

// Asked now and then during a long run with the work done so far and the whole; false cancels.
using Progress = std::function<bool(qsizetype done, qsizetype total)>;

enum class Outcome { Done, Cancelled, Failed };

// The paper and orientation of the choice, with margins of 15 mm.
void setUpPage(QPrinter& printer, const PrintChoice& choice);

// The period's title: 日誌・予定 2001年02月01日～2001年02月28日
QString periodTitle(QDate from, QDate to);
QString contentName(PrintChoice::Content content);

// Paints the choice's content with the printer's page set up as it is.
Outcome paint(QPrinter& printer, const PrintSource& source, const PrintChoice& choice,
              const Progress& goOn = {});

} // namespace PrintPages
