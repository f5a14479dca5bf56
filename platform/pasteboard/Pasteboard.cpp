#include "platform/pasteboard/Pasteboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QWindow>

namespace Platform {

QList<QUrl> Pasteboard::fileUrls() const {
    QList<QUrl> files;
    for (const QUrl& url : urls())
        if (url.isLocalFile())
            files.append(url);
    return files;
}

QStringList MemoryPasteboard::types() const {
    QStringList result = order_;
    if (!urls_.isEmpty())
        result.append(PasteboardType::uriList);
    if (string_)
        result.append(PasteboardType::text);
    return result;
}

QByteArray MemoryPasteboard::data(const QString& type) const {
    if (type == PasteboardType::text && string_)
        return string_->toUtf8();
    return data_.value(type);
}

std::optional<QImage> MemoryPasteboard::image() const {
    if (image_)
        return image_;
    return std::nullopt;
}

void MemoryPasteboard::clearContents() {
    ++clearCount_;
    order_.clear();
    data_.clear();
    urls_.clear();
    image_.reset();
    string_.reset();
}

bool MemoryPasteboard::setString(const QString& text) {
    clearContents();
    --clearCount_;
    ++writeCount_;
    string_ = text;
    return true;
}

void MemoryPasteboard::setData(const QString& type, const QByteArray& bytes) {
    if (!data_.contains(type))
        order_.append(type);
    data_.insert(type, bytes);
}

namespace {
QClipboard* clipboard() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr
               ? QGuiApplication::clipboard()
               : nullptr;
}
}  // namespace

QStringList ClipboardPasteboard::types() const {
    const QClipboard* board = clipboard();
    const QMimeData* mime = board != nullptr ? board->mimeData(QClipboard::Clipboard) : nullptr;
    return mime != nullptr ? mime->formats() : QStringList{};
}

QByteArray ClipboardPasteboard::data(const QString& type) const {
    const QClipboard* board = clipboard();
    const QMimeData* mime = board != nullptr ? board->mimeData(QClipboard::Clipboard) : nullptr;
    return mime != nullptr ? mime->data(type) : QByteArray{};
}

QList<QUrl> ClipboardPasteboard::urls() const {
    const QClipboard* board = clipboard();
    const QMimeData* mime = board != nullptr ? board->mimeData(QClipboard::Clipboard) : nullptr;
    return mime != nullptr && mime->hasUrls() ? mime->urls() : QList<QUrl>{};
}

std::optional<QImage> ClipboardPasteboard::image() const {
    const QClipboard* board = clipboard();
    if (board == nullptr)
        return std::nullopt;
    const QImage picture = board->image(QClipboard::Clipboard);
    if (picture.isNull())
        return std::nullopt;
    return picture;
}

QString ClipboardPasteboard::string() const {
    const QClipboard* board = clipboard();
    return board != nullptr ? board->text(QClipboard::Clipboard) : QString{};
}

void ClipboardPasteboard::clearContents() {
    if (QClipboard* board = clipboard())
        board->clear(QClipboard::Clipboard);
}

namespace {

// A Wayland compositor takes a selection only from the client with the keyboard: a copy
// made while no window of the app has it (the pick's overlay just went, the notice is not
// up yet) is made again as soon as one has it, unless a newer copy came first.
void copyAgainOnFocus(const QString& text) {
    static int latest = 0;
    const int copy = ++latest;
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (app == nullptr || !QGuiApplication::platformName().startsWith(u"wayland") ||
        QGuiApplication::focusWindow() != nullptr)
        return;
    auto* once = new QObject(app);
    QObject::connect(app, &QGuiApplication::focusWindowChanged, once, [text, copy, once](QWindow* window) {
        if (window == nullptr)
            return;
        once->deleteLater();
        if (copy == latest)
            ClipboardPasteboard().setString(text);
    });
}

}  // namespace

bool ClipboardPasteboard::setString(const QString& text) {
    QClipboard* board = clipboard();
    if (board == nullptr)
        return false;
    auto mime = std::make_unique<QMimeData>();
    mime->setData(PasteboardType::text + QStringLiteral(";charset=utf-8"), text.toUtf8());
    mime->setText(text);
    board->setMimeData(mime.release(), QClipboard::Clipboard);  // the clipboard owns it
    copyAgainOnFocus(text);
    return true;
}

}  // namespace Platform
