#include "devicelink/LinkDebug.h"

namespace pxr3 {

Q_LOGGING_CATEGORY(linkCategory, "pxr3.link", QtInfoMsg)

void EnableLinkDebug() { QLoggingCategory::setFilterRules(QStringLiteral("pxr3.link.debug=true")); }

void DumpLinkBytes(const char *direction, const char *what, const QByteArray &bytes)
{
    // The hex text costs more than the frame: made only when someone reads it.
    if (linkCategory().isDebugEnabled())
        qCDebug(linkCategory).noquote() << direction << what << bytes.size() << "B:" << bytes.toHex(' ');
}

} // namespace pxr3
