#include "Glyphnab/shell/StatusController.h"

#include "Glyphnab/model/GlyphnabModel.h"
#include "Glyphnab/shell/HotKeyBindings.h"
#include "Glyphnab/shell/StatusIcon.h"
#include "GlyphnabCore/Words.h"
#include "ZantrelUI/desktop/KeyboardLayout.h"
#include "ZantrelUI/desktop/MenuKeyStyle.h"
#include "platform/async/MainThread.h"
#include "platform/log/Log.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QMenu>
#include <QSystemTrayIcon>

namespace Glyphnab {
namespace {

const Platform::Logger& log() {
    static const Platform::Logger logger(QStringLiteral("status"));
    return logger;
}

}  // namespace

StatusController::StatusController(GlyphnabModel& model, std::function<void()> openSettings,
                                   StatusMenu::KeyName keyName, QObject* parent)
    : QObject(parent),
      model_(model),
      openSettings_(std::move(openSettings)),
      keyName_(keyName ? std::move(keyName)
                       : StatusMenu::KeyName([](std::uint16_t code) { return ZantrelUI::KeyboardLayout::name(code); })),
      keyStyle_(std::make_unique<ZantrelUI::MenuKeyStyle>()),
      menu_(std::make_unique<QMenu>()),
      item_(std::make_unique<QSystemTrayIcon>()) {
    Platform::assertMain();
    menu_->setStyle(keyStyle_.get());
    item_->setIcon(statusTrayIcon());
    item_->setToolTip(GlyphnabCore::Words::menuIconTip(model_.appName()));
    // Filled when it opens, never before.
    connect(menu_.get(), &QMenu::aboutToShow, this, &StatusController::rebuildMenu);
    item_->setContextMenu(menu_.get());
    // The tooltip promises the menu on a click, and most tray hosts keep the context menu
    // for the other button.
    connect(item_.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            menu_->popup(QCursor::pos());
    });
    shown_ = !model_.prefs().showIcon;
    follow();
    connect(&model_, &GlyphnabModel::prefsChanged, this, &StatusController::follow);
    // The icon's shade follows the desktop's light or dark appearance.
    qApp->installEventFilter(this);
}

StatusController::~StatusController() {
    qApp->removeEventFilter(this);
    item_->setContextMenu(nullptr);
}

bool StatusController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange)
        item_->setIcon(statusTrayIcon());
    return QObject::eventFilter(watched, event);
}

void StatusController::setHotKeyBindings(const HotKeyBindings* bindings) {
    Platform::assertMain();
    bindings_ = bindings;
}

void StatusController::rebuildMenu() {
    Platform::assertMain();
    StatusMenu::rebuild(*menu_, model_, openSettings_, keyName_,
                        bindings_ ? bindings_->refused() : QSet<GlyphnabCore::Command>{});
}

void StatusController::follow() {
    Platform::assertMain();
    const bool show = model_.prefs().showIcon;
    if (show == shown_)
        return;
    shown_ = show;
    item_->setVisible(show);
    // Without a tray only the shortcuts and opened files reach the app: say so.
    if (show && !QSystemTrayIcon::isSystemTrayAvailable())
        log().notice(u"no system tray for the status icon");
}

}  // namespace Glyphnab
