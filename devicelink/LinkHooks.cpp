#include "devicelink/LinkHooks.h"

#include "core/CommLog.h"
#include "devicelink/LinkInternal.h"
#include "devicelink/USB_KOM.h"

#include <QCoreApplication>

namespace pxr3 {

const char *const kBusyText = QT_TRANSLATE_NOOP("LinkHooks", "Spojení je zaneprázdněno, příkaz odmítnut.");

namespace {
LinkHooks &hooks()
{
    static LinkHooks installed;
    return installed;
}
int busyDepth = 0;
} // namespace

void SetLinkHooks(LinkHooks next) { hooks() = std::move(next); }
const LinkHooks &linkHooks() { return hooks(); }

bool LinkBusy() { return busyDepth > 0; }

LinkOperation::LinkOperation() { ++busyDepth; }
LinkOperation::~LinkOperation() { --busyDepth; }

bool RefuseWhenBusy()
{
    if (!LinkBusy())
        return false;
    link().CommandOk = 0;
    commLog().setStatus(QString::fromUtf8(kBusyText), QCoreApplication::translate("LinkHooks", kBusyText));
    return true;
}

} // namespace pxr3
