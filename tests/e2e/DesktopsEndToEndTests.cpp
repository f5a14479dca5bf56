// The app on the desktops most people run, each headless with its own buses and its
// portal pinned to the desktop's own backends: Plasma (KWin, whose KGlobalAccel takes the
// grab shortcuts) and GNOME (no global shortcuts for apps; its first screenshot asks).

#include "tests/support/GnomeSession.h"
#include "tests/support/KdeSession.h"

#include <QColor>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using TestSupport::DesktopSession;

const QString app = QStringLiteral(GLYPHNAB_APP_PATH);
const QString helper = QStringLiteral(GLYPHNAB_TEST_HELPER_PATH);

// Starts the app with its state in `state`, onboarded or on the first run's shortcuts page.
QProcess& startApp(DesktopSession& session, const QTemporaryDir& state, bool onboarded) {
    QSettings defaults(state.filePath(QStringLiteral("defaults")), QSettings::IniFormat);
    if (onboarded)
        defaults.setValue(QStringLiteral("preferences"), QByteArray(R"({"onboarded":true})"));
    else
        defaults.setValue(QStringLiteral("onboarding.step"), 2);
    defaults.sync();
    return session.start(app, {QStringLiteral("--state-dir"), state.path()});
}

bool ownsItsName(const DesktopSession& session) {
    return DesktopSession::waitFor(
        [&] {
            return session.run(QStringLiteral("busctl"),
                               {QStringLiteral("--user"), QStringLiteral("status"), QStringLiteral("org.glyphnab.Glyphnab")},
                               5s)
                       .exitCode == 0;
        },
        30s);
}

// What the app's own reader makes of a screenshot.
QString textOf(const DesktopSession& session, const QImage& shot) {
    const QString file = session.home() + QStringLiteral("/read.png");
    if (!shot.save(file, "PNG"))
        return {};
    return session.run(app, {QStringLiteral("read"), file}, 120s).out.simplified();
}

// The mean lightness of a picture, on a grid.
double lightness(const QImage& picture) {
    double sum = 0;
    int count = 0;
    for (int y = 0; y < picture.height(); y += 16)
        for (int x = 0; x < picture.width(); x += 16, ++count)
            sum += QColor(picture.pixel(x, y)).lightness();
    return count == 0 ? 0 : sum / count;
}

TEST(KdeEndToEnd, TheGrabShortcutsAreKGlobalAccelsActionsAndAPressStartsTheGrab) {
    TestSupport::KdeSession session;
    if (!session.isRunning())
        GTEST_SKIP() << session.error().toStdString();
    QTemporaryDir state;
    session.start(helper, {QStringLiteral("window"), QStringLiteral("#ffffff"), QStringLiteral("Text to grab"),
                           QStringLiteral("Glyphnab reads Plasma"), QStringLiteral("28"), QStringLiteral("800x200")});
    QProcess& glyphnab = startApp(session, state, true);
    ASSERT_TRUE(ownsItsName(session)) << glyphnab.readAllStandardError().toStdString();

    // Listed under the app's desktop file, with the stored keys (Ctrl+Shift+Meta+T).
    const QStringList grab{QStringLiteral("org.kde.kglobalaccel"), QStringLiteral("/kglobalaccel"),
                           QStringLiteral("org.kde.KGlobalAccel"), QStringLiteral("shortcut"), QStringLiteral("as"),
                           QStringLiteral("4"), QStringLiteral("org.glyphnab.Glyphnab"), QStringLiteral("grab"),
                           QString(), QString()};
    ASSERT_TRUE(DesktopSession::waitFor([&] { return session.call(grab).out.trimmed() == u"ai 1 369098836"; }, 30s))
        << session.call(grab).out.toStdString();

    // The desktop's press of the keys, as KWin sends it: the overlay dims the screen.
    const QImage before = session.screenshot(helper);
    ASSERT_FALSE(before.isNull());
    const double shown = lightness(before);
    const auto pressed = session.call({QStringLiteral("org.kde.kglobalaccel"), QStringLiteral("/component/org_glyphnab_Glyphnab"),
                                       QStringLiteral("org.kde.kglobalaccel.Component"), QStringLiteral("invokeShortcut"),
                                       QStringLiteral("s"), QStringLiteral("grab")});
    ASSERT_EQ(pressed.exitCode, 0) << pressed.err.toStdString();
    EXPECT_TRUE(DesktopSession::waitFor(
        [&] {
            const QImage shot = session.screenshot(helper);
            return !shot.isNull() && lightness(shot) < shown * 0.8;
        },
        60s));
}

TEST(GnomeEndToEnd, TheFirstRunGivesTheGrabCommandsAndAPromptAnsweredLateStillOpensTheOverlay) {
    TestSupport::GnomeSession session;
    if (!session.isRunning())
        GTEST_SKIP() << session.error().toStdString();
    QTemporaryDir state;
    QProcess& glyphnab = startApp(session, state, false);
    ASSERT_TRUE(ownsItsName(session)) << glyphnab.readAllStandardError().toStdString();

    // GNOME has no global shortcuts for apps (nor a tray): the page gives the commands to bind.
    QString page;
    EXPECT_TRUE(DesktopSession::waitFor(
        [&] {
            page = textOf(session, session.screenshot());
            return page.contains(QStringLiteral("glyphnab grab --other"));
        },
        60s))
        << page.toStdString();
    EXPECT_TRUE(page.contains(QStringLiteral("global shortcuts"))) << page.toStdString();
    EXPECT_TRUE(page.contains(QStringLiteral("start Glyphnab again"), Qt::CaseInsensitive)) << page.toStdString();

    // The first screenshot asks; a person takes a while to answer.
    QProcess& grab = session.start(app, {QStringLiteral("grab")});
    const QString dialog = QStringLiteral("Main.layoutManager.modalDialogGroup.get_n_children()");
    ASSERT_TRUE(DesktopSession::waitFor([&] { return session.eval(dialog).value_or(QString()) == u"1"; }, 60s));
    QThread::sleep(15);  // the person reads the prompt
    ASSERT_TRUE(session.pressDialogButton(QStringLiteral("Allow")));
    // The overlay then takes the keyboard and the whole monitor, top bar included.
    const QString covered = QStringLiteral(
        "const w = global.display.focus_window; "
        "!!w && w.get_title() === 'Area selector' && Main.layoutManager.monitors[0].inFullscreen");
    EXPECT_TRUE(DesktopSession::waitFor([&] { return session.eval(covered) == u"true"; }, 60s))
        << grab.readAllStandardError().toStdString();
    EXPECT_EQ(grab.state(), QProcess::Running);
    grab.kill();
    grab.waitForFinished(5000);
}

}  // namespace
