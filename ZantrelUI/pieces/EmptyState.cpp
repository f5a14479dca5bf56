#include "ZantrelUI/pieces/EmptyState.h"

#include "ZantrelUI/design/GlassAccessibility.h"
#include "ZantrelUI/design/GlassPainting.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/design/Symbols.h"

#include <QLabel>
#include <QPainter>
#include <QRadialGradient>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace ZantrelUI {

namespace {

// The glow and the symbol tile; assistive technology skips it.
class EmptyArt final : public GlassWidget {
public:
    EmptyArt(QString symbol, QWidget* parent) : GlassWidget(parent), symbol_(std::move(symbol)) {
        setFixedHeight(EmptyState::artHeight);
        setMinimumWidth(160);
        setAccessibleName(QString());
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const ColorScheme s = scheme();
        const Accent accent = environment().accent;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QPointF centre = QRectF(rect()).center();

        QColor glow = accent.top.resolve(s);
        glow.setAlphaF(0.3f);
        QColor clear = glow;
        clear.setAlphaF(0);
        QRadialGradient gradient(centre, 70);
        gradient.setColorAt(2.0 / 70, glow);
        gradient.setColorAt(1, clear);
        painter.fillRect(QRectF(centre - QPointF(80, 60), QSizeF(160, 120)), gradient);

        const QRectF tile(centre - QPointF(29, 29), QSizeF(58, 58));
        const QPainterPath shape = roundedPath(tile, 16);
        QColor shadow = accent.top.resolve(s);
        shadow.setAlphaF(0.35f);
        paintShadow(painter, shape, Shadow{shadow, 8, QPointF(0, 2)});
        painter.fillPath(shape, accent.gradient(tile, s));
        strokeRoundedInside(painter, tile, 16, QColor::fromRgbF(1, 1, 1, 0.3f));
        Symbols::paint(painter, symbol_, QRectF(centre - QPointF(14, 14), QSizeF(28, 28)), Ink::onAccent().resolve(s));
    }

private:
    QString symbol_;
};

// The title reads as a heading to assistive technology.
class HeadingLabel final : public QLabel, public AccessibleSource {
    Q_OBJECT  // its own class name, so the kit's accessibility answers for it
public:
    using QLabel::QLabel;
    QAccessible::Role accessibleRole() const override { return QAccessible::Heading; }
    QString accessibleText(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? text() : QString();
    }
};

QLabel* centredLabel(const QString& text, const QFont& font, QWidget* parent, bool heading = false) {
    QLabel* label = heading ? new HeadingLabel(text, parent) : new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setFont(font);
    return label;
}

}  // namespace

EmptyState::EmptyState(QString symbol, QString title, QString line, std::optional<Action> action, bool prominent,
                       QWidget* parent)
    : GlassWidget(parent), symbol_(std::move(symbol)) {
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(24, 24, 24, 24);
    stack->setSpacing(0);
    art_ = new EmptyArt(symbol_, this);
    stack->addWidget(art_);
    stack->addSpacing(8);
    ensureGlassAccessibility();
    title_ = centredLabel(title, Fonts::headline(), this, true);
    stack->addWidget(title_, 0, Qt::AlignHCenter);
    stack->addSpacing(4);
    line_ = centredLabel(line, Fonts::body(), this);
    line_->setMaximumWidth(lineWidth);
    line_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    // Stretch on both sides keeps the wrapped line centred at its 340-point width.
    auto* lineRow = new QHBoxLayout;
    lineRow->addStretch(1);
    lineRow->addWidget(line_);
    lineRow->addStretch(1);
    stack->addLayout(lineRow);
    if (action) {
        stack->addSpacing(16);
        button_ = new PillButton(action->title, prominent, false, this);
        connect(button_, &QAbstractButton::clicked, this, [run = action->run] {
            if (run)
                run();
        });
        stack->addWidget(button_, 0, Qt::AlignHCenter);
    }
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    recolor();
}

void EmptyState::setLine(const QString& line) { line_->setText(line); }

void EmptyState::recolor() {
    for (auto [label, ink] : {std::pair{title_, &Ink::primary()}, std::pair{line_, &Ink::secondary()}}) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, resolve(*ink));
        label->setPalette(palette);
    }
}

void EmptyState::environmentChanged() {
    recolor();
    update();
}

void EmptyState::paintEvent(QPaintEvent*) {}

}  // namespace ZantrelUI

#include "EmptyState.moc"
