#include "ZantrelUI/design/WindowPieces.h"

#include "ZantrelKit/Copy.h"
#include "ZantrelUI/context/MacCalls.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/design/SettingsCard.h"
#include "ZantrelUI/design/Symbols.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QWindow>

#include <cmath>

namespace ZantrelUI {

OverflowToolRow::OverflowToolRow(std::vector<Tool> tools, std::vector<Tool> pinned, QWidget* parent)
    : GlassWidget(parent), tools_(std::move(tools)), pinned_(std::move(pinned)), row_(new QHBoxLayout(this)) {
    row_->setContentsMargins(0, 0, 0, 0);
    row_->setSpacing(4);
    setFixedHeight(30);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    rebuild();
}

qreal OverflowToolRow::pillWidth(const QString& title) {
    const QFontMetricsF metrics(Fonts::system(12, QFont::DemiBold));
    return std::ceil(metrics.horizontalAdvance(title)) + 16 + 6 + 28;
}

int OverflowToolRow::visibleCount(const std::vector<Tool>& tools, const std::vector<Tool>& pinned, qreal width) {
    if (tools.empty())
        return 0;
    qreal pinnedWidth = 0;
    for (const Tool& tool : pinned)
        pinnedWidth += pillWidth(tool.title) + 4;
    qreal toolsWidth = 0;
    for (const Tool& tool : tools)
        toolsWidth += pillWidth(tool.title) + 4;
    qreal available = width - pinnedWidth - 8;
    if (toolsWidth <= available)
        return static_cast<int>(tools.size());
    available -= pillWidth(ZantrelKit::Copy::Tools::more()) + 4;
    int taken = 0;
    // The first tool that does not fit ends the walk; later, shorter ones are not tried.
    for (const Tool& tool : tools) {
        const qreal need = pillWidth(tool.title) + 4;
        if (need > available)
            break;
        available -= need;
        ++taken;
    }
    return taken;
}

bool OverflowToolRow::hasMoreMenu() const { return more_ != nullptr; }

QStringList OverflowToolRow::overflowTitles() const {
    QStringList titles;
    for (std::size_t i = static_cast<std::size_t>(std::max(shown_, 0)); i < tools_.size(); ++i)
        titles << tools_[i].title;
    return titles;
}

void OverflowToolRow::resizeEvent(QResizeEvent* event) {
    GlassWidget::resizeEvent(event);
    if (visibleCount(tools_, pinned_, width()) != shown_)
        rebuild();
}

void OverflowToolRow::rebuild() {
    shown_ = visibleCount(tools_, pinned_, width());
    while (QLayoutItem* item = row_->takeAt(0)) {
        if (QWidget* w = item->widget())
            w->deleteLater();
        delete item;
    }
    more_ = nullptr;
    const auto pill = [this](const Tool& tool) {
        auto* button = new PillButton(tool.title, false, false, this);
        button->setSymbol(tool.symbol);
        button->setEnabled(tool.enabled);
        connect(button, &QAbstractButton::clicked, this, [run = tool.run] {
            if (run)
                run();
        });
        return button;
    };
    for (int i = 0; i < shown_; ++i)
        row_->addWidget(pill(tools_[static_cast<std::size_t>(i)]));
    if (shown_ < static_cast<int>(tools_.size())) {
        more_ = new PillButton(ZantrelKit::Copy::Tools::more(), false, false, this);
        more_->setSymbol(QStringLiteral("ellipsis"));
        auto* menu = new QMenu(more_);
        for (std::size_t i = static_cast<std::size_t>(shown_); i < tools_.size(); ++i) {
            const Tool& tool = tools_[i];
            QString title = tool.title;
            QAction* action = menu->addAction(title.replace(QLatin1Char('&'), QLatin1String("&&")));
            action->setEnabled(tool.enabled);
            connect(action, &QAction::triggered, this, [run = tool.run] {
                if (run)
                    run();
            });
        }
        connect(more_, &QAbstractButton::clicked, more_, [this, menu] {
            menu->popup(more_->mapToGlobal(QPoint(0, more_->height())));
        });
        more_->setAccessibleName(ZantrelKit::Copy::Tools::more());
        more_->setAccessibleDescription(ZantrelKit::Copy::joinedList(overflowTitles()));
        row_->addWidget(more_);
    }
    row_->addSpacing(8);
    row_->addStretch(1);
    for (const Tool& tool : pinned_)
        row_->addWidget(pill(tool));
}

namespace StatusGlyph {

Image image(const Image& icon, std::optional<Mark> mark) {
    if (!mark)
        return icon;
    const QSize size = icon.image.size();
    QImage marked(size, QImage::Format_ARGB32_Premultiplied);
    marked.setDevicePixelRatio(icon.image.devicePixelRatio());
    marked.fill(Qt::transparent);
    const qreal h = size.height() / icon.image.devicePixelRatio();
    const qreal u = h / 18;
    // The shapes are given in y-up space; flip them to draw.
    const auto flip = [&](qreal x, qreal y, qreal w, qreal hh) { return QRectF(x, h - y - hh, w, hh); };
    QPainter painter(&marked);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawImage(QRectF(QPointF(0, 0), QSizeF(size) / icon.image.devicePixelRatio()), icon.image);
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.setBrush(Qt::black);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(flip(9.5 * u, -0.5 * u, 9 * u, 9 * u));
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (*mark == Mark::attention) {
        painter.drawEllipse(flip(11.5 * u, u, 5.5 * u, 5.5 * u));
    } else {
        painter.drawRoundedRect(flip(11.5 * u, u, 1.8 * u, 5.5 * u), 0.9 * u, 0.9 * u);
        painter.drawRoundedRect(flip(14.5 * u, u, 1.8 * u, 5.5 * u), 0.9 * u, 0.9 * u);
    }
    painter.end();
    return {marked, true, ZantrelKit::Copy::MenuBar::status(icon.description, *mark == Mark::paused)};
}

}  // namespace StatusGlyph

OnScreen::OnScreen(std::function<void(bool)> changed, QWidget* parent) : QWidget(parent), changed_(std::move(changed)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    QMetaObject::invokeMethod(this, [this] { watch(); }, Qt::QueuedConnection);
}

void OnScreen::watch() {
    QWidget* top = window();
    if (window_ != top) {
        if (window_)
            window_->removeEventFilter(this);
        window_ = top;
        if (top != nullptr && top != this)
            top->installEventFilter(this);
    }
    QObject* handle = top != nullptr ? top->windowHandle() : nullptr;
    if (handle_ != handle) {
        if (handle_)
            handle_->removeEventFilter(this);
        handle_ = handle;
        if (handle != nullptr)
            handle->installEventFilter(this);
    }
    recompute();
}

void OnScreen::recompute() {
    const QWidget* top = window();
    const QWindow* handle = top != nullptr ? top->windowHandle() : nullptr;
    const bool now = top != nullptr && top->isVisible() && !top->isMinimized() && handle != nullptr && handle->isExposed();
    if (now == last_)
        return;
    last_ = now;
    QPointer<OnScreen> self(this);
    // Reported on a later turn, as the window's own notifications are.
    QMetaObject::invokeMethod(this, [self, now] {
        if (self && self->changed_)
            self->changed_(now);
    }, Qt::QueuedConnection);
}

bool OnScreen::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::ParentChange:
    case QEvent::Show:
    case QEvent::Hide:
        QMetaObject::invokeMethod(this, [this] { watch(); }, Qt::QueuedConnection);
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

bool OnScreen::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Close:
        if (!last_)
            break;
        last_ = false;
        QMetaObject::invokeMethod(this, [this] {
            if (changed_)
                changed_(false);
        }, Qt::QueuedConnection);
        break;
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Expose:
    case QEvent::WindowStateChange:
        QMetaObject::invokeMethod(this, [this] { watch(); }, Qt::QueuedConnection);
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

MenuBarIconCard::MenuBarIconCard(QString app, bool isOn, QWidget* parent) : QWidget(parent) {
    auto* card = new SettingsCard(std::nullopt, this);
    switch_ = new SettingsSwitch(ZantrelKit::Copy::MenuBar::showIcon(), ZantrelKit::Copy::MenuBar::showIconDetail(app), isOn);
    auto* quitButton = new PillButton(ZantrelKit::Copy::Menus::quit(app), false, false);
    // Read at the click: the window may set its operations after the card is built.
    connect(quitButton, &QAbstractButton::clicked, this, [this] { macCallsOf(this).quit(); });
    quitRow_ = new SettingsRow(std::nullopt, std::nullopt, quitButton);
    card->addRow(switch_);
    card->addRow(quitRow_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(card);
    const auto arrange = [this, card](bool on) {
        quitRow_->setVisible(!on);
        // The hairline before the Quit row goes with it.
        for (QWidget* line : card->card()->findChildren<QWidget*>(QStringLiteral("zantrel.hairline")))
            line->setVisible(!on);
    };
    arrange(isOn);
    connect(switch_, &SettingsSwitch::toggled, this, [this, arrange](bool on) {
        arrange(on);
        Q_EMIT toggled(on);
    });
}

bool MenuBarIconCard::isOn() const { return switch_->isOn(); }
void MenuBarIconCard::setOn(bool on) { switch_->setOn(on); }

RowIconButton::RowIconButton(QString symbol, QString label, bool enabled, std::function<void()> action, QWidget* parent)
    : QAbstractButton(parent), symbol_(std::move(symbol)) {
    setEnabled(enabled);
    setAccessibleName(label);
    setToolTip(label);
    setFixedSize(24, 24);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractButton::clicked, this, [action = std::move(action)] {
        if (action)
            action();
    });
}

bool RowIconButton::event(QEvent* event) {
    if (event->type() == EnvironmentChangeEvent::type()) {
        update();
        return true;
    }
    return QAbstractButton::event(event);
}

void RowIconButton::paintEvent(QPaintEvent*) {
    const ColorScheme s = colorScheme(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(0.4);
    QPainterPath circle;
    circle.addEllipse(QRectF(0, 0, 24, 24));
    painter.fillPath(circle, Surface::faintFill().resolve(s));
    Symbols::paint(painter, symbol_, QRectF(6.5, 6.5, 11, 11), Ink::secondary().resolve(s));
}

}  // namespace ZantrelUI
