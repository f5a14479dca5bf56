#include "ZantrelUI/settings/ShortcutField.h"

#include "ZantrelKit/Copy.h"
#include "ZantrelKit/MotionSpec.h"
#include "ZantrelKit/ShortcutRecording.h"
#include "ZantrelUI/design/GlassPainting.h"
#include "ZantrelUI/desktop/HotKeys.h"
#include "ZantrelUI/desktop/KeyboardLayout.h"
#include "ZantrelUI/design/ReduceMotion.h"
#include "ZantrelUI/settings/ShortcutFieldKeys.h"
#include "ZantrelUI/design/Symbols.h"
#include "platform/async/MainThread.h"
#include "platform/keyboard/Keymap.h"
#include "platform/screen/X11Link.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWindow>

#include <cmath>

namespace ZantrelUI {

namespace {

QPointer<ShortcutField> activeField;

ShortcutField::Beep& beepHook() {
    static ShortcutField::Beep hook;
    return hook;
}

std::shared_ptr<const Platform::Keymap> currentKeymap() {
    if (const auto link = Platform::applicationX11Link()) {
        if (auto keymap = Platform::Keymap::fromX11(*link))
            return std::make_shared<const Platform::Keymap>(std::move(*keymap));
    }
    return nullptr;  // events are judged by their Qt key
}

QColor withOpacity(QColor color, double opacity) {
    color.setAlphaF(static_cast<float>(color.alphaF() * opacity));
    return color;
}

}  // namespace

ShortcutField::ShortcutField(const QString& title, std::optional<ZantrelKit::Shortcut> shortcut, bool clashes,
                             bool allowAny, OnChange onChange, QWidget* parent)
    : GlassWidget(parent),
      title_(title),
      shortcut_(shortcut),
      clashes_(clashes),
      onChange_(std::move(onChange)),
      allowAny_(allowAny),
      recordingLook_(new AnimatedValue(0, this)) {
    ensureGlassAccessibility();
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::StrongFocus);
    connect(recordingLook_, &AnimatedValue::changed, this, qOverload<>(&QWidget::update));
}

ShortcutField::~ShortcutField() { release(); }

void ShortcutField::setBeep(Beep beep) { beepHook() = std::move(beep); }

ShortcutField* ShortcutField::active() { return activeField.data(); }

void ShortcutField::setShortcut(std::optional<ZantrelKit::Shortcut> shortcut) {
    if (shortcut_ == shortcut)
        return;
    shortcut_ = shortcut;
    updateGeometry();
    announceChange();
}

void ShortcutField::setClashes(bool clashes) {
    clashes_ = clashes;
    update();
}

void ShortcutField::start() {
    Platform::assertMain();
    if (ShortcutField* other = activeField.data(); other != nullptr && other != this)
        other->stop();
    activeField = this;
    setRecording(true);
    refused_ = false;
    HotKeys& hotKeys = hotKeys_ != nullptr ? *hotKeys_ : HotKeys::shared();
    hotKeys.hold(holdReason, true);
    keymap_ = currentKeymap();

    keyWindow_ = QApplication::activeWindow();
    observers_.append(connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            stop();
    }));
    if (keyWindow_) {
        observers_.append(connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget*) {
            if (keyWindow_ && QApplication::activeWindow() != keyWindow_)
                stop();
        }));
    }
    qApp->installEventFilter(this);
    filtering_ = true;
    // The whole keyboard comes here, so the window manager's own keys are recorded
    // instead of acted on; on X11 this is a grab of the server's keyboard.
    if (isVisible())
        grabKeyboard();
    announceChange();
}

void ShortcutField::stop() {
    if (!recording_ && !filtering_)
        return;
    release();
    recordingLook_->animateTo(0, Motion::spring(ZantrelKit::MotionSpec::snappy, ReduceMotion::of(this)));
    announceChange();
}

void ShortcutField::release() {
    if (!recording_ && !filtering_)
        return;
    recording_ = false;
    if (QWidget::keyboardGrabber() == this)
        releaseKeyboard();
    if (filtering_) {
        qApp->removeEventFilter(this);
        filtering_ = false;
    }
    for (const QMetaObject::Connection& observer : std::as_const(observers_))
        disconnect(observer);
    observers_.clear();
    keyWindow_.clear();
    HotKeys& hotKeys = hotKeys_ != nullptr ? *hotKeys_ : HotKeys::shared();
    hotKeys.hold(holdReason, false);
    if (activeField == this)
        activeField.clear();
}

void ShortcutField::toggle() {
    if (recording_)
        stop();
    else
        start();
}

void ShortcutField::clear() {
    if (onChange_)
        onChange_(std::nullopt);
}

void ShortcutField::setRecording(bool recording) {
    recording_ = recording;
    const bool reduced = ReduceMotion::of(this);
    recordingLook_->animateTo(recording ? 1 : 0, Motion::spring(ZantrelKit::MotionSpec::snappy, reduced));
    update();
}

void ShortcutField::announceChange() {
    update();
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, accessibleText(QAccessible::Value));
        QAccessible::updateAccessibility(&event);
    }
}

