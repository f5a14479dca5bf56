#include "Glyphnab/notice/NoticeView.h"

#include "ZantrelUI/pieces/BusyBar.h"
#include "ZantrelUI/design/CheckDraw.h"
#include "ZantrelUI/design/GlassPainting.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/design/Symbols.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRadialGradient>
#include <QTextLayout>
#include <QTimer>
#include <QVBoxLayout>

namespace Glyphnab {

using namespace ZantrelUI;

namespace {

QColor withOpacity(QColor color, double opacity) {
    color.setAlphaF(float(color.alphaF() * opacity));
    return color;
}

// Up to `lines` lines of `text` wrapped at `width`, the last one cut with "…" when more
// follows. Each line of `text` is wrapped on its own: laid out as one, a line break inside
// a wrapped line would break it a second time, leaving a word alone between the two.
QString fitLines(const QString& text, const QFont& font, int width, int lines) {
    const QStringList paragraphs = text.split(u'\n', Qt::SkipEmptyParts);
    QStringList kept;
    for (qsizetype p = 0; p < paragraphs.size() && kept.size() < lines; ++p) {
        const QString& paragraph = paragraphs[p];
        QTextLayout layout(paragraph, font);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid() && kept.size() < lines; line = layout.createLine()) {
            line.setLineWidth(width);
            const qsizetype end = line.textStart() + line.textLength();
            const bool more = end < paragraph.size() || p + 1 < paragraphs.size();
            if (kept.size() == lines - 1 && more) {
                const QString rest = (QStringList{paragraph.mid(line.textStart())} + paragraphs.mid(p + 1)).join(u' ');
                kept.append(QFontMetrics(font).elidedText(rest.simplified(), Qt::ElideRight, width));
                break;
            }
            kept.append(paragraph.mid(line.textStart(), line.textLength()).trimmed());
        }
        layout.endLayout();
    }
    return kept.join(QLatin1Char('\n'));
}

void setInk(QWidget* label, const QColor& color) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}

QLabel* plainLabel(const QString& text, const QFont& font, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    label->setText(text);
    return label;
}

// The title on one line: the words in the label font, the numbers in the rounded one.
class TitleLine final : public GlassWidget {
public:
    TitleLine(QString title, QWidget* parent) : GlassWidget(parent), title_(std::move(title)) {
        setAccessibleName(title_);
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        setFixedHeight(QFontMetrics(Fonts::label()).height());
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(resolve(Ink::primary()));
        const qreal room = width();
        qreal x = 0;
        const qreal baseline = QFontMetricsF(Fonts::label()).ascent();
        for (const auto& run : NoticeView::titleRuns(title_)) {
            const QFont font = run.number ? Fonts::roundedCaption() : Fonts::label();
            const QFontMetricsF metrics(font);
            const qreal advance = metrics.horizontalAdvance(run.text);
            painter.setFont(font);
            if (x + advance > room) {
                painter.drawText(QPointF(x, baseline), metrics.elidedText(run.text, Qt::ElideRight, room - x));
                return;
            }
            painter.drawText(QPointF(x, baseline), run.text);
            x += advance;
        }
    }

private:
    QString title_;
};

// The round icon: a faint disc with a symbol, or the accent check.
class NoticeIcon final : public GlassWidget {
public:
    NoticeIcon(bool check, QString symbol, bool reduceMotion, QWidget* parent)
        : GlassWidget(parent), check_(check), symbol_(std::move(symbol)), reduceMotion_(reduceMotion) {
        setFixedSize(NoticeView::iconSide, NoticeView::iconSide);
        setAccessibleName(QString());
        rebuild();
    }

protected:
    void environmentChanged() override {
        rebuild();
        update();
    }
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF disc = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        const ColorScheme scheme = this->scheme();
        if (check_) {
            if (!view_) {
                const Accent accent = environment().accent;
                painter.setPen(Qt::NoPen);
                painter.setBrush(accent.gradient(disc, scheme));
                painter.drawEllipse(disc);
                Symbols::paint(painter, QStringLiteral("checkmark"), disc.adjusted(8.5, 8.5, -8.5, -8.5),
                               Ink::onAccent().resolve(scheme));
            }
            painter.setPen(QPen(withOpacity(Qt::white, 0.3), 1));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(disc);
            return;
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(Surface::faintFill().resolve(scheme));
        painter.drawEllipse(disc);
        painter.setPen(QPen(withOpacity(Qt::white, 0.1), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(disc);
        Symbols::paint(painter, symbol_, disc.adjusted(9, 9, -9, -9), environment().accent.ink.resolve(scheme));
    }

private:
    // The drawing check while the window is live; the still form offscreen.
    void rebuild() {
        const bool wantsView = check_ && !environment().offscreen;
        if (wantsView == bool(view_))
            return;
        delete view_;
        view_ = nullptr;
        if (!wantsView)
            return;
        const Accent accent = environment().accent;
        view_ = new CheckDrawView({accent.top, accent.bottom, Ink::onAccent()}, reduceMotion_, this);
        view_->setGeometry(rect());
        view_->setAttribute(Qt::WA_TransparentForMouseEvents);
        view_->show();
        QTimer::singleShot(0, view_, &CheckDrawView::play);
    }

    bool check_;
    QString symbol_;
    bool reduceMotion_;
    CheckDrawView* view_ = nullptr;
};

}  // namespace

NoticeView::NoticeView(NoticeContent content, Actions actions, QString name, bool reduceMotion, QWidget* parent)
    : GlassWidget(parent),
      content_(std::move(content)),
      actions_(std::move(actions)),
      name_(std::move(name)),
      reduceMotion_(reduceMotion) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_Hover);
    setAccessibleName(NoticeText::announcement(content_, name_));
    build();
}

