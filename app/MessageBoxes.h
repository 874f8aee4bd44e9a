#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace ortolan {

// The program's message boxes: errors under "Ortolan Error" with the critical
// icon, information under "Ortolan Info". Every window shows its messages
// through these functions, so tests can record them instead of showing a box.
enum class MessageKind { Error, Info, Plain };

void showError(const QString &text, QWidget *parent = nullptr);
void showInfo(const QString &text, QWidget *parent = nullptr);
// Box with no icon, captioned "Ortolan Info".
void showPlain(const QString &text, QWidget *parent = nullptr);

// Replaces the boxes by a handler (tests); an empty handler restores them.
using MessageHandler = std::function<void(MessageKind kind, const QString &caption, const QString &text)>;
void setMessageHandler(MessageHandler handler);

}  // namespace ortolan
