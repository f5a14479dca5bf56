// The app's notice presenter on the real desktop, for end-to-end tests: shows one notice
// near the top of the screen and keeps it there, printing "shown" once it is mapped.
//   busy                 the progress notice of a reading
//   done TEXT            the notice of a grab that copied TEXT
// A line "again" on standard input shows the same notice once more (the desktop may
// have changed since); "hide" takes it away with its fade.

#include "Glyphnab/notice/NoticePresenter.h"
#include "ZantrelKit/AccentPair.h"
#include "GlyphnabCore/Part.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <iostream>
#include <string>

namespace {

void say(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

class ProbeModel final : public Glyphnab::NoticeModel {
public:
    QString appName() const override { return QStringLiteral("Glyphnab"); }
    ZantrelUI::Accent accent() const override { return ZantrelUI::Accent(ZantrelKit::AccentPair::glyphnab); }
    void openLink(const QUrl&) override {}
    void copyToPasteboard(const QString&) override {}
    void cancelWork() override {}
    void beginGrab(std::optional<ZantrelText::LineMode>) override {}
};

class HalfDone final : public Glyphnab::NoticeProgress {
public:
    int pages() const override { return 4; }
    int done() const override { return 2; }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    ProbeModel model;
    HalfDone progress;
    Glyphnab::NoticePresenter presenter([&model] { return &model; }, [] { return false; });
    Glyphnab::NoticeContent content = Glyphnab::NoticeContent::busy(&progress);
    if (args.value(0) == u"done") {
        GlyphnabCore::Outcome outcome({GlyphnabCore::Part::text(args.value(1))}, ZantrelText::LineMode::keep);
        content = Glyphnab::NoticeContent::done(outcome, ZantrelText::LineMode::keep, Glyphnab::GrabSource::screen);
    } else if (args.value(0) != u"busy") {
        return 2;
    }
    auto showIt = [&] {
        presenter.show(content);
        presenter.scheduleHide(600);  // stays for the test's screenshots
        QTimer::singleShot(500, [] { say(QStringLiteral("shown")); });
    };
    showIt();
    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        std::string line;
        if (!std::getline(std::cin, line)) {
            input.setEnabled(false);
            return;
        }
        if (line == "again")
            showIt();
        else if (line == "hide")
            presenter.dismiss();
    });
    return QApplication::exec();
}
