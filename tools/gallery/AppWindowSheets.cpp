#include "AppWindowSheets.h"

#include "Glyphnab/model/GlyphnabModel.h"
#include "Glyphnab/windows/GrantPanelView.h"
#include "Glyphnab/windows/OnboardingView.h"
#include "Glyphnab/windows/ShortcutRow.h"
#include "ZantrelKit/AccentPair.h"
#include "ZantrelUI/context/AppContext.h"
#include "ZantrelUI/context/Environment.h"
#include "platform/pasteboard/Pasteboard.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <memory>

namespace Gallery {

using namespace Glyphnab;
using ZantrelUI::ColorScheme;

namespace {

void settle() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

// A model whose Screen Recording answer is `allowed`, keeping its state in a folder of its own.
struct GalleryModel {
    QTemporaryDir state;
    bool allowed = false;
    ZantrelUI::AppContext context{QStringLiteral("org.glyphnab.gallery"), ZantrelKit::AccentPair::glyphnab,
                                  ZantrelKit::OwnerConfig(QVariantMap{{QStringLiteral("CFBundleName"), QStringLiteral("Glyphnab")}}),
                                  {QStringLiteral("glyphnab-gallery"), QStringLiteral("--state-dir"), state.path()},
                                  true};
    std::unique_ptr<GlyphnabModel> model;

    GalleryModel() {
        ZantrelUI::MacCalls mac(
            false, [] { return ZantrelUI::LoginItem::Status::off; }, [](bool) {}, [] {}, [] {}, [](const QUrl&) {},
            [](const QList<QUrl>&) {}, [](const ZantrelUI::OpenAsk&) { return QList<QUrl>(); },
            [](const ZantrelUI::SaveAsk&) { return std::optional<QUrl>(); },
            std::make_shared<Platform::MemoryPasteboard>());
        PictureSource pictures{[this] { return allowed; },
                               [](QColor, QString) -> QCoro::Task<std::optional<QRectF>> { co_return std::nullopt; },
                               [](QRectF) -> QCoro::Task<QImage> { co_return QImage(); }, [] {}};
        auto reader = [](QImage, ZantrelText::ReadOptions, std::stop_token) -> QCoro::Task<ZantrelText::Reading> {
            co_return ZantrelText::Reading();
        };
        auto warmer = [](ZantrelText::ReadOptions) -> QCoro::Task<void> { co_return; };
        model = std::make_unique<GlyphnabModel>(
            context, std::make_shared<Platform::MemoryPasteboard>(), std::move(pictures),
            SystemCalls{std::move(mac), [] {}, [] {}, [] {}}, reader, warmer,
            ModelAmbient{nullptr, [] { return QStringList{QStringLiteral("en-Latn-US")}; },
                         [] { return QStringList{QStringLiteral("en-US")}; }});
    }
};

bool save(QWidget& view, ColorScheme scheme, const QString& folder, const QString& name) {
    ZantrelUI::Environment::setColorScheme(&view, scheme);
    ZantrelUI::Environment::setAccent(&view, ZantrelUI::Accent(ZantrelKit::AccentPair::glyphnab));
    // Still forms of the pulsing dot and the drawn check.
    ZantrelUI::Environment::setOffscreen(&view, true);
    view.show();
    settle();
    view.resize(view.sizeHint());
    settle();
    const QString path = QDir(folder).filePath(name + (scheme == ColorScheme::dark ? QStringLiteral("-dark.png")
                                                                                    : QStringLiteral("-light.png")));
    const bool ok = view.grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    view.hide();
    return ok;
}

bool grantSheet(ColorScheme scheme, const QString& folder, const QString& name, bool again, bool on) {
    GalleryModel g;
    if (again) {
        g.allowed = true;
        g.model->refreshGrant();
        g.allowed = false;
        g.model->checkGrantAtLaunch();
    }
    g.allowed = on;
    g.model->refreshGrant();
    GrantPanelView view(*g.model, [] {});
    return save(view, scheme, folder, name);
}

bool onboardingSheet(ColorScheme scheme, const QString& folder, const QString& name, int step,
                     const std::function<void(GalleryModel&)>& prepare = {}) {
    GalleryModel g;
    if (prepare)
        prepare(g);
    OnboardingView view(*g.model, [] {}, ZantrelKit::Onboarding(OnboardingView::steps, step));
    return save(view, scheme, folder, name);
}

}  // namespace

bool appWindowSheets(ColorScheme scheme, const QString& folder) {
    ShortcutRow::setSystemShortcuts([] { return ZantrelUI::SystemShortcuts::ShortcutSet(); });
    bool ok = true;
    ok = grantSheet(scheme, folder, QStringLiteral("grant-waiting"), false, false) && ok;
    ok = grantSheet(scheme, folder, QStringLiteral("grant-on"), false, true) && ok;
    ok = grantSheet(scheme, folder, QStringLiteral("grant-again"), true, false) && ok;
    ok = grantSheet(scheme, folder, QStringLiteral("grant-again-on"), true, true) && ok;
    ok = onboardingSheet(scheme, folder, QStringLiteral("onboarding-welcome"), 0) && ok;
    ok = onboardingSheet(scheme, folder, QStringLiteral("onboarding-route"), 1) && ok;
    ok = onboardingSheet(scheme, folder, QStringLiteral("onboarding-route-asked"), 1,
                         [](GalleryModel& g) { g.model->askForScreenRecording(); }) && ok;
    ok = onboardingSheet(scheme, folder, QStringLiteral("onboarding-keys"), 2) && ok;
    ShortcutRow::setSystemShortcuts({});
    return ok;
}

}  // namespace Gallery
