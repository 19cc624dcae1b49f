#pragma once
// Message boxes as the logic asks for them. The window layer installs boxes on screen;
// without it (tests, headless runs) messages go to the installed sink or to stderr.

#include <QString>
#include <functional>

namespace pxr3 {

enum class MessageIcon { Critical, Warning, Information, Question };

struct UserMessage {
    MessageIcon icon = MessageIcon::Information;
    QString title; // empty: the program's title
    QString text;
    bool question = false;  // Yes/No buttons
    bool defaultNo = false; // Enter answers No
};

// Shows the message; for a question returns true when the answer is Yes.
using MessageSink = std::function<bool(const UserMessage &)>;

bool ShowMessage(MessageIcon icon, const QString &title, const QString &text);
bool AskYesNo(MessageIcon icon, const QString &title, const QString &text);
// The same with No as the default answer, where Enter pressed by habit must not discard anything.
bool AskYesNoDefaultNo(MessageIcon icon, const QString &title, const QString &text);

// Replaces the sink; an empty sink restores the default. Returns the previous one.
MessageSink SetMessageSink(MessageSink sink);

extern const char *const kProgramTitle;

} // namespace pxr3
