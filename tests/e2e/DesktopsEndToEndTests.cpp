// The app on the desktops most people run, each headless with its own buses and its
// portal pinned to the desktop's own backends: Plasma (KWin, whose KGlobalAccel takes the
// grab shortcuts) and GNOME (no global shortcuts for apps; its first screenshot asks).

#include "tests/support/GnomeSession.h"
#include "tests/support/KdeSession.h"

#include <QColor>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include <functional>

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

// What the app's reader makes of a picture, read by a command of its own: the running app
// stays free for the grabs, however long a busy machine takes to read.
QString textOf(const DesktopSession& session, const QImage& picture) {
    const QString file = session.home() + QStringLiteral("/read.png");
    if (!picture.save(file, "PNG"))
        return {};
    QProcessEnvironment alone = session.environment();
    alone.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    const auto read = TestSupport::runProcess(alone, app, {QStringLiteral("read"), file}, 300s);
    return read.exitCode == 0 ? read.out.simplified() : read.err;
}

// Starts `glyphnab grab` until the app takes it: on a busy machine the app may not answer
// its name in time at first, as a person's first press may find it.
QProcess* startGrab(DesktopSession& session, const std::function<bool()>& taken) {
    QString refused;
    QProcess* grab = nullptr;
    const bool started = DesktopSession::waitFor(
        [&] {
            refused.clear();
            grab = &session.start(app, {QStringLiteral("grab")});
            if (!DesktopSession::waitFor([&] { return taken() || grab->state() != QProcess::Running; }, 120s)) {
                refused = QStringLiteral("the grab was not taken within two minutes");
                return true;
            }
            if (grab->state() == QProcess::Running)
                return true;
            refused = QString::fromUtf8(grab->readAllStandardError());
            return !(refused.contains(QStringLiteral("does not answer")) ||
                     refused.contains(QStringLiteral("isn't ready yet")));
        },
        240s);
    EXPECT_TRUE(started && refused.isEmpty()) << refused.toStdString();
    return started && refused.isEmpty() ? grab : nullptr;
}

#ifdef GLYPHNAB_WL_POINTER_PATH
TEST(KdeEndToEnd, TheGrabShortcutsAreKGlobalAccelsActionsAndAPressAndADragCopyTheText) {
    QTemporaryDir state;  // outlives the session: the app writes its state as it ends
    TestSupport::KdeSession session;
    if (!session.isRunning())
        GTEST_SKIP() << session.error().toStdString();
    ASSERT_TRUE(session.followWindows());
    // Text to grab, as large as the screen: wherever KWin puts it, its text is at the top left.
    QProcess& text = session.start(helper, {QStringLiteral("window"), QStringLiteral("#ffffff"), QStringLiteral("Text to grab"),
                                            QStringLiteral("Glyphnab reads Plasma"), QStringLiteral("28"), QStringLiteral("1280x800")});
    // On screen before the grab pictures it.
    ASSERT_TRUE(TestSupport::waitForLine(text, QStringLiteral("painted"), 60s));
    QProcess& glyphnab = startApp(session, state, true);
    ASSERT_TRUE(ownsItsName(session)) << glyphnab.readAllStandardError().toStdString();

    // Listed under the app's desktop file, with the stored keys (Ctrl+Shift+Meta+T).
    const QStringList grab{QStringLiteral("org.kde.kglobalaccel"), QStringLiteral("/kglobalaccel"),
                           QStringLiteral("org.kde.KGlobalAccel"), QStringLiteral("shortcut"), QStringLiteral("as"),
                           QStringLiteral("4"), QStringLiteral("org.glyphnab.Glyphnab"), QStringLiteral("grab"),
                           QString(), QString()};
    ASSERT_TRUE(DesktopSession::waitFor([&] { return session.call(grab).out.trimmed() == u"ai 1 369098836"; }, 30s))
        << session.call(grab).out.toStdString();

    // The desktop's press of the keys, as KWin sends it: the overlay covers the screen.
    const QString pid = QString::number(glyphnab.processId());
    const auto pressed = session.call({QStringLiteral("org.kde.kglobalaccel"), QStringLiteral("/component/org_glyphnab_Glyphnab"),
                                       QStringLiteral("org.kde.kglobalaccel.Component"), QStringLiteral("invokeShortcut"),
                                       QStringLiteral("s"), QStringLiteral("grab")});
    ASSERT_EQ(pressed.exitCode, 0) << pressed.err.toStdString();
    const auto overlays = [&] {
        return session.windowsAdded().filter(QRegularExpression(QStringLiteral("^%1 0 0 1280 800 ").arg(pid))).size();
    };
    ASSERT_TRUE(DesktopSession::waitFor([&] { return overlays() == 1; }, 60s)) << session.windowsAdded().join(u'\n').toStdString();

    // A drag over the text: it is on the clipboard, and the done notice shows.
    const auto dragged = session.run(QStringLiteral(GLYPHNAB_WL_POINTER_PATH),
                                     {QStringLiteral("1280"), QStringLiteral("800"), QStringLiteral("5"), QStringLiteral("5"),
                                      QStringLiteral("900"), QStringLiteral("160")});
    ASSERT_EQ(dragged.exitCode, 0) << dragged.err.toStdString();
    // KWin takes a selection only from the client with the keyboard, and a data-control
    // reader waits without end while the seat holds none.
    TestSupport::CommandResult copied;
    EXPECT_TRUE(DesktopSession::waitFor(
        [&] {
            copied = session.run(QStringLiteral("wl-paste"), {QStringLiteral("--no-newline")}, 15s);
            return copied.out.contains(QStringLiteral("Glyphnab reads Plasma"));
        },
        120s))
        << (copied.finished ? "the clipboard holds: " + copied.out.toStdString()
                            : std::string("KWin holds no selection: the app's copy was not taken"));
    const auto notices = [&] {
        const QStringList windows = session.windowsAdded().filter(QRegularExpression(QStringLiteral("^%1 ").arg(pid)));
        return windows.size() - windows.indexOf(QRegularExpression(QStringLiteral(" 1280 800 "))) - 1;
    };
    EXPECT_TRUE(DesktopSession::waitFor([&] { return notices() >= 1; }, 60s)) << session.windowsAdded().join(u'\n').toStdString();
}
#endif

