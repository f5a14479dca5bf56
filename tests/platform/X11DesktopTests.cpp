// Capture, key grabs and hot-key presses against a real X server (Xvfb), driven by
// xdotool, through connections of the test's own.

#include "platform/hotkeys/HotKeyPresses.h"
#include "platform/hotkeys/X11HotKeyService.h"
#include "platform/hotkeys/X11KeyGrab.h"
#include "platform/keyboard/Keymap.h"
#include "platform/screen/DesktopWatch.h"
#include "platform/screen/X11Capture.h"
#include "platform/screen/X11Damage.h"
#include "platform/screen/X11Desktop.h"
#include "tests/support/TestSupport.h"
#include "tests/support/XvfbSession.h"

#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace {

using Platform::X11Connection;
using TestSupport::XvfbSession;

constexpr std::uint32_t controlShiftCommand = 0x1000 | 0x200 | 0x100;

class X11Desktop : public testing::Test {
protected:
    static void SetUpTestSuite() { session_ = new XvfbSession(640, 480); }
    static void TearDownTestSuite() {
        delete session_;
        session_ = nullptr;
    }
    void SetUp() override {
        if (!session_->isRunning())
            GTEST_SKIP() << "no Xvfb: " << session_->error().toStdString();
    }

    static X11Connection connect() {
        auto connection = X11Connection::open(session_->display().toLocal8Bit());
        if (!connection)
            throw std::runtime_error("no connection");
        return std::move(*connection);
    }

