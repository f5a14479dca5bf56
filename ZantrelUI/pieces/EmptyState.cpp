#include "ZantrelUI/pieces/EmptyState.h"

#include "ZantrelUI/design/GlassAccessibility.h"
#include "ZantrelUI/design/GlassPainting.h"
#include "ZantrelUI/design/InkLabel.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/design/Symbols.h"

#include <QLabel>
#include <QPainter>
#include <QRadialGradient>
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

// Holds the line at 340 points (or less), centred, and asks for the height the wrapped
// line needs at that width rather than at the full width of the piece.
class LineBox final : public QWidget {
public:
    LineBox(QLabel* line, QWidget* parent) : QWidget(parent), line_(line) {
        line_->setParent(this);
        QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        policy.setHeightForWidth(true);
        setSizePolicy(policy);
    }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return line_->heightForWidth(room(width)); }
    QSize sizeHint() const override { return {EmptyState::lineWidth, heightForWidth(EmptyState::lineWidth)}; }
    QSize minimumSizeHint() const override { return {0, heightForWidth(EmptyState::lineWidth)}; }

protected:
    void resizeEvent(QResizeEvent*) override {
        const int w = room(width());
        line_->setGeometry((width() - w) / 2, 0, w, height());
    }

private:
    static int room(int width) { return std::max(1, std::min(width, EmptyState::lineWidth)); }
    QLabel* line_;
};

QLabel* centredLabel(const QString& text, const QFont& font, const DynamicColor& ink, QWidget* parent,
                     bool heading = false) {
    auto* label = new InkLabel(text, font, ink, true, parent);
    label->setHeading(heading);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return label;
}

}  // namespace

EmptyState::EmptyState(QString symbol, QString title, QString line, std::optional<Action> action, bool prominent,
                       QWidget* parent)
    : GlassWidget(parent), symbol_(std::move(symbol)) {
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(24, 24, 24, 24);
    stack->setSpacing(0);
    // Extra height goes above and below, never between the parts.
    stack->addStretch(1);
    art_ = new EmptyArt(symbol_, this);
    stack->addWidget(art_);
    stack->addSpacing(8);
    ensureGlassAccessibility();
    title_ = centredLabel(title, Fonts::headline(), Ink::primary(), this, true);
    // Full width, centred lines: an aligned item gets the height of its lines at the full
    // width but is drawn narrower, so a wrapped title would lose its last lines.
    stack->addWidget(title_);
    stack->addSpacing(4);
    line_ = centredLabel(line, Fonts::body(), Ink::secondary(), this);
    stack->addWidget(new LineBox(line_, this));
    if (action) {
        stack->addSpacing(16);
        button_ = new PillButton(action->title, prominent, false, this);
        connect(button_, &QAbstractButton::clicked, this, [run = action->run] {
            if (run)
                run();
        });
        stack->addWidget(button_, 0, Qt::AlignHCenter);
    }
    stack->addStretch(1);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void EmptyState::setLine(const QString& line) { line_->setText(line); }

void EmptyState::paintEvent(QPaintEvent*) {}

}  // namespace ZantrelUI

