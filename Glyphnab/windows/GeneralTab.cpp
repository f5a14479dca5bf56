#include "Glyphnab/windows/GeneralTab.h"

#include "Glyphnab/model/GlyphnabModel.h"
#include "Glyphnab/windows/GrantStatus.h"
#include "Glyphnab/windows/SessionCapture.h"
#include "GlyphnabCore/Words.h"
#include "ZantrelUI/design/ChipPicker.h"
#include "ZantrelUI/settings/GeneralSettingsTab.h"
#include "ZantrelUI/design/InkLabel.h"
#include "ZantrelUI/context/MacCalls.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/design/SettingsCard.h"
#include "ZantrelUI/design/Symbols.h"
#include "platform/async/MainThread.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace Glyphnab {
namespace {

using GlyphnabCore::Route;
using ZantrelText::LineMode;
namespace Words = GlyphnabCore::Words;
using namespace ZantrelUI;

// The mark of capture that is off: a dashed circle, 13 points in a 14-point square.
class OffMark final : public GlassWidget {
public:
    explicit OffMark(QWidget* parent = nullptr) : GlassWidget(parent) { setFixedSize(14, 14); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        Symbols::paint(painter, QStringLiteral("circle.dashed"), QRectF(0.5, 0.5, 13, 13), resolve(Ink::tertiary()));
    }
};

QVariant lineModeValue(LineMode mode) { return QVariant::fromValue(static_cast<int>(mode)); }
QVariant routeValue(Route route) { return QVariant::fromValue(static_cast<int>(route)); }

}  // namespace

RouteNote::RouteNote(QWidget* parent) : QWidget(parent) {
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 12, 0, 12);
    stack->setSpacing(0);

    auto* clipboard = new InkLabel(Words::routeClipboardDetail(), Fonts::footnote(), Ink::secondary());
    clipboard->setWordWrap(true);
    clipboardNote_ = clipboard;
    stack->addWidget(clipboardNote_);

    statusLine_ = new QWidget();
    statusRow_ = new QHBoxLayout(statusLine_);
    // At least 28 high, more when the button's font needs it.
    statusRow_->addStrut(28);
    statusRow_->setContentsMargins(0, 0, 0, 0);
    statusRow_->setSpacing(8);
    statusText_ = new InkLabel(QString(), Fonts::body(), Ink::primary());
    openSettings_ = new PillButton(Words::grantOpenSettings());
    statusRow_->addWidget(statusText_, 0, Qt::AlignVCenter);
    statusRow_->addStretch(1);
    statusRow_->addSpacing(12);
    statusRow_->addWidget(openSettings_, 0, Qt::AlignVCenter);
    stack->addWidget(statusLine_);
    connect(openSettings_, &QAbstractButton::clicked, this, &RouteNote::openSettingsClicked);
    setState(false, false);
}

void RouteNote::setState(bool clipboard, bool screenAllowed) {
    clipboardNote_->setVisible(clipboard);
    statusLine_->setVisible(!clipboard);
    if (mark_ == nullptr || markOn_ != screenAllowed) {
        QWidget* mark = screenAllowed ? static_cast<QWidget*>(new GrantStatus(true)) : new OffMark();
        if (mark_ != nullptr) {
            statusRow_->replaceWidget(mark_, mark);
            mark_->deleteLater();
        } else {
            statusRow_->insertWidget(0, mark, 0, Qt::AlignVCenter);
        }
        mark_ = mark;
        markOn_ = screenAllowed;
    }
    // No settings can switch on what the session does not have.
    const auto lacking = screenAllowed ? std::nullopt : sessionLacksCapture();
    if (screenAllowed)
        statusText_->setText(captureThroughPortal() ? Words::grantPortalOn() : Words::grantX11On());
    else
        statusText_->setText(lacking ? Words::grantTitleUnavailable() : Words::grantTitle());
    openSettings_->setVisible(!screenAllowed && !lacking);
}

bool RouteNote::showsClipboardNote() const { return !clipboardNote_->isHidden(); }

QString RouteNote::statusText() const { return statusText_->text(); }

GeneralTab::GeneralTab(GlyphnabModel& model, UpdatesState updates, QWidget* parent)
    : QWidget(parent), model_(model) {
    Platform::assertMain();
    // The login item goes through the model's platform operations.
    Environment::setMacCalls(this, std::make_shared<const MacCalls>(model_.system().mac));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    shared_ = new GeneralSettingsTab(std::move(updates), true, [this](bool) { return buildRows(); }, this);
    column->addWidget(shared_);
    connect(&model_, &GlyphnabModel::prefsChanged, this, &GeneralTab::sync);
    connect(&model_, &GlyphnabModel::screenAllowedChanged, this, &GeneralTab::sync);
    sync();
}

