#pragma once

// What the desktop says about appearance and motion: its colour scheme, whether it
// animates, whether it wants plain (high-contrast) surfaces. Read once from the
// freedesktop settings portal and followed while the app runs; tests set the values.

#include <QDBusMessage>
#include <QDBusVariant>
#include <QObject>

#include <optional>

namespace ZantrelUI {

class DesktopSettings final : public QObject {
    Q_OBJECT
public:
    static DesktopSettings& shared();

    // The desktop's colour-scheme preference: true dark, false light, none = no preference
    // (the application palette decides).
    std::optional<bool> prefersDark() const { return prefersDark_; }
    // The desktop's "enable animations" setting (on when nothing says otherwise).
    bool animationsEnabled() const { return animationsEnabled_; }
    // Reduced motion as the system sees it.
    bool reduceMotion() const { return !animationsEnabled_; }
    // High contrast stands in for "reduce transparency": surfaces are painted opaque.
    bool reduceTransparency() const { return reduceTransparency_; }

    void setPrefersDark(std::optional<bool> dark);
    void setAnimationsEnabled(bool on);
    void setReduceTransparency(bool on);

Q_SIGNALS:
    void changed();

private:
    DesktopSettings();
    void listenToPortal();
    void apply(const QString& group, const QString& key, const QVariant& value);
    void broadcast();

private Q_SLOTS:
    // The whole message: Qt does not connect a D-Bus signal to a slot that takes a
    // QDBusVariant.
    void portalSettingChanged(const QDBusMessage& message);

private:
    std::optional<bool> prefersDark_;
    bool animationsEnabled_ = true;
    bool reduceTransparency_ = false;
};

}  // namespace ZantrelUI
