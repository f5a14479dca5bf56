#include "Glyphnab/windows/UpdateDialog.h"

#include "GlyphnabCore/Words.h"
#include "ZantrelKit/Copy.h"
#include "ZantrelUI/context/AppContext.h"
#include "ZantrelUI/design/Backdrop.h"
#include "ZantrelUI/pieces/BusyBar.h"
#include "ZantrelUI/design/GlassWindow.h"
#include "ZantrelUI/context/MacCalls.h"
#include "ZantrelUI/design/PillButton.h"
#include "platform/async/MainThread.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <type_traits>

namespace Glyphnab {

namespace Words = GlyphnabCore::Words;
using namespace ZantrelUI;

namespace {

QString failureDetail(const UpdateFeed::Failed& failed) {
    using Reason = UpdateFeed::Failed::Reason;
    switch (failed.reason) {
    case Reason::network:
        return Words::updateFailedNetwork(failed.detail);
    case Reason::refusedAddress:
        return Words::updateFailedRefused();
    case Reason::tooLarge:
        return Words::updateFailedTooLarge();
    case Reason::unreadable:
        return Words::updateFailedFeed();
    case Reason::noVersion:
        return Words::updateFailedNoVersion();
    }
    return Words::updateFailedFeed();
}

QLabel* textLabel(const QFont& font, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);  // versions and errors come from the network
    label->setFont(font);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

constexpr int windowWidth = 380;

}  // namespace

UpdateMessage updateMessage(const std::optional<UpdateFeed::Result>& state, const QString& appName) {
    if (!state)
        return {Words::updateChecking(), {}, std::nullopt};
    return std::visit(
        [&appName](const auto& result) -> UpdateMessage {
            using T = std::decay_t<decltype(result)>;
            if constexpr (std::is_same_v<T, UpdateFeed::UpToDate>) {
                return {Words::updateUpToDate(), Words::updateUpToDateDetail(appName, result.installed), std::nullopt};
            } else if constexpr (std::is_same_v<T, UpdateFeed::Available>) {
                std::optional<QUrl> page;
                if (UpdateFeed::pageAddressAllowed(result.item.page))
                    page = result.item.page;
                return {Words::updateAvailable(appName, result.item.releaseVersion()),
                        Words::updateAvailableDetail(result.installed), page};
            } else {
                return {Words::updateFailed(), failureDetail(result), std::nullopt};
            }
        },
        *state);
}

UpdateView::UpdateView(const UpdateMessage& message, bool checking, QWidget* parent)
    : GlassWidget(parent),
      title_(textLabel(Fonts::headline(), this)),
      detail_(textLabel(Fonts::body(), this)),
      busy_(new BusyBar(QString(), std::nullopt, {}, this)),
      buttons_(new QHBoxLayout()),
      ok_(new PillButton(Words::updateOk(), false, false, this)) {
    auto* backdrop = new Backdrop(this);
    backdrop->lower();
    backdrop->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto* column = new QVBoxLayout(this);
    const int margin = static_cast<int>(Space::xl);
    column->setContentsMargins(margin, margin, margin, margin);
    column->setSpacing(static_cast<int>(Space::s));
    column->addWidget(title_);
    column->addWidget(detail_);
    column->addWidget(busy_);
    column->addSpacing(static_cast<int>(Space::s));
    buttons_->setSpacing(static_cast<int>(Space::s));
    buttons_->addStretch(1);
    buttons_->addWidget(ok_);
    column->addLayout(buttons_);

    connect(ok_, &QAbstractButton::clicked, this, &UpdateView::dismissed);
    show(message, checking);
}

void UpdateView::show(const UpdateMessage& message, bool checking) {
    title_->setText(message.title);
    detail_->setText(message.detail);
    detail_->setVisible(!message.detail.isEmpty());
    busy_->setVisible(checking);
    page_ = message.download;
    if (page_ && download_ == nullptr) {
        download_ = new PillButton(ZantrelKit::Copy::Settings::download(), true, false, this);
        buttons_->addWidget(download_);  // the main action at the trailing end
        connect(download_, &QAbstractButton::clicked, this, [this] {
            if (page_)
                Q_EMIT openPage(*page_);
        });
    } else if (!page_ && download_ != nullptr) {
        delete download_;
        download_ = nullptr;
    }
    // The one thing to do is the prominent button.
    ok_->setProminent(download_ == nullptr);
    if (QWidget* backdrop = findChild<Backdrop*>(QString(), Qt::FindDirectChildrenOnly))
        backdrop->setGeometry(rect());
}

QString UpdateView::title() const { return title_->text(); }
QString UpdateView::detail() const { return detail_->isVisibleTo(this) ? detail_->text() : QString(); }
bool UpdateView::checking() const { return busy_->isVisibleTo(this); }

void UpdateView::resizeEvent(QResizeEvent* event) {
    GlassWidget::resizeEvent(event);
    if (QWidget* backdrop = findChild<Backdrop*>(QString(), Qt::FindDirectChildrenOnly))
        backdrop->setGeometry(rect());
}

UpdateDialog::UpdateDialog(QString appName, QObject* parent)
    : QObject(parent), appName_(std::move(appName)), window_(new GlassWindow(false, true, this)) {}

UpdateDialog::~UpdateDialog() = default;

void UpdateDialog::show(const std::optional<UpdateFeed::Result>& state) {
    Platform::assertMain();
    const UpdateMessage message = updateMessage(state, appName_);
    const bool checking = !state.has_value();
    // A closed window's content is on its way out; the next show builds fresh content.
    if (!window_->hosted())
        view_.clear();
    if (view_)
        view_->show(message, checking);
    window_->show(ZantrelKit::Copy::Settings::checkForUpdates(), windowWidth, 150, {}, {},
                  [this, message, checking](QWidget* window) {
                      // The app's own accent, as on its other windows.
                      if (const AppContext* context = AppContext::current())
                          Environment::setAccent(window, context->accent());
                      auto* view = new UpdateView(message, checking, window);
                      connect(view, &UpdateView::openPage, this, &UpdateDialog::open);
                      connect(view, &UpdateView::dismissed, this, &UpdateDialog::close);
                      view_ = view;
                      return view;
                  });
}

void UpdateDialog::close() { window_->close(); }

bool UpdateDialog::isVisible() const { return window_->isVisible(); }

void UpdateDialog::open(const QUrl& page) {
    // The calls in force for the window: a test's recording ones, else the desktop's.
    const MacCalls calls = macCallsOf(view_ ? static_cast<QWidget*>(view_.data()) : window_->window());
    calls.open(page);
    close();
}

}  // namespace Glyphnab
