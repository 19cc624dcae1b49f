#include "core/CommLog.h"

#include "core/DateTimeText.h"

namespace pxr3 {

void CommLog::append(const QString &entry)
{
    // The line end and the entry go in one after the other, with no joined copy made; the
    // log's own text as the entry is copied first, as the line end would land inside it.
    if (&entry == &text_)
        grow(u"\r\n", QString(entry));
    else
        grow(u"\r\n", entry);
}

void CommLog::event(const QString &text) { append(NowText() + QStringLiteral("  ") + text); }

void CommLog::extend(const QString &text) { grow(text); }

void CommLog::grow(QStringView first, QStringView second)
{
    // In place: the log is written for every frame and should not be copied each time.
    text_ += first;
    text_ += second;
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

void CommLog::setStatus(const QString &status, const QString &shown)
{
    status_ = status;
    shownStatus_ = shown.isEmpty() ? status : shown;
    emit statusChanged(shownStatus_);
}

CommLog &commLog()
{
    static CommLog instance;
    return instance;
}

} // namespace pxr3
