// A small X client for end-to-end tests:
//   window COLOR TITLE [TEXT [PIXELS [WxH]]]
//                               a window at the top left (400 × 300 unless WxH), filled with
//                               COLOR, with TEXT in black at PIXELS pixels high (the default font);
//                               prints "painted" once its first picture is on the screen
//   clip TEXT                   owns the clipboard with TEXT until it is ended
//   pixel X Y                   prints the screen pixel's colour as #rrggbb
//   shot FILE [X Y W H]         saves the screen, or that part of it, as a PNG file
//   portalshot FILE             saves the desktop portal's screenshot as a PNG file (Wayland)
//   screens                     prints each screen Qt sees as X Y W H, the primary first
//   portal SCHEME               serves the desktop portal's colour scheme (0 none, 1 dark,
//                               2 light) on the session bus; a number on a line of standard
//                               input changes it, as a desktop's switch does

#include "platform/pasteboard/Pasteboard.h"
#include "platform/portal/PortalScreenshot.h"

#include <QCoroTask>

#include <QApplication>
#include <QDBusConnection>
#include <QDBusVariant>
#include <QSocketNotifier>
#include <QTimer>
#include <QPainter>
#include <QScreen>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace {

class ColourWindow final : public QWidget {
public:
    ColourWindow(QColor colour, QString text, int pixels) : colour_(colour), text_(std::move(text)) {
        if (pixels > 0) {
            QFont big = font();
            big.setPixelSize(pixels);
            setFont(big);
        }
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), colour_);
        if (!text_.isEmpty()) {
            painter.setPen(Qt::black);
            painter.drawText(rect().adjusted(20, 20, -20, -20), Qt::TextWordWrap, text_);
        }
        if (!painted_) {
            painted_ = true;
            QTimer::singleShot(0, this, &ColourWindow::sayWhenOnScreen);
        }
    }

private:
    // Under X the screen is read back until it shows the window (a compositor draws it a
    // moment after the window drew itself); other desktops show what was drawn.
    void sayWhenOnScreen() {
        if (QGuiApplication::platformName() == u"xcb") {
            const QPoint corner = mapToGlobal(QPoint(4, 4));
            const QImage seen = screen()->grabWindow(0, corner.x(), corner.y(), 1, 1).toImage();
            if (seen.isNull() || QColor(seen.pixel(0, 0)) != colour_) {
                QTimer::singleShot(20, this, &ColourWindow::sayWhenOnScreen);
                return;
            }
        }
        std::printf("painted\n");
        std::fflush(stdout);
    }

    bool painted_ = false;
    QColor colour_;
    QString text_;
};

// The part of the desktop portal's Settings that the app reads.
class SchemePortal final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")
public:
    explicit SchemePortal(uint scheme) : scheme_(scheme) {}

    void setScheme(uint scheme) {
        scheme_ = scheme;
        Q_EMIT SettingChanged(appearance(), colorScheme(), QDBusVariant(scheme_));
    }

public Q_SLOTS:
    QDBusVariant Read(const QString& group, const QString& key) const {
        if (group == appearance() && key == colorScheme())
            return QDBusVariant(scheme_);
        return QDBusVariant(QVariant());
    }

Q_SIGNALS:
    void SettingChanged(const QString& group, const QString& key, const QDBusVariant& value);

private:
    static QString appearance() { return QStringLiteral("org.freedesktop.appearance"); }
    static QString colorScheme() { return QStringLiteral("color-scheme"); }

    uint scheme_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    if (args.size() >= 3 && args[0] == u"window") {
        ColourWindow window(QColor(args[1]), args.value(3), args.value(4).toInt());
        window.setWindowTitle(args[2]);
        const QStringList size = args.value(5).split(u'x');
        const int width = size.size() == 2 ? size[0].toInt() : 0;
        const int height = size.size() == 2 ? size[1].toInt() : 0;
        window.setGeometry(0, 0, width > 0 ? width : 400, height > 0 ? height : 300);
        window.show();
        return QApplication::exec();
    }
    if (args.size() == 2 && args[0] == u"clip") {
        Platform::ClipboardPasteboard board;
        board.setString(args[1]);
        std::printf("ready\n");
        std::fflush(stdout);
        return QApplication::exec();
    }
    if (args.size() == 3 && args[0] == u"pixel") {
        const QImage shot = QGuiApplication::primaryScreen()
                                ->grabWindow(0, args[1].toInt(), args[2].toInt(), 1, 1)
                                .toImage();
        if (shot.isNull())
            return 2;
        std::printf("%s\n", qPrintable(QColor(shot.pixel(0, 0)).name()));
        return 0;
    }
    if ((args.size() == 2 || args.size() == 6) && args[0] == u"shot") {
        const bool part = args.size() == 6;
        const QImage shot = QGuiApplication::primaryScreen()
                                ->grabWindow(0, part ? args[2].toInt() : 0, part ? args[3].toInt() : 0,
                                             part ? args[4].toInt() : -1, part ? args[5].toInt() : -1)
                                .toImage();
        return !shot.isNull() && shot.save(args[1], "PNG") ? 0 : 2;
    }
    if (args.size() == 2 && args[0] == u"portalshot") {
        using namespace std::chrono_literals;
        const auto shot = QCoro::waitFor(Platform::Portal::screenshot(QDBusConnection::sessionBus(), QString(), 60s));
        if (!shot)
            std::fprintf(stderr, "%s\n", qPrintable(shot.error().message));
        return shot && shot->save(args[1], "PNG") ? 0 : 2;
    }
    if (args.size() == 1 && args[0] == u"screens") {
        for (const QScreen* screen : QGuiApplication::screens()) {
            const QRect g = screen->geometry();
            std::printf("%d %d %d %d\n", g.x(), g.y(), g.width(), g.height());
        }
        return 0;
    }
    if (args.size() == 2 && args[0] == u"portal") {
        SchemePortal portal(args[1].toUInt());
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal,
                                QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals) ||
            !bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")))
            return 2;
        QSocketNotifier input(0, QSocketNotifier::Read);
        QObject::connect(&input, &QSocketNotifier::activated, [&portal, &input] {
            char line[32] = {};
            if (!std::fgets(line, sizeof line, stdin)) {
                input.setEnabled(false);
                return;
            }
            portal.setScheme(static_cast<uint>(std::strtoul(line, nullptr, 10)));
            std::printf("set\n");
            std::fflush(stdout);
        });
        std::printf("ready\n");
        std::fflush(stdout);
        return QApplication::exec();
    }
    std::fprintf(stderr, "usage: window COLOR TITLE [TEXT [PIXELS [WxH]]] | clip TEXT | pixel X Y | shot FILE [X Y W H] | portalshot FILE | screens | portal SCHEME\n");
    return 64;
}

#include "main.moc"
