#include "ZantrelUI/settings/GeneralSettingsTab.h"

#include "ZantrelKit/Copy.h"
#include "ZantrelUI/design/DangerIconLabel.h"
#include "ZantrelUI/design/GlowSwitch.h"
#include "ZantrelUI/context/MacCalls.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/design/SettingsCard.h"
#include "platform/async/MainThread.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ZantrelUI {

namespace Texts = ZantrelKit::Copy::Settings;

namespace {

QString updatesDetailText(const UpdatesState& updates) {
    return updates.configured ? Texts::updatesDetail() : Texts::updatesNotSetUp();
}

// The page's column with the app's rows first.
QVBoxLayout* startBody(QWidget* body, const QList<QWidget*>& extra) {
    auto* stack = new QVBoxLayout(body);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(12);
    for (QWidget* row : extra)
        stack->addWidget(row);
    return stack;
}

QGroupBox* formSection(QWidget* parent) {
    auto* section = new QGroupBox(parent);
    auto* rows = new QVBoxLayout(section);
    rows->setSpacing(8);
    return section;
}

}  // namespace

GeneralSettingsTab::GeneralSettingsTab(UpdatesState updates, bool offersLoginItem, Extra extra, QWidget* parent)
    : GlassWidget(parent), updates_(std::move(updates)), offersLoginItem_(offersLoginItem), extra_(std::move(extra)) {
    Platform::assertMain();
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    build();
}

void GeneralSettingsTab::environmentChanged() {
    if (!built_ || *built_ != environment().settingsGlass)
        build();
    GlassWidget::environmentChanged();
}

bool GeneralSettingsTab::event(QEvent* event) {
    // Shown again (a tab switch, the window reopened): the desktop may have changed it.
    if (event->type() == QEvent::Show && offersLoginItem_)
        refreshLogin();
    return GlassWidget::event(event);
}

void GeneralSettingsTab::build() {
    glass_ = environment().settingsGlass;
    built_ = glass_;
    if (body_ != nullptr) {
        layout()->removeWidget(body_);
        delete body_;
    }
    extraWidgets_.clear();
    loginToggle_ = nullptr;
    loginSwitch_ = nullptr;
    loginCard_ = nullptr;
    approvalRow_ = nullptr;
    openLoginItems_ = nullptr;
    errorRow_ = nullptr;
    errorLabel_ = nullptr;
    updatesRow_ = nullptr;
    updatesDetail_ = nullptr;
    checkButton_ = nullptr;
    if (extra_)
        extraWidgets_ = extra_(glass_);
    body_ = glass_ ? buildGlass() : buildForm();
    layout()->addWidget(body_);
    connect(checkButton_, &QAbstractButton::clicked, this, [this] {
        if (updates_.check)
            updates_.check();
    });
    if (openLoginItems_ != nullptr)
        connect(openLoginItems_, &QAbstractButton::clicked, this, [this] { macCallsOf(this).openLoginItems(); });
    sync();
}

QWidget* GeneralSettingsTab::buildGlass() {
    auto* body = new QWidget(this);
    QVBoxLayout* stack = startBody(body, extraWidgets_);

    if (offersLoginItem_) {
        loginCard_ = new SettingsCard(std::nullopt, body);
        loginSwitch_ = new SettingsSwitch(Texts::openAtLogin(), loginError_, loginSwitchOn());
        loginToggle_ = loginSwitch_->toggle();
        connect(loginToggle_, &QAbstractButton::clicked, this, [this](bool on) { setLogin(on); });
        loginCard_->addRow(loginSwitch_);
        auto* open = new PillButton(Texts::openLoginItems());
        openLoginItems_ = open;
        approvalRow_ = new SettingsRow(Texts::needsApproval(), std::nullopt, open);
        loginCard_->addRow(approvalRow_);
        stack->addWidget(loginCard_);
    }

    auto* updatesCard = new SettingsCard(std::nullopt, body);
    auto* check = new PillButton(Texts::checkForUpdates());
    checkButton_ = check;
    updatesRow_ = new SettingsRow(Texts::updates(), updatesDetailText(updates_), check);
    updatesCard->addRow(updatesRow_);
    stack->addWidget(updatesCard);
    return body;
}

