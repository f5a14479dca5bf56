#include "ZantrelUI/pieces/Confirmations.h"

#include "ZantrelKit/Copy.h"
#include "ZantrelUI/design/Backdrop.h"
#include "ZantrelUI/design/GlassPainting.h"
#include "ZantrelUI/design/InkLabel.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/design/ReduceMotion.h"
#include "platform/async/MainThread.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include <cmath>

namespace ZantrelUI {

CountedConfirm::CountedConfirm(int count, QString title, QString line, QString button, bool returnConfirms,
                               std::function<void()> run)
    : id(QUuid::createUuid()),
      count(count),
      title(std::move(title)),
      line(std::move(line)),
      button(std::move(button)),
      returnConfirms(returnConfirms),
      run(std::move(run)) {}

void CountedConfirm::ask(Bound<std::optional<CountedConfirm>>& pending) const {
    if (count > 1) {
        pending.set(*this);
        return;
    }
    if (run)
        run();
}

// MARK: danger button

DangerButton::Look DangerButton::lookFor(bool enabled, bool pressed, bool reduceMotion) {
    if (!enabled)
        return {0.4, 1};
    return {pressed ? 0.85 : 1, pressed && !reduceMotion ? 0.97 : 1};
}

DangerButton::DangerButton(const QString& title, QWidget* parent)
    : QAbstractButton(parent), pressed_(new AnimatedValue(0, this)) {
    setText(title);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(pressed_, &AnimatedValue::changed, this, qOverload<>(&QWidget::update));
    // 0.12 s ease-out either way; reduced motion only drops the shrink.
    connect(this, &QAbstractButton::pressed, this, [this] { pressed_->animateTo(1, Motion::hover()); });
    connect(this, &QAbstractButton::released, this, [this] { pressed_->animateTo(0, Motion::hover()); });
}

DangerButton::Look DangerButton::currentLook() const { return lookFor(isEnabled(), isDown(), ReduceMotion::of(this)); }

QSize DangerButton::sizeHint() const {
    const QFontMetricsF metrics(Fonts::system(12, QFont::DemiBold));
    return QSize(int(std::ceil(metrics.horizontalAdvance(text()) + 28)), int(std::ceil(metrics.height() + 12)));
}

bool DangerButton::event(QEvent* event) {
    if (event->type() == EnvironmentChangeEvent::type()) {
        update();
        return true;
    }
    return QAbstractButton::event(event);
}

void DangerButton::paintEvent(QPaintEvent*) {
    const ColorScheme s = colorScheme(this);
    const bool reduced = ReduceMotion::of(this);
    const Look rest = lookFor(isEnabled(), false, reduced);
    const Look down = lookFor(isEnabled(), true, reduced);
    const double p = std::clamp(pressed_->value(), 0.0, 1.0);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(rest.opacity + (down.opacity - rest.opacity) * p);
    const QRectF capsule = QRectF(rect());
    const double scale = rest.scale + (down.scale - rest.scale) * p;
    painter.translate(capsule.center());
    painter.scale(scale, scale);
    painter.translate(-capsule.center());
    painter.fillPath(capsulePath(capsule), Ink::danger().resolve(s));
    strokeCapsuleInside(painter, capsule, QColor::fromRgbF(1, 1, 1, 0.25f));
    painter.setFont(Fonts::system(12, QFont::DemiBold));
    painter.setPen(s == ColorScheme::dark ? QColor::fromRgbF(0, 0, 0, 0.8f) : QColor(Qt::white));
    painter.drawText(capsule, Qt::AlignCenter, text());
    if (hasFocus()) {
        QColor ring = Ink::danger().resolve(s);
        ring.setAlphaF(0.6f);
        strokeCapsuleInside(painter, capsule, ring, 1.5);
    }
}

// MARK: the card

ConfirmSheet::ConfirmSheet(CountedConfirm confirm, std::function<void()> dismiss, QWidget* parent)
    : GlassWidget(parent), confirm_(std::move(confirm)), dismiss_(std::move(dismiss)) {
    setFixedWidth(cardWidth);
    setFocusPolicy(Qt::StrongFocus);
    backdrop_ = new Backdrop(this);
    backdrop_->lower();
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(24, 24, 24, 24);
    stack->setSpacing(8);
    auto text = [this](const QString& value, const QFont& font, const DynamicColor& ink) {
        return new InkLabel(value, font, ink, true, this);
    };
    stack->addWidget(text(confirm_.title, Fonts::headline(), Ink::primary()));
    stack->addWidget(text(confirm_.line, Fonts::body(), Ink::secondary()));
    stack->addSpacing(12);
    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    row->addStretch(1);
    cancel_ = new PillButton(ZantrelKit::Copy::Doing::cancel(), false, false, this);
    confirmButton_ = new DangerButton(confirm_.button, this);
    row->addWidget(cancel_);
    row->addWidget(confirmButton_);
    stack->addLayout(row);
    connect(cancel_, &QAbstractButton::clicked, this, [this] { cancel(); });
    connect(confirmButton_, &QAbstractButton::clicked, this, [this] { accept(); });
    setAccessibleName(confirm_.title);
    setAccessibleDescription(confirm_.line);
}

void ConfirmSheet::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cancel();
        return;
    }
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (isReturn && confirm_.returnConfirms && confirmButton_->isEnabled()) {
        accept();
        return;
    }
    // A Return that does not confirm stops here too, so nothing behind the card acts.
    if (isReturn)
        return;
    GlassWidget::keyPressEvent(event);
}

