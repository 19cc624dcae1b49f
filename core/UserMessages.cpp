#include "core/UserMessages.h"

#include <cstdio>

namespace pxr3 {

const char *const kProgramTitle = "PXR3-USB";

namespace {
MessageSink &sink()
{
    static MessageSink installed;
    return installed;
}

bool deliver(const UserMessage &message)
{
    if (sink())
        return sink()(message);
    std::fprintf(stderr, "%s: %s\n", qPrintable(message.title.isEmpty() ? kProgramTitle : message.title),
                 qPrintable(QString(message.text).replace(QLatin1Char('\r'), QLatin1Char(' '))));
    return false; // unattended: a question is answered No, which never discards anything
}
} // namespace

bool ShowMessage(MessageIcon icon, const QString &title, const QString &text)
{
    return deliver({icon, title, text, false});
}

bool AskYesNo(MessageIcon icon, const QString &title, const QString &text)
{
    return deliver({icon, title, text, true});
}

bool AskYesNoDefaultNo(MessageIcon icon, const QString &title, const QString &text)
{
    return deliver({icon, title, text, true, true});
}

MessageSink SetMessageSink(MessageSink next)
{
    MessageSink previous = std::move(sink());
    sink() = std::move(next);
    return previous;
}

} // namespace pxr3
