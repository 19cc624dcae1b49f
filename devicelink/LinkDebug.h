#pragma once
// A hex dump of every frame to and from the analyser, for finding out what a link does.
// Off unless asked for: `--debug-link`, or QT_LOGGING_RULES="pxr3.link.debug=true".

#include <QByteArray>
#include <QLoggingCategory>

namespace pxr3 {

Q_DECLARE_LOGGING_CATEGORY(linkCategory)

void EnableLinkDebug();
// "out", "in" with what the parser made of the bytes ("frame", "damaged", "junk", ...).
void DumpLinkBytes(const char *direction, const char *what, const QByteArray &bytes);

} // namespace pxr3
