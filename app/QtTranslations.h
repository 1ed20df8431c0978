#pragma once

class QCoreApplication;

// Qt's own texts (standard dialogs, the context menus of text fields and scroll bars, the
// calendar's spin box) in Japanese, as the rest of the interface.
namespace QtTranslations {

// Installs Qt's Japanese catalogue from Qt's translations folder. False when it is not there
// (the package that ships it is missing): Qt's texts then stay English, nothing else changes.
bool install(QCoreApplication& app);

} // namespace QtTranslations
