#include "ZantrelUI/desktop/PermissionProbe.h"

#include "ZantrelKit/FullDiskAccess.h"
#include "ZantrelUI/context/Links.h"
#include "platform/async/MainThread.h"
#include "platform/screen/ScreenService.h"

namespace ZantrelUI::PermissionProbe {
namespace {

using ZantrelKit::Permission;

bool screenReadable() {
    return Platform::screenService().readable();
}

}  // namespace

bool isGranted(const Permission& permission) {
    if (permission.id == Permission::accessibility().id)
        return true;  // nothing on Linux gates the app's own keys and windows
    if (permission.id == Permission::screenRecording().id)
        return screenReadable();
    if (permission.id == Permission::fullDiskAccess().id)
        return ZantrelKit::FullDiskAccess::granted(ZantrelKit::FullDiskAccess::open);
    return false;
}

bool isGrantedOnMain(const Permission& permission) {
    Platform::assertMain();
    return isGranted(permission);
}

QUrl settingsURL(const Permission& permission) {
    if (permission.id == Permission::accessibility().id)
        return Links::accessibilityPane();
    if (permission.id == Permission::screenRecording().id)
        return Links::screenRecordingPane();
    if (permission.id == Permission::fullDiskAccess().id)
        return Links::fullDiskAccessPane();
    return Links::privacyPane();
}

}  // namespace ZantrelUI::PermissionProbe
