#include "Glyphnab/windows/GrantPanelView.h"

#include "Glyphnab/model/GlyphnabModel.h"
#include "Glyphnab/windows/GrantWatchHold.h"
#include "Glyphnab/windows/GrantStatus.h"
#include "GlyphnabCore/Words.h"
#include "ZantrelKit/Copy.h"
#include "ZantrelKit/Permission.h"
#include "ZantrelUI/design/Backdrop.h"
#include "ZantrelUI/design/GlassPainting.h"
#include "ZantrelUI/design/InkLabel.h"
#include "ZantrelUI/desktop/PathCrumbs.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/design/PlainButton.h"
#include "ZantrelUI/design/Symbols.h"
#include "platform/async/MainThread.h"

#include <QGraphicsDropShadowEffect>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>

namespace Glyphnab {

using namespace ZantrelUI;
namespace Words = GlyphnabCore::Words;

namespace {

const ZantrelKit::Permission& screenRecording() { return ZantrelKit::Permission::screenRecording(); }

// The accent tile with the recording symbol; its glow falls outside its frame.
class GrantIcon final : public GlassWidget {
public:
    static constexpr int side = 44;

    explicit GrantIcon(QWidget* parent = nullptr) : GlassWidget(parent) {
        setFixedSize(side, side);
        auto* glow = new QGraphicsDropShadowEffect(this);
        glow->setBlurRadius(20);  // a blur radius of twice the shadow's radius
        glow->setOffset(0, 2);
        setGraphicsEffect(glow);
        recolor();
    }

protected:
    void environmentChanged() override {
        recolor();
        update();
    }
    void paintEvent(QPaintEvent*) override {
        const ColorScheme s = scheme();
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF tile(rect());
        painter.fillPath(roundedPath(tile, 11), environment().accent.gradient(tile, s));
        const qreal glyph = 21;
        Symbols::paint(painter, QStringLiteral("rectangle.dashed.badge.record"),
                       QRectF(tile.center() - QPointF(glyph / 2, glyph / 2), QSizeF(glyph, glyph)),
                       Ink::onAccent().resolve(s));
    }

private:
    void recolor() {
        auto* glow = static_cast<QGraphicsDropShadowEffect*>(graphicsEffect());
        QColor colour = environment().accent.top.resolve(scheme());
        colour.setAlphaF(0.4f);
        glow->setColor(colour);
    }
};

bool plainKey(const QKeyEvent& event) {
    return (event.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

}  // namespace

GrantPanelView::GrantPanelView(GlyphnabModel& model, std::function<void()> close, QWidget* parent)
    : GlassWidget(parent), model_(&model), close_(std::move(close)), watch_(new GrantWatchHold(model, this)),
      backdrop_(new Backdrop(this)) {
    Platform::assertMain();
    // Holds the focus for Return and Escape when no control has it, but is no Tab stop.
    setFocusPolicy(Qt::ClickFocus);
    const QString app = model.appName();

    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(28, 40, 28, 28);
    stack->setSpacing(16);

    auto* header = new QHBoxLayout();
    header->setSpacing(12);
    header->addWidget(new GrantIcon(this), 0, Qt::AlignVCenter);
    title_ = new InkLabel(QString(), Fonts::system(20, QFont::Bold, true), Ink::primary(), true, this);
    title_->setHeading(true);
    header->addWidget(title_, 1, Qt::AlignVCenter);
    stack->addLayout(header);

    againDetail_ = new InkLabel(ZantrelKit::Copy::Permission::againDetail(screenRecording(), app), Fonts::body(),
                                Ink::primary(), true, this);
    stack->addWidget(againDetail_);
    detail_ = new InkLabel(Words::grantDetail(app), Fonts::body(), Ink::secondary(), true, this);
    stack->addWidget(detail_);
    stack->addWidget(new PathCrumbs(screenRecording().pane, this), 0, Qt::AlignLeft);

    auto* live = new QVBoxLayout();
    live->setSpacing(8);
    auto* statusRow = new QHBoxLayout();
    statusRow->setSpacing(8);
    status_ = new GrantStatus(model.screenAllowed(), this);
    statusRow->addWidget(status_, 0, Qt::AlignVCenter);
    statusLabel_ = new InkLabel(QString(), Fonts::footnote(), Ink::secondary(), true, this);
    statusRow->addWidget(statusLabel_, 1, Qt::AlignVCenter);
    auto* statusBox = new QWidget(this);
    statusBox->setFixedHeight(22);
    statusBox->setLayout(statusRow);
    statusRow->setContentsMargins(0, 0, 0, 0);
    live->addWidget(statusBox);
    stuck_ = new InkLabel(ZantrelKit::Copy::Permission::stuck(app), Fonts::footnote(), Ink::tertiary(), true, this);
    live->addWidget(stuck_);
    stack->addLayout(live);
    stack->addStretch(0);

    buttonRow_ = new QHBoxLayout();
    buttonRow_->setSpacing(12);
    notNow_ = new PillButton(Words::grantNotNow(), false, false, this);
    connect(notNow_, &QAbstractButton::clicked, this, [this] {
        if (close_)
            close_();
    });
    buttonRow_->addWidget(notNow_);
    clipboard_ = new PlainButton(Words::grantClipboardInstead(), this);
    connect(clipboard_, &QAbstractButton::clicked, this, &GrantPanelView::readClipboardInstead);
    buttonRow_->addWidget(clipboard_);
    buttonRow_->addStretch(1);
    // Where the waiting state's four buttons need more than the panel's width (wide
    // fonts), the permission's buttons take a line of their own under the others, still at
    // the trailing edge; the panel keeps its width.
    grantRow_ = new QHBoxLayout();
    grantRow_->setSpacing(12);
    grantRow_->addStretch(1);
    auto* buttons = new QVBoxLayout();
    buttons->setSpacing(12);
    buttons->addLayout(buttonRow_);
    buttons->addLayout(grantRow_);
    stack->addLayout(buttons);

    const int waitingRow = notNow_->sizeHint().width() + clipboard_->sizeHint().width() +
                           PillButton(Words::grantQuitReopen()).sizeHint().width() +
                           PillButton(Words::grantOpenSettings(), true).sizeHint().width() +
                           3 * buttonRow_->spacing() + 12;
    oneLine_ = waitingRow <= panelWidth - 28 - 28;
    setFixedWidth(width_);

    connect(&model, &GlyphnabModel::screenAllowedChanged, this, &GrantPanelView::refresh);
    connect(&model, &GlyphnabModel::grantAgainChanged, this, &GrantPanelView::refresh);
    refresh();
}

bool GrantPanelView::holdsWatch() const { return watch_->holds(); }

QString GrantPanelView::titleText() const { return title_->text(); }
QString GrantPanelView::statusText() const { return statusLabel_->text(); }
bool GrantPanelView::showsAgainDetail() const { return !againDetail_->isHidden(); }
bool GrantPanelView::showsStuckHint() const { return !stuck_->isHidden(); }

QSize GrantPanelView::sizeHint() const {
    return QSize(width_, layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width_)
                                                           : layout()->totalSizeHint().height());
}

PillButton* GrantPanelView::defaultButton() const {
    return grantButtons_.empty() ? nullptr : grantButtons_.back();
}

void GrantPanelView::refresh() {
    Platform::assertMain();
    if (!model_)
        return;
    const bool allowed = model_->screenAllowed();
    const bool again = model_->grantAgain();
    if (allowed)
        title_->setText(Words::grantOn());
    else if (again)
        title_->setText(ZantrelKit::Copy::Permission::againTitle(screenRecording()));
    else
        title_->setText(Words::grantTitle());
    againDetail_->setVisible(again && !allowed);
    status_->setOn(allowed);
    statusLabel_->setText(allowed ? Words::grantRelaunch() : Words::grantWaiting());
    stuck_->setVisible(!allowed);
    rebuildGrantButtons(allowed);
}

void GrantPanelView::rebuildGrantButtons(bool granted) {
    if (builtFor_ == granted)
        return;
    builtFor_ = granted;
    // A button may be the sender of the click that changed the state.
    for (PillButton* button : grantButtons_) {
        buttonRow_->removeWidget(button);
        grantRow_->removeWidget(button);
        button->hide();
        button->deleteLater();
    }
    grantButtons_.clear();
    const QList<ZantrelKit::GrantButton> kinds = ZantrelKit::GrantButtons::buttons(granted);
    for (qsizetype i = 0; i < kinds.size(); ++i) {
        const bool last = i + 1 == kinds.size();
        auto* button = new PillButton(kinds[i] == ZantrelKit::GrantButton::openSettings ? Words::grantOpenSettings()
                                                                                          : Words::grantQuitReopen(),
                                      last, false, this);
        if (kinds[i] == ZantrelKit::GrantButton::openSettings) {
            connect(button, &QAbstractButton::clicked, this, [this] {
                if (model_)
                    model_->askForScreenRecording();
            });
        } else {
            connect(button, &QAbstractButton::clicked, this, [this] {
                if (model_ && model_->system().relaunch)
                    model_->system().relaunch();
            });
        }
        (oneLine_ ? buttonRow_ : grantRow_)->addWidget(button);
        grantButtons_.push_back(button);
    }
}

void GrantPanelView::readClipboardInstead() {
    // Closing drops this view; the model outlives it.
    const QPointer<GlyphnabModel> model = model_;
    const std::function<void()> close = close_;
    if (close)
        close();
    if (model)
        model->read(model->pasteboard());
}

void GrantPanelView::showEvent(QShowEvent* event) {
    GlassWidget::showEvent(event);
    if (QWidget* top = window(); top != nullptr && top->focusWidget() == nullptr)
        setFocus(Qt::OtherFocusReason);
}

void GrantPanelView::resizeEvent(QResizeEvent* event) {
    GlassWidget::resizeEvent(event);
    backdrop_->setGeometry(rect());
    backdrop_->lower();
}

void GrantPanelView::keyPressEvent(QKeyEvent* event) {
    if (plainKey(*event) && event->key() == Qt::Key_Escape) {
        notNow_->click();
        return;
    }
    if (plainKey(*event) && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        if (PillButton* button = defaultButton()) {
            button->click();
            return;
        }
    }
    GlassWidget::keyPressEvent(event);
}

}  // namespace Glyphnab
