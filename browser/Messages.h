#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace ortolan::browser {

// The message boxes of the species window and the windows it opens. Every box
// goes through show(), so that a test (or a headless run) can replace the
// modal box by a handler of its own.
class Messages {
public:
    enum class Icon { None, Information, Critical };

    struct Message {
        Icon icon = Icon::None;
        QString caption;
        QString text;
    };
    using Handler = std::function<void(QWidget *parent, const Message &message)>;

    // Shows a box (or hands it to the installed handler).
    static void show(QWidget *parent, Icon icon, const QString &caption, const QString &text);
    // Critical icon, caption "Ortolan Error".
    static void error(QWidget *parent, const QString &text);
    // Information icon, caption "Ortolan Info".
    static void info(QWidget *parent, const QString &text);
    // No icon, caption "Ortolan Info".
    static void plain(QWidget *parent, const QString &text);

    // Replaces the handler; an empty handler restores the modal boxes.
    // Returns the handler that was installed before.
    static Handler setHandler(Handler handler);
};

}  // namespace ortolan::browser