bool ShortcutField::eventFilter(QObject* watched, QEvent* event) {
    if (!recording_)
        return false;
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Claimed, so no window shortcut (Escape closing, Ctrl+W) acts on the keys.
        event->accept();
        return true;
    case QEvent::KeyPress:
        judgeKey(static_cast<const QKeyEvent&>(*event));
        return true;
    case QEvent::KeyRelease:
        return true;
    case QEvent::MouseButtonPress: {
        const auto& click = static_cast<const QMouseEvent&>(*event);
        if (watched->isWidgetType() && click.button() == Qt::LeftButton)
            judgeClick(watched, click);
        return false;  // the click still does what it does
    }
    default:
        return false;
    }
}

void ShortcutField::judgeKey(const QKeyEvent& key) {
    const auto keyCode = ShortcutFieldKeys::storedKeyCode(key, keymap_.get());
    if (!keyCode)
        return;  // a key with no stored code cannot be bound
    const auto modifiers = ZantrelKit::Shortcut::Modifiers::fromQt(key.modifiers());
    const ZantrelKit::Shortcut::Recording verdict(*keyCode, modifiers, allowAny_);
    using Kind = ZantrelKit::Shortcut::Recording::Kind;
    switch (verdict.kind()) {
    case Kind::set: {
        const OnChange onChange = onChange_;  // the owner may rebuild this field
        QPointer<ShortcutField> self(this);
        if (onChange)
            onChange(verdict.shortcut());
        if (self)
            stop();
        break;
    }
    case Kind::clear: {
        const OnChange onChange = onChange_;
        QPointer<ShortcutField> self(this);
        if (onChange)
            onChange(std::nullopt);
        if (self)
            stop();
        break;
    }
    case Kind::cancel:
        stop();
        break;
    case Kind::needsModifier:
        refused_ = true;
        announceChange();
        if (const Beep& beep = beepHook())
            beep();
        else
            QApplication::beep();
        break;
    case Kind::waiting:
        break;
    }
}

void ShortcutField::judgeClick(QObject* watched, const QMouseEvent& click) {
    auto* widget = static_cast<QWidget*>(watched);
    if (keyWindow_ && widget->window() != keyWindow_) {
        stop();
        return;
    }
    // Without a key window at the start, the field's frame alone decides.
    const QRect frame(mapToGlobal(QPoint(0, 0)), size());
    if (!frame.contains(click.globalPosition().toPoint()))
        stop();
}

QString ShortcutField::labelText() const {
    using namespace ZantrelKit::Copy;
    if (recording_ || environment().showsShortcutRecording)
        return refused_ ? Shortcuts::needsModifier() : Shortcuts::recording();
    if (!shortcut_)
        return Shortcuts::notSet();
    return shortcut_->text(KeyboardLayout::name(shortcut_->keyCode));
}

bool ShortcutField::showsClearButton() const { return shortcut_.has_value() && !recording_ && hover_; }

QRectF ShortcutField::clearButtonRect() const {
    const qreal side = 12;
    return QRectF(width() - 10 - side, (height() - side) / 2, side, side);
}

namespace {
// The font of a set shortcut's keys.
QFont keysFont() { return Fonts::system(13, QFont::DemiBold, true); }
}  // namespace

QSize ShortcutField::sizeHint() const {
    // Wide enough for the keys written out ("Ctrl+Shift+Super+T") and the clear button.
    const qreal keys = shortcut_ ? QFontMetricsF(keysFont()).horizontalAdvance(labelText()) + 20 + 16 : 0;
    return QSize(static_cast<int>(std::ceil(std::max(fieldSize.width(), keys))), static_cast<int>(fieldSize.height()));
}

