#include "ZantrelUI/pieces/SuggestionCard.h"

#include "ZantrelKit/Formatting.h"
#include "ZantrelUI/design/CheckDraw.h"
#include "ZantrelUI/design/GlassPainting.h"
#include "ZantrelUI/design/InkLabel.h"
#include "ZantrelUI/design/LoopPieces.h"
#include "ZantrelUI/design/MotionPieces.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/design/Symbols.h"
#include "ZantrelUI/pieces/TickBox.h"
#include "platform/async/MainThread.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace ZantrelUI {

namespace {

class SymbolMark final : public GlassWidget {
public:
    SymbolMark(QString symbol, QWidget* parent) : GlassWidget(parent), symbol_(std::move(symbol)) {
        setFixedSize(18, 18);
        setAccessibleName(QString());
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        Symbols::paint(painter, symbol_, QRectF(2, 2, 14, 14), resolve(environment().accent.ink));
    }

private:
    QString symbol_;
};

QLabel* text(const QString& value, const QFont& font, const DynamicColor& ink, QWidget* parent) {
    return new InkLabel(value, font, ink, parent);
}

// Keeps a one-line label's text cut at the tail, with "…", at whatever width it is given.
class TailCut final : public QObject {
public:
    TailCut(QLabel* label, QString full) : QObject(label), label_(label), full_(std::move(full)) {
        label_->setAccessibleName(full_);
        label_->setToolTip(full_);
        label_->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == label_ && event->type() == QEvent::Resize)
            label_->setText(QFontMetrics(label_->font()).elidedText(full_, Qt::ElideRight, label_->contentsRect().width()));
        return false;
    }

private:
    QLabel* label_;
    QString full_;
};

// `widget` lowered by `offset`, so texts of two sizes in one row share a baseline.
QLayout* lowered(QWidget* widget, int offset) {
    auto* box = new QVBoxLayout;
    box->setContentsMargins(0, offset, 0, 0);
    box->setSpacing(0);
    box->addWidget(widget);
    box->addStretch(1);
    return box;
}

}  // namespace

QString SuggestionCard::accessibleLabel(const QString& title, std::optional<std::int64_t> size, const QString& reason) {
    if (size)
        return QStringLiteral("%1, %2. %3").arg(title, ZantrelKit::Formatting::bytes(*size), reason);
    return QStringLiteral("%1. %2").arg(title, reason);
}

SuggestionCard::SuggestionCard(Content content, QWidget* parent) : GlassWidget(parent), content_(std::move(content)) {
    ensureGlassAccessibility();
    auto* frame = new QVBoxLayout(this);
    frame->setContentsMargins(0, 0, 0, 0);
    build(nullptr);
}

void SuggestionCard::setContent(Content content) {
    Platform::assertMain();
    content_ = std::move(content);
    // The number survives the rebuild so it can roll from what it showed.
    RollingNumber* kept = content_.size ? size_ : nullptr;
    if (kept != nullptr)
        kept->setParent(nullptr);
    // The old row may hold the button or tick box whose action rebuilt us: it goes later.
    if (body_ != nullptr) {
        layout()->removeWidget(body_);
        body_->hide();
        body_->deleteLater();
    }
    tickBox_ = nullptr;
    symbol_ = nullptr;
    size_ = nullptr;
    detail_ = nullptr;
    busyRow_ = nullptr;
    open_ = nullptr;
    build(kept);
    updateGeometry();
    update();
}

void SuggestionCard::build(RollingNumber* keptSize) {
    body_ = new QWidget(this);
    layout()->addWidget(body_);
    QWidget* const parent = body_;
    auto* row = new QHBoxLayout(body_);
    row->setContentsMargins(12, 12, 12, 12);
    row->setSpacing(12);
    row->setAlignment(Qt::AlignTop);

    auto* lead = new QVBoxLayout;
    lead->setContentsMargins(0, content_.tick ? 3 : 2, 0, 0);
    if (content_.tick) {
        const Tick& tick = *content_.tick;
        tickBox_ = new TickBox(tick.label.value_or(content_.title), tick.state, tick.enabled, tick.toggle, parent);
        lead->addWidget(tickBox_);
    } else {
        symbol_ = new SymbolMark(content_.symbol, parent);
        lead->addWidget(symbol_);
    }
    lead->addStretch(1);
    row->addLayout(lead);

    auto* column = new QVBoxLayout;
    column->setSpacing(4);
    auto* titleRow = new QHBoxLayout;
    QLabel* title = text(content_.title, Fonts::headline(), Ink::primary(), parent);
    // The title and the larger size number sit on one baseline, as the eye reads them.
    const int titleAscent = QFontMetrics(title->font()).ascent();
    const int sizeAscent = content_.size ? QFontMetrics(Fonts::heading()).ascent() : titleAscent;
    titleRow->addLayout(lowered(title, std::max(0, sizeAscent - titleAscent)));
    titleRow->addStretch(1);
    if (content_.size) {
        const QString sizeText = ZantrelKit::Formatting::bytes(*content_.size);
        if (keptSize != nullptr) {
            keptSize->setParent(parent);
            keptSize->show();
            keptSize->setValue(double(*content_.size), sizeText);
            size_ = keptSize;
        } else {
            size_ = new RollingNumber(double(*content_.size), sizeText, Fonts::heading(), parent);
        }
        titleRow->addLayout(lowered(size_, std::max(0, titleAscent - sizeAscent)));
    }
    column->addLayout(titleRow);
    auto* reason = text(content_.reason, Fonts::footnote(), Ink::secondary(), parent);
    reason->setWordWrap(true);
    column->addWidget(reason);
    if (content_.detail && !content_.detail->isEmpty()) {
        detail_ = text(*content_.detail, Fonts::footnote(), Ink::tertiary(), parent);
        detail_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        new TailCut(detail_, *content_.detail);
        column->addWidget(detail_);
    }
    if (content_.busy) {
        busyRow_ = new QWidget(parent);
        auto* busy = new QHBoxLayout(busyRow_);
        busy->setContentsMargins(0, 0, 0, 0);
        busy->setSpacing(8);
        auto* dot = new PulseDot(6, busyRow_);
        dot->setFixedSize(6, 6);
        busy->addWidget(dot, 0, Qt::AlignVCenter);
        busy->addWidget(text(*content_.busy, Fonts::footnote(), Ink::tertiary(), busyRow_), 1);
        column->addWidget(busyRow_);
    }
    row->addLayout(column, 1);

    if (content_.openTitle) {
        open_ = new PillButton(*content_.openTitle, false, false, parent);
        if (content_.chevron) {
            // The chevron trails the title.
            open_->setSymbol(QStringLiteral("chevron.right"));
            open_->setSymbolTrails(true);
        }
        open_->setAccessibleName(QStringLiteral("%1, %2").arg(*content_.openTitle, content_.title));
        connect(open_, &QAbstractButton::clicked, this, [this] {
            Platform::assertMain();
            if (content_.open)
                content_.open();
        });
        row->addWidget(open_, 0, Qt::AlignTop);
    }
    body_->show();
}

QString SuggestionCard::accessibleText(QAccessible::Text kind) const {
    if (kind == QAccessible::Name)
        return accessibleLabel(content_.title, content_.size, content_.reason);
    return {};
}

void SuggestionCard::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect());
    painter.fillPath(roundedPath(r, 14), resolve(Surface::card()));
    strokeRoundedInside(painter, r, 14, resolve(Surface::cardStroke()));
}

}  // namespace ZantrelUI