void ConfirmSheet::resizeEvent(QResizeEvent* event) {
    GlassWidget::resizeEvent(event);
    backdrop_->setGeometry(rect());
    backdrop_->lower();
}

void ConfirmSheet::cancel() {
    Platform::assertMain();
    if (dismiss_)
        dismiss_();
}

void ConfirmSheet::accept() {
    Platform::assertMain();
    // The card closes first, so an action that asks again shows its own card.
    const std::function<void()> run = confirm_.run;
    if (dismiss_)
        dismiss_();
    if (run)
        run();
}

// MARK: showing the card

namespace {

// The dimming layer of the in-place form: it takes every click so nothing behind reacts.
// It also holds the card, so assistive technology meets it as a modal dialog: the dimming
// itself says nothing, and the content behind is out of reach until the card closes.
class DimLayer final : public GlassWidget, public AccessibleSource {
public:
    explicit DimLayer(QWidget* parent) : GlassWidget(parent) {
        ensureGlassAccessibility();
        setAttribute(Qt::WA_NoMousePropagation);
    }

    QAccessible::Role accessibleRole() const override { return QAccessible::Dialog; }
    void addAccessibleState(QAccessible::State& state) const override { state.modal = true; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor::fromRgbF(0, 0, 0, 0.35f));
        if (auto* card = findChild<ConfirmSheet*>(QString(), Qt::FindDirectChildrenOnly)) {
            const QRectF frame = QRectF(card->geometry());
            painter.setRenderHint(QPainter::Antialiasing);
            paintShadow(painter, roundedPath(frame, 18), Shadow{QColor::fromRgbF(0, 0, 0, 0.35f), 18, QPointF(0, 8)});
        }
    }
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override { event->accept(); }
    void mouseDoubleClickEvent(QMouseEvent* event) override { event->accept(); }
    void wheelEvent(QWheelEvent* event) override { event->accept(); }
};

// The card's border, drawn over it.
class CardBorder final : public GlassWidget {
public:
    static inline const QString name = QStringLiteral("zantrel.confirmBorder");
    explicit CardBorder(QWidget* parent) : GlassWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setObjectName(name);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        strokeRoundedInside(painter, QRectF(rect()), 18, resolve(Surface::cardStroke()));
    }
};

}  // namespace