void ShortcutField::paintEvent(QPaintEvent*) {
    const ColorScheme s = scheme();
    const Accent accent = environment().accent;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF capsule(QPointF(0, 0), QSizeF(width(), fieldSize.height()));
    const double p = std::clamp(recordingLook_->value(), 0.0, 1.0);

    const QColor idleFill = Surface::faintFill().resolve(s);
    const QColor recordingFill = withOpacity(accent.top.resolve(s), 0.16);
    painter.setOpacity(1);
    painter.fillPath(capsulePath(capsule), idleFill);
    if (p > 0) {
        painter.setOpacity(p);
        painter.fillPath(capsulePath(capsule), recordingFill);
        painter.setOpacity(1);
    }
    if (recording_ || p > 0) {
        painter.setOpacity(recording_ ? std::max(p, 0.0) : p);
        strokeCapsuleInside(painter, capsule, withOpacity(accent.top.resolve(s), 0.9), 1.5);
        painter.setOpacity(1);
    }
    if (!recording_) {
        painter.setOpacity(1 - p);
        if (clashes_)
            strokeCapsuleInside(painter, capsule, withOpacity(Ink::danger().resolve(s), 0.7), 1.5);
        else
            strokeCapsuleInside(painter, capsule, Surface::track().resolve(s), 1);
        painter.setOpacity(1);
    }

    QFont font;
    QColor color;
    const bool recordingLook = recording_ || environment().showsShortcutRecording;
    if (recordingLook) {
        font = Fonts::small();
        font.setWeight(QFont::DemiBold);
        color = accent.ink.resolve(s);
    } else if (!shortcut_) {
        font = Fonts::small();
        color = Ink::tertiary().resolve(s);
    } else {
        font = keysFont();
        color = clashes_ ? Ink::danger().resolve(s) : Ink::primary().resolve(s);
    }
    QRectF labelRect = capsule.adjusted(10, 0, -10, 0);
    if (showsClearButton())
        labelRect.setRight(clearButtonRect().left() - 4);
    const QString text = labelText();
    // One line, shrinking to 0.8 of its size before it is cut.
    const qreal natural = QFontMetricsF(font).horizontalAdvance(text);
    if (natural > labelRect.width() && natural > 0) {
        const qreal scale = std::max(0.8, labelRect.width() / natural);
        font.setPointSizeF(font.pointSizeF() > 0 ? font.pointSizeF() * scale : font.pointSizeF());
        if (font.pixelSize() > 0)
            font.setPixelSize(std::max(1, static_cast<int>(std::floor(font.pixelSize() * scale))));
    }
    painter.setFont(font);
    painter.setPen(color);
    const QString shown = QFontMetricsF(font).elidedText(text, Qt::ElideRight, labelRect.width());
    painter.drawText(labelRect, Qt::AlignCenter | Qt::TextSingleLine, shown);

    if (showsClearButton())
        Symbols::paint(painter, QStringLiteral("xmark.circle.fill"), clearButtonRect(), Ink::tertiary().resolve(s));

    if (hasFocus() && !recording_)
        strokeCapsuleInside(painter, capsule.adjusted(-0.5, -0.5, 0.5, 0.5), withOpacity(accent.top.resolve(s), 0.5), 1);
}

void ShortcutField::mousePressEvent(QMouseEvent* event) {
    pressedInside_ = event->button() == Qt::LeftButton;
    event->accept();
}

void ShortcutField::mouseReleaseEvent(QMouseEvent* event) {
    const bool tap = pressedInside_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressedInside_ = false;
    if (!tap)
        return;
    if (showsClearButton() && clearButtonRect().adjusted(-3, -3, 3, 3).contains(event->position())) {
        clear();
        return;
    }
    toggle();
}

namespace {

// Space and Return start recording from the keyboard, as they press a focused button.
bool startsRecording(const QKeyEvent& event) {
    const bool key = event.key() == Qt::Key_Space || event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
    return key && (event.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

}  // namespace

void ShortcutField::keyPressEvent(QKeyEvent* event) {
    if (!recording_ && startsRecording(*event)) {
        start();
        return;
    }
    GlassWidget::keyPressEvent(event);
}

QString ShortcutField::toolTipAt(const QPointF& point) const {
    if (showsClearButton() && clearButtonRect().adjusted(-3, -3, 3, 3).contains(point))
        return ZantrelKit::Copy::Shortcuts::clear();
    return ZantrelKit::Copy::Shortcuts::help();
}

bool ShortcutField::event(QEvent* event) {
    // Claimed before a window's default button (Continue, on Return) takes the key.
    if (event->type() == QEvent::ShortcutOverride && !recording_ &&
        startsRecording(static_cast<const QKeyEvent&>(*event))) {
        event->accept();
        return true;
    }
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = toolTipAt(help->pos());
        // The clear button's tip belongs to its rectangle only.
        const QRect area = tip == ZantrelKit::Copy::Shortcuts::clear() ? clearButtonRect().toAlignedRect() : rect();
        QToolTip::showText(help->globalPos(), tip, this, area);
        return true;
    }
    return GlassWidget::event(event);
}

void ShortcutField::enterEvent(QEnterEvent* event) {
    hover_ = true;
    update();
    GlassWidget::enterEvent(event);
}

void ShortcutField::leaveEvent(QEvent* event) {
    hover_ = false;
    update();
    GlassWidget::leaveEvent(event);
}

void ShortcutField::hideEvent(QHideEvent* event) {
    // A field that leaves the screen must not keep every global shortcut off.
    stop();
    GlassWidget::hideEvent(event);
}

QString ShortcutField::accessibleText(QAccessible::Text kind) const {
    using namespace ZantrelKit::Copy;
    switch (kind) {
    case QAccessible::Name: return title_;
    case QAccessible::Value:
        if (recording_ || environment().showsShortcutRecording)
            return Shortcuts::recording();
        return shortcut_ ? labelText() : Shortcuts::notSet();
    case QAccessible::Description:
    case QAccessible::Help: return Shortcuts::help();
    default: return {};
    }
}

QStringList ShortcutField::accessibleActions() const {
    QStringList actions{QAccessibleActionInterface::pressAction()};
    if (shortcut_ && !recording_)
        actions << ZantrelKit::Copy::Shortcuts::clear();
    return actions;
}

void ShortcutField::doAccessibleAction(const QString& action) {
    if (action == QAccessibleActionInterface::pressAction())
        toggle();
    else if (action == ZantrelKit::Copy::Shortcuts::clear() && shortcut_ && !recording_)
        clear();
}

}  // namespace ZantrelUI
