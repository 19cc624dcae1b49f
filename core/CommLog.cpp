#include "core/CommLog.h"

namespace pxr3 {

void CommLog::append(const QString &entry) { setText(text_ + QStringLiteral("\r\n") + entry); }

void CommLog::extend(const QString &text) { setText(text_ + text); }

void CommLog::setText(const QString &text)
{
    text_ = text.size() > kMaxLength ? QString() : text;
    emit textChanged(text_);
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
