#include "ZantrelUI/pieces/NoticeCard.h"

#include "ZantrelKit/Copy.h"
#include "ZantrelUI/design/CheckDraw.h"
#include "ZantrelUI/design/GlassPainting.h"
#include "ZantrelUI/design/InkLabel.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/design/Symbols.h"
#include "ZantrelUI/pieces/Announce.h"
#include "ZantrelUI/pieces/TextFit.h"
#include "platform/async/MainThread.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QRadialGradient>
#include <QVBoxLayout>

#include <cmath>

namespace ZantrelUI {

namespace {

Shadow cardShadow(ColorScheme scheme) {
    return Shadow{QColor::fromRgbF(0, 0, 0, scheme == ColorScheme::dark ? 0.45f : 0.16f), 18, QPointF(0, 8)};
}

// Room around the card for its shadow; the shadow falls mostly downwards.
QMarginsF room() { return QMarginsF(20, 12, 20, 28); }

class Badge final : public GlassWidget {
public:
    Badge(NoticeOutcome outcome, QString symbol, QWidget* parent)
        : GlassWidget(parent), outcome_(outcome), symbol_(std::move(symbol)) {
        setFixedSize(32, 32);
        setAccessibleName(QString());
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const ColorScheme s = scheme();
        const Accent accent = environment().accent;
        const bool done = outcome_ == NoticeOutcome::done;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(rect());
        QPainterPath circle;
        circle.addEllipse(r);
        if (done)
            painter.fillPath(circle, accent.gradient(r, s));
        else
            painter.fillPath(circle, Surface::faintFill().resolve(s));
        Symbols::paint(painter, symbol_, QRectF(9, 9, 14, 14),
                       (done ? Ink::onAccent() : Ink::secondary()).resolve(s));
        painter.setPen(QPen(QColor::fromRgbF(1, 1, 1, done ? 0.3f : 0.1f), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(r.adjusted(0.5, 0.5, -0.5, -0.5));
    }

private:
    NoticeOutcome outcome_;
    QString symbol_;
};

// The thin white ring a done badge wears over its disc.
class BadgeRing final : public QWidget {
public:
    explicit BadgeRing(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setGeometry(parent->rect());
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor::fromRgbF(1, 1, 1, 0.3f), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    }
};

// The check badge: the drawn check with the same thin ring over it.
class CheckBadge final : public GlassWidget {
public:
    explicit CheckBadge(QWidget* parent) : GlassWidget(parent) {
        setFixedSize(32, 32);
        setAccessibleName(QString());
        auto* check = new CheckDraw(32, this);
        check->setGeometry(rect());
        new BadgeRing(this);  // made last, so it lies over the check
    }
};

// The folder link: the folder symbol and its name in the accent.
class FolderButton final : public QAbstractButton {
public:
    FolderButton(const QString& name, QWidget* parent) : QAbstractButton(parent) {
        setText(name);
        QFont font = Fonts::footnote();
        font.setWeight(QFont::Medium);
        setFont(font);
        setCursor(Qt::PointingHandCursor);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }
    QSize sizeHint() const override {
        const QFontMetrics metrics(font());
        return {metrics.height() + 4 + metrics.horizontalAdvance(text()) + 2, metrics.height() + 2};
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const ColorScheme s = colorScheme(this);
        QColor ink = Environment::of(this).accent.top.resolve(s);
        if (isDown())
            ink.setAlphaF(0.7f);
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const int side = QFontMetrics(font()).height();
        Symbols::paint(painter, QStringLiteral("folder"), QRectF(0, (height() - side) / 2.0, side, side), ink);
        painter.setFont(font());
        painter.setPen(ink);
        const QRectF textRect(side + 4, 0, width() - side - 4, height());
        painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft,
                         QFontMetrics(font()).elidedText(text(), Qt::ElideRight, int(textRect.width())));
    }
};

QLabel* lines(const QString& text, const QFont& font, const DynamicColor& ink, qreal width, int maxLines,
             QWidget* parent) {
    auto* label = new InkLabel(TextFit::lines(text, font, width, maxLines).join(QLatin1Char('\n')), font, ink, parent);
    label->setAccessibleName(text);
    return label;
}

}  // namespace

NoticeCard::Backing NoticeCard::backing(bool offscreen, bool blurAvailable) {
    // Without a blur behind it a translucent gradient would show the desktop through.
    const bool blur = blurAvailable && !offscreen;
    return blur ? Backing{true, 0.82, 0.9} : Backing{false, 1, 1};
}

NoticeCard::NoticeCard(NoticeOutcome outcome, std::optional<QString> symbol, QString title,
                       std::optional<QString> preview, std::optional<QString> detail, std::optional<Folder> folder,
                       QList<Action> actions, qreal width, QWidget* parent)
    : GlassWidget(parent), outcome_(outcome), symbol_(std::move(symbol)), title_(std::move(title)) {
    const QMarginsF r = room();
    setFixedWidth(int(std::ceil(width + r.left() + r.right())));
    setAccessibleName(title_);

    auto* card = new QVBoxLayout(this);
    card->setContentsMargins(int(r.left()) + 16, int(r.top()) + 14, int(r.right()) + 16, int(r.bottom()) + 14);
    card->setSpacing(12);
    auto* header = new QHBoxLayout;
    header->setSpacing(12);
    header->setAlignment(Qt::AlignTop);
    if (const std::optional<QString> mark = badgeSymbol())
        badge_ = new Badge(outcome_, *mark, this);
    else
        badge_ = new CheckBadge(this);
    header->addWidget(badge_, 0, Qt::AlignTop);

    const qreal textWidth = width - 32 - 32 - 12;
    auto* column = new QVBoxLayout;
    column->setSpacing(3);
    column->addWidget(lines(title_, Fonts::label(), Ink::primary(), textWidth, 2, this));
    if (preview) {
        preview_ = lines(*preview, Fonts::system(12.5), Ink::secondary(), textWidth, 2, this);
        column->addWidget(preview_);
    }
    if (detail) {
        detail_ = lines(*detail, Fonts::footnote(), Ink::tertiary(), textWidth, 2, this);
        column->addWidget(detail_);
    }
    if (folder) {
        folder_ = new FolderButton(folder->name, this);
        const QString show = ZantrelKit::Copy::Doing::showFolder(folder->name);
        folder_->setAccessibleName(show);
        folder_->setToolTip(show);
        connect(folder_, &QAbstractButton::clicked, this, [open = folder->open] {
            Platform::assertMain();
            if (open)
                open();
        });
        column->addWidget(folder_, 0, Qt::AlignLeft);
    }
    header->addLayout(column, 1);
    card->addLayout(header);

    // Room for two actions; the owner's further ones are dropped.
    actions = actions.mid(0, maxActions);
    if (!actions.isEmpty()) {
        auto* row = new QHBoxLayout;
        row->setSpacing(8);
        row->addStretch(1);
        for (const Action& action : actions) {
            auto* button = new PillButton(action.title, action.prominent, false, this);
            connect(button, &QAbstractButton::clicked, this, [run = action.run] {
                Platform::assertMain();
                if (run)
                    run();
            });
            row->addWidget(button);
            actions_ << button;
        }
        card->addLayout(row);
    }
}

std::optional<QString> NoticeCard::badgeSymbol() const {
    if (outcome_ == NoticeOutcome::failed)
        return QStringLiteral("exclamationmark.triangle.fill");
    return symbol_;
}

QRectF NoticeCard::cardRect() const { return QRectF(rect()).marginsRemoved(room()); }

NoticeCard::Backing NoticeCard::currentBacking() const { return backing(environment().offscreen, blurAvailable()); }

void NoticeCard::showEvent(QShowEvent* event) {
    GlassWidget::showEvent(event);
    if (!environment().offscreen)
        Announce::post(title_, this);
}

// Drawn by the card, under the badge: the badge's own square has no room for it. A failure's
// shadow is clear.
void NoticeCard::paintBadgeShadow(QPainter& painter) const {
    if (outcome_ != NoticeOutcome::done)
        return;
    QPainterPath disc;
    disc.addEllipse(QRectF(badge_->geometry()));
    paintShadow(painter, disc, tintedShadow(environment().accent.top.resolve(scheme()), 0.35, 6, 2));
}

void NoticeCard::paintEvent(QPaintEvent*) {
    const ColorScheme s = scheme();
    const Backing b = currentBacking();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF r = cardRect();
    const QPainterPath shape = roundedPath(r, radius);
    paintShadow(painter, shape, cardShadow(s));
    painter.save();
    painter.setClipPath(shape);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    QColor top = Surface::windowTop().resolve(s);
    QColor bottom = Surface::windowBottom().resolve(s);
    top.setAlphaF(top.alphaF() * float(b.topOpacity));
    bottom.setAlphaF(bottom.alphaF() * float(b.bottomOpacity));
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    painter.fillRect(r, fill);
    QColor glow = environment().accent.top.resolve(s);
    glow.setAlphaF(s == ColorScheme::dark ? 0.22f : 0.14f);
    QColor clear = glow;
    clear.setAlphaF(0);
    QRadialGradient tint(QPointF(r.left() + 0.08 * r.width(), r.top()), 220);
    tint.setColorAt(2.0 / 220, glow);
    tint.setColorAt(1, clear);
    painter.fillRect(r, tint);
    painter.restore();
    paintBadgeShadow(painter);
    strokeRoundedInside(painter, r, radius, Surface::cardStroke().resolve(s));
    QLinearGradient highlight(r.topLeft(), QPointF(r.left(), r.center().y()));
    QColor shine = Surface::cardHighlight().resolve(s);
    shine.setAlphaF(shine.alphaF() * 0.6f);
    QColor none = shine;
    none.setAlphaF(0);
    highlight.setColorAt(0, shine);
    highlight.setColorAt(1, none);
    strokeRoundedInside(painter, r, radius, highlight);
}

}  // namespace ZantrelUI
