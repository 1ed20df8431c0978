#pragma once

#include <QString>

// Every message box of the program goes through this seam so tests can answer and count them.
class MessageService {
public:
    enum class Icon { None, Information, Warning, Error, Question };
    enum class Buttons { Ok, OkCancel };
    enum class Answer { Ok, Cancel };

    virtual ~MessageService() = default;
    // Shows a modal box and waits; an empty caption means the application title.
    virtual Answer show(const QString& text, Icon icon, Buttons buttons, const QString& caption = {}) = 0;

    void error(const QString& text) { show(text, Icon::Error, Buttons::Ok); }
};
