#include "ZantrelUI/context/MacCalls.h"

#include "ZantrelKit/RunModes.h"
#include "ZantrelUI/context/AppContext.h"
#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/context/FileFilters.h"
#include "ZantrelUI/context/Links.h"
#include "platform/async/MainThread.h"
#include "platform/log/Log.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QGuiApplication>
#include <QWidget>

namespace ZantrelUI {
namespace {

const Platform::Logger& log() {
    static const Platform::Logger logger(QStringLiteral("calls"));
    return logger;
}

QString currentBundleId() {
    if (const AppContext* context = AppContext::current())
        return context->bundleId();
    const QString desktop = QGuiApplication::desktopFileName();
    return desktop.isEmpty() ? QCoreApplication::applicationName() : desktop;
}

void bringAppForward() {
    if (QWidget* window = QApplication::activeWindow())
        window->activateWindow();
}

}  // namespace

MacCalls::MacCalls(bool isLive, std::function<LoginItem::Status()> loginStatus, std::function<void(bool)> setLogin,
                   std::function<void()> openLoginItems, std::function<void()> quit,
                   std::function<void(const QUrl&)> open, std::function<void(const QList<QUrl>&)> reveal,
                   std::function<QList<QUrl>(const OpenAsk&)> openPanel,
                   std::function<std::optional<QUrl>(const SaveAsk&)> savePanel, Board board)
    : loginStatus(std::move(loginStatus)),
      setLogin(std::move(setLogin)),
      openLoginItems(std::move(openLoginItems)),
      quit(std::move(quit)),
      open(std::move(open)),
      reveal(std::move(reveal)),
      openPanel(std::move(openPanel)),
      savePanel(std::move(savePanel)),
      isLive_(isLive),
      board_(std::move(board)) {}

MacCalls MacCalls::live() {
    // A function-local static: made once, thread-safely, on first use.
    static const MacCalls value{
        true,
        [] {
            LiveCalls::refuseUnderTestHost(QStringLiteral("open at login, read"));
            return LiveCalls::loginStatus();
        },
        [](bool on) {
            LiveCalls::refuseUnderTestHost(on ? QStringLiteral("open at login on") : QStringLiteral("open at login off"));
            LiveCalls::setLogin(on);
        },
        [] {
            LiveCalls::refuseUnderTestHost(QStringLiteral("Login Items"));
            LiveCalls::openLoginItems();
        },
        [] {
            LiveCalls::refuseUnderTestHost(QStringLiteral("Quit"));
            LiveCalls::quit();
        },
        [](const QUrl& url) {
            LiveCalls::refuseUnderTestHost(QStringLiteral("open ") + url.toString());
            LiveCalls::open(url);
        },
        [](const QList<QUrl>& urls) {
            LiveCalls::refuseUnderTestHost(QStringLiteral("Show in Finder"));
            LiveCalls::reveal(urls);
        },
        [](const OpenAsk& ask) {
            LiveCalls::refuseUnderTestHost(QStringLiteral("the open panel"));
            return LiveCalls::openPanel(ask);
        },
        [](const SaveAsk& ask) {
            LiveCalls::refuseUnderTestHost(QStringLiteral("the save panel"));
            return LiveCalls::savePanel(ask);
        },
        std::make_shared<Platform::ClipboardPasteboard>()};
    return value;
}

Platform::Pasteboard& MacCalls::board() const { return *sharedBoard(); }

const MacCalls::Board& MacCalls::sharedBoard() const {
    if (isLive_)
        LiveCalls::refuseUnderTestHost(QStringLiteral("the general pasteboard"));
    return board_;
}

std::optional<QString> liveCallsMisuse(bool isLive, bool testHost) {
    if (isLive && testHost)
        return QStringLiteral("a model under the test host holds the live system calls: pass recording ones");
    return std::nullopt;
}

void refuseLiveCallsUnderTestHost(bool isLive, bool testHost) {
    if (const auto message = liveCallsMisuse(isLive, testHost))
        Platform::fatal(*message);
}

MacCalls macCallsOf(const QWidget* widget) {
    if (const auto calls = Environment::of(widget).macCalls)
        return *calls;
    return MacCalls::live();
}

namespace LiveCalls {

QString testHostMessage(const QString& operation) {
    return operation + QStringLiteral(" under the test host: a test reached the live system calls");
}

void refuseUnderTestHost(const QString& operation) {
    if (ZantrelKit::TestHost::isActive())
        Platform::fatal(testHostMessage(operation));
}

LoginItem::Status loginStatus() { return LoginItem::status(currentBundleId()); }

void setLogin(bool on) {
    Platform::assertMain();
    LoginItem::setOpenAtLogin(on, currentBundleId());
}

void openLoginItems() {
    Platform::assertMain();
    LoginItem::openSettings();
}

void quit() {
    Platform::assertMain();
    QCoreApplication::quit();
}

void open(const QUrl& url) {
    Platform::assertMain();
    Links::openOnDesktop(url);  // whether it opened is not looked at
}

QList<QUrl> revealFallbackFolders(const QList<QUrl>& urls) {
    QList<QUrl> folders;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile())
            continue;
        const QUrl folder = QUrl::fromLocalFile(QFileInfo(url.toLocalFile()).absolutePath());
        if (!folders.contains(folder))
            folders << folder;
    }
    return folders;
}