ConfirmCount::ConfirmCount(QWidget* content, PendingConfirm pending, bool inPlace)
    : QObject(content), content_(content), pending_(std::move(pending)), inPlace_(inPlace) {
    content->installEventFilter(this);
    pending_->watch(this, [this] { sync(); });
    sync();
}

ConfirmCount::~ConfirmCount() { tearDown(); }

ConfirmCount* countedConfirm(QWidget* content, PendingConfirm pending, bool inPlace) {
    return new ConfirmCount(content, std::move(pending), inPlace);
}

void ConfirmCount::sync() {
    const std::optional<CountedConfirm>& request = pending_->get();
    const std::optional<QUuid> id = request ? std::optional<QUuid>(request->id) : std::nullopt;
    if (id == shown_ && (id.has_value() == !overlay_.isNull()))
        return;
    tearDown();
    shown_ = id;
    if (!request || content_.isNull())
        return;
    const QUuid shownId = request->id;
    auto dismiss = [pending = pending_, shownId] {
        // Only the request on screen is cleared; a newer one stays.
        if (pending->get() && pending->get()->id == shownId)
            pending->set(std::nullopt);
    };
    if (inPlace_) {
        auto* dim = new DimLayer(content_);
        overlay_ = dim;
        sheet_ = new ConfirmSheet(*request, dismiss, dim);
        new CardBorder(sheet_);
        dim->setAccessibleName(request->title);
        layoutOverlay();
        dim->show();
        dim->raise();
        sheet_->setFocus(Qt::OtherFocusReason);
        return;
    }
    auto* dialog = new QDialog(content_->window());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setWindowTitle(request->title);
    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    sheet_ = new ConfirmSheet(*request, dismiss, dialog);
    layout->addWidget(sheet_);
    overlay_ = dialog;
    // Closed by the window system (or Escape through the dialog): the request goes too.
    connect(dialog, &QDialog::rejected, this, dismiss);
    connect(dialog, &QObject::destroyed, this, dismiss);
    dialog->show();
    sheet_->setFocus(Qt::OtherFocusReason);
}

void ConfirmCount::tearDown() {
    QWidget* overlay = overlay_;
    overlay_ = nullptr;
    sheet_ = nullptr;
    shown_.reset();
    if (overlay == nullptr)
        return;
    if (auto* dialog = qobject_cast<QDialog*>(overlay)) {
        dialog->disconnect(this);
        dialog->hide();
        dialog->deleteLater();
        return;
    }
    overlay->hide();
    overlay->deleteLater();
}

void ConfirmCount::layoutOverlay() {
    if (!inPlace_ || overlay_.isNull() || content_.isNull())
        return;
    overlay_->setGeometry(content_->rect());
    if (sheet_) {
        sheet_->adjustSize();
        const int h = sheet_->heightForWidth(ConfirmSheet::cardWidth) > 0 ? sheet_->heightForWidth(ConfirmSheet::cardWidth)
                                                                       : sheet_->sizeHint().height();
        const QSize size(ConfirmSheet::cardWidth, h);
        sheet_->setGeometry(QRect(QPoint((overlay_->width() - size.width()) / 2, (overlay_->height() - size.height()) / 2),
                                  size));
        const QPainterPath clip = roundedPath(QRectF(QPointF(0, 0), QSizeF(size)), 18);
        sheet_->setMask(QRegion(clip.toFillPolygon().toPolygon()));
        if (auto* border = sheet_->findChild<QWidget*>(CardBorder::name, Qt::FindDirectChildrenOnly)) {
            border->setGeometry(sheet_->rect());
            border->raise();
        }
    }
}

bool ConfirmCount::eventFilter(QObject* watched, QEvent* event) {
    if (watched == content_ && event->type() == QEvent::Resize)
        layoutOverlay();
    return QObject::eventFilter(watched, event);
}

}  // namespace ZantrelUI
