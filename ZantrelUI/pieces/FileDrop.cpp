#include "ZantrelUI/pieces/FileDrop.h"

#include "ZantrelUI/design/GlassPainting.h"
#include "platform/async/MainThread.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QPainter>
#include <QVBoxLayout>

namespace ZantrelUI {

FileDrop::FileDrop(Accepts accepts, Take take, QObject* parent)
    : QObject(parent), accepts_(std::move(accepts)), take_(std::move(take)) {}

QList<QUrl> FileDrop::fileURLs(const QMimeData& data) {
    QList<QUrl> files;
    if (!data.hasUrls())
        return files;
    for (const QUrl& url : data.urls()) {
        if (!url.isValid() || url.isRelative() || !url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        if (path.isEmpty() || !QDir::isAbsolutePath(path))
            continue;
        files << url;
    }
    return files;
}

void FileDrop::receive(const QMimeData& data) { deliver(fileURLs(data)); }

void FileDrop::deliver(const QList<QUrl>& urls) {
    Platform::assertMain();
    QList<QUrl> accepted;
    for (const QUrl& url : urls)
        if (accepts_ && accepts_(url))
            accepted << url;
    // A drop with no readable file clears an earlier refusal.
    setRefused(!urls.isEmpty() && accepted.isEmpty());
    if (!accepted.isEmpty() && take_)
        take_(accepted);
}

void FileDrop::setRefused(bool refused) {
    if (refused == refused_)
        return;
    refused_ = refused;
    Q_EMIT refusedChanged(refused);
}

void FileDrop::setTargeted(bool targeted) {
    if (targeted == targeted_)
        return;
    targeted_ = targeted;
    Q_EMIT targetedChanged(targeted);
}

// MARK: the surface

FileDropSurface::FileDropSurface(FileDrop* drop, QString symbol, QString title, QString line, QString refusal,
                                 std::optional<EmptyState::Action> action, QWidget* parent)
    : GlassWidget(parent), drop_(drop), line_(std::move(line)), refusal_(std::move(refusal)) {
    setAcceptDrops(true);
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    empty_ = new EmptyState(std::move(symbol), std::move(title), line_, std::move(action), true, this);
    stack->addWidget(empty_, 1, Qt::AlignVCenter);
    connect(drop_, &FileDrop::refusedChanged, this, [this] { sync(); });
    connect(drop_, &FileDrop::targetedChanged, this, [this] { update(); });
    sync();
}

QString FileDropSurface::shownLine() const { return drop_ && drop_->refused() ? refusal_ : line_; }

void FileDropSurface::sync() {
    empty_->setLine(shownLine());
    update();
}

FileDropSurface::Border FileDropSurface::border() const {
    if (drop_ && drop_->targeted())
        return {resolve(environment().accent.top), 2};
    QColor faint = resolve(Ink::tertiary());
    faint.setAlphaF(faint.alphaF() * 0.5f);
    return {faint, 1.5};
}

QColor FileDropSurface::fill() const {
    if (!drop_ || !drop_->targeted())
        return Qt::transparent;
    QColor tint = resolve(environment().accent.top);
    tint.setAlphaF(0.08f);
    return tint;
}

void FileDropSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const Border line = border();
    const QRectF r = QRectF(rect()).adjusted(line.width / 2, line.width / 2, -line.width / 2, -line.width / 2);
    painter.fillPath(roundedPath(QRectF(rect()), 24), fill());
    QPen pen(line.color, line.width, Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
    pen.setMiterLimit(10);
    // Dash pattern lengths are in units of the pen width.
    pen.setDashPattern({6 / line.width, 5 / line.width});
    pen.setDashOffset(0);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(roundedPath(r, 24 - line.width / 2));
}

void FileDropSurface::dragEnterEvent(QDragEnterEvent* event) {
    if (!drop_ || !FileDrop::carriesFiles(*event->mimeData())) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    drop_->setTargeted(true);
}

void FileDropSurface::dragMoveEvent(QDragMoveEvent* event) {
    if (drop_ && FileDrop::carriesFiles(*event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void FileDropSurface::dragLeaveEvent(QDragLeaveEvent* event) {
    if (drop_)
        drop_->setTargeted(false);
    event->accept();
}

void FileDropSurface::dropEvent(QDropEvent* event) {
    if (!drop_) {
        event->ignore();
        return;
    }
    drop_->setTargeted(false);
    // The drop counts as taken at once, even when every file is refused later; the files
    // are sorted out after the drag has ended.
    const QList<QUrl> urls = FileDrop::fileURLs(*event->mimeData());
    event->acceptProposedAction();
    QMetaObject::invokeMethod(
        drop_, [drop = drop_, urls] {
            if (drop)
                drop->deliver(urls);
        },
        Qt::QueuedConnection);
}

}  // namespace ZantrelUI
