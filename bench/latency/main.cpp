// latency: how long the running app takes from the grab shortcut to its overlay on screen,
// and from the mouse release to the text on the clipboard, for a 1000 × 300 area of text.
// Each is printed beside a baseline timed in the same run on the same display: a bare
// program's hot key showing a plain window, and the library's capture and recognition of
// the same area. The ratio is the app's own overhead.
//
//   latency [--runs N] [--rest SECONDS] [--rests N] [--stress CPUS] [--app PATH] [--helper PATH]
//
// --stress N times the runs once more with `stress-ng --cpu N` beside the app, and prints
// that median against the one without it.
// After the runs it waits --rest seconds (40 by default; 0 skips it) and times one grab
// more, the first after the app gave back the engines it no longer needed; --rests N
// repeats that rest and grab N times (1 by default) and prints their median.
//
// It starts its own Xvfb, session bus, text window and app; xdotool presses and drags.

#include "ZantrelKit/Shortcut.h"
#include "ZantrelUI/desktop/HotKeys.h"
#include "capture/ScreenGrab.h"
#include "tests/support/ProcessWaits.h"
#include "tests/support/XvfbSession.h"
#include "text/TextReader.h"

#include <QClipboard>
#include <QCoroTask>
#include <QElapsedTimer>
#include <QFile>
#include <QEventLoop>
#include <QGuiApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <QApplication>
#include <QAbstractNativeEventFilter>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double milliseconds(Clock::duration span) { return std::chrono::duration<double, std::milli>(span).count(); }

double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Waits on the event loop until `done` holds or the time is up.
bool waitFor(const std::function<bool()>& done, int limit = 20000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > limit)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// Hears every window that is mapped on the display, with its time and title.
class MapWatch final : public QAbstractNativeEventFilter {
public:
    MapWatch() {
        connection_ = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
        root_ = screen->root;
        // Keep what Qt selected on the root window and add the children's maps.
        auto* attributes = xcb_get_window_attributes_reply(connection_,
                                                           xcb_get_window_attributes(connection_, root_), nullptr);
        const std::uint32_t mask =
            (attributes ? attributes->your_event_mask : 0u) | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        std::free(attributes);
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(connection_);
        qApp->installNativeEventFilter(this);
    }
    ~MapWatch() override { qApp->removeNativeEventFilter(this); }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
            const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event);
            maps.push_back({Clock::now(), map->window});
        }
        return false;
    }

    QString title(xcb_window_t window) const {
        auto* reply = xcb_get_property_reply(
            connection_, xcb_get_property(connection_, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
            nullptr);
        if (!reply)
            return {};
        const QString text = QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(reply)),
                                               xcb_get_property_value_length(reply));
        std::free(reply);
        return text;
    }

    // The first map after `since` of a window with this title.
    std::optional<Clock::time_point> mapped(const QString& name, Clock::time_point since) const {
        for (const auto& [when, window] : maps)
            if (when >= since && title(window) == name)
                return when;
        return std::nullopt;
    }

    struct Map {
        Clock::time_point when;
        xcb_window_t window;
    };
    std::vector<Map> maps;

private:
    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = 0;
};

void xdotool(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    process.waitForFinished(10000);
}

// Starts xdotool without waiting, so the event loop sees the answer at once.
void xdotoolDetached(QProcess& process, const QStringList& arguments) {
    process.start(QStringLiteral("xdotool"), arguments);
}

QString paragraph() {
    return QStringLiteral(
        "Recognition runs on the computer itself and nothing is uploaded. The user presses a shortcut, drags a "
        "rectangle over any part of the screen, and the text in that area is put on the clipboard as plain text, "
        "while a small notice at the top of the screen says what was copied. Codes in the same area are read in "
        "the same pass, and a table is copied as rows that paste into a spreadsheet as rows and columns. Two "
        "commands differ only in line handling: lines joined into paragraphs, or line breaks kept; lists, code "
        "and tables keep their lines either way, and the notice offers to copy the other way. The recent grabs "
        "live in memory only and are dropped with the process. Monday 14 October 2024, 09:30 in Berlin.");
}

QCoro::Task<void> captureAndRead(QRectF area, bool* done, QString* text) {
    try {
        QImage image = co_await ZantrelCapture::ScreenGrab::capture(area);
        ZantrelText::ReadOptions options;
        options.languages = {QStringLiteral("en-US")};
        ZantrelText::Reading reading = co_await ZantrelText::TextReader::read(std::move(image), options);
        *text = reading.layout.text(ZantrelText::LineMode::keep);
    } catch (const std::exception& error) {
        *text = QString::fromUtf8(error.what());
    }
    *done = true;
}

}  // namespace

