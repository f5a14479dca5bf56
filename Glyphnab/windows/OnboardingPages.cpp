#include "Glyphnab/windows/OnboardingPages.h"

#include "Glyphnab/model/GlyphnabModel.h"
#include "Glyphnab/shell/HotKeyBindings.h"
#include "Glyphnab/windows/GrabIllustration.h"
#include "Glyphnab/windows/GrantStatus.h"
#include "Glyphnab/windows/RouteCard.h"
#include "Glyphnab/windows/SessionCapture.h"
#include "Glyphnab/windows/ShortcutRow.h"
#include "Glyphnab/shell/StatusIcon.h"
#include "GlyphnabCore/Words.h"
#include "ZantrelUI/desktop/HotKeys.h"
#include "platform/screen/ScreenService.h"
#include "ZantrelUI/context/AppContext.h"
#include "ZantrelUI/design/Backdrop.h"
#include "ZantrelUI/design/ChipPicker.h"
#include "ZantrelUI/design/InkLabel.h"
#include "ZantrelUI/design/OverhangItem.h"
#include "ZantrelUI/desktop/KeyboardLayout.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/design/PlainButton.h"
#include "ZantrelUI/design/SettingsCard.h"
#include "ZantrelUI/settings/ShortcutField.h"
#include "ZantrelUI/design/Symbols.h"
#include "platform/async/MainThread.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QSystemTrayIcon>
#include <QVBoxLayout>

