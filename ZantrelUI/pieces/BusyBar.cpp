#include "ZantrelUI/pieces/BusyBar.h"

#include "ZantrelKit/Copy.h"
#include "ZantrelUI/design/GlassPainting.h"
#include "ZantrelUI/pieces/GlassProgress.h"
#include "ZantrelUI/design/LoopPieces.h"
#include "ZantrelUI/design/PillButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace ZantrelUI {

namespace {

// The open-ended bar: a faint capsule with accent dashes marching along its middle.
class DashedTrack final : public GlassWidget {
public:
    explicit DashedTrack(QWidget* parent) : GlassWidget(parent) {
        setFixedHeight(int(BusyBar::barHeight));
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        setAccessibleName(QString());
        dashes_ = new FlowDashes(QPointF(0, 0.5), QPointF(1, 0.5), environment().accent.top, 0.8, 3, this);
        dashes_->setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void resizeEvent(QResizeEvent*) override { dashes_->setGeometry(rect()); updateMask(); }
    void environmentChanged() override {
        // The dash colour follows the accent in force.
        auto* fresh = new FlowDashes(QPointF(0, 0.5), QPointF(1, 0.5), environment().accent.top, 0.8, 3, this);
        fresh->setAttribute(Qt::WA_TransparentForMouseEvents);
        fresh->setGeometry(rect());
        fresh->show();
        delete dashes_;
        dashes_ = fresh;
        updateMask();
        update();
    }
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(capsulePath(QRectF(rect())), resolve(Surface::faintFill()));
    }

private:
    // Clips the dashes to the capsule.
    void updateMask() {
        const QPainterPath shape = capsulePath(QRectF(rect()));
        dashes_->setMask(QRegion(shape.toFillPolygon().toPolygon()));
    }
    FlowDashes* dashes_;
};

}  // namespace

BusyBar::BusyBar(QString sentence, std::optional<double> value, Action stop, QWidget* parent)
    : GlassWidget(parent), sentence_(std::move(sentence)), value_(value), stop_(std::move(stop)) {
    setMinimumHeight(int(stripHeight));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);

    column_ = new QVBoxLayout;
    column_->setContentsMargins(0, 0, 0, 0);
    column_->setSpacing(4);
    label_ = new QLabel(this);
    label_->setTextFormat(Qt::PlainText);
    label_->setFont(Fonts::body());
    label_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    column_->addWidget(label_);
    row->addLayout(column_, 1);

    stopButton_ = new PillButton(ZantrelKit::Copy::Doing::stop(), false, false, this);
    connect(stopButton_, &QAbstractButton::clicked, this, [this] {
        if (stop_)
            stop_();
    });
    row->addWidget(stopButton_, 0, Qt::AlignVCenter);

    setSentence(sentence_);
    rebuildBar();
    stopButton_->setVisible(bool(stop_));
}

void BusyBar::setSentence(const QString& sentence) {
    sentence_ = sentence;
    // One line: cut at the end rather than wrapped or widening the strip.
    const QFontMetrics metrics(label_->font());
    const int room = std::max(label_->width(), 1);
    label_->setText(label_->width() > 0 ? metrics.elidedText(sentence, Qt::ElideRight, room) : sentence);
    label_->setToolTip(QString());
    label_->setAccessibleName(sentence);
    QPalette palette = label_->palette();
    palette.setColor(QPalette::WindowText, resolve(Ink::primary()));
    label_->setPalette(palette);
    if (progress_)
        progress_->setTitle(sentence);
}

void BusyBar::resizeEvent(QResizeEvent* event) {
    GlassWidget::resizeEvent(event);
    setSentence(sentence_);
}

void BusyBar::setValue(std::optional<double> value) {
    const bool formChanges = value.has_value() != value_.has_value();
    value_ = value;
    if (formChanges)
        rebuildBar();
    else if (progress_ && value)
        progress_->setValue(*value);
}

void BusyBar::setStop(Action stop) {
    stop_ = std::move(stop);
    stopButton_->setVisible(bool(stop_));
}

void BusyBar::rebuildBar() {
    delete progress_;
    progress_ = nullptr;
    delete indeterminate_;
    indeterminate_ = nullptr;
    if (value_) {
        progress_ = new GlassProgress(*value_, sentence_, barHeight, this);
        column_->addWidget(progress_);
    } else {
        indeterminate_ = new DashedTrack(this);
        column_->addWidget(indeterminate_);
    }
}

}  // namespace ZantrelUI
