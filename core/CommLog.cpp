#include "core/CommLog.h"

#include "core/DateTimeText.h"

namespace pxr3 {

void CommLog::append(const QString &entry) { grow(QStringLiteral("\r\n") + entry); }

void CommLog::event(const QString &text) { append(NowText() + QStringLiteral("  ") + text); }

void CommLog::extend(const QString &text) { grow(text); }

void CommLog::grow(const QString &more)
{
    // In place: the log is written for every frame and should not be copied each time.
    text_ += more;
    if (text_.size() > kMaxLength)
        empty(text_);
    emit textChanged(text_);
}

void CommLog::setText(const QString &text)
{
    if (!text.isEmpty())
        emit replacing(text_, text);
    if (text.isEmpty() || text.size() > kMaxLength)
        empty(text.isEmpty() ? text_ : text);
    else
        text_ = text;
    emit textChanged(text_);
}

void CommLog::empty(QString gone)
{
    // Emptied before anyone hears of it, so that an entry they add lands in the new log.
    text_.clear();
    emit emptied(gone);
}

void CommLog::clear() { setText(QString()); }

void CommLog::setStatus(const QString &status)
{
    status_ = status;
    emit statusChanged(status_);
}

CommLog &commLog()
{
    static CommLog instance;
    return instance;
}

} // namespace pxr3
