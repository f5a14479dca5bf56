// The main of every test program: an offscreen application object on this thread, and
// death tests that start a fresh process, which is safe beside Qt's threads.

#include "tests/support/SessionProcesses.h"

#include <QApplication>
#include <QDir>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Started from a desktop, the tests see what they see in CI: none of its displays, buses or
// settings (toolkit, theme, scale, language), the C.UTF-8 locale and a runtime folder of
// their own. ctest sets the platform and, for the layout tests, the fonts.
void leaveTheUsersDesktop() {
    static const QStringList fromTheTest{QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("FONTCONFIG_FILE")};
    static const QStringList sessions{QStringLiteral("DISPLAY"), QStringLiteral("WAYLAND_DISPLAY"),
                                      QStringLiteral("XAUTHORITY"), QStringLiteral("SWAYSOCK"),
                                      QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("XDG_RUNTIME_DIR")};
    for (const QString& name : QProcessEnvironment::systemEnvironment().keys())
        if (sessions.contains(name) || (TestSupport::setByUsersDesktop(name) && !fromTheTest.contains(name)))
            unsetenv(name.toLocal8Bit().constData());
    setenv("LANG", "C.UTF-8", 1);
    setenv("LC_ALL", "C.UTF-8", 1);
}

}  // namespace

int main(int argc, char** argv) {
    leaveTheUsersDesktop();
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Qt wants a private runtime folder; a fresh one keeps tests apart from the user's.
    QTemporaryDir runtime;
    if (runtime.isValid()) {
        QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ExeOwner);
        setenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit().constData(), 1);
    }
    testing::InitGoogleMock(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
