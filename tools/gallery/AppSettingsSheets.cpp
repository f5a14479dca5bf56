#include "tools/gallery/AppSettingsSheets.h"

#include "Glyphnab/model/GlyphnabModel.h"
#include "Glyphnab/windows/LanguagesTab.h"
#include "Glyphnab/windows/AppWindows.h"
#include "Glyphnab/shell/HotKeyBindings.h"
#include "ZantrelUI/desktop/HotKeys.h"
#include "ZantrelUI/design/GlassWindow.h"
#include "Glyphnab/shell/Updater.h"
#include "ZantrelKit/AccentPair.h"
#include "ZantrelUI/context/AppContext.h"
#include "ZantrelUI/design/Backdrop.h"
#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/context/MacCalls.h"
#include "platform/pasteboard/Pasteboard.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <cstdio>
#include <memory>

namespace {

using namespace Glyphnab;
using namespace ZantrelUI;

// A model that reaches nothing outside: memory boards, no pick, no recognition, and its
// preferences in a throwaway state folder.
struct SampleModel {
    QTemporaryDir state;
    std::unique_ptr<AppContext> context;
    std::unique_ptr<GlyphnabModel> model;

    SampleModel() {
        context = std::make_unique<AppContext>(
            QStringLiteral("org.glyphnab.gallery"), ZantrelKit::AccentPair::glyphnab,
            ZantrelKit::OwnerConfig(QVariantMap{{QStringLiteral("CFBundleName"), QStringLiteral("Glyphnab")}}),
            QStringList{QStringLiteral("--state-dir"), state.path()}, true);
        PictureSource pictures{[] { return false; },
                               [](QColor, QString) -> QCoro::Task<std::optional<QRectF>> { co_return std::nullopt; },
                               [](QRectF) -> QCoro::Task<QImage> { co_return QImage(); }, [] {}};
        MacCalls calls(
            false, [] { return LoginItem::Status::off; }, [](bool) {}, [] {}, [] {}, [](const QUrl&) {},
            [](const QList<QUrl>&) {}, [](const OpenAsk&) { return QList<QUrl>(); },
            [](const SaveAsk&) { return std::optional<QUrl>(); }, std::make_shared<Platform::MemoryPasteboard>());
        auto reader = [](QImage, ZantrelText::ReadOptions, std::stop_token) -> QCoro::Task<ZantrelText::Reading> {
            co_return ZantrelText::Reading{};
        };
        auto warmer = [](ZantrelText::ReadOptions) -> QCoro::Task<void> { co_return; };
        const QStringList supported{"en-Latn-US", "de-Latn-DE", "fr-Latn-FR", "es-Latn-ES", "it-Latn-IT",
                                    "pt-Latn-BR", "nb-Latn-NO", "ja-Jpan-JP", "zh-Hans-CN", "zh-Hant-TW",
                                    "ru-Cyrl-RU", "pl-Latn-PL", "nl-Latn-NL", "sv-Latn-SE", "uk-Cyrl-UA"};
        model = std::make_unique<GlyphnabModel>(
            *context, std::make_shared<Platform::MemoryPasteboard>(), std::move(pictures),
            SystemCalls{calls, [] {}, [] {}, [] {}}, reader, warmer,
            ModelAmbient{nullptr, [supported] { return supported; },
                         [] { return QStringList{QStringLiteral("de-DE"), QStringLiteral("en-US")}; }});
    }