QWidget* GeneralSettingsTab::buildForm() {
    auto* body = new QWidget(this);
    QVBoxLayout* stack = startBody(body, extraWidgets_);

    if (offersLoginItem_) {
        QGroupBox* section = formSection(body);
        auto* toggle = new QCheckBox(Texts::openAtLogin(), section);
        loginToggle_ = toggle;
        connect(toggle, &QAbstractButton::clicked, this, [this](bool on) { setLogin(on); });
        section->layout()->addWidget(toggle);

        approvalRow_ = new QWidget(section);
        auto* approval = new QHBoxLayout(approvalRow_);
        approval->setContentsMargins(0, 0, 0, 0);
        approval->addWidget(new DangerIconLabel(QStringLiteral("exclamationmark.triangle.fill"),
                                                Texts::needsApproval(), approvalRow_),
                            1);
        auto* open = new QPushButton(Texts::openLoginItems(), approvalRow_);
        openLoginItems_ = open;
        approval->addWidget(open);
        section->layout()->addWidget(approvalRow_);

        errorRow_ = new QWidget(section);
        auto* error = new QHBoxLayout(errorRow_);
        error->setContentsMargins(0, 0, 0, 0);
        section->layout()->addWidget(errorRow_);
        stack->addWidget(section);
    }

    QGroupBox* updates = formSection(body);
    auto* row = new QHBoxLayout();
    auto* titles = new QVBoxLayout();
    titles->setSpacing(2);
    auto* title = new QLabel(Texts::updates(), updates);
    title->setTextFormat(Qt::PlainText);
    updatesDetail_ = new QLabel(updatesDetailText(updates_), updates);
    updatesDetail_->setTextFormat(Qt::PlainText);
    updatesDetail_->setWordWrap(true);
    updatesDetail_->setForegroundRole(QPalette::PlaceholderText);
    titles->addWidget(title);
    titles->addWidget(updatesDetail_);
    row->addLayout(titles, 1);
    auto* check = new QPushButton(Texts::checkForUpdates(), updates);
    checkButton_ = check;
    row->addWidget(check, 0, Qt::AlignVCenter);
    static_cast<QVBoxLayout*>(updates->layout())->addLayout(row);
    stack->addWidget(updates);
    return body;
}

bool GeneralSettingsTab::loginSwitchOn() const {
    return login_ == LoginItem::Status::on || login_ == LoginItem::Status::needsApproval;
}

void GeneralSettingsTab::refreshLogin() {
    Platform::assertMain();
    if (!offersLoginItem_)
        return;
    const MacCalls calls = macCallsOf(this);
    try {
        login_ = calls.loginStatus();
    } catch (const std::exception&) {
        login_.reset();  // unknown: the switch reads off
    }
    sync();
}

void GeneralSettingsTab::setLogin(bool on) {
    Platform::assertMain();
    if (!offersLoginItem_)
        return;
    const MacCalls calls = macCallsOf(this);
    try {
        calls.setLogin(on);
        loginError_.reset();
    } catch (...) {
        // The desktop's own reason is not for the user; the switch shows the real state.
        loginError_ = Texts::loginFailed();
    }
    refreshLogin();
}

void GeneralSettingsTab::setUpdates(UpdatesState updates) {
    updates_ = std::move(updates);
    sync();
}

void GeneralSettingsTab::sync() {
    if (loginToggle_ != nullptr) {
        const QSignalBlocker quiet(loginToggle_);
        loginToggle_->setChecked(loginSwitchOn());
    }
    const bool approval = login_ == LoginItem::Status::needsApproval;
    if (loginSwitch_ != nullptr) {
        loginSwitch_->setDetail(loginError_);
        loginCard_->setRowShown(approvalRow_, approval);
    } else if (approvalRow_ != nullptr) {
        approvalRow_->setVisible(approval);
    }
    if (errorRow_ != nullptr) {
        const QString wanted = loginError_.value_or(QString());
        if (errorLabel_ == nullptr || errorLabel_->title() != wanted) {
            delete errorLabel_;
            errorLabel_ = nullptr;
            if (!wanted.isEmpty()) {
                errorLabel_ = new DangerIconLabel(QStringLiteral("exclamationmark.triangle.fill"), wanted, errorRow_);
                errorRow_->layout()->addWidget(errorLabel_);
            }
        }
        errorRow_->setVisible(errorLabel_ != nullptr);
    }
    if (updatesRow_ != nullptr)
        updatesRow_->rowTitle()->setDetail(updatesDetailText(updates_));
    if (updatesDetail_ != nullptr)
        updatesDetail_->setText(updatesDetailText(updates_));
    if (checkButton_ != nullptr)
        checkButton_->setEnabled(updates_.canCheck);
    updateGeometry();
}

std::optional<QString> GeneralSettingsTab::shownLoginError() const {
    if (loginSwitch_ != nullptr) {
        const QLabel* detail = loginSwitch_->rowTitle()->detailLabel();
        return detail != nullptr ? std::optional<QString>(detail->text()) : std::nullopt;
    }
    if (errorLabel_ != nullptr && errorRow_ != nullptr && !errorRow_->isHidden())
        return errorLabel_->title();
    return std::nullopt;
}

QString GeneralSettingsTab::shownUpdatesDetail() const {
    if (updatesRow_ != nullptr && updatesRow_->rowTitle()->detailLabel() != nullptr)
        return updatesRow_->rowTitle()->detailLabel()->text();
    return updatesDetail_ != nullptr ? updatesDetail_->text() : QString();
}

}  // namespace ZantrelUI
