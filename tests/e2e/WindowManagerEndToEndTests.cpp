// The app under real window managers that do not composite (openbox, and xfwm4 with its
// compositing off): the keyboard comes back to the app's own window after a pick, the
// notice shows no black box around its card, and every finished drag ends in a copy or a
// notice. With GLYPHNAB_TEST_SHOTS naming a folder, the screens are kept there as PNGs.

#include "tests/e2e/AppDriver.h"

#include "Glyphnab/notice/NoticeView.h"

#include <QDir>
#include <QElapsedTimer>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

using TestSupport::WindowGeometry;

const QString grabKeys = QStringLiteral("ctrl+shift+super+t");
const QString settingsTitle = QStringLiteral("Glyphnab Settings");

struct WindowManager {
    const char* name;
    const char* program;
    QStringList arguments;
};

void PrintTo(const WindowManager& manager, std::ostream* out) { *out << manager.name; }

const WindowManager openbox{"Openbox", "openbox", {QStringLiteral("--sm-disable")}};
const WindowManager xfwm4{"Xfwm4", "xfwm4", {QStringLiteral("--compositor=off"), QStringLiteral("--sm-client-disable")}};

bool nearBlack(QRgb pixel) { return qRed(pixel) < 40 && qGreen(pixel) < 40 && qBlue(pixel) < 40; }

class WindowManagerEndToEnd : public TestSupport::AppDriver, public testing::WithParamInterface<WindowManager> {
protected:
    void SetUp() override {
        AppDriver::SetUp();
        if (IsSkipped())
            return;
        const QString program = QString::fromLatin1(GetParam().program);
        if (QStandardPaths::findExecutable(program).isEmpty())
            GTEST_SKIP() << program.toStdString() << " is not installed (scripts/setup installs it)";
        session_.start(program, GetParam().arguments);
        ASSERT_TRUE(until([&] { return hasWindowManager(); }, 20000)) << program.toStdString() << " did not start";
    }

    bool hasWindowManager() const {
        const auto check = session_.run(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")},
                                        std::chrono::seconds(10));
        return check.finished && check.out.contains(QStringLiteral("window id"));
    }

    // Polls `condition` until it holds or `milliseconds` pass.
    static bool until(const std::function<bool()>& condition, int milliseconds) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < milliseconds) {
            if (condition())
                return true;
            QThread::msleep(100);
        }
        return condition();
    }

    // The X window id xdotool prints, as a number (it prints decimal, xprop hex).
    static qulonglong idOf(const QString& window) { return window.trimmed().toULongLong(nullptr, 0); }
    bool focusIs(const QString& window) const { return idOf(focusedWindow()) == idOf(window); }

    void keep(const QImage& shot, const QString& name) const {
        const QString folder = qEnvironmentVariable("GLYPHNAB_TEST_SHOTS");
        if (!folder.isEmpty() && !shot.isNull() && QDir().mkpath(folder))
            shot.save(QDir(folder).filePath(name + QStringLiteral("-") + QString::fromLatin1(GetParam().name).toLower() +
                                            QStringLiteral(".png")));
    }

    // The notice's frame among the windows of `pid`: the one wider than its card.
    std::optional<QRect> noticeOf(qint64 pid) const {
        for (const WindowGeometry& window : visibleWindowsOf(pid))
            if (window.width > Glyphnab::NoticeView::cardWidth && window.y < 80)
                return QRect(window.x, window.y, window.width, window.height);
        return std::nullopt;
    }
};

TEST_P(WindowManagerEndToEnd, TheKeyboardComesBackToSettingsAfterACancelAndAfterAGrab) {
    showText(QStringLiteral("Focus comes back"));
    QProcess& process = startApp();
    ASSERT_TRUE(waitForBusName()) << process.readAllStandardError().toStdString();
    ASSERT_TRUE(session_.run(app, {}, std::chrono::seconds(20)).finished);
    const std::optional<QString> settings = session_.waitForWindow(settingsTitle, std::chrono::seconds(20));
    ASSERT_TRUE(settings);
    xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), *settings});
    ASSERT_TRUE(until([&] { return focusIs(*settings); }, 20000));

    ASSERT_TRUE(pressUntilOverlay(grabKeys)) << process.readAllStandardError().toStdString();
    xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
    ASSERT_TRUE(waitForWindowGone(overlayTitle, 20000));
    EXPECT_TRUE(until([&] { return focusIs(*settings); }, 20000)) << "focus on " << focusedWindow().toStdString();

    ASSERT_TRUE(pressUntilOverlay(grabKeys)) << process.readAllStandardError().toStdString();
    const WindowGeometry window = geometryOf(*settings);
    drag(window.x + 20, window.y + 60, window.x + window.width - 20, window.y + 200);
    ASSERT_TRUE(waitForWindowGone(overlayTitle, 20000));
    EXPECT_TRUE(until([&] { return focusIs(*settings); }, 20000)) << "focus on " << focusedWindow().toStdString();
    keep(session_.screenshot(), QStringLiteral("settings-after-grab"));

    // What the user does next: the window's own keys act on it.
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+w")});
    EXPECT_TRUE(waitForWindowGone(settingsTitle, 20000));
    EXPECT_EQ(process.state(), QProcess::Running);
}

TEST_P(WindowManagerEndToEnd, TheNoticeShowsItsCardAndWhatLiesAroundIt) {
    showText(QStringLiteral("Under the notice"), 22, QStringLiteral("1000x300"));
    const QImage before = session_.screenshot();
    ASSERT_FALSE(before.isNull());
    QProcess& probe = session_.start(QStringLiteral(GLYPHNAB_NOTICE_PROBE_PATH),
                                     {QStringLiteral("done"), QStringLiteral("Copied under a window manager")});
    ASSERT_TRUE(until([&] { return probe.readAllStandardOutput().contains("shown") || noticeOf(probe.processId()); },
                      20000));
    std::optional<QRect> frame;
    ASSERT_TRUE(until([&] { return (frame = noticeOf(probe.processId())).has_value(); }, 20000));
    // Outside the card (its margin, and the corners its rounding leaves) the screen shows
    // what it showed before; the card itself is drawn, a moment after its window maps.
    const int m = Glyphnab::NoticeView::margin;
    const QRect card = frame->adjusted(m, m, -m, -m);
    QImage after;
    int darkened = 0;
    int cardChanged = 0;
    until(
        [&] {
            after = session_.screenshot();
            if (after.isNull())
                return false;
            darkened = 0;
            cardChanged = 0;
            for (int y = frame->top(); y <= frame->bottom(); ++y)
                for (int x = frame->left(); x <= frame->right(); ++x) {
                    const bool corner = card.contains(x, y) && std::min(x - card.left(), card.right() - x) < 2 &&
                                        std::min(y - card.top(), card.bottom() - y) < 2;
                    if (card.contains(x, y) && !corner) {
                        cardChanged += after.pixel(x, y) != before.pixel(x, y) ? 1 : 0;
                        continue;
                    }
                    darkened += nearBlack(after.pixel(x, y)) && !nearBlack(before.pixel(x, y)) ? 1 : 0;
                }
            return cardChanged > card.width() * card.height() / 2;
        },
        20000);
    ASSERT_FALSE(after.isNull());
    keep(after, QStringLiteral("notice"));
    EXPECT_EQ(darkened, 0);
    EXPECT_GT(cardChanged, card.width() * card.height() / 2);
}

INSTANTIATE_TEST_SUITE_P(WithoutACompositor, WindowManagerEndToEnd, testing::Values(openbox, xfwm4),
                         [](const testing::TestParamInfo<WindowManager>& info) { return info.param.name; });

}  // namespace