void reveal(const QList<QUrl>& urls) {
    Platform::assertMain();
    if (urls.isEmpty())
        return;
    QStringList uris;
    for (const QUrl& url : urls)
        uris << url.toString(QUrl::FullyEncoded);
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << uris << QString();
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 3000);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return;
    log().info(u"no file manager took the selection: %{public}s", reply.errorMessage());
    for (const QUrl& folder : revealFallbackFolders(urls)) {
        if (!QDesktopServices::openUrl(folder))
            log().error(u"nothing opened for %{public}s", folder.toString());
    }
}

namespace {

// Qt's folder mode picks one folder; its own dialog's views take several once they allow it.
void allowSeveralFolders(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    for (QAbstractItemView* view : dialog.findChildren<QAbstractItemView*>()) {
        if (view->objectName() == u"listView" || view->objectName() == u"treeView")
            view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    }
}

// A dialog has no message of its own: a line above its contents, which moves them one row
// down.
void showMessage(QFileDialog& dialog, const QString& message) {
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    auto* line = new QLabel(message, &dialog);
    line->setObjectName(QStringLiteral("message"));
    line->setTextFormat(Qt::PlainText);
    line->setWordWrap(true);
    if (grid == nullptr) {
        if (dialog.layout() != nullptr)
            dialog.layout()->addWidget(line);
        return;
    }
    struct Placed {
        QLayoutItem* item;
        int row, column, rowSpan, columnSpan;
    };
    std::vector<Placed> placed;
    for (int index = grid->count() - 1; index >= 0; --index) {
        Placed p{nullptr, 0, 0, 0, 0};
        grid->getItemPosition(index, &p.row, &p.column, &p.rowSpan, &p.columnSpan);
        p.item = grid->takeAt(index);
        placed.push_back(p);
    }
    const int columns = std::max(grid->columnCount(), 1);
    for (const Placed& p : placed)
        grid->addItem(p.item, p.row + 1, p.column, p.rowSpan, p.columnSpan);
    grid->addWidget(line, 0, 0, 1, columns);
}

}  // namespace

void prepareOpenDialog(QFileDialog& dialog, const OpenAsk& ask) {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (ask.folders) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly, true);
        if (ask.multiple)
            allowSeveralFolders(dialog);
    } else {
        dialog.setFileMode(ask.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    }
    // A read-only dialog offers no "New Folder".
    dialog.setOption(QFileDialog::ReadOnly, !ask.canCreateFolders);
    if (!ask.types.isEmpty() && !ask.folders) {
        if (ask.typesName) {
            // The one filter names what it shows; its long list of patterns stays out of sight.
            dialog.setOption(QFileDialog::HideNameFilterDetails, true);
            dialog.setNameFilters(FileFilters::nameFilters(ask.types, ask.typesName));
        } else {
            dialog.setMimeTypeFilters(ask.types);
        }
    }
    if (ask.start)
        dialog.setDirectoryUrl(*ask.start);
    if (ask.message)
        showMessage(dialog, *ask.message);
    if (ask.prompt)
        dialog.setLabelText(QFileDialog::Accept, *ask.prompt);
}

QList<QUrl> openPanel(const OpenAsk& ask) {
    Platform::assertMain();
    QFileDialog dialog;
    prepareOpenDialog(dialog, ask);
    bringAppForward();
    if (dialog.exec() != QDialog::Accepted)
        return {};
    QList<QUrl> chosen = dialog.selectedUrls();
    if (!ask.multiple && chosen.size() > 1)
        chosen = chosen.mid(0, 1);
    return chosen;
}

std::optional<QUrl> savePanel(const SaveAsk& ask) {
    Platform::assertMain();
    QFileDialog dialog;
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!ask.types.isEmpty())
        dialog.setMimeTypeFilters(ask.types);
    if (ask.start)
        dialog.setDirectoryUrl(*ask.start);
    dialog.selectFile(ask.name);
    bringAppForward();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QList<QUrl> chosen = dialog.selectedUrls();
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen.first();
}

}  // namespace LiveCalls

}  // namespace ZantrelUI