QList<NoticeView::TitleRun> NoticeView::titleRuns(const QString& title) {
    static const QRegularExpression numbers(QStringLiteral("\\d(?:[\\d,.\\x{00A0}\\x{202F}]*\\d)?"),
                                            QRegularExpression::UseUnicodePropertiesOption);
    QList<TitleRun> runs;
    qsizetype at = 0;
    auto it = numbers.globalMatch(title);
    while (it.hasNext()) {
        const auto match = it.next();
        if (match.capturedStart() > at)
            runs.append({title.mid(at, match.capturedStart() - at), false});
        runs.append({match.captured(), true});
        at = match.capturedEnd();
    }
    if (at < title.size())
        runs.append({title.mid(at), false});
    return runs;
}

double NoticeView::shadowOpacity(ColorScheme scheme) { return scheme == ColorScheme::dark ? 0.45 : 0.16; }
double NoticeView::glowOpacity(ColorScheme scheme) { return scheme == ColorScheme::dark ? 0.22 : 0.14; }

QRectF NoticeView::cardRect() const {
    return QRectF(margin, margin, cardWidth, std::max(0, height() - 2 * margin));
}

void NoticeView::build() {
    setFixedWidth(cardWidth + 2 * margin);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(margin + 16, margin + 14, margin + 16, margin + 14);
    outer->setSpacing(12);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    auto* icon = new NoticeIcon(NoticeText::showsCheck(content_), NoticeText::symbol(content_), reduceMotion_, this);
    icon_ = icon;

    if (const auto* busy = content_.asBusy()) {
        auto* row = new QHBoxLayout;
        row->setSpacing(12);
        row->addWidget(icon, 0, Qt::AlignVCenter);
        busyBar_ = new BusyBar(NoticeText::title(content_), NoticeText::busyFraction(*busy), actions_.stop, this);
        busyBar_->setFixedWidth(cardWidth - 32 - iconSide - 12);
        row->addWidget(busyBar_, 1);
        outer->addLayout(row);
        if (busy->progress) {
            QPointer<BusyBar> bar = busyBar_;
            QPointer<NoticeProgress> progress = busy->progress;
            connect(busy->progress, &NoticeProgress::doneChanged, this, [this, bar, progress] {
                if (!bar || !progress)
                    return;
                bar->setValue(NoticeText::busyFraction(NoticeContent::Busy{progress}));
                bar->setSentence(NoticeText::title(content_));
            });
        }
        return;
    }

    const int textWidth = cardWidth - 32 - iconSide - 12;
    auto* row = new QHBoxLayout;
    row->setSpacing(12);
    row->addWidget(icon, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(3);
    auto* title = new TitleLine(NoticeText::title(content_), this);
    title->setFixedWidth(textWidth);
    texts->addWidget(title);
    if (const auto* done = content_.asDone(); done && !done->outcome.preview.isEmpty()) {
        const QFont font = Fonts::system(12.5);
        auto* preview = plainLabel(fitLines(done->outcome.preview, font, textWidth, 2), font, this);
        preview_ = preview;
        inks_.append({preview, &Ink::secondary()});
        preview->setFixedWidth(textWidth);
        texts->addWidget(preview);
    }
    if (const auto detail = NoticeText::detail(content_, name_)) {
        auto* line = plainLabel(fitLines(*detail, Fonts::footnote(), textWidth, 2), Fonts::footnote(), this);
        detail_ = line;
        inks_.append({line, &Ink::tertiary()});
        line->setFixedWidth(textWidth);
        texts->addWidget(line);
    }
    row->addLayout(texts);
    row->addStretch(0);
    outer->addLayout(row);
    environmentChanged();

    const auto entries = NoticeText::buttons(content_);
    if (entries.isEmpty())
        return;
    auto* buttonRow = new QHBoxLayout;
    buttonRow->setSpacing(8);
    buttonRow->addStretch(1);
    for (const auto& entry : entries) {
        auto* button = new PillButton(entry.title, entry.prominent, false, this);
        connect(button, &QAbstractButton::clicked, this, [this, action = entry.action] { run(action); });
        buttonRow->addWidget(button, 0, Qt::AlignVCenter);
        buttons_.append(button);
    }
    outer->addLayout(buttonRow);
}

QString NoticeView::previewText() const { return preview_ ? preview_->text() : QString(); }

QString NoticeView::detailText() const { return detail_ ? detail_->text() : QString(); }

void NoticeView::run(const NoticeButton::Action& action) {
    if (const auto* grab = std::get_if<NoticeButton::GrabAgain>(&action)) {
        if (actions_.grabAgain)
            actions_.grabAgain(grab->mode);
    } else if (const auto* copy = std::get_if<NoticeButton::CopyText>(&action)) {
        if (actions_.copyText)
            actions_.copyText(copy->text);
    } else if (const auto* other = std::get_if<NoticeButton::CopyOtherWay>(&action)) {
        if (actions_.copyOtherWay)
            actions_.copyOtherWay(other->outcome, other->mode);
    } else if (const auto* open = std::get_if<NoticeButton::Open>(&action)) {
        if (actions_.open)
            actions_.open(open->link);
    }
}

void NoticeView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const ColorScheme scheme = this->scheme();
    const bool offscreen = environment().offscreen;
    const QRectF card = cardRect();
    const QPainterPath shape = roundedPath(card, Radius::notice);

    paintShadow(painter, shape, tintedShadow(Qt::black, shadowOpacity(scheme), 18, 8));

    painter.save();
    painter.setClipPath(shape);
    QLinearGradient fill(card.topLeft(), card.bottomLeft());
    fill.setColorAt(0, withOpacity(Surface::windowTop().resolve(scheme), offscreen ? 1 : 0.82));
    fill.setColorAt(1, withOpacity(Surface::windowBottom().resolve(scheme), offscreen ? 1 : 0.9));
    painter.fillRect(card, fill);
    const QColor accentTop = environment().accent.top.resolve(scheme);
    QRadialGradient glowFill(QPointF(card.left() + 0.08 * card.width(), card.top()), 220);
    glowFill.setColorAt(2.0 / 220, withOpacity(accentTop, glowOpacity(scheme)));
    glowFill.setColorAt(1, withOpacity(accentTop, 0));
    painter.fillRect(card, glowFill);
    painter.restore();

    // The check's accent shadow falls outside its own square, so the card draws it.
    if (icon_ && NoticeText::showsCheck(content_)) {
        QPainterPath disc;
        disc.addEllipse(QRectF(icon_->geometry()));
        paintShadow(painter, disc, tintedShadow(accentTop, 0.35, 6, 2));
    }

    strokeRoundedInside(painter, card, Radius::notice, Surface::cardStroke().resolve(scheme), 1);
    QLinearGradient highlight(card.topLeft(), QPointF(card.left(), card.center().y()));
    highlight.setColorAt(0, withOpacity(Surface::cardHighlight().resolve(scheme), 0.6));
    highlight.setColorAt(1, Qt::transparent);
    strokeRoundedInside(painter, card, Radius::notice, highlight, 1);
}

void NoticeView::environmentChanged() {
    for (const auto& [label, ink] : inks_)
        setInk(label, resolve(*ink));
    update();
}

void NoticeView::mouseReleaseEvent(QMouseEvent* event) {
    // A notice with buttons (or the busy one) stays until its time is up.
    if (event->button() == Qt::LeftButton && !content_.lingers() && actions_.close)
        actions_.close();
    GlassWidget::mouseReleaseEvent(event);
}

void NoticeView::enterEvent(QEnterEvent* event) {
    if (hover_)
        hover_(true);
    GlassWidget::enterEvent(event);
}

void NoticeView::leaveEvent(QEvent* event) {
    if (hover_)
        hover_(false);
    GlassWidget::leaveEvent(event);
}

}  // namespace Glyphnab
