// A shortcut row over a model with recording platform calls and the desktop's real hot
// keys, for end-to-end tests. It registers Ctrl+Shift+Super+T as "grab", shows one row in
// a window titled "Row probe", starts recording in it and prints one line per event:
//   "registered N"    the hot keys registered now
//   "recording"       the row's field records (once its window has the keyboard)
//   "stored K M"      the row stored key code K with modifier bits M
//   "fired NAME"      a hot key fired

#include "Glyphnab/model/GlyphnabModel.h"
#include "Glyphnab/windows/ShortcutRow.h"
#include "ZantrelKit/AccentPair.h"
#include "ZantrelUI/context/AppContext.h"
#include "ZantrelUI/desktop/HotKeys.h"
#include "ZantrelUI/settings/ShortcutField.h"
#include "platform/pasteboard/Pasteboard.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <cstdio>
#include <utility>

namespace {

void say(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

Glyphnab::SystemCalls quietCalls() {
    ZantrelUI::MacCalls mac(
        false, [] { return ZantrelUI::LoginItem::Status::off; }, [](bool) {}, [] {}, [] {}, [](const QUrl&) {},
        [](const QList<QUrl>&) {}, [](const ZantrelUI::OpenAsk&) { return QList<QUrl>(); },
        [](const ZantrelUI::SaveAsk&) { return std::optional<QUrl>(); },
        std::make_shared<Platform::MemoryPasteboard>());
    return Glyphnab::SystemCalls{std::move(mac), [] {}, [] {}, [] {}};
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Under the session's home, which the test removes: the probe is stopped by a signal,
    // so its own clean-up never runs.
    QTemporaryDir state(qEnvironmentVariable("XDG_STATE_HOME", QDir::tempPath()) +
                        QStringLiteral("/glyphnab-row-probe-XXXXXX"));
    ZantrelUI::AppContext context(QStringLiteral("org.glyphnab.rowprobe"), ZantrelKit::AccentPair::glyphnab,
                                  ZantrelKit::OwnerConfig(QVariantMap{{QStringLiteral("CFBundleName"), QStringLiteral("Glyphnab")}}),
                                  {QStringLiteral("glyphnab-row-probe"), QStringLiteral("--state-dir"), state.path()},
                                  true);
    Glyphnab::PictureSource pictures{
        [] { return true; }, [](QColor, QString) -> QCoro::Task<std::optional<QRectF>> { co_return std::nullopt; },
        [](QRectF) -> QCoro::Task<QImage> { co_return QImage(); }, [] {}};
    auto reader = [](QImage, ZantrelText::ReadOptions, std::stop_token) -> QCoro::Task<ZantrelText::Reading> {
        co_return ZantrelText::Reading();
    };
    auto warmer = [](ZantrelText::ReadOptions) -> QCoro::Task<void> { co_return; };
    Glyphnab::GlyphnabModel model(context, std::make_shared<Platform::MemoryPasteboard>(), std::move(pictures),
                                  quietCalls(), reader, warmer,
                                  Glyphnab::ModelAmbient{nullptr, [] { return QStringList{QStringLiteral("en-Latn-US")}; },
                                                         [] { return QStringList{QStringLiteral("en-US")}; }});
    // Nothing stored yet, so that recording the registered keys is a change.
    GlyphnabCore::Preferences prefs = model.prefs();
    prefs.shortcuts.erase(GlyphnabCore::Command::grab);
    model.setPrefs(prefs);
    Glyphnab::ShortcutRow::setSystemShortcuts([] { return ZantrelUI::SystemShortcuts::ShortcutSet(); });

    auto& hotKeys = ZantrelUI::HotKeys::shared();
    using ZantrelKit::Shortcut;
    const Shortcut keys{17, {Shortcut::Modifiers::control, Shortcut::Modifiers::shift, Shortcut::Modifiers::command}};
    hotKeys.set({{QStringLiteral("grab"), keys}}, [](const QString& name) { say(QStringLiteral("fired ") + name); });
    say(QStringLiteral("registered %1").arg(hotKeys.registeredCount()));

    QWidget window;
    window.setWindowTitle(QStringLiteral("Row probe"));
    auto* column = new QVBoxLayout(&window);
    auto* row = new Glyphnab::ShortcutRow(GlyphnabCore::Command::grab, model, true, &window);
    column->addWidget(row);
    window.resize(300, 120);
    QObject::connect(&model, &Glyphnab::GlyphnabModel::prefsChanged, [&] {
        const auto found = model.prefs().shortcuts.find(GlyphnabCore::Command::grab);
        if (found != model.prefs().shortcuts.end())
            say(QStringLiteral("stored %1 %2").arg(found->second.keyCode).arg(found->second.modifiers.rawValue()));
        // The hold ends right after the store.
        QTimer::singleShot(0, [&hotKeys] { say(QStringLiteral("registered %1").arg(hotKeys.registeredCount())); });
    });
    window.show();
    // Recording starts once the window has the keyboard (the test focuses it), or after 3 s.
    bool started = false;
    auto record = [&] {
        if (std::exchange(started, true))
            return;
        row->field()->start();
        if (row->field()->isRecording())
            say(QStringLiteral("recording"));
        say(QStringLiteral("registered %1").arg(hotKeys.registeredCount()));
    };
    QObject::connect(&app, &QGuiApplication::focusWindowChanged, [&](QWindow* focused) {
        if (focused != nullptr && focused == window.windowHandle())
            QTimer::singleShot(100, record);
    });
    QTimer::singleShot(3000, record);
    QTimer::singleShot(120000, [] { QCoreApplication::exit(0); });
    return QApplication::exec();
}