    template <typename Change>
    void change(Change&& edit) {
        GlyphnabCore::Preferences prefs = model->prefs();
        edit(prefs);
        model->setPrefs(prefs);
    }
};

void settle() {
    for (int i = 0; i < 8; ++i)
        QCoreApplication::processEvents();
}

QString schemeName(ColorScheme s) { return s == ColorScheme::dark ? QStringLiteral("dark") : QStringLiteral("light"); }

// A page as the Settings window shows it: glass cards on the backdrop, 604 wide.
bool savePage(QWidget* page, ColorScheme scheme, const QString& folder, const QString& name) {
    QWidget host;
    Environment::setColorScheme(&host, scheme);
    Environment::setAccent(&host, Accent(ZantrelKit::AccentPair::glyphnab));
    Environment::setSettingsGlass(&host, true);
    auto* backdrop = new Backdrop(&host);
    auto* column = new QVBoxLayout(&host);
    column->setContentsMargins(18, 18, 18, 18);
    column->addWidget(page);
    host.setFixedWidth(640);
    host.adjustSize();
    host.show();
    settle();
    host.adjustSize();
    backdrop->setGeometry(host.rect());
    backdrop->lower();
    settle();
    const QString path = QDir(folder).filePath(name + QStringLiteral("-") + schemeName(scheme) + QStringLiteral(".png"));
    const bool ok = host.grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

// A desktop on which another program holds the default grab key.
class GrabKeyTaken final : public Platform::HotKeyService {
public:
    void installHandler(Pressed) override {}
    Platform::HotKeyStatus registerKey(std::uint16_t keyCode, std::uint32_t, std::uint32_t) override {
        return keyCode == 17 ? Platform::HotKeyStatus::refused : Platform::HotKeyStatus::registered;
    }
    void unregisterKey(std::uint32_t) override {}
};

// The whole Settings window on one tab, as it opens.
bool saveWindow(SampleModel& sample, SettingsTab tab, ColorScheme scheme, const QString& folder, const QString& name,
                const HotKeyBindings* bindings = nullptr) {
    Updater updater(ZantrelKit::OwnerConfig(QVariantMap{}), std::nullopt);
    AppWindows windows(*sample.model, updater);
    windows.setHotKeyBindings(bindings);
    windows.selection().setTab(tab);
    windows.showSettings();
    QWidget* window = windows.settings().window();
    Environment::setColorScheme(window, scheme);
    settle();
    const QString path = QDir(folder).filePath(name + QStringLiteral("-") + schemeName(scheme) + QStringLiteral(".png"));
    const bool ok = window->grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    windows.settings().close();
    settle();
    return ok;
}

}  // namespace

bool appSettingsTabs(ColorScheme scheme, const QString& folder) {
    SampleModel sample;
    bool ok = true;

    sample.change([](GlyphnabCore::Preferences& p) {
        p.followSystemLanguages = false;
        p.languages = {QStringLiteral("fr-Latn-FR"), QStringLiteral("de-Latn-DE")};
    });
    ok = savePage(new LanguagesTab(*sample.model), scheme, folder, QStringLiteral("app-languages")) && ok;
    ok = savePage(new LanguagesTab(*sample.model, QStringLiteral("xyz")), scheme, folder,
                  QStringLiteral("app-languages-nothing")) && ok;
    sample.change([](GlyphnabCore::Preferences& p) { p.followSystemLanguages = true; });
    ok = savePage(new LanguagesTab(*sample.model), scheme, folder, QStringLiteral("app-languages-follow")) && ok;

    ok = saveWindow(sample, SettingsTab::general, scheme, folder, QStringLiteral("app-settings-general")) && ok;
    sample.change([](GlyphnabCore::Preferences& p) {
        p.route = GlyphnabCore::Route::clipboard;
        p.showIcon = false;
        p.lineMode = ZantrelText::LineMode::join;
    });
    ok = saveWindow(sample, SettingsTab::general, scheme, folder, QStringLiteral("app-settings-general-clipboard")) && ok;
    ok = saveWindow(sample, SettingsTab::shortcuts, scheme, folder, QStringLiteral("app-settings-shortcuts")) && ok;
    {
        ZantrelUI::HotKeys hotKeys{std::make_unique<GrabKeyTaken>()};
        HotKeyBindings bindings(*sample.model, hotKeys);
        ok = saveWindow(sample, SettingsTab::shortcuts, scheme, folder, QStringLiteral("app-settings-shortcuts-refused"),
                        &bindings) && ok;
    }
    sample.change([](GlyphnabCore::Preferences& p) {
        p.shortcuts[GlyphnabCore::Command::grabOther] = p.shortcuts.at(GlyphnabCore::Command::grab);
    });
    ok = saveWindow(sample, SettingsTab::shortcuts, scheme, folder, QStringLiteral("app-settings-shortcuts-clash")) && ok;
    sample.change([](GlyphnabCore::Preferences& p) { p.followSystemLanguages = false; });
    ok = saveWindow(sample, SettingsTab::languages, scheme, folder, QStringLiteral("app-settings-languages")) && ok;
    ok = saveWindow(sample, SettingsTab::about, scheme, folder, QStringLiteral("app-settings-about")) && ok;
    return ok;
}
