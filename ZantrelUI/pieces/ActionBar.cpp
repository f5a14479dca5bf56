#include "ZantrelUI/pieces/ActionBar.h"

#include "ZantrelKit/Copy.h"
#include "ZantrelUI/design/Backdrop.h"
#include "ZantrelUI/design/CheckDraw.h"
#include "ZantrelUI/design/InkLabel.h"
#include "ZantrelUI/design/LoopPieces.h"
#include "ZantrelUI/design/MotionPieces.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/design/ReduceMotion.h"
#include "ZantrelUI/design/SectionLabel.h"
#include "ZantrelUI/pieces/BusyBar.h"
#include "platform/async/MainThread.h"
#include "platform/pasteboard/Pasteboard.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QShortcut>
#include <QVBoxLayout>

namespace ZantrelUI {

namespace {

QLabel* inkLabel(const QString& text, const QFont& font, const DynamicColor& ink, QWidget* parent) {
    return new InkLabel(text, font, ink, parent);
}

}  // namespace

// MARK: action bar

ActionBar::ActionBar(QString line, QString action, bool enabled, bool returnKey, std::optional<Busy> busy,
                     std::function<void()> run, QWidget* parent)
    : GlassWidget(parent),
      line_(std::move(line)),
      action_(std::move(action)),
      enabled_(enabled),
      returnKeyStarts_(returnKey),
      busy_(std::move(busy)),
      run_(std::move(run)) {
    auto* frame = new QVBoxLayout(this);
    frame->setContentsMargins(18, 18, 18, 18);
    setMinimumHeight(72);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    rebuild();
}

void ActionBar::setBusy(std::optional<Busy> busy) {
    busy_ = std::move(busy);
    rebuild();
}

void ActionBar::setEnabled(bool enabled) {
    enabled_ = enabled;
    rebuild();
}

void ActionBar::setLine(const QString& line) {
    line_ = line;
    rebuild();
}

void ActionBar::start() {
    Platform::assertMain();
    // Keys reach here only for an enabled, idle bar; the check keeps a stale shortcut out.
    if (!enabled_ || busy_ || !run_)
        return;
    run_();
}

void ActionBar::rebuild() {
    // The old row may be the one whose button or key is calling us: it goes later.
    if (content_) {
        layout()->removeWidget(content_);
        content_->hide();
        content_->deleteLater();
    }
    content_ = new QWidget(this);
    layout()->addWidget(content_);
    auto* row = new QHBoxLayout(content_);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);
    if (busy_) {
        // While the job runs neither key can start it again: the button and its keys go.
        busyBar_ = new BusyBar(busy_->sentence, busy_->value, busy_->stop, content_);
        row->addWidget(busyBar_, 1);
        return;
    }
    // Equal-width digits, so counts in the line do not jitter as they change.
    auto* line = inkLabel(line_, Fonts::monospacedDigits(Fonts::body()), Ink::secondary(), content_);
    lineLabel_ = line;
    line->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    row->addWidget(line, 1);
    start_ = new PillButton(action_, true, true, content_);
    start_->setEnabled(enabled_);
    connect(start_, &QAbstractButton::clicked, this, [this] { start(); });
    row->addWidget(start_);
    // Ctrl+Return always starts an enabled job; Return only when the caller says so.
    commandReturn_ = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return), content_);
    commandReturn_->setContext(Qt::WindowShortcut);
    commandReturn_->setEnabled(enabled_);
    connect(commandReturn_, &QShortcut::activated, this, [this] { start(); });
    if (returnKeyStarts_) {
        returnKey_ = new QShortcut(QKeySequence(Qt::Key_Return), content_);
        returnKey_->setContext(Qt::WindowShortcut);
        returnKey_->setEnabled(enabled_);
        connect(returnKey_, &QShortcut::activated, this, [this] { start(); });
    }
    content_->show();
}

void ActionBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QColor card = resolve(Surface::card());
    card.setAlphaF(card.alphaF() * 0.6f);
    painter.fillRect(rect(), card);
    painter.fillRect(QRectF(0, 0, width(), 1), resolve(Surface::hairline()));
}

