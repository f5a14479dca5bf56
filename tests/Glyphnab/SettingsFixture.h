#pragma once

// A model for the Settings tabs: recording platform calls, a memory pasteboard, a
// reader that finds nothing, and the supported and system languages the test gives.

#include "Glyphnab/model/GlyphnabModel.h"
#include "ZantrelKit/AccentPair.h"
#include "ZantrelUI/context/AppContext.h"
#include "ZantrelUI/context/MacCalls.h"
#include "platform/async/Clock.h"
#include "platform/pasteboard/Pasteboard.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <memory>

namespace Glyphnab::SettingsTesting {

inline void settle() {
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

struct ModelSetup {
    QStringList supported{QStringLiteral("en-Latn-US"), QStringLiteral("de-Latn-DE"), QStringLiteral("fr-Latn-FR")};
    QStringList preferred{QStringLiteral("en-US")};
    bool screenAllowed = false;
};

class SettingsModel {
public:
    explicit SettingsModel(ModelSetup setup = {}, const QString& bundleId = QStringLiteral("org.glyphnab.settingstest"))
        : setup_(std::move(setup)),
          clock_(true),
          context_(bundleId, ZantrelKit::AccentPair::glyphnab,
                   ZantrelKit::OwnerConfig(QVariantMap{{QStringLiteral("CFBundleName"), QStringLiteral("Glyphnab")}}), {}) {
        forgetState();
        PictureSource pictures{
            [this] { return setup_.screenAllowed; },
            [](QColor, QString) -> QCoro::Task<std::optional<QRectF>> { co_return std::nullopt; },
            [](QRectF) -> QCoro::Task<QImage> { co_return QImage(); }, [] {}};
        ZantrelUI::MacCalls calls(
            false, [] { return ZantrelUI::LoginItem::Status::off; }, [](bool) {}, [] {}, [this] { ++quits; },
            [this](const QUrl& url) { opened.append(url); }, [](const QList<QUrl>&) {},
            [](const ZantrelUI::OpenAsk&) { return QList<QUrl>(); },
            [](const ZantrelUI::SaveAsk&) { return std::optional<QUrl>(); },
            std::make_shared<Platform::MemoryPasteboard>());
        SystemCalls system{calls, [this] { ++asks; }, [] {}, [] {}};
        auto reader = [](QImage, ZantrelText::ReadOptions, std::stop_token) -> QCoro::Task<ZantrelText::Reading> {
            co_return ZantrelText::Reading{};
        };
        auto warmer = [](ZantrelText::ReadOptions) -> QCoro::Task<void> { co_return; };
        model = std::make_unique<GlyphnabModel>(
            context_, std::make_shared<Platform::MemoryPasteboard>(), std::move(pictures), std::move(system), reader,
            warmer,
            ModelAmbient{&clock_, [this] { return setup_.supported; }, [this] { return setup_.preferred; }});
    }

    ~SettingsModel() {
        model.reset();
        forgetState();
    }

    // The process keeps one store per bundle: each model starts from the defaults.
    void forgetState() {
        for (const char* key : {"preferences", "screenRecording.asked", "grant.screenRecording.seen"})
            context_.defaults().remove(QString::fromLatin1(key));
    }

    // Makes the picture source answer differently from now on.
    void allowScreen(bool allowed) { setup_.screenAllowed = allowed; }

    template <typename Change>
    void change(Change&& edit) {
        GlyphnabCore::Preferences prefs = model->prefs();
        edit(prefs);
        model->setPrefs(prefs);
    }

    ZantrelUI::AppContext& context() { return context_; }

    int quits = 0;
    int asks = 0;
    QList<QUrl> opened;

private:
    ModelSetup setup_;
    Platform::ManualClock clock_;
    ZantrelUI::AppContext context_;

public:
    std::unique_ptr<GlyphnabModel> model;
};

}  // namespace Glyphnab::SettingsTesting