TEST(GnomeEndToEnd, TheFirstRunGivesTheGrabCommandsAPromptAnsweredLateIsKeptAndADragCopiesTheText) {
    QTemporaryDir state;  // outlives the session: the app writes its state as it ends
    TestSupport::GnomeSession session(1920, 1080);
    if (!session.isRunning())
        GTEST_SKIP() << session.error().toStdString();
    const auto eval = [&](const QString& script) { return session.eval(script).value_or(QString()); };
    QProcess& glyphnab = startApp(session, state, false);
    ASSERT_TRUE(ownsItsName(session)) << glyphnab.readAllStandardError().toStdString();
    const QString pid = QString::number(glyphnab.processId());
    // The shell notes the app's windows and the first dialog as they come: short-lived ones
    // are seen however late the test looks.
    ASSERT_EQ(eval(QStringLiteral(
                  "globalThis.glyphnab = {windows: [], prompt: 0};"
                  "global.display.connect('window-created', (d, w) => { if (w.get_pid() === %1)"
                  " globalThis.glyphnab.windows.push(w); });"
                  "Main.layoutManager.modalDialogGroup.connect('actor-added', (g, d) => d.connect('opened', () => {"
                  " if (!globalThis.glyphnab.prompt && d.buttonLayout &&"
                  " d.buttonLayout.get_children().some(b => b.label === 'Allow'))"
                  " globalThis.glyphnab.prompt = imports.gi.GLib.get_monotonic_time(); })); true")
                  .arg(pid)),
              u"true");
    const QString frameOf = QStringLiteral(
        "const w = global.get_window_actors().map(a => a.meta_window).find(w => w.get_title() === %1);"
        "w ? (r => [r.x, r.y, r.width, r.height].join(' '))(w.get_frame_rect()) : ''");
    const auto frame = [&](const QString& title) {
        const QStringList n = eval(frameOf.arg(u'"' + title + u'"')).remove(u'"').split(u' ');
        return n.size() == 4 ? QRect(n[0].toInt(), n[1].toInt(), n[2].toInt(), n[3].toInt()) : QRect();
    };

    // GNOME has no global shortcuts for apps (nor a tray): the page gives the commands to bind
    // and says how to reach the app. The window may still be taking its size at first.
    QString page;
    const auto says = [&](const QString& words) { return page.contains(words, Qt::CaseInsensitive); };
    EXPECT_TRUE(DesktopSession::waitFor(
        [&] {
            const QRect window = frame(QStringLiteral("Glyphnab"));
            page = window.isEmpty() ? QString() : textOf(session, session.screenshot().copy(window));
            return says(QStringLiteral("glyphnab grab --other")) && says(QStringLiteral("global shortcuts")) &&
                   says(QStringLiteral("start Glyphnab again"));
        },
        300s))
        << page.toStdString();

    // Text to grab, clear of the first run's window.
    QProcess& shown = session.start(helper, {QStringLiteral("window"), QStringLiteral("#ffffff"), QStringLiteral("Text to grab"),
                                             QStringLiteral("Glyphnab reads GNOME"), QStringLiteral("28"), QStringLiteral("800x200")});
    ASSERT_TRUE(TestSupport::waitForLine(shown, QStringLiteral("painted"), 60s));
    ASSERT_TRUE(DesktopSession::waitFor([&] { return !frame(QStringLiteral("Text to grab")).isEmpty(); }, 60s));
    eval(QStringLiteral("global.get_window_actors().map(a => a.meta_window)"
                        ".find(w => w.get_title() === 'Text to grab').move_frame(true, 1000, 700); true"));
    QRect text;
    ASSERT_TRUE(DesktopSession::waitFor([&] { return (text = frame(QStringLiteral("Text to grab"))).topLeft() == QPoint(1000, 700); }, 60s));

    // The first screenshot asks; a person takes a while to answer, and the app still waits.
    QProcess* grab = startGrab(session, [&] { return eval(QStringLiteral("globalThis.glyphnab.prompt")) != u"0"; });
    ASSERT_NE(grab, nullptr);
    EXPECT_TRUE(DesktopSession::waitFor(
        [&] { return eval(QStringLiteral("imports.gi.GLib.get_monotonic_time() - globalThis.glyphnab.prompt > 15e6")) == u"true"; },
        60s));
    ASSERT_TRUE(session.pressDialogButton(QStringLiteral("Allow")))
        << eval(QStringLiteral("Main.layoutManager.modalDialogGroup.get_children().map(d => d.constructor.name + ' ' +"
                               " (d.buttonLayout ? d.buttonLayout.get_children().map(b => b.label).join() : '')).join('; ')"))
               .toStdString();
    // The overlay then takes the keyboard and the whole monitor, top bar included.
    const QString covered = QStringLiteral(
        "const w = global.display.focus_window; "
        "!!w && w.get_title() === 'Area selector' && Main.layoutManager.monitors[0].inFullscreen");
    ASSERT_TRUE(DesktopSession::waitFor([&] { return eval(covered) == u"true"; }, 120s))
        << grab->readAllStandardError().toStdString();
    // A drag over the text with a pointer of the shell's own: the command prints the text
    // the app put on the clipboard, and the done notice shows.
    const QPoint from = text.bottomLeft() + QPoint(5, -195);
    const QPoint to = text.bottomLeft() + QPoint(700, -110);
    const QString pointer = QStringLiteral(
        "const input = imports.gi.Clutter, now = () => imports.gi.GLib.get_monotonic_time();"
        "globalThis.glyphnab.pointer = globalThis.glyphnab.pointer || input.get_default_backend().get_default_seat()"
        ".create_virtual_device(input.InputDeviceType.POINTER_DEVICE); const p = globalThis.glyphnab.pointer; %1; true");
    ASSERT_EQ(eval(pointer.arg(QStringLiteral("p.notify_absolute_motion(now(), %1, %2)").arg(from.x()).arg(from.y()))), u"true");
    ASSERT_EQ(eval(pointer.arg(QStringLiteral("p.notify_button(now(), 1, input.ButtonState.PRESSED)"))), u"true");
    for (int step = 1; step <= 4; ++step) {
        const QPoint at = from + (to - from) * step / 4;
        ASSERT_EQ(eval(pointer.arg(QStringLiteral("p.notify_absolute_motion(now(), %1, %2)").arg(at.x()).arg(at.y()))), u"true");
    }
    ASSERT_EQ(eval(pointer.arg(QStringLiteral("p.notify_button(now(), 1, input.ButtonState.RELEASED)"))), u"true");
    ASSERT_TRUE(grab->waitForFinished(180000)) << glyphnab.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(grab->readAllStandardOutput()).trimmed(), QStringLiteral("Glyphnab reads GNOME"))
        << grab->readAllStandardError().toStdString();
    const QString notice = QStringLiteral(
        "const t = globalThis.glyphnab.windows.map(w => w.get_title() || '');"
        "t.slice(t.indexOf('Area selector')).some(w => w !== 'Area selector')");
    EXPECT_TRUE(DesktopSession::waitFor([&] { return eval(notice) == u"true"; }, 60s))
        << eval(QStringLiteral("JSON.stringify(globalThis.glyphnab.windows.map(w => w.get_title()))")).toStdString();

    // The answer is kept: the next screenshots ask no more. Asked after the drag, which
    // has to end within the grab's minute, the prompt's time included.
    const auto stored = session.call({QStringLiteral("org.freedesktop.impl.portal.PermissionStore"),
                                      QStringLiteral("/org/freedesktop/impl/portal/PermissionStore"),
                                      QStringLiteral("org.freedesktop.impl.portal.PermissionStore"), QStringLiteral("Lookup"),
                                      QStringLiteral("ss"), QStringLiteral("screenshot"), QStringLiteral("screenshot")});
    EXPECT_TRUE(stored.out.contains(QStringLiteral("\"\" 1 \"yes\""))) << stored.out.toStdString() << stored.err.toStdString();

    // The next grab opens the overlay without asking again, and Esc ends it.
    eval(QStringLiteral("globalThis.glyphnab.prompt = 0; true"));
    QProcess* again = startGrab(session, [&] { return eval(covered) == u"true"; });
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(eval(QStringLiteral("globalThis.glyphnab.prompt")), u"0");
    ASSERT_EQ(eval(QStringLiteral(
                  "const input = imports.gi.Clutter, now = () => imports.gi.GLib.get_monotonic_time();"
                  "const k = input.get_default_backend().get_default_seat()"
                  ".create_virtual_device(input.InputDeviceType.KEYBOARD_DEVICE);"
                  "k.notify_keyval(now(), input.KEY_Escape, input.KeyState.PRESSED);"
                  "k.notify_keyval(now(), input.KEY_Escape, input.KeyState.RELEASED); true")),
              u"true");
    EXPECT_TRUE(again->waitForFinished(60000));
    EXPECT_TRUE(DesktopSession::waitFor([&] { return eval(covered) == u"false"; }, 60s));
}

}  // namespace