namespace Glyphnab {

using GlyphnabCore::Command;
using GlyphnabCore::Route;
using ZantrelText::LineMode;
using namespace ZantrelUI;
namespace Words = GlyphnabCore::Words;

namespace {

QVBoxLayout* pageStack(QWidget* page) {
    auto* stack = new QVBoxLayout(page);
    // The page reaches past the text column by the route cards' glow room.
    const int side = pageOverhang();
    stack->setContentsMargins(side, 0, side, 0);
    stack->setSpacing(16);
    return stack;
}

InkLabel* pageTitle(const QString& text, QWidget* parent) {
    auto* title = new InkLabel(text, Fonts::title(), Ink::primary(), true, parent);
    title->setHeading(true);
    return title;
}

}  // namespace

// A symbol in the accent (or a given ink), drawn square; decorative.
class SymbolMark final : public GlassWidget {
public:
    SymbolMark(QString symbol, qreal glyph, QSize frame, std::optional<DynamicColor> ink, QWidget* parent = nullptr)
        : GlassWidget(parent), symbol_(std::move(symbol)), glyph_(glyph), ink_(std::move(ink)) {
        setFixedSize(frame);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    const QString& symbol() const { return symbol_; }
    void setSymbol(QString symbol, std::optional<DynamicColor> ink) {
        symbol_ = std::move(symbol);
        ink_ = std::move(ink);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QColor colour = ink_ ? resolve(*ink_) : environment().accent.top.resolve(scheme());
        const QRectF frame(rect());
        Symbols::paint(painter, symbol_,
                       QRectF(frame.center() - QPointF(glyph_ / 2, glyph_ / 2), QSizeF(glyph_, glyph_)), colour);
    }

private:
    QString symbol_;
    qreal glyph_;
    std::optional<DynamicColor> ink_;
};

namespace {

// The app's tray icon in the window's appearance; decorative.
class TrayIconMark final : public GlassWidget {
public:
    static constexpr int side = 18;
    explicit TrayIconMark(QWidget* parent = nullptr) : GlassWidget(parent) {
        setFixedSize(side, side);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        // Light strokes on a dark window, dark ones on a light window.
        const QImage icon = statusIcon(side, scheme(), devicePixelRatioF());
        painter.drawImage(QRectF(rect()), icon);
    }
};

}  // namespace

int pageOverhang() { return static_cast<int>(RouteCard::shadowRoom()); }

// Welcome.

WelcomePage::WelcomePage(GlyphnabModel& model, QWidget* parent) : QWidget(parent) {
    Platform::assertMain();
    auto* stack = pageStack(this);
    stack->addWidget(pageTitle(Words::welcomeTitle(), this));
    stack->addWidget(new InkLabel(Words::welcomeBody(), Fonts::body(), Ink::secondary(), true, this));
    // The drawing centres itself in the full width; its shadows may reach into the
    // spacing above and below it. Its slot ends 6 points under its cards.
    auto* drawing = new GrabIllustration({190, 230, 205, 120, 210, 160}, this);
    const int glow = GrabIllustration::room;
    stack->addItem(new OverhangItem(drawing, QMargins(0, glow, 0, glow - 6)));

    auto* points = new QVBoxLayout();
    points->setSpacing(12);
    const std::pair<const char16_t*, QString> lines[] = {
        {u"lock.shield.fill", Words::welcomeLocal()},
        {u"text.alignleft", Words::welcomeLines()},
        {u"tablecells.fill", Words::welcomeTables()},
        {u"qrcode", Words::welcomeCodes()},
    };
    for (const auto& [symbol, text] : lines) {
        auto* line = new QHBoxLayout();
        line->setSpacing(8);
        line->addWidget(new SymbolMark(QString::fromUtf16(symbol), 14, QSize(22, 18), std::nullopt, this), 0,
                        Qt::AlignTop);
        line->addWidget(new InkLabel(text, Fonts::body(), Ink::primary(), true, this), 1);
        points->addLayout(line);
    }
    stack->addLayout(points);
    stack->addWidget(new InkLabel(Words::welcomeLiveText(model.appName()), Fonts::footnote(), Ink::secondary(), true,
                                  this));
    stack->addStretch(1);
}

// The grant footer.

GrantFooter::GrantFooter(GlyphnabModel& model, QWidget* parent)
    : QWidget(parent), model_(&model), stack_(new QVBoxLayout(this)) {
    stack_->setContentsMargins(0, 0, 0, 0);
    stack_->setSpacing(0);
    connect(&model, &GlyphnabModel::screenAllowedChanged, this, &GrantFooter::refresh);
    connect(&model, &GlyphnabModel::screenRecordingAskedChanged, this, &GrantFooter::refresh);
    refresh();
}

QString GrantFooter::statusText() const { return statusLabel_ ? statusLabel_->text() : QString(); }

void GrantFooter::refresh() {
    Platform::assertMain();
    if (!model_)
        return;
    const bool allowed = model_->screenAllowed();
    // A session without any way to read the screen has nothing to allow or reopen for.
    const auto lacking = allowed ? std::nullopt : sessionLacksCapture();
    const Form form = model_->screenRecordingAsked() && !allowed && !lacking ? Form::reopen : Form::status;
    if (!built_ || form != form_)
        rebuild(form);
    if (form_ == Form::status) {
        status_->setOn(allowed);
        if (lacking)
            statusLabel_->setText(Words::grantTitleUnavailable());
        else if (allowed)
            statusLabel_->setText(captureThroughPortal() ? Words::grantPortalOn() : Words::grantX11On());
        else
            statusLabel_->setText(Words::grantWaiting());
        allow_->setVisible(!allowed && !lacking);
    }
}

void GrantFooter::rebuild(Form form) {
    built_ = true;
    form_ = form;
    // The old form may be the sender of the click that changed the state.
    if (content_ != nullptr) {
        content_->hide();
        content_->deleteLater();
    }
    allow_ = nullptr;
    settings_ = nullptr;
    quitReopen_ = nullptr;
    content_ = new QWidget(this);
    const bool allowed = model_->screenAllowed();
    if (form == Form::reopen) {
        auto* column = new QVBoxLayout(content_);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(8);
        auto* hint = new QHBoxLayout();
        hint->setSpacing(8);
        status_ = new GrantStatus(allowed, content_);
        hint->addWidget(status_, 0, Qt::AlignVCenter);
        statusLabel_ = new InkLabel(Words::grantReopen(model_->appName()), Fonts::footnote(), Ink::secondary(), true,
                                    content_);
        hint->addWidget(statusLabel_, 1, Qt::AlignVCenter);
        column->addLayout(hint);
        auto* buttons = new QHBoxLayout();
        buttons->setSpacing(12);
        settings_ = new PlainButton(Words::grantOpenSettings(), content_);
        connect(settings_, &QAbstractButton::clicked, this, [this] {
            Platform::assertMain();
            if (model_)
                model_->askForScreenRecording();
        });
        buttons->addWidget(settings_);
        quitReopen_ = new PillButton(Words::grantQuitReopen(), false, false, content_);
        connect(quitReopen_, &QAbstractButton::clicked, this, [this] {
            Platform::assertMain();
            if (model_ && model_->system().relaunch)
                model_->system().relaunch();
        });
        buttons->addWidget(quitReopen_);
        buttons->addStretch(1);
        column->addLayout(buttons);
    } else {
        content_->setFixedHeight(30);
        auto* row = new QHBoxLayout(content_);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(8);
        status_ = new GrantStatus(allowed, content_);
        row->addWidget(status_, 0, Qt::AlignVCenter);
        statusLabel_ = new InkLabel(QString(), Fonts::footnote(), Ink::secondary(), false, content_);
        row->addWidget(statusLabel_, 0, Qt::AlignVCenter);
        row->addStretch(1);
        allow_ = new PillButton(Words::grantAllow(), false, false, content_);
        connect(allow_, &QAbstractButton::clicked, this, &GrantFooter::allow);
        row->addWidget(allow_, 0, Qt::AlignVCenter);
    }
    stack_->addWidget(content_);
}

void GrantFooter::allow() {
    Platform::assertMain();
    if (!model_)
        return;
    GlyphnabCore::Preferences prefs = model_->prefs();
    prefs.route = Route::screen;
    model_->setPrefs(prefs);
    // A relaunch after the prompt comes back to this step.
    model_->context().defaults().setInteger(onboardingStepKey, 1);
    model_->askForScreenRecording();
}

// Route.

RoutePage::RoutePage(GlyphnabModel& model, QWidget* parent) : QWidget(parent), model_(&model) {
    Platform::assertMain();
    auto* stack = pageStack(this);
    stack->addWidget(pageTitle(Words::routeTitle(), this));
    stack->addWidget(new InkLabel(Words::routeBody(), Fonts::body(), Ink::secondary(), true, this));
    const QPointer<GlyphnabModel> weak(&model);
    auto choose = [weak](Route route) {
        return [weak, route] {
            Platform::assertMain();
            if (!weak || weak->prefs().route == route)
                return;
            GlyphnabCore::Preferences prefs = weak->prefs();
            prefs.route = route;
            weak->setPrefs(prefs);
        };
    };
    footer_ = new GrantFooter(model);
    const bool screen = model.prefs().route == Route::screen;
    // Through the portal the desktop asks at the first grab; nothing needs reopening.
    screen_ = new RouteCard(QStringLiteral("rectangle.dashed"), Words::routeScreen(),
                            captureThroughPortal() ? Words::routeScreenDetailDesk() : Words::routeScreenDetailX11(),
                            screen, choose(Route::screen), footer_, this);
    clipboard_ = new RouteCard(QStringLiteral("doc.on.clipboard"), Words::routeClipboard(),
                               Words::routeClipboardDetail(), !screen, choose(Route::clipboard), nullptr, this);
    // The cards' outlines, not their glow, line up with the page and are spaced like it.
    const int room = static_cast<int>(RouteCard::shadowRoom());
    const QMargins glow(room, room, room, room);
    stack->addItem(new OverhangItem(screen_, glow));
    stack->addItem(new OverhangItem(clipboard_, glow));
    stack->addStretch(1);
    connect(&model, &GlyphnabModel::prefsChanged, this, &RoutePage::refresh);
}

void RoutePage::refresh() {
    if (!model_)
        return;
    const bool screen = model_->prefs().route == Route::screen;
    screen_->setChosen(screen);
    clipboard_->setChosen(!screen);
}

// Keys.

KeysPage::KeysPage(GlyphnabModel& model, QWidget* parent) : QWidget(parent), model_(&model) {
    Platform::assertMain();
    auto* stack = pageStack(this);
    stack->addWidget(pageTitle(Words::keysTitle(), this));
    body_ = new InkLabel(Words::keysBody(), Fonts::body(), Ink::secondary(), true, this);
    stack->addWidget(body_);

    auto* card = new SettingsCard(std::nullopt, this);
    for (const Command command : GlyphnabCore::allCommands) {
        const auto index = static_cast<std::size_t>(command);
        auto* row = new QWidget();
        auto* line = new QHBoxLayout(row);
        line->setContentsMargins(0, 10, 0, 10);
        line->setSpacing(12);
        titles_[index] = new InkLabel(QString(), Fonts::body(), Ink::primary(), false, row);
        // On the line of the field's text rather than its capsule's edge.
        titles_[index]->setContentsMargins(0, 4, 0, 0);
        line->addWidget(titles_[index], 0, Qt::AlignTop);
        line->addStretch(1);
        rows_[index] = new ShortcutRow(command, model, true, row);
        // The try-it line says it when the grab keys do nothing.
        if (command == Command::grab)
            rows_[index]->setSaysRefusal(false);
        line->addWidget(rows_[index], 0, Qt::AlignTop);
        card->addRow(row);
    }
    stack->addWidget(card);

    QVariantList modes;
    for (const LineMode mode : {LineMode::keep, LineMode::join})
        modes.append(ZantrelText::rawValue(mode));
    lineModes_ = new ChipPicker(Words::settingsLineBreaks(), modes, ZantrelText::rawValue(model.prefs().lineMode),
                                [](const QVariant& option) {
                                    return option.toString() == ZantrelText::rawValue(LineMode::join)
                                               ? Words::settingsJoinLines()
                                               : Words::settingsKeepLines();
                                },
                                this);
    connect(lineModes_, &ChipPicker::selectionChanged, this, [this](const QVariant& option) {
        Platform::assertMain();
        const auto mode = ZantrelText::lineModeFromRawValue(option.toString());
        if (!model_ || !mode || model_->prefs().lineMode == *mode)
            return;
        GlyphnabCore::Preferences prefs = model_->prefs();
        prefs.lineMode = *mode;
        model_->setPrefs(prefs);
    });
    stack->addWidget(lineModes_, 0, Qt::AlignLeft);

    tryIt_ = new GlassCard(14, this);
    auto* tryRow = new QHBoxLayout();
    tryRow->setContentsMargins(16, 14, 16, 14);
    tryRow->setSpacing(10);
    tryItMark_ = new SymbolMark(QString(), 15, QSize(18, 18), std::nullopt, tryIt_);
    tryRow->addWidget(tryItMark_, 0, Qt::AlignTop);
    tryItLabel_ = new InkLabel(QString(), Fonts::body(), Ink::primary(), true, tryIt_);
    tryRow->addWidget(tryItLabel_, 1);
    change_ = new PlainButton(Words::keysChangeShortcut(), tryIt_);
    change_->hide();
    connect(change_, &QAbstractButton::clicked, this, [this] {
        Platform::assertMain();
        if (ZantrelUI::ShortcutField* field = row(Command::grab)->field()) {
            field->setFocus(Qt::OtherFocusReason);
            if (!field->isRecording())
                field->start();
        }
    });
    tryRow->addWidget(change_, 0, Qt::AlignVCenter);
    static_cast<GlassCard*>(tryIt_)->contentLayout()->addLayout(tryRow);
    stack->addWidget(tryIt_);

    auto* menuBar = new QHBoxLayout();
    menuBar->setSpacing(8);
    menuBar->addWidget(new TrayIconMark(this), 0, Qt::AlignTop);
    // Without a tray host there is no icon to open: starting the app again opens Settings.
    menuBar_ = new InkLabel(QSystemTrayIcon::isSystemTrayAvailable() ? Words::keysMenuBar(model.appName())
                                                                      : Words::keysNoTray(model.appName()),
                            Fonts::footnote(), Ink::secondary(), true, this);
    menuBar->addWidget(menuBar_, 1);
    stack->addLayout(menuBar);
    stack->addStretch(1);

    connect(&model, &GlyphnabModel::prefsChanged, this, &KeysPage::refresh);
    connect(&model, &GlyphnabModel::screenAllowedChanged, this, &KeysPage::refresh);
    refresh();
}

ShortcutRow* KeysPage::row(Command command) const { return rows_[static_cast<std::size_t>(command)]; }
InkLabel* KeysPage::rowTitle(Command command) const { return titles_[static_cast<std::size_t>(command)]; }

QString KeysPage::tryItSymbol() const { return tryItMark_->symbol(); }

std::optional<QString> KeysPage::tryItText() const {
    if (tryIt_->isHidden())
        return std::nullopt;
    return tryItLabel_->text();
}

void KeysPage::setHotKeyBindings(const HotKeyBindings* bindings) {
    Platform::assertMain();
    disconnect(bindingsChange_);
    bindings_ = bindings;
    if (bindings)
        bindingsChange_ = connect(bindings, &HotKeyBindings::refusedChanged, this, &KeysPage::refresh);
    refresh();
}

void KeysPage::refreshDesk() {
    // A Wayland desktop may offer apps no global keys, or bind them itself; it may also
    // answer only after the page opened.
    const HotKeys* keys = bindings_ ? &bindings_->hotKeys()
                          : Platform::currentSession() == Platform::Session::wayland ? &HotKeys::shared()
                                                                                     : nullptr;
    if (keys) {
        desk_ = keys->desk();
        grabTrigger_ = keys->trigger(GlyphnabCore::rawValue(Command::grab));
        for (const Command command : GlyphnabCore::allCommands) {
            if (desk_ != Platform::HotKeyDesk::grabs)
                row(command)->setDesk(desk_, desk_ == Platform::HotKeyDesk::none,
                                      keys->trigger(GlyphnabCore::rawValue(command)));
        }
    }
    body_->setText(desk_ == Platform::HotKeyDesk::none     ? Words::keysBodyNoGlobalKeys()
                   : desk_ == Platform::HotKeyDesk::portal ? Words::keysBodyDesk()
                                                           : Words::keysBody());
    // The page's text says it once for both rows.
    for (const Command command : GlyphnabCore::allCommands) {
        if (desk_ == Platform::HotKeyDesk::none)
            row(command)->refusedLabel()->hide();
    }
}

QSet<Command> KeysPage::refused() const { return bindings_ ? bindings_->refused() : QSet<Command>{}; }

void KeysPage::refresh() {
    Platform::assertMain();
    if (!model_)
        return;
    const GlyphnabCore::Preferences& prefs = model_->prefs();
    const QSet<Command> refusedNow = refused();
    for (const Command command : GlyphnabCore::allCommands) {
        titles_[static_cast<std::size_t>(command)]->setText(ShortcutRow::commandTitle(command, prefs.lineMode));
        row(command)->setRefused(refusedNow.contains(command));
    }
    refreshDesk();
    change_->setVisible(refusedNow.contains(Command::grab));
    lineModes_->setSelection(ZantrelText::rawValue(prefs.lineMode));
    const auto grab = prefs.shortcuts.find(Command::grab);
    tryIt_->setVisible(grab != prefs.shortcuts.end());
    if (grab == prefs.shortcuts.end())
        return;
    const bool dead = refusedNow.contains(Command::grab);
    tryItMark_->setSymbol(dead ? QStringLiteral("exclamationmark.triangle.fill") : QStringLiteral("hand.point.right.fill"),
                          dead ? std::optional(Ink::danger()) : std::nullopt);
    const QString keys = desk_ == Platform::HotKeyDesk::grabs ? KeyboardLayout::text(grab->second) : grabTrigger_;
    if (keys.isEmpty())
        tryItLabel_->setText(Words::keysTryItCommand());
    // Pressing keys that another program holds would do nothing: no invitation to try.
    else if (dead)
        tryItLabel_->setText(Words::keysTryItRefused(keys));
    else if (prefs.route == Route::clipboard)
        tryItLabel_->setText(Words::keysTryItClipboard(keys));
    else if (model_->screenAllowed())
        tryItLabel_->setText(Words::keysTryIt(keys));
    else
        tryItLabel_->setText(Words::keysTryItNoGrant(keys));
}

}  // namespace Glyphnab
