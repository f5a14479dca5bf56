// A small X client for end-to-end tests:
//   window COLOR TITLE [TEXT]   a 400 × 300 window at the top left, filled with COLOR
//   clip TEXT                   owns the clipboard with TEXT until it is ended
//   pixel X Y                   prints the screen pixel's colour as #rrggbb

#include "platform/pasteboard/Pasteboard.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>

#include <cstdio>

namespace {

class ColourWindow final : public QWidget {
public:
    ColourWindow(QColor colour, QString text) : colour_(colour), text_(std::move(text)) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), colour_);
        if (!text_.isEmpty()) {
            painter.setPen(Qt::black);
            painter.drawText(rect().adjusted(20, 20, -20, -20), Qt::TextWordWrap, text_);
        }
    }

private:
    QColor colour_;
    QString text_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    if (args.size() >= 3 && args[0] == u"window") {
        ColourWindow window(QColor(args[1]), args.value(3));
        window.setWindowTitle(args[2]);
        window.setGeometry(0, 0, 400, 300);
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
    std::fprintf(stderr, "usage: window COLOR TITLE [TEXT] | clip TEXT | pixel X Y\n");
    return 64;
}
