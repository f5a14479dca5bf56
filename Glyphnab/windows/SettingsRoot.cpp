#include "Glyphnab/windows/SettingsRoot.h"

#include "Glyphnab/windows/AppWindows.h"
#include "Glyphnab/windows/GeneralTab.h"
#include "Glyphnab/model/GlyphnabModel.h"
#include "Glyphnab/shell/HotKeyBindings.h"
#include "Glyphnab/windows/LanguagesTab.h"
#include "Glyphnab/windows/SettingsFacts.h"
#include "Glyphnab/windows/ShortcutsTab.h"
#include "Glyphnab/shell/Updater.h"
#include "GlyphnabCore/Words.h"
#include "ZantrelUI/settings/AboutSettingsTab.h"
#include "ZantrelUI/context/AppContext.h"
#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/desktop/HotKeys.h"
#include "ZantrelUI/context/MacCalls.h"
#include "ZantrelUI/settings/SettingsShell.h"
#include "platform/async/MainThread.h"

#include <QVBoxLayout>

namespace Glyphnab {

namespace Words = GlyphnabCore::Words;
using namespace ZantrelUI;

SettingsRoot::SettingsRoot(GlyphnabModel& model, Updater& updater, SettingsSelection& selection,
                           const HotKeyBindings* bindings, QWidget* parent)
    : QWidget(parent), model_(model), updater_(&updater), selection_(&selection), bindings_(bindings) {
    Platform::assertMain();
    Environment::setAccent(this, model_.context().accent());
    Environment::setMacCalls(this, std::make_shared<const MacCalls>(model_.system().mac));

    const std::vector<SettingsTab> tabs(allSettingsTabs.begin(), allSettingsTabs.end());
    shell_ = new SettingsShell(model_.appName(),
                               SettingsShell::tabsOf<SettingsTab>(tabs, settingsTabTitle,
                                                                  [this](SettingsTab tab) { return makePage(tab); }),
                               QVariant::fromValue(selection.tab()), windowWidth);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(shell_);

    connect(shell_, &SettingsShell::selectionChanged, this, [this](const QVariant& tab) {
        if (selection_)
            selection_->setTab(tab.value<SettingsTab>());
    });
    // The window set may choose a tab while the window is open (reopening with the icon hidden).
    connect(&selection, &SettingsSelection::tabChanged, this,
            [this](SettingsTab tab) { shell_->setSelection(QVariant::fromValue(tab)); });
}

QWidget* SettingsRoot::page() const { return shell_->page(); }

QWidget* SettingsRoot::makePage(SettingsTab tab) {
    switch (tab) {
    case SettingsTab::general: {
        auto* general = new GeneralTab(model_, updater_ ? updatesState(*updater_) : UpdatesState{});
        if (updater_)
            connect(updater_, &Updater::canCheckChanged, general, [this, general] {
                if (updater_)
                    general->setUpdates(updatesState(*updater_));
            });
        return general;
    }
    case SettingsTab::shortcuts: {
        auto* shortcuts = new ShortcutsTab(model_);
        if (bindings_) {
            const auto show = [this, shortcuts] {
                if (!bindings_)
                    return;
                shortcuts->setRefused(bindings_->refused());
                ZantrelUI::HotKeys& keys = bindings_->hotKeys();
                shortcuts->setDesk(keys.desk(), bindings_->unavailable(), [&keys](GlyphnabCore::Command command) {
                    return keys.trigger(GlyphnabCore::rawValue(command));
                });
            };
            show();
            connect(bindings_, &HotKeyBindings::refusedChanged, shortcuts, show);
        }
        return shortcuts;
    }
    case SettingsTab::languages:
        return new LanguagesTab(model_, QString());
    case SettingsTab::about: {
        QPointer<GlyphnabModel> model(&model_);
        return new AboutSettingsTab(model_.context(), Words::appAbout(model_.appName()), std::nullopt, true, [model] {
            return model ? reportFields(model->prefs(), model->screenAllowed()) : QList<Diagnostics::Fact>{};
        });
    }
    }
    return new QWidget();
}

QWidget* AppWindows::settingsRoot(QWidget* parent) {
    return new SettingsRoot(model_, updater_, selection(), bindings_, parent);
}

}  // namespace Glyphnab
