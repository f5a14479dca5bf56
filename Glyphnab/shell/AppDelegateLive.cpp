// The program's own parts of the delegate: the real desktop behind every closure.

#include "Glyphnab/shell/AppDelegate.h"

#include "Glyphnab/shell/AppIntents.h"
#include "Glyphnab/windows/AppWindows.h"
#include "Glyphnab/model/GlyphnabModel.h"
#include "Glyphnab/notice/GrabShimmer.h"
#include "Glyphnab/notice/NoticePresenter.h"
#include "Glyphnab/model/PictureSource.h"
#include "Glyphnab/shell/StatusController.h"
#include "Glyphnab/model/SystemCalls.h"
#include "Glyphnab/shell/Updater.h"
#include "GlyphnabCore/Words.h"
#include "ZantrelKit/DataFolder.h"
#include "ZantrelUI/desktop/AreaSelector.h"
#include "ZantrelUI/desktop/HotKeys.h"
#include "ZantrelUI/design/ReduceMotion.h"

#include <QDir>

namespace Glyphnab {
namespace {

// The languages of the app's string tables: the ".lproj" folders of its bundle.
QStringList bundleLocalizations() {
    QStringList candidates;
    if (const std::optional<QString> folder = ZantrelKit::dataFolder())
        candidates.append(*folder);
    candidates.append(ZantrelKit::dataFolderCandidates());
    const std::optional<QString> bundle = GlyphnabCore::Words::locateBundle(candidates);
    if (!bundle)
        return {};
    QStringList languages;
    for (const QString& entry : QDir(*bundle).entryList({QStringLiteral("*.lproj")}, QDir::Dirs, QDir::Name))
        languages.append(entry.chopped(6));
    // The development language leads, as a bundle lists it.
    if (languages.removeAll(QStringLiteral("en")) > 0)
        languages.prepend(QStringLiteral("en"));
    return languages;
}

// The app's window set as the delegate opens it; it names and sizes its windows itself.
class WindowSet final : public DelegateWindows {
public:
    WindowSet(GlyphnabModel& model, Updater& updater) : windows_(model, updater) {}
    void showGrant() override { windows_.showGrant(); }
    void showSettings(const QString&, QSize) override { windows_.showSettings(); }
    void showOnboarding(const QString&, QSize) override { windows_.showOnboarding(); }
    SettingsSelection& selection() override { return windows_.selection(); }
    void setHotKeyBindings(const HotKeyBindings* bindings) override { windows_.setHotKeyBindings(bindings); }

private:
    AppWindows windows_;
};

}  // namespace

DelegateParts DelegateParts::live() {
    DelegateParts parts;
    parts.model = [](ZantrelUI::AppContext& context, std::function<void()> release, std::function<void()> reclaim) {
        // The model owns the one selector, so the picture source never outlives it.
        auto selector = std::make_unique<ZantrelUI::AreaSelector>();
        SystemCalls system = SystemCalls::live(Relaunch::live(std::move(release), std::move(reclaim)));
        auto board = system.mac.sharedBoard();
        auto model = std::make_unique<GlyphnabModel>(context, std::move(board), PictureSource::live(*selector),
                                                     std::move(system), GlyphnabModel::liveReader(),
                                                     GlyphnabModel::liveWarmer());
        ZantrelUI::AreaSelector* picker = selector.release();
        picker->setParent(model.get());
        // Whatever still covers the screens for a grab goes once the grab is over.
        GlyphnabModel* held = model.get();
        QObject::connect(held, &GlyphnabModel::busyChanged, picker, [held, picker] {
            if (!held->busy())
                picker->uncover();
        });
        return model;
    };
    parts.notice = [](std::function<NoticeModel*()> model) {
        return std::make_unique<NoticePresenter>(std::move(model), [] { return ZantrelUI::ReduceMotion::system(); });
    };
    parts.shimmer = [] { return std::make_unique<GrabShimmer>([] { return ZantrelUI::ReduceMotion::system(); }); };
    parts.windows = [](GlyphnabModel& model, Updater& updater) { return std::make_unique<WindowSet>(model, updater); };
    parts.status = [](GlyphnabModel& model, std::function<void()> openSettings) {
        return std::make_unique<StatusController>(model, std::move(openSettings));
    };
    parts.shareModel = setSharedModel;
    parts.hotKeys = []() -> ZantrelUI::HotKeys& { return ZantrelUI::HotKeys::shared(); };
    parts.updater = []() -> Updater& { return Updater::shared(); };
    parts.localizations = bundleLocalizations;
    return parts;
}

}  // namespace Glyphnab
