#include "ZantrelUI/settings/SettingsShell.h"

#include "ZantrelKit/Copy.h"
#include "ZantrelUI/design/AppIconView.h"
#include "ZantrelUI/design/Backdrop.h"
#include "ZantrelUI/design/ChipPicker.h"
#include "ZantrelUI/design/InkLabel.h"
#include "ZantrelUI/settings/TabScroll.h"
#include "platform/async/MainThread.h"

#include <QHBoxLayout>
#include <QShortcut>
#include <QVBoxLayout>

#include <cmath>

namespace ZantrelUI {

SettingsShell::SettingsShell(QString name, std::vector<SettingsShellTab> tabs, QVariant selection, qreal width,
                             QWidget* parent, std::function<QList<qreal>()> screenHeights)
    : GlassWidget(parent), name_(std::move(name)), tabs_(std::move(tabs)), selection_(std::move(selection)) {
    Platform::assertMain();
    if (!indexOf(selection_) && !tabs_.empty())
        selection_ = tabs_.front().id;
    Environment::setSettingsGlass(this, true);

    backdrop_ = new Backdrop(this);
    backdrop_->lower();

    auto* column = new QVBoxLayout(this);
    // The header's 8 points above it and the layout's 18 below it.
    column->setContentsMargins(0, 8, 0, 18);
    column->setSpacing(0);

    // The window manager draws the window's buttons in its own title bar, so the header
    // needs no room for them.
    auto* header = new QWidget(this);
    header->setFixedHeight(30);
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(headerLeading, 0, 18, 0);
    row->setSpacing(8);
    icon_ = new AppIconView(24, header);
    nameLabel_ = new InkLabel(name_, Fonts::headline(), Ink::primary(), header);
    nameLabel_->setWordWrap(false);
    QVariantList options;
    for (const SettingsShellTab& tab : tabs_)
        options.append(tab.id);
    chips_ = new ChipPicker(
        name_, options, selection_,
        [this](const QVariant& option) {
            const auto index = indexOf(option);
            return index ? tabs_[*index].title : option.toString();
        },
        header);
    chips_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    row->addWidget(icon_, 0, Qt::AlignVCenter);
    row->addWidget(nameLabel_, 0, Qt::AlignVCenter);
    row->addSpacing(12 - row->spacing());
    row->addStretch(1);
    row->addWidget(chips_, 0, Qt::AlignVCenter);
    column->addWidget(header);
    column->addSpacing(16);

    scroll_ = screenHeights ? new TabScroll(this, std::move(screenHeights)) : new TabScroll(this);
    column->addWidget(scroll_);

    setFixedWidth(static_cast<int>(std::ceil(width)));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(chips_, &ChipPicker::selectionChanged, this, &SettingsShell::setSelection);
    // Ctrl+Tab and Ctrl+Shift+Tab step through the tabs from anywhere in the window, as
    // in every tabbed window of the desktop.
    const auto step = [this](QKeySequence keys, int by) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, by] { stepSelection(by); });
    };
    step(QKeySequence(Qt::CTRL | Qt::Key_Tab), 1);
    step(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1);
    step(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1);
    showPage();
}

std::optional<std::size_t> SettingsShell::indexOf(const QVariant& tab) const {
    for (std::size_t i = 0; i < tabs_.size(); ++i)
        if (tabs_[i].id == tab)
            return i;
    return std::nullopt;
}

QWidget* SettingsShell::page() const { return scroll_->page(); }

void SettingsShell::setSelection(const QVariant& tab) {
    Platform::assertMain();
    if (!indexOf(tab) || tab == selection_)
        return;
    selection_ = tab;
    chips_->setSelection(tab);
    showPage();
    Q_EMIT selectionChanged(selection_);
}

void SettingsShell::stepSelection(int by) {
    const auto index = indexOf(selection_);
    if (!index || tabs_.empty())
        return;
    const auto count = static_cast<int>(tabs_.size());
    const int next = ((static_cast<int>(*index) + by) % count + count) % count;
    setSelection(tabs_[static_cast<std::size_t>(next)].id);
}

void SettingsShell::showPage() {
    const auto index = indexOf(selection_);
    QWidget* page = index && tabs_[*index].page ? tabs_[*index].page() : nullptr;
    scroll_->setPage(page, sideInset);
}

void SettingsShell::resizeEvent(QResizeEvent* event) {
    backdrop_->setGeometry(rect());
    GlassWidget::resizeEvent(event);
}

namespace SettingsTabs {

QString defaultsKey() { return QStringLiteral("settings.tab"); }

QString rawValue(SettingsTab tab) {
    return tab == SettingsTab::about ? QStringLiteral("about") : QStringLiteral("general");
}

std::optional<SettingsTab> fromRawValue(const QString& raw) {
    if (raw == QLatin1String("general"))
        return SettingsTab::general;
    if (raw == QLatin1String("about"))
        return SettingsTab::about;
    return std::nullopt;
}

SettingsTab remembered(const ZantrelKit::DefaultsStore& defaults) {
    const std::optional<QString> stored = defaults.string(defaultsKey());
    return stored ? fromRawValue(*stored).value_or(SettingsTab::general) : SettingsTab::general;
}

void remember(ZantrelKit::DefaultsStore& defaults, SettingsTab tab) { defaults.setString(defaultsKey(), rawValue(tab)); }

SettingsShell* rememberingShell(const QString& name, std::function<QWidget*()> general,
                                std::function<QWidget*()> about, ZantrelKit::DefaultsStore& defaults, qreal width,
                                QWidget* parent) {
    std::vector<SettingsShellTab> tabs{
        {QVariant::fromValue(SettingsTab::general), ZantrelKit::Copy::Settings::tabGeneral(), std::move(general)},
        {QVariant::fromValue(SettingsTab::about), ZantrelKit::Copy::Settings::tabAbout(), std::move(about)}};
    auto* shell = new SettingsShell(name, std::move(tabs), QVariant::fromValue(remembered(defaults)), width, parent);
    QObject::connect(shell, &SettingsShell::selectionChanged, shell, [&defaults](const QVariant& tab) {
        remember(defaults, tab.value<SettingsTab>());
    });
    return shell;
}

}  // namespace SettingsTabs

}  // namespace ZantrelUI