    // A plain window of one colour, mapped without a window manager.
    static xcb_window_t showWindow(const Platform::X11Link& link, QRect area, std::uint32_t rgb) {
        const xcb_window_t window = xcb_generate_id(link.connection);
        const std::uint32_t values[] = {rgb, 1};
        xcb_create_window(link.connection, XCB_COPY_FROM_PARENT, window, link.root, static_cast<std::int16_t>(area.x()),
                          static_cast<std::int16_t>(area.y()), static_cast<std::uint16_t>(area.width()),
                          static_cast<std::uint16_t>(area.height()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          XCB_COPY_FROM_PARENT, XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
        xcb_map_window(link.connection, window);
        xcb_flush(link.connection);
        std::free(xcb_get_input_focus_reply(link.connection, xcb_get_input_focus(link.connection), nullptr));
        return window;
    }

    // Waits until the server has handled every request sent so far on the connection.
    static void sync(const Platform::X11Link& link) {
        std::free(xcb_get_input_focus_reply(link.connection, xcb_get_input_focus(link.connection), nullptr));
    }

    // Reads what the server sent until it is quiet for a moment.
    static std::vector<std::unique_ptr<xcb_generic_event_t, decltype(&std::free)>> drain(
        const Platform::X11Link& link) {
        std::vector<std::unique_ptr<xcb_generic_event_t, decltype(&std::free)>> events;
        for (int quiet = 0; quiet < 10;) {
            xcb_generic_event_t* event = xcb_poll_for_event(link.connection);
            if (event == nullptr) {
                ++quiet;
                QThread::msleep(20);
                continue;
            }
            events.emplace_back(event, &std::free);
        }
        return events;
    }

    static inline XvfbSession* session_ = nullptr;
};

TEST_F(X11Desktop, CaptureReturnsThePixelsOnScreen) {
    const X11Connection connection = connect();
    const auto link = connection.link();
    showWindow(link, QRect(0, 0, 400, 300), 0x3366cc);
    showWindow(link, QRect(400, 0, 240, 300), 0xcc6633);
    const auto picture = Platform::captureRoot(link, QRect(390, 100, 20, 10));
    ASSERT_TRUE(picture) << picture.error().message.toStdString();
    EXPECT_EQ(picture->size(), QSize(20, 10));
    EXPECT_EQ(QColor(picture->pixel(0, 0)).name(), u"#3366cc");
    EXPECT_EQ(QColor(picture->pixel(9, 9)).name(), u"#3366cc");
    EXPECT_EQ(QColor(picture->pixel(10, 0)).name(), u"#cc6633");
    EXPECT_TRUE(Platform::canReadRoot(link));
}

TEST_F(X11Desktop, CaptureIsCutToTheScreenAndFailsOffIt) {
    const X11Connection connection = connect();
    const auto link = connection.link();
    EXPECT_EQ(Platform::rootSize(link), QSize(640, 480));
    const auto edge = Platform::captureRoot(link, QRect(600, 460, 100, 100));
    ASSERT_TRUE(edge) << edge.error().message.toStdString();
    EXPECT_EQ(edge->size(), QSize(40, 20));
    const auto off = Platform::captureRoot(link, QRect(700, 0, 10, 10));
    ASSERT_FALSE(off);
    EXPECT_FALSE(off.error().message.isEmpty());
    EXPECT_FALSE(Platform::captureRoot(link, QRect(0, 0, 0, 10)));
    EXPECT_FALSE(Platform::captureRoot(Platform::X11Link{}, QRect(0, 0, 1, 1)));
}

TEST_F(X11Desktop, BareServerHasNoCompositorAndNoActiveWindow) {
    const X11Connection connection = connect();
    EXPECT_FALSE(Platform::hasCompositor(connection.link()));
    EXPECT_FALSE(Platform::activeWindow(connection.link()));
}

// Another client takes the compositor's and the tray's selections, sets the tray's
// colours, and goes: the watch hears each from the server's own events.
TEST_F(X11Desktop, TheDesktopWatchHearsTheCompositorAndTheTrayComeAndGo) {
    const X11Connection watching = connect();
    Platform::DesktopWatch watch(watching.link());
    EXPECT_FALSE(watch.compositing());
    EXPECT_EQ(watch.trayManager(), XCB_WINDOW_NONE);
    std::vector<bool> compositing;
    int trayChanges = 0;
    QObject::connect(&watch, &Platform::DesktopWatch::compositingChanged, [&](bool on) { compositing.push_back(on); });
    QObject::connect(&watch, &Platform::DesktopWatch::trayChanged, [&] { ++trayChanges; });
    const auto pump = [&](const std::function<bool()>& done) {
        QElapsedTimer timer;
        timer.start();
        while (!done() && timer.elapsed() < 20'000) {
            if (xcb_generic_event_t* event = xcb_poll_for_event(watching.link().connection)) {
                watch.handle(*event);
                std::free(event);
            } else {
                QThread::msleep(5);
            }
        }
        return done();
    };

    std::optional<X11Connection> desktop(connect());
    const Platform::X11Link link = desktop->link();
    const xcb_window_t manager = showWindow(link, QRect(0, 0, 10, 10), 0);
    for (const char* selection : {"_NET_WM_CM_S0", "_NET_SYSTEM_TRAY_S0"})
        xcb_set_selection_owner(link.connection, manager, Platform::internAtom(link.connection, selection),
                                XCB_CURRENT_TIME);
    sync(link);
    ASSERT_TRUE(pump([&] { return watch.compositing() && watch.trayManager() == manager; }));
    EXPECT_EQ(trayChanges, 1);
    // The watch on the tray's window is in place before the other client changes it: two
    // clients' requests keep no order between them.
    sync(watching.link());

    const std::uint32_t colors[12] = {0xffff, 0xffff, 0xffff};
    xcb_change_property(link.connection, XCB_PROP_MODE_REPLACE, manager,
                        Platform::internAtom(link.connection, "_NET_SYSTEM_TRAY_COLORS"), XCB_ATOM_CARDINAL, 32, 12,
                        colors);
    sync(link);
    EXPECT_TRUE(pump([&] { return trayChanges == 2; }));

    desktop.reset();  // a client that goes takes its selections with it
    ASSERT_TRUE(pump([&] { return !watch.compositing() && watch.trayManager() == XCB_WINDOW_NONE; }));
    EXPECT_EQ(compositing, (std::vector<bool>{true, false}));
    EXPECT_EQ(trayChanges, 3);
}

// What a closed overlay uncovers is drawn again by the windows beneath: the watch tells
// when all of the area was drawn, and drawing beside it does not count.
TEST_F(X11Desktop, TheDamageWatchTellsWhenAllOfTheAreaIsDrawnAgain) {
    const X11Connection watching = connect();
    const X11Connection drawing = connect();
    // Apart from where the other tests draw: their windows go when their connections close.
    Platform::X11DamageWatch watch(watching.link(), QRect(100, 340, 200, 100));
    ASSERT_TRUE(watch.listening());
    // The server has the watch before the other client draws: two clients' requests keep
    // no order between them.
    sync(watching.link());
    const auto pumpUntil = [&](const std::function<bool()>& done) {
        QElapsedTimer timer;
        timer.start();
        while (!done() && timer.elapsed() < 20'000) {
            if (xcb_generic_event_t* event = xcb_poll_for_event(watching.link().connection)) {
                watch.handle(*event);
                std::free(event);
            } else {
                QThread::msleep(5);
            }
        }
        return done();
    };
    int heard = 0;
    showWindow(drawing.link(), QRect(450, 340, 100, 100), 0x00ff00);  // beside the area
    showWindow(drawing.link(), QRect(90, 330, 120, 130), 0xff0000);   // its left part
    sync(watching.link());
    for (const auto& event : drain(watching.link()))
        heard += watch.handle(*event) ? 1 : 0;
    EXPECT_GT(heard, 0);
    EXPECT_FALSE(watch.covered());
    showWindow(drawing.link(), QRect(200, 320, 150, 150), 0x0000ff);  // the rest
    EXPECT_TRUE(pumpUntil([&] { return watch.covered(); }));
}

TEST_F(X11Desktop, ACombinationHeldByAnotherClientIsRefused) {
    const X11Connection first = connect();
    const X11Connection second = connect();
    const auto keymap = Platform::Keymap::fromX11(first.link());
    ASSERT_TRUE(keymap);
    const Platform::X11KeyCombo combo{*keymap->x11KeyCode(17), Platform::x11Modifiers(controlShiftCommand)};
    EXPECT_EQ(combo.modifiers, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_4);
    EXPECT_EQ(Platform::grabKey(first.link(), combo), Platform::GrabResult::grabbed);
    EXPECT_EQ(Platform::grabKey(first.link(), combo), Platform::GrabResult::grabbed);  // its own again
    EXPECT_EQ(Platform::grabKey(second.link(), combo), Platform::GrabResult::refused);
    Platform::ungrabKey(first.link(), combo);
    sync(first.link());  // the server takes the two clients' requests in any order
    EXPECT_EQ(Platform::grabKey(second.link(), combo), Platform::GrabResult::grabbed);
    Platform::ungrabKey(second.link(), combo);
}

TEST_F(X11Desktop, RegisteredHotKeyFiresOncePerPressWhateverTheLockKeys) {
    const X11Connection connection = connect();
    Platform::X11HotKeyService service(connection.link(), false);
    std::vector<std::uint32_t> pressed;
    service.installHandler([&](std::uint32_t id) { pressed.push_back(id); });
    ASSERT_EQ(service.registerKey(17, controlShiftCommand, 1), Platform::HotKeyStatus::registered);
    ASSERT_EQ(service.registerKey(38, controlShiftCommand, 2), Platform::HotKeyStatus::registered);

    auto pressAndRead = [&](const QString& keys) {
        ASSERT_EQ(session_->xdotool({QStringLiteral("key"), keys}).exitCode, 0);
        for (const auto& event : drain(connection.link()))
            service.handleEvent(event.get());
    };
    pressAndRead(QStringLiteral("ctrl+shift+super+t"));
    EXPECT_EQ(pressed, (std::vector<std::uint32_t>{1}));
    pressAndRead(QStringLiteral("ctrl+shift+super+j"));
    EXPECT_EQ(pressed, (std::vector<std::uint32_t>{1, 2}));
    pressAndRead(QStringLiteral("ctrl+super+t"));  // not the combination
    EXPECT_EQ(pressed.size(), 2u);

    session_->xdotool({QStringLiteral("key"), QStringLiteral("Caps_Lock")});
    pressAndRead(QStringLiteral("ctrl+shift+super+t"));
    session_->xdotool({QStringLiteral("key"), QStringLiteral("Caps_Lock")});
    EXPECT_EQ(pressed, (std::vector<std::uint32_t>{1, 2, 1}));

    service.unregisterKey(1);
    pressAndRead(QStringLiteral("ctrl+shift+super+t"));
    EXPECT_EQ(pressed.size(), 3u);
}

TEST_F(X11Desktop, HotKeyHeldElsewhereIsReportedRefused) {
    const X11Connection other = connect();
    const auto keymap = Platform::Keymap::fromX11(other.link());
    ASSERT_TRUE(keymap);
    const Platform::X11KeyCombo combo{*keymap->x11KeyCode(17), Platform::x11Modifiers(controlShiftCommand)};
    ASSERT_EQ(Platform::grabKey(other.link(), combo), Platform::GrabResult::grabbed);
    const X11Connection ours = connect();
    Platform::X11HotKeyService service(ours.link(), false);
    EXPECT_EQ(service.registerKey(17, controlShiftCommand, 1), Platform::HotKeyStatus::refused);
    EXPECT_EQ(service.registerKey(52, controlShiftCommand, 2), Platform::HotKeyStatus::unavailable);
    Platform::ungrabKey(other.link(), combo);
}

// A window that grabs the keyboard while the combination is down takes its release; the
// next press is a new one all the same.
TEST_F(X11Desktop, AHoldEndsWhereverItsReleaseGoes) {
    const X11Connection connection = connect();
    const auto link = connection.link();
    Platform::X11HotKeyService service(link, false);
    std::vector<std::uint32_t> pressed;
    service.installHandler([&](std::uint32_t id) { pressed.push_back(id); });
    ASSERT_EQ(service.registerKey(17, controlShiftCommand, 1), Platform::HotKeyStatus::registered);
    auto feed = [&] {
        for (const auto& event : drain(link))
            service.handleEvent(event.get());
    };
    auto keys = [&](const char* action) {
        ASSERT_EQ(session_->xdotool({QString::fromLatin1(action), QStringLiteral("ctrl+shift+super+t")}).exitCode, 0);
    };
    auto grabKeyboard = [](const Platform::X11Link& on, xcb_window_t window) {
        std::unique_ptr<xcb_grab_keyboard_reply_t, decltype(&std::free)> reply(
            xcb_grab_keyboard_reply(on.connection,
                                    xcb_grab_keyboard(on.connection, 1, window, XCB_CURRENT_TIME,
                                                      XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
                                    nullptr),
            &std::free);
        return reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
    };

    // Our own window takes the keyboard, as the area selector does.
    const xcb_window_t ours = showWindow(link, QRect(0, 0, 40, 40), 0xffffff);
    keys("keydown");
    feed();
    ASSERT_TRUE(grabKeyboard(link, ours));
    keys("keyup");
    feed();
    xcb_ungrab_keyboard(link.connection, XCB_CURRENT_TIME);
    sync(link);
    keys("keydown");
    feed();
    keys("keyup");
    feed();
    EXPECT_EQ(pressed, (std::vector<std::uint32_t>{1, 1}));

    // Our grab ends while the keys are still down (a pick that ends at once): the release
    // goes to the focused window, never to us, and the key state tells.
    keys("keydown");
    feed();
    ASSERT_TRUE(grabKeyboard(link, ours));
    xcb_ungrab_keyboard(link.connection, XCB_CURRENT_TIME);
    sync(link);
    service.checkHeldKey();  // still down: a repeat now is no new press
    const auto keymap = Platform::Keymap::fromX11(link);
    ASSERT_TRUE(keymap);
    xcb_key_press_event_t repeat{};
    repeat.response_type = XCB_KEY_PRESS;
    repeat.detail = *keymap->x11KeyCode(17);
    repeat.event = link.root;
    repeat.state = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_4;
    service.handleEvent(reinterpret_cast<const xcb_generic_event_t*>(&repeat));
    EXPECT_EQ(pressed.size(), 3u);
    keys("keyup");
    feed();
    service.checkHeldKey();
    keys("keydown");
    feed();
    keys("keyup");
    feed();
    EXPECT_EQ(pressed, (std::vector<std::uint32_t>{1, 1, 1, 1}));
}

// Held keys: how auto-repeat looks with and without detectable repeat.
TEST(HotKeyPresses, OnlyTheFirstPressOfAHoldCounts) {
    constexpr std::uint16_t mods = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_4;
    Platform::HotKeyPresses presses;
    presses.add(1, {28, mods});
    presses.add(2, {44, mods});

    const auto first = presses.press(28, mods, 100);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->id, 1u);
    EXPECT_FALSE(first->repeat);
    EXPECT_TRUE(presses.press(28, mods, 130)->repeat);  // repeat without releases
    EXPECT_TRUE(presses.release(28, 160));
    EXPECT_TRUE(presses.press(28, mods, 160)->repeat);  // release-press pair of one time
    EXPECT_TRUE(presses.release(28, 190));
    EXPECT_FALSE(presses.press(28, mods, 400)->repeat);  // a new press
    EXPECT_TRUE(presses.release(28, 450));
    EXPECT_FALSE(presses.press(44, mods, 460)->repeat);
}

TEST(HotKeyPresses, LockKeysAreIgnoredOtherModifiersAreNot) {
    constexpr std::uint16_t mods = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_4;
    Platform::HotKeyPresses presses(XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2);
    presses.add(7, {28, mods});
    EXPECT_EQ(presses.press(28, mods | XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2, 1)->id, 7u);
    presses.release(28, 2);
    EXPECT_FALSE(presses.press(28, mods | XCB_MOD_MASK_SHIFT, 3));
    EXPECT_FALSE(presses.press(28, XCB_MOD_MASK_CONTROL, 4));
    EXPECT_FALSE(presses.press(29, mods, 5));
    EXPECT_FALSE(presses.release(29, 6));  // not a hot key's release
    presses.remove(7);
    EXPECT_FALSE(presses.press(28, mods, 7));
}

}  // namespace