// MARK: done card

DoneCard::DoneCard(double value, std::function<QString(double)> text, QString line, QList<Skipped> skipped,
                   std::shared_ptr<Platform::Pasteboard> pasteboard, std::function<void()> putBack, Next next,
                   QWidget* parent)
    : GlassWidget(parent),
      value_(value),
      text_(std::move(text)),
      skipped_(std::move(skipped)),
      pasteboard_(std::move(pasteboard)),
      shown_(new AnimatedValue(0, this)) {
    setMaximumWidth(maxWidth);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(24, 24, 24, 24);
    column->setSpacing(8);
    column->addWidget(new CheckDraw(44, this), 0, Qt::AlignHCenter);
    column->addSpacing(4);
    number_ = new RollingNumber(0, text_ ? text_(0) : QString(), Fonts::hero(), this);
    // The count-up is the motion here; the digits are swapped frame by frame.
    Environment::setReduceMotionOverride(number_, true);
    column->addWidget(number_, 0, Qt::AlignHCenter);
    connect(shown_, &AnimatedValue::changed, this, [this] {
        const double v = shown_->value();
        number_->setValue(v, text_ ? text_(v) : QString());
        number_->updateGeometry();
    });
    auto* sentence = inkLabel(line, Fonts::body(), Ink::secondary(), this);
    sentence->setWordWrap(true);
    sentence->setAlignment(Qt::AlignHCenter);
    column->addWidget(sentence);

    if (!skipped_.isEmpty()) {
        column->addSpacing(8);
        auto* card = new GlassCard(14, this);
        card->contentLayout()->setContentsMargins(12, 12, 12, 12);
        card->contentLayout()->setSpacing(4);
        auto* header = new QHBoxLayout;
        header->addWidget(new SectionLabel(ZantrelKit::Copy::Flow::skipped(skipped_.size()), card));
        header->addStretch(1);
        copy_ = new PillButton(ZantrelKit::Copy::Flow::copy(), false, false, card);
        connect(copy_, &QAbstractButton::clicked, this, [this] {
            Platform::assertMain();
            if (!pasteboard_)
                return;
            pasteboard_->clearContents();
            pasteboard_->setString(skippedText(skipped_));
        });
        header->addWidget(copy_);
        card->contentLayout()->addLayout(header);
        for (const Skipped& item : skipped_) {
            auto* row = inkLabel(item.name + QStringLiteral(": ") + item.reason, Fonts::footnote(),
                                 Ink::tertiary(), card);
            row->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
            card->contentLayout()->addWidget(row);
        }
        skippedCard_ = card;
        column->addWidget(card);
    }

    column->addSpacing(16);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addStretch(1);
    if (putBack) {
        putBack_ = new PillButton(ZantrelKit::Copy::Flow::putBack(), false, true, this);
        connect(putBack_, &QAbstractButton::clicked, this, [run = std::move(putBack)] { run(); });
        buttons->addWidget(putBack_);
    }
    next_ = new PillButton(next.title, true, true, this);
    connect(next_, &QAbstractButton::clicked, this, [run = std::move(next.run)] {
        if (run)
            run();
    });
    buttons->addWidget(next_);
    buttons->addStretch(1);
    column->addLayout(buttons);
    // The next step is the card's default button.
    auto* returnKey = new QShortcut(QKeySequence(Qt::Key_Return), this);
    returnKey->setContext(Qt::WindowShortcut);
    connect(returnKey, &QShortcut::activated, next_, &QAbstractButton::click);
}

QString DoneCard::skippedText(const QList<Skipped>& skipped) {
    QStringList lines;
    for (const Skipped& item : skipped)
        lines << item.name + QStringLiteral(": ") + item.reason;
    return lines.join(QLatin1Char('\n'));
}

void DoneCard::showEvent(QShowEvent* event) {
    GlassWidget::showEvent(event);
    if (counted_)
        return;
    counted_ = true;
    if (ReduceMotion::of(this))
        shown_->setValue(value_);
    else
        shown_->animateTo(value_, Motion::slow());
}

}  // namespace ZantrelUI
