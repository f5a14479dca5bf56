#include "ZantrelUI/pieces/DateAndColourFields.h"

#include "ZantrelUI/design/GlassPainting.h"
#include "platform/async/MainThread.h"

#include <QColorDialog>
#include <QHBoxLayout>
#include <QLocale>
#include <QPainter>
#include <QRegularExpression>

namespace ZantrelUI {

QString dateFieldFormat(const QLocale& locale, bool time) {
    QString date = locale.dateFormat(QLocale::ShortFormat);
    if (!date.contains(QLatin1String("yyyy")))
        date.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    if (!time)
        return date;
    QString clock = locale.timeFormat(QLocale::ShortFormat);
    // Hours and minutes only, whatever the locale's short form adds.
    clock.remove(QRegularExpression(QStringLiteral("[:.]?ss?")));
    clock.remove(QRegularExpression(QStringLiteral("\\s*t+")));
    return date + QLatin1Char(' ') + clock.trimmed();
}

// MARK: date

DateField::DateField(QString title, BoundPtr<QDateTime> selection, std::optional<QDateTime> earliest, bool time,
                     QWidget* parent)
    : QDateTimeEdit(parent), selection_(std::move(selection)), time_(time) {
    setButtonSymbols(QAbstractSpinBox::NoButtons);
    setCalendarPopup(false);
    setFrame(false);
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    setStyleSheet(QStringLiteral("background: transparent;"));
    setFont(Fonts::system(13));
    setAccessibleName(title);
    setLocale(QLocale());
    connect(this, &QDateTimeEdit::dateTimeChanged, this, [this](const QDateTime& value) {
        Platform::assertMain();
        selection_->set(value);
    });
    selection_->watch(this, [this] { pull(); });
    update(std::move(earliest), time);
}

void DateField::update(std::optional<QDateTime> earliest, bool time) {
    earliest_ = std::move(earliest);
    time_ = time;
    setDisplayFormat(dateFieldFormat(locale(), time_));
    if (earliest_)
        setMinimumDateTime(*earliest_);
    else
        clearMinimumDateTime();
    pull();
}

void DateField::pull() {
    const QDateTime& wanted = selection_->get();
    if (!wanted.isValid() || wanted == dateTime())
        return;
    ++refreshes_;
    setDateTime(wanted);
}

GlassDatePicker::GlassDatePicker(QString title, BoundPtr<QDateTime> selection, std::optional<QDateTime> earliest,
                                 bool time, QWidget* parent)
    : GlassWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 0, 8, 0);
    field_ = new DateField(title, std::move(selection), std::move(earliest), time, this);
    recolor();
    row->addWidget(field_);
    setMinimumHeight(28);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFocusProxy(field_);
    setAccessibleName(title);
}

void GlassDatePicker::recolor() {
    QPalette palette = field_->palette();
    palette.setColor(QPalette::Text, resolve(Ink::primary()));
    field_->setPalette(palette);
}

void GlassDatePicker::environmentChanged() {
    recolor();
    update();
}

void GlassDatePicker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect());
    painter.fillPath(roundedPath(r, 8), resolve(Surface::faintFill()));
    strokeRoundedInside(painter, r, 8, resolve(Surface::track()));
}

// MARK: colour

namespace {
QPointer<ColorLink> currentLink;
}

QColorDialog* ColorLink::panel() {
    static QPointer<QColorDialog> shared;
    if (shared.isNull()) {
        // Kept for the process, like the desktop's own colour panels: closing only hides it.
        shared = new QColorDialog();
        shared->setOption(QColorDialog::NoButtons);
        shared->setOption(QColorDialog::DontUseNativeDialog);
        shared->setAttribute(Qt::WA_DeleteOnClose, false);
    }
    return shared;
}

ColorLink* ColorLink::current() { return currentLink; }

void ColorLink::open(const QColor& color, bool supportsOpacity, Picked picked) {
    Platform::assertMain();
    currentLink = this;
    picked_ = std::move(picked);
    QColorDialog* shared = panel();
    // The panel echoing the colour it is handed is no pick.
    opening_ = true;
    shared->setOption(QColorDialog::ShowAlphaChannel, supportsOpacity);
    shared->setCurrentColor(color);
    opening_ = false;
    if (!token_)
        token_ = connect(shared, &QColorDialog::currentColorChanged, this, &ColorLink::panelChanged);
    shared->show();
    shared->raise();
}

void ColorLink::panelChanged(const QColor& color) {
    Platform::assertMain();
    // Another well opened the panel since: its colours are not ours.
    if (opening_ || currentLink.data() != this || !picked_)
        return;
    picked_(color);
}

void ColorLink::close() {
    if (token_) {
        disconnect(token_);
        token_ = {};
    }
    if (currentLink.data() == this)
        currentLink = nullptr;
}

GlassColorWell::GlassColorWell(QString title, BoundPtr<QColor> selection, bool supportsOpacity, QWidget* parent)
    : QAbstractButton(parent),
      title_(std::move(title)),
      selection_(std::move(selection)),
      supportsOpacity_(supportsOpacity),
      link_(new ColorLink(this)) {
    ensureGlassAccessibility();
    setFixedSize(sizeHint());
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(title_);
    selection_->watch(this, [this] { QWidget::update(); });
    connect(this, &QAbstractButton::clicked, this, [this] {
        link_->open(selection_->get(), supportsOpacity_, [selection = selection_](const QColor& c) { selection->set(c); });
    });
}

bool GlassColorWell::hitButton(const QPoint& pos) const { return capsulePath(QRectF(rect())).contains(pos); }

void GlassColorWell::paintEvent(QPaintEvent*) {
    const ColorScheme s = colorScheme(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect());
    painter.fillPath(capsulePath(r), Surface::faintFill().resolve(s));
    strokeCapsuleInside(painter, r, Surface::track().resolve(s));
    const QRectF swatch = r.adjusted(4, 4, -4, -4);
    QPainterPath circle;
    circle.addEllipse(swatch);
    painter.fillPath(circle, selection_->get());
    painter.setPen(QPen(QColor::fromRgbF(1, 1, 1, 0.35f), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(swatch.adjusted(0.5, 0.5, -0.5, -0.5));
    if (hasFocus()) {
        QColor ring = Environment::of(this).accent.top.resolve(s);
        ring.setAlphaF(0.7f);
        strokeCapsuleInside(painter, r, ring, 1.5);
    }
}

QString GlassColorWell::accessibleText(QAccessible::Text kind) const {
    switch (kind) {
    case QAccessible::Name:
        return title_;
    case QAccessible::Value:
        return selection_->get().name(supportsOpacity_ ? QColor::HexArgb : QColor::HexRgb);
    default:
        return {};
    }
}

QStringList GlassColorWell::accessibleActions() const { return {QAccessibleActionInterface::pressAction()}; }

void GlassColorWell::doAccessibleAction(const QString& action) {
    if (action == QAccessibleActionInterface::pressAction() && isEnabled())
        click();
}

}  // namespace ZantrelUI
