#include "ZantrelUI/desktop/PermissionStep.h"

#include "ZantrelKit/Copy.h"
#include "ZantrelUI/design/Backdrop.h"
#include "ZantrelUI/design/GlassPainting.h"
#include "ZantrelUI/design/InkText.h"
#include "ZantrelUI/design/LoopPieces.h"
#include "ZantrelUI/context/MacCalls.h"
#include "ZantrelUI/desktop/PathCrumbs.h"
#include "ZantrelUI/desktop/PermissionMonitor.h"
#include "ZantrelUI/desktop/PermissionProbe.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/design/ReduceMotion.h"
#include "ZantrelUI/design/Symbols.h"
#include "platform/async/MainThread.h"

#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QPainter>
#include <QShortcut>
#include <QVBoxLayout>

#include <cmath>

namespace ZantrelUI {

namespace Copy = ZantrelKit::Copy;

namespace {

constexpr qreal iconSide = 60;

Shadow iconShadow(const Accent& accent, ColorScheme scheme) { return softShadow(accent.top.resolve(scheme)); }

// The round accent icon at the top of the step; decoration only.
class StepIcon final : public GlassWidget {
public:
    StepIcon(QString symbol, QWidget* parent) : GlassWidget(parent), symbol_(std::move(symbol)) {
        const int room = static_cast<int>(std::ceil(shadowMargin(softShadow(Qt::black))));
        setFixedSize(static_cast<int>(iconSide) + 2 * room, static_cast<int>(iconSide) + 2 * room);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const ColorScheme s = scheme();
        const Accent accent = environment().accent;
        const QRectF disc(QPointF((width() - iconSide) / 2, (height() - iconSide) / 2), QSizeF(iconSide, iconSide));
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath circle;
        circle.addEllipse(disc);
        paintShadow(painter, circle, iconShadow(accent, s));
        painter.fillPath(circle, accent.gradient(disc, s));
        painter.setPen(QPen(QColor(255, 255, 255, 77), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(disc.adjusted(0.5, 0.5, -0.5, -0.5));
        const qreal side = 26;
        Symbols::paint(painter, symbol_, QRectF(disc.center() - QPointF(side / 2, side / 2), QSizeF(side, side)),
                       Ink::onAccent().resolve(s));
    }

private:
    QString symbol_;
};

// The crumbs with the hairline under them.
class CrumbsBar final : public GlassWidget {
public:
    CrumbsBar(PathCrumbs* crumbs, QWidget* parent) : GlassWidget(parent) {
        auto* row = new QHBoxLayout(this);
        row->setContentsMargins(16, 12, 16, 13);
        row->addWidget(crumbs);
        row->addStretch(1);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(QRectF(0, height() - 1, width(), 1), Surface::hairline().resolve(scheme()));
    }
};

// The numbered badge of a step row, as tall as the first line of the text beside it.
class StepBadge final : public GlassWidget {
public:
    StepBadge(int number, QWidget* parent) : GlassWidget(parent), number_(number) {
        setFixedSize(16, static_cast<int>(std::ceil(std::max<qreal>(16, QFontMetricsF(Fonts::body()).height()))));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const ColorScheme s = scheme();
        const Accent accent = environment().accent;
        const QRectF disc(0, (height() - 16) / 2.0, 16, 16);
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QColor fill = accent.top.resolve(s);
        fill.setAlphaF(0.16f);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawEllipse(disc);
        painter.setFont(Fonts::roundedCaption());
        painter.setPen(accent.ink.resolve(s));
        painter.drawText(disc, Qt::AlignCenter, QString::number(number_));
    }

private:
    int number_;
};

QWidget* stepRow(int number, const QString& text, QMargins margins, QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(margins);
    line->setSpacing(10);
    line->addWidget(new StepBadge(number, row), 0, Qt::AlignTop);
    line->addWidget(new InkText(text, Fonts::body(), Ink::primary(), Qt::AlignLeft, row), 1);
    return row;
}

QWidget* noteRow(const QString& text, InkText** label, QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(42, 0, 16, 12);
    *label = new InkText(text, Fonts::footnote(), Ink::tertiary(), Qt::AlignLeft, row);
    line->addWidget(*label, 1);
    return row;
}

}  // namespace

PermissionStep::Status::Status(bool granted, QWidget* parent)
    : GlassWidget(parent), granted_(granted), dot_(new PulseDot(8, this)) {
    ensureGlassAccessibility();
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setGranted(granted);
}

void PermissionStep::Status::setGranted(bool granted) {
    const bool changed = granted_ != granted;
    granted_ = granted;
    dot_->setVisible(!granted);
    dot_->setGeometry(0, (sizeHint().height() - 8) / 2, 8, 8);
    updateGeometry();
    update();
    if (changed && QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void PermissionStep::Status::setOpacity(double opacity) {
    opacity_ = std::clamp(opacity, 0.0, 1.0);
    update();
}

QString PermissionStep::Status::text() const {
    return granted_ ? Copy::Permission::granted() : Copy::Permission::waiting();
}

QFont PermissionStep::Status::textFont() const { return granted_ ? Fonts::label() : Fonts::body(); }

QSize PermissionStep::Status::sizeHint() const {
    const QFontMetricsF metrics(textFont());
    const qreal mark = granted_ ? 15 : 8;
    return QSize(static_cast<int>(std::ceil(mark + 8 + metrics.horizontalAdvance(text()))) + 1,
                 static_cast<int>(std::ceil(std::max(metrics.height(), mark))));
}

QString PermissionStep::Status::accessibleText(QAccessible::Text kind) const {
    return kind == QAccessible::Name ? text() : QString();
}

void PermissionStep::Status::paintEvent(QPaintEvent*) {
    const ColorScheme s = scheme();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(opacity_);
    qreal x = 8;
    if (granted_) {
        Symbols::paint(painter, QStringLiteral("checkmark.circle.fill"), QRectF(0, (height() - 15) / 2.0, 15, 15),
                       environment().accent.ink.resolve(s));
        x = 15;
    }
    painter.setFont(textFont());
    painter.setPen((granted_ ? Ink::primary() : Ink::secondary()).resolve(s));
    painter.drawText(QRectF(x + 8, 0, width() - x - 8, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
}

PermissionStep::PermissionStep(ZantrelKit::Permission permission, ZantrelKit::Product product, QString title,
                               QString why, QString symbol, bool granted, std::optional<Action> reopen,
                               bool returnOpens, Action open, QWidget* parent)
    : GlassWidget(parent),
      permission_(std::move(permission)),
      product_(std::move(product)),
      granted_(granted),
      returnOpens_(returnOpens),
      open_(std::move(open)),
      reopen_(std::move(reopen)),
      change_(new AnimatedValue(1, this)) {
    Platform::assertMain();
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // The icon's shadow room stands in for part of the gap under it.
    auto* icon = new StepIcon(std::move(symbol), this);
    const int iconRoom = (icon->height() - static_cast<int>(iconSide)) / 2;
    column->addWidget(icon, 0, Qt::AlignHCenter);
    column->addSpacing(std::max(0, 16 - iconRoom));

    auto* heading = new InkText(std::move(title), Fonts::title(), Ink::primary(), Qt::AlignHCenter, this);
    heading->setHeading(true);
    column->addWidget(heading);
    column->addSpacing(8);

    auto* explanation = new InkText(std::move(why), Fonts::body(), Ink::secondary(), Qt::AlignHCenter, this);
    explanation->setLineSpacing(2.5);
    explanation->setMaximumTextWidth(420);
    column->addWidget(explanation);
    column->addSpacing(24);

    auto* card = new GlassCard(14, this);
    QVBoxLayout* inside = card->contentLayout();
    inside->setContentsMargins(0, 0, 0, 0);
    inside->setSpacing(0);
    crumbs_ = new PathCrumbs(permission_.pane, card);
    inside->addWidget(new CrumbsBar(crumbs_, card));
    inside->addWidget(stepRow(1, Copy::Permission::goTo(permission_), QMargins(16, 12, 16, 0), card));
    inside->addWidget(stepRow(2, Copy::Permission::turnOn(product_.name), QMargins(16, 12, 16, 6), card));
    InkText* listed = nullptr;
    inside->addWidget(noteRow(Copy::Permission::notListed(product_.name), &listed, card));
    listed->setObjectName(QStringLiteral("zantrel.permission.notListed"));
    InkText* stuck = nullptr;
    // Only Screen Recording itself (not a look-alike with another path) is fixed by opening
    // the settings again; any other permission needs the app added again.
    const QString stuckText = permission_ == ZantrelKit::Permission::screenRecording()
                                  ? Copy::Permission::stuck(product_.name)
                                  : Copy::Permission::stuckAddAgain(product_.name);
    stuckRow_ = noteRow(stuckText, &stuck, card);
    stuckNote_ = stuck;
    inside->addWidget(stuckRow_);
    column->addWidget(card);
    column->addSpacing(16);

    auto* actions = new QWidget(this);
    auto* row = new QHBoxLayout(actions);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);
    status_ = new Status(granted_, actions);
    row->addWidget(status_, 0, Qt::AlignVCenter);
    row->addStretch(1);
    if (reopen_) {
        reopenButton_ = new PillButton(Copy::Permission::quitReopen(), false, true, actions);
        row->addWidget(reopenButton_, 0, Qt::AlignVCenter);
        connect(reopenButton_, &QAbstractButton::clicked, this, [this] {
            Platform::assertMain();
            if (reopen_ && *reopen_)
                (*reopen_)();
        });
    }
    openButton_ = new PillButton(Copy::Permission::open(), !granted_, true, actions);
    row->addWidget(openButton_, 0, Qt::AlignVCenter);
    connect(openButton_, &QAbstractButton::clicked, this, &PermissionStep::runOpen);
    column->addWidget(actions);

    returnShortcut_ = new QShortcut(QKeySequence(Qt::Key_Return), this);
    enterShortcut_ = new QShortcut(QKeySequence(Qt::Key_Enter), this);
    for (QShortcut* shortcut : {returnShortcut_, enterShortcut_}) {
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this] {
            // The default action only while the permission is missing.
            if (!granted_ && returnOpens_)
                runOpen();
        });
    }
    // The fresh status fades in while the step moves to its new look.
    connect(change_, &AnimatedValue::changed, status_, [this] { status_->setOpacity(change_->value()); });
    apply();
}

PermissionStep* PermissionStep::following(PermissionMonitor& monitor, ZantrelKit::Product product, QString title,
                                          QString why, QString symbol, std::optional<Action> reopen,
                                          bool returnOpens, Action open, QWidget* parent) {
    auto* step = new PermissionStep(monitor.permission(), std::move(product), std::move(title), std::move(why),
                                    std::move(symbol), monitor.granted(), std::move(reopen), returnOpens,
                                    std::move(open), parent);
    connect(&monitor, &PermissionMonitor::grantedChanged, step, &PermissionStep::setGranted);
    return step;
}

Motion::Animation PermissionStep::changeAnimation(bool reduceMotion) {
    return Motion::spring(ZantrelKit::MotionSpec::snappy, reduceMotion);
}

void PermissionStep::setGranted(bool granted) {
    Platform::assertMain();
    if (granted_ == granted)
        return;
    granted_ = granted;
    change_->setValue(0);
    change_->animateTo(1, changeAnimation(ReduceMotion::of(this)));
    apply();
}

void PermissionStep::apply() {
    stuckRow_->setVisible(!granted_);
    if (reopenButton_ != nullptr)
        reopenButton_->setVisible(!granted_);
    openButton_->setProminent(!granted_);
    const bool returnWorks = !granted_ && returnOpens_;
    returnShortcut_->setEnabled(returnWorks);
    enterShortcut_->setEnabled(returnWorks);
    status_->setGranted(granted_);
    updateGeometry();
}

void PermissionStep::runOpen() {
    Platform::assertMain();
    if (open_) {
        open_();
        return;
    }
    // Read at the moment of the click: the host may have set its operations since.
    const MacCalls calls = macCallsOf(this);
    PermissionProbe::requestAndOpen(permission_, calls);
}

QStringList PermissionStep::notes() const {
    QStringList texts{Copy::Permission::notListed(product_.name)};
    if (!granted_)
        texts << stuckNote_->text();
    return texts;
}

QStringList PermissionStep::stepTexts() const {
    return {Copy::Permission::goTo(permission_), Copy::Permission::turnOn(product_.name)};
}

}  // namespace ZantrelUI