ChipPicker* GeneralTab::lineBreaksPicker() const { return lineBreaks_; }
ChipPicker* GeneralTab::routePicker() const { return route_; }
RouteNote* GeneralTab::routeNote() const { return note_; }
SettingsSwitch* GeneralTab::keepRecentsSwitch() const { return keepRecents_; }
SettingsSwitch* GeneralTab::showIconSwitch() const { return showIcon_; }
PillButton* GeneralTab::quitButton() const { return quit_; }

void GeneralTab::setUpdates(UpdatesState updates) { shared_->setUpdates(std::move(updates)); }

QList<QWidget*> GeneralTab::buildRows() {
    const GlyphnabCore::Preferences& prefs = model_.prefs();

    auto* reading = new SettingsCard();
    lineBreaks_ = new ChipPicker(Words::settingsLineBreaks(), {lineModeValue(LineMode::keep), lineModeValue(LineMode::join)},
                                 lineModeValue(prefs.lineMode), [](const QVariant& v) {
                                     return static_cast<LineMode>(v.toInt()) == LineMode::join ? Words::settingsJoinLines()
                                                                                              : Words::settingsKeepLines();
                                 });
    reading->addRow(new SettingsRow(Words::settingsLineBreaks(), Words::settingsLineBreaksDetail(), lineBreaks_));
    connect(lineBreaks_, &ChipPicker::selectionChanged, this, [this](const QVariant& v) {
        GlyphnabCore::Preferences changed = model_.prefs();
        changed.lineMode = static_cast<LineMode>(v.toInt());
        model_.setPrefs(changed);
    });

    route_ = new ChipPicker(Words::settingsGrabFrom(), {routeValue(Route::screen), routeValue(Route::clipboard)},
                            routeValue(prefs.route), [](const QVariant& v) {
                                return static_cast<Route>(v.toInt()) == Route::clipboard
                                           ? Words::settingsFromClipboardPicture()
                                           : Words::settingsFromScreen();
                            });
    reading->addRow(new SettingsRow(Words::settingsGrabFrom(), std::nullopt, route_));
    connect(route_, &ChipPicker::selectionChanged, this, [this](const QVariant& v) {
        GlyphnabCore::Preferences changed = model_.prefs();
        changed.route = static_cast<Route>(v.toInt());
        model_.setPrefs(changed);
    });

    note_ = new RouteNote();
    reading->addRow(note_);
    connect(note_, &RouteNote::openSettingsClicked, this, [this] { model_.askForScreenRecording(); });

    auto* menu = new SettingsCard();
    keepRecents_ = new SettingsSwitch(Words::settingsKeepRecents(), Words::settingsKeepRecentsDetail(), prefs.keepRecents);
    menu->addRow(keepRecents_);
    connect(keepRecents_, &SettingsSwitch::toggled, this, [this](bool on) {
        GlyphnabCore::Preferences changed = model_.prefs();
        changed.keepRecents = on;
        model_.setPrefs(changed);
    });
    const QString app = model_.appName();
    showIcon_ = new SettingsSwitch(Words::settingsShowIcon(), Words::settingsShowIconDetail(app), prefs.showIcon);
    menu->addRow(showIcon_);
    connect(showIcon_, &SettingsSwitch::toggled, this, [this](bool on) {
        GlyphnabCore::Preferences changed = model_.prefs();
        changed.showIcon = on;
        model_.setPrefs(changed);
    });
    quit_ = new PillButton(Words::menuQuit(app));
    auto* quitRow = new QWidget();
    auto* quitLine = new QHBoxLayout(quitRow);
    quitLine->setContentsMargins(0, 12, 0, 12);
    quitLine->addWidget(quit_);
    quitLine->addStretch(1);
    menu->addRow(quitRow);
    menuCard_ = menu;
    quitRow_ = quitRow;
    connect(quit_, &QAbstractButton::clicked, this, [this] { model_.system().mac.quit(); });

    sync();
    return {reading, menu};
}

void GeneralTab::sync() {
    const GlyphnabCore::Preferences& prefs = model_.prefs();
    if (lineBreaks_) {
        const QSignalBlocker quiet(lineBreaks_);
        lineBreaks_->setSelection(lineModeValue(prefs.lineMode));
    }
    if (route_) {
        const QSignalBlocker quiet(route_);
        route_->setSelection(routeValue(prefs.route));
    }
    if (note_)
        note_->setState(prefs.route == Route::clipboard, model_.screenAllowed());
    if (keepRecents_) {
        const QSignalBlocker quiet(keepRecents_);
        keepRecents_->setOn(prefs.keepRecents);
    }
    if (showIcon_) {
        const QSignalBlocker quiet(showIcon_);
        showIcon_->setOn(prefs.showIcon);
    }
    if (menuCard_ && quitRow_)
        menuCard_->setRowShown(quitRow_, !prefs.showIcon);
}

void GeneralTab::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The status line is current whenever the tab comes into view.
    model_.refreshGrant();
}

}  // namespace Glyphnab