int main(int argc, char** argv) {
    QString appPath = QStringLiteral(GLYPHNAB_APP_PATH);
    QString helperPath = QStringLiteral(GLYPHNAB_TEST_HELPER_PATH);
    int runs = 7;
    int rest = 40;  // seconds: past the time the app keeps idle engines loaded
    int rests = 1;
    int stressCpus = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        const QByteArray option = argv[i];
        if (option == "--runs")
            runs = std::max(1, std::atoi(argv[i + 1]));
        else if (option == "--rest")
            rest = std::max(0, std::atoi(argv[i + 1]));
        else if (option == "--stress")
            stressCpus = std::max(0, std::atoi(argv[i + 1]));
        else if (option == "--rests")
            rests = std::max(1, std::atoi(argv[i + 1]));
        else if (option == "--app")
            appPath = QString::fromLocal8Bit(argv[i + 1]);
        else if (option == "--helper")
            helperPath = QString::fromLocal8Bit(argv[i + 1]);
    }
    if (!std::getenv("OMP_THREAD_LIMIT")) {
        setenv("OMP_THREAD_LIMIT", "1", 1);
        execv("/proc/self/exe", argv);
    }

    const QByteArray loadAtStart = TestSupport::loadAverage();
    TestSupport::XvfbSession session(1280, 800);
    if (!session.isRunning()) {
        std::fprintf(stderr, "latency: %s\n", qPrintable(session.error()));
        return 1;
    }
    // This program is a client of the same display and bus.
    const QProcessEnvironment environment = session.environment();
    for (const QString& key : {QStringLiteral("DISPLAY"), QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                               QStringLiteral("XDG_RUNTIME_DIR"), QStringLiteral("QT_QPA_PLATFORM")})
        qputenv(key.toUtf8().constData(), environment.value(key).toUtf8());
    QApplication app(argc, argv);
    MapWatch watch;

    // 1000 × 300 of text: the window's text box is inset 20 pixels.
    const QString title = QStringLiteral("Latency text");
    session.start(helperPath, {QStringLiteral("window"), QStringLiteral("#ffffff"), title, paragraph(),
                               QStringLiteral("16"), QStringLiteral("1040x340")});
    if (!session.waitForWindow(title)) {
        std::fprintf(stderr, "latency: the text window did not appear\n");
        return 1;
    }
    const QRectF desktopArea(20, 20, 1000, 300);
    const QRectF globalArea(20, 800 - 320, 1000, 300);  // origin at the bottom left

    // Baselines. The shortcut: a bare program's hot key showing a plain window.
    std::vector<double> bareShortcut, bareRead;
    {
        ZantrelUI::HotKeys keys(Platform::makeDesktopHotKeyService());
        QWidget plain(nullptr, Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
        plain.setWindowTitle(QStringLiteral("Bare window"));
        plain.setGeometry(0, 0, 1280, 800);
        using M = ZantrelKit::Shortcut::Modifiers;
        // Alt+Super+B stays clear of the app's two shortcuts.
        const ZantrelKit::Shortcut shortcut{11, {M::option, M::command}};
        keys.set({{QStringLiteral("bare"), shortcut}}, [&](const QString&) { plain.show(); });
        for (int run = 0; run < runs; ++run) {
            QProcess press;
            const Clock::time_point start = Clock::now();
            xdotoolDetached(press, {QStringLiteral("key"), QStringLiteral("alt+super+b")});
            std::optional<Clock::time_point> shown;
            waitFor([&] { return (shown = watch.mapped(QStringLiteral("Bare window"), start)).has_value(); }, 5000);
            press.waitForFinished(5000);
            plain.hide();
            if (shown)
                bareShortcut.push_back(milliseconds(*shown - start));
            waitFor([] { return false; }, 200);
        }
    }
    for (int run = 0; run <= runs; ++run) {
        bool done = false;
        QString text;
        const Clock::time_point start = Clock::now();
        captureAndRead(globalArea, &done, &text);
        waitFor([&] { return done; }, 60000);
        if (run > 0)  // the first loads the engine
            bareRead.push_back(milliseconds(Clock::now() - start));
        if (run == 0 && text.size() < 200)
            std::fprintf(stderr, "latency: the library read only: %s\n", qPrintable(text));
    }

    // The app, onboarded, in a state folder of its own.
    QTemporaryDir state;
    {
        QSettings defaults(state.filePath(QStringLiteral("defaults")), QSettings::IniFormat);
        defaults.setValue(QStringLiteral("preferences"), QByteArray(R"({"onboarded":true})"));
    }
    QProcess& glyphnab = session.start(appPath, {QStringLiteral("--state-dir"), state.path()});
    if (glyphnab.state() != QProcess::Running) {
        std::fprintf(stderr, "latency: %s did not start\n", qPrintable(appPath));
        return 1;
    }
    QClipboard* clipboard = QGuiApplication::clipboard();
    std::optional<Clock::time_point> copiedAt;
    QObject::connect(clipboard, &QClipboard::changed, &app, [&](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard && !copiedAt)
            copiedAt = Clock::now();
    });

    // One grab: the shortcut, a drag over the area and the release; the times to the
    // overlay and to the clipboard, or nothing when the overlay did not come.
    struct Grab {
        double overlay;
        std::optional<double> copy;
        QString text;
    };
    const auto grab = [&]() -> std::optional<Grab> {
        QProcess press;
        const Clock::time_point start = Clock::now();
        xdotoolDetached(press, {QStringLiteral("key"), QStringLiteral("ctrl+shift+super+t")});
        std::optional<Clock::time_point> shown;
        waitFor([&] { return (shown = watch.mapped(QStringLiteral("Area selector"), start)).has_value(); }, 3000);
        press.waitForFinished(5000);
        if (!shown)
            return std::nullopt;
        xdotool({QStringLiteral("mousemove"), QString::number(desktopArea.left()), QString::number(desktopArea.top())});
        xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
        xdotool({QStringLiteral("mousemove"), QStringLiteral("500"), QStringLiteral("200")});
        xdotool({QStringLiteral("mousemove"), QString::number(desktopArea.right()), QString::number(desktopArea.bottom())});
        copiedAt.reset();
        QProcess release;
        const Clock::time_point released = Clock::now();
        xdotoolDetached(release, {QStringLiteral("mouseup"), QStringLiteral("1")});
        waitFor([&] { return copiedAt.has_value() && !clipboard->text().isEmpty(); }, 30000);
        release.waitForFinished(5000);
        Grab result{milliseconds(*shown - start), std::nullopt, clipboard->text()};
        if (copiedAt)
            result.copy = milliseconds(*copiedAt - released);
        // Let the notice go, so that no grab waits for it to leave the screen.
        waitFor([] { return false; }, 3600);
        return result;
    };

    std::vector<double> overlay, copy;
    int misses = 0;
    for (int run = 0; run <= runs && misses < 5;) {
        const std::optional<Grab> made = grab();
        if (!made) {  // the app registers its keys a moment after it starts
            ++misses;
            continue;
        }
        if (run > 0 && made->copy) {  // the first run loads the engine
            overlay.push_back(made->overlay);
            copy.push_back(*made->copy);
        }
        if (run == 0 && made->text.size() < 200)
            std::fprintf(stderr, "latency: the app copied only: %s\n", qPrintable(made->text));
        ++run;
    }
    if (overlay.empty()) {
        std::fprintf(stderr, "latency: the app never showed its overlay\n%s\n",
                     glyphnab.readAllStandardError().constData());
        return 1;
    }

    // The same grabs with other work on every core it names.
    std::vector<double> stressedCopy;
    if (stressCpus > 0) {
        QProcess& stress = session.start(QStringLiteral("stress-ng"),
                                         {QStringLiteral("--cpu"), QString::number(stressCpus), QStringLiteral("--quiet")});
        waitFor([] { return false; }, 2000);
        for (int run = 0; run < runs; ++run)
            if (const std::optional<Grab> made = grab(); made && made->copy)
                stressedCopy.push_back(*made->copy);
        stress.terminate();
        stress.waitForFinished(10000);
    }

    // The first grab after the app gave back its idle engines.
    std::vector<double> afterRests;
    const long busyRss = TestSupport::procField(glyphnab.processId(), QStringLiteral("status"), "VmRSS");
    long restedRss = 0;
    for (int round = 0; rest > 0 && round < rests; ++round) {
        waitFor([] { return false; }, rest * 1000);
        restedRss = TestSupport::procField(glyphnab.processId(), QStringLiteral("status"), "VmRSS");
        if (const std::optional<Grab> made = grab(); made && made->copy)
            afterRests.push_back(*made->copy);
    }

    const double overlayMedian = median(overlay), bareShortcutMedian = median(bareShortcut);
    const double copyMedian = median(copy), bareReadMedian = median(bareRead);
    std::printf("area 1000x300 of text, %zu runs, medians; load average at the start %s\n", overlay.size(),
                loadAtStart.constData());
    std::printf("shortcut to overlay on screen   %8.1f ms   baseline hot key to plain window  %8.1f ms   ratio %.2f\n",
                overlayMedian, bareShortcutMedian, bareShortcutMedian > 0 ? overlayMedian / bareShortcutMedian : 0.0);
    std::printf("release to text on clipboard    %8.1f ms   baseline capture + recognition    %8.1f ms   ratio %.2f\n",
                copyMedian, bareReadMedian, bareReadMedian > 0 ? copyMedian / bareReadMedian : 0.0);
    if (!stressedCopy.empty())
        std::printf("release to clipboard, stress-ng --cpu %d   %8.1f ms   ratio to the median without %.2f\n",
                    stressCpus, median(stressedCopy), copyMedian > 0 ? median(stressedCopy) / copyMedian : 0.0);
    if (!afterRests.empty()) {
        const double afterRest = median(afterRests);
        std::printf("first grab after %d s at rest   %8.1f ms   ratio to the median %.2f   (median of %zu)\n", rest,
                    afterRest, copyMedian > 0 ? afterRest / copyMedian : 0.0, afterRests.size());
        std::printf("app RSS after the grabs %.1f MB, after %d s at rest %.1f MB\n", busyRss / 1024.0, rest,
                    restedRss / 1024.0);
    }
    std::printf("load average at the end %s\n", TestSupport::loadAverage().constData());
    return 0;
}
