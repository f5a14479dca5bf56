#include "ZantrelKit/Permission.h"

namespace ZantrelKit {
namespace {

// The desktop's settings, then its privacy page, then the topic.
Permission privacyPermission(const char16_t* id, const char16_t* topic) {
    return Permission{QString::fromUtf16(id),
                      {QStringLiteral("Settings"), QStringLiteral("Privacy"), QString::fromUtf16(topic)}};
}

}  // namespace

const Permission& Permission::screenRecording() {
    static const Permission permission = privacyPermission(u"screenRecording", u"Screen Recording");
    return permission;
}

Permission Permission::accessibility(int osMajorVersion) {
    return privacyPermission(u"accessibility",
                             osMajorVersion <= 26 ? u"Accessibility" : u"Device Control and Data Access");
}

const Permission& Permission::accessibility() {
    static const Permission permission = accessibility(26);
    return permission;
}

const Permission& Permission::fullDiskAccess() {
    static const Permission permission = privacyPermission(u"fullDiskAccess", u"Full Disk Access");
    return permission;
}

const Permission& Permission::microphone() {
    static const Permission permission = privacyPermission(u"microphone", u"Microphone");
    return permission;
}

const Permission& Permission::camera() {
    static const Permission permission = privacyPermission(u"camera", u"Camera");
    return permission;
}

const Permission& Permission::inputMonitoring() {
    static const Permission permission = privacyPermission(u"inputMonitoring", u"Input Monitoring");
    return permission;
}

QString Permission::breadcrumb() const { return pane.join(QStringLiteral(" > ")); }

QList<GrantButton> GrantButtons::buttons(bool granted) {
    if (granted)
        return {GrantButton::quitAndReopen};
    return {GrantButton::quitAndReopen, GrantButton::openSettings};
}

}  // namespace ZantrelKit
