#include "ZantrelUI/pieces/UndoLine.h"

#include "ZantrelKit/Copy.h"
#include "ZantrelUI/design/GlassPainting.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/design/Symbols.h"
#include "ZantrelUI/pieces/Announce.h"
#include "ZantrelUI/pieces/TextFit.h"
#include "platform/async/MainThread.h"

#include <QGraphicsDropShadowEffect>
#include <QPainter>
#include <QShortcut>

#include <cmath>

namespace ZantrelUI {

namespace {
constexpr qreal symbolSide = 14;  // the 12-point arrow's box
constexpr qreal textStart = 16 + symbolSide + 12;
}  // namespace

UndoNote::UndoNote(QString text, std::function<void()> undo)
    : id(QUuid::createUuid()), text(std::move(text)), undo(std::move(undo)) {}

void OneShot::schedule(double seconds, std::function<void()> action) {
    cancel();
    timer_ = MotionClock::shared().schedule(seconds, this, [this, action = std::move(action)] {
        timer_.reset();
        action();
    });
}

void OneShot::cancel() {
    if (timer_)
        MotionClock::shared().cancel(*timer_);
    timer_.reset();
}

// MARK: the line

UndoLineView::UndoLineView(QString text, std::function<void()> undo, QWidget* parent)
    : GlassWidget(parent), text_(std::move(text)) {
    button_ = new PillButton(ZantrelKit::Copy::Doing::undo(), false, false, this);
    connect(button_, &QAbstractButton::clicked, this, [undo = std::move(undo)] {
        if (undo)
            undo();
    });
    setAccessibleName(text_);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* shadow = new QGraphicsDropShadowEffect(this);
    setGraphicsEffect(shadow);  // takes ownership
    updateShadow();
}

void UndoLineView::environmentChanged() {
    updateShadow();
    GlassWidget::environmentChanged();
}

// The line floats over the content: its shadow falls outside it, onto what lies below.
void UndoLineView::updateShadow() {
    auto* shadow = static_cast<QGraphicsDropShadowEffect*>(graphicsEffect());
    QColor black(Qt::black);
    black.setAlphaF(scheme() == ColorScheme::dark ? 0.4f : 0.14f);
    shadow->setColor(black);
    shadow->setBlurRadius(2 * shadowRadius);  // Qt's blur radius spans twice the shadow's
    shadow->setOffset(0, 6);
}

QString UndoLineView::shownText() const {
    const qreal room = button_->x() - 8 - textStart;
    return TextFit::lines(text_, Fonts::body(), room, 2).join(QLatin1Char('\n'));
}

QSize UndoLineView::sizeHint() const {
    const QSize button = button_->sizeHint();
    const qreal text = QFontMetricsF(Fonts::body()).horizontalAdvance(text_);
    const int w = std::min(maxWidth, int(std::ceil(textStart + text + 8 + button.width() + 8)));
    return {w, heightForWidth(w)};
}

int UndoLineView::heightForWidth(int width) const {
    const QSize button = button_->sizeHint();
    const qreal room = width - textStart - 8 - button.width() - 8;
    const qreal text = TextFit::height(text_, Fonts::body(), room, 2);
    return int(std::ceil(std::max<qreal>(button.height(), text) + 16));
}

void UndoLineView::resizeEvent(QResizeEvent* event) {
    GlassWidget::resizeEvent(event);
    place();
}

void UndoLineView::place() {
    const QSize button = button_->sizeHint();
    button_->setGeometry(width() - 8 - button.width(), (height() - button.height()) / 2, button.width(),
                         button.height());
}

void UndoLineView::paintEvent(QPaintEvent*) {
    const ColorScheme s = scheme();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect());
    const QPainterPath shape = roundedPath(r, 18);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, Surface::windowTop().resolve(s));
    fill.setColorAt(1, Surface::windowBottom().resolve(s));
    painter.fillPath(shape, fill);
    strokeRoundedInside(painter, r, 18, Surface::cardStroke().resolve(s));
    Symbols::paint(painter, QStringLiteral("arrow.uturn.backward"),
                   QRectF(16, (height() - symbolSide) / 2, symbolSide, symbolSide), environment().accent.ink.resolve(s));
    painter.setFont(Fonts::body());
    painter.setPen(Ink::primary().resolve(s));
    const qreal room = button_->x() - 8 - textStart;
    painter.drawText(QRectF(textStart, 0, room, height()), Qt::AlignLeft | Qt::AlignVCenter, shownText());
}

// MARK: the host

UndoLine::UndoLine(QWidget* content, PendingUndo note, bool commandZ, bool reserves, QWidget* parent)
    : GlassWidget(parent),
      content_(content),
      note_(std::move(note)),
      commandZ_(commandZ),
      reserves_(reserves),
      clock_(new OneShot(this)),
      commandZShortcut_(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), this)) {
    content_->setParent(this);
    commandZShortcut_->setContext(Qt::WindowShortcut);
    commandZShortcut_->setEnabled(false);
    connect(commandZShortcut_, &QShortcut::activated, this, [this] { runUndo(); });
    note_->watch(this, [this] { sync(); });
    sync();
}

UndoLine* undoLine(QWidget* content, PendingUndo note, bool commandZ, bool reserves, QWidget* parent) {
    return new UndoLine(content, std::move(note), commandZ, reserves, parent);
}

void UndoLine::sync() {
    const std::optional<UndoNote>& note = note_->get();
    const std::optional<QUuid> id = note ? std::optional<QUuid>(note->id) : std::nullopt;
    if (id == shown_)
        return;
    // The old line leaves: its timer goes with it.
    clock_->cancel();
    if (line_) {
        line_->hide();
        line_->deleteLater();
        line_ = nullptr;
    }
    shown_ = id;
    commandZShortcut_->setEnabled(commandZ_ && note.has_value());
    if (!note)
        return;
    line_ = new UndoLineView(note->text, [this] { runUndo(); }, this);
    layoutChildren();
    line_->show();
    line_->raise();
    if (!environment().offscreen)
        Announce::post(note->text, this);
    const QUuid noteId = note->id;
    clock_->schedule(UndoNote::lifetime, [note = note_, noteId] {
        Platform::assertMain();
        // A note replaced or cleared in the meantime is not ours to clear.
        if (note->get() && note->get()->id == noteId)
            note->set(std::nullopt);
    });
}

void UndoLine::runUndo() {
    Platform::assertMain();
    const std::optional<UndoNote> note = note_->get();
    if (!note)
        return;
    // Cleared first, so an undo that posts a fresh note keeps it.
    note_->set(std::nullopt);
    if (note->undo)
        note->undo();
}

void UndoLine::resizeEvent(QResizeEvent* event) {
    GlassWidget::resizeEvent(event);
    layoutChildren();
}

void UndoLine::layoutChildren() {
    const int band = reserves_ ? bandHeight : 0;
    content_->setGeometry(0, 0, width(), std::max(0, height() - band));
    if (!line_)
        return;
    const int room = std::max(0, width() - 32);
    const int w = std::min({room, line_->sizeHint().width(), UndoLineView::maxWidth});
    const int h = line_->heightForWidth(w);
    const int x = (width() - w) / 2;
    const int y = reserves_ ? height() - band + (band - h) / 2 : height() - 16 - h;
    line_->setGeometry(x, y, w, h);
}

}  // namespace ZantrelUI
