#include "ZantrelUI/settings/AboutSettingsTab.h"

#include "ZantrelKit/Copy.h"
#include "ZantrelUI/context/AppContext.h"
#include "ZantrelUI/design/AppIconView.h"
#include "ZantrelUI/design/InkLabel.h"
#include "ZantrelUI/design/LinkButton.h"
#include "ZantrelUI/context/Links.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/design/SettingsCard.h"
#include "platform/async/MainThread.h"

#include <QFrame>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ZantrelUI {

namespace Texts = ZantrelKit::Copy::Settings;
using ZantrelKit::BoxCatalog::App;

namespace {

InkLabel* centredLine(const QString& text, const QFont& font, const DynamicColor& ink, int maximumWidth,
                      QWidget* parent) {
    auto* label = new InkLabel(text, font, ink, parent);
    label->setWrapping(true);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setMaximumWidth(maximumWidth);
    return label;
}

// A width-capped line centred in its column; it wraps at the width it is given.
QLayout* centred(QWidget* widget) {
    auto* row = new QHBoxLayout();
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch(0);
    row->addWidget(widget, 1);
    row->addStretch(0);
    return row;
}

void clearLayout(QLayout* layout) {
    while (QLayoutItem* item = layout->takeAt(0)) {
        if (QWidget* widget = item->widget())
            delete widget;
        else if (QLayout* inner = item->layout())
            clearLayout(inner);
        delete item;
    }
}

// Plain-layout text in the palette's colours (the system look).
// The version line, found by its name.
const QString versionName = QStringLiteral("zantrel.aboutVersion");

QLabel* plainLine(const QString& text, const QFont& font, bool secondary, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setFont(font);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignHCenter);
    if (secondary)
        label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

}  // namespace

AboutSettingsTab::Services AboutSettingsTab::Services::live() {
    return {[](const std::optional<QUrl>& from, const QString& excluding) {
                return ZantrelKit::BoxCatalog::apps(from, excluding);
            },
            Diagnostics::Sources::live(), {}};
}

AboutSettingsTab::AboutSettingsTab(const AppContext& context, QString aboutLine, std::optional<QString> privacyLine,
                                   bool showsOtherApps, ReportFields reportFields, QWidget* parent, Services services)
    : GlassWidget(parent),
      context_(&context),
      aboutLine_(std::move(aboutLine)),
      privacyLine_(std::move(privacyLine)),
      showsOtherApps_(showsOtherApps),
      reportFields_(std::move(reportFields)),
      services_(std::move(services)) {
    Platform::assertMain();
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    build();
}

std::optional<QUrl> AboutSettingsTab::supportMail() const {
    std::optional<QUrl> url = Links::supportMail(context_->config());
    if (url && !url->isValid())
        return std::nullopt;
    return url;
}

std::optional<QUrl> AboutSettingsTab::siteURL() const {
    const std::optional<QString> site = context_->config().value(QStringLiteral("ZNSiteURL"));
    if (!site)
        return std::nullopt;
    const QUrl url(*site, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty())
        return std::nullopt;
    return url;
}

QString AboutSettingsTab::versionText() const {
    return Texts::version(context_->shortVersion() + QStringLiteral(" (") + context_->buildNumber() + u')');
}

QString AboutSettingsTab::privacyText() const {
    return privacyLine_.value_or(Texts::privacy(context_->product().name));
}

void AboutSettingsTab::environmentChanged() {
    if (!built_ || *built_ != environment().settingsGlass)
        build();
    GlassWidget::environmentChanged();
}

bool AboutSettingsTab::event(QEvent* event) {
    if (event->type() == QEvent::Show && !event->spontaneous())
        loadOthers();
    if (event->type() == QEvent::Hide && !event->spontaneous() && loading_ != nullptr) {
        // Gone from view: the answer is no longer wanted.
        loading_->disconnect(this);
        loading_->deleteLater();
        loading_ = nullptr;
    }
    return GlassWidget::event(event);
}

void AboutSettingsTab::loadOthers() {
    Platform::assertMain();
    if (!showsOtherApps_ || !services_.catalog || loading_ != nullptr)
        return;
    std::optional<QUrl> from;
    if (const std::optional<QString> address = context_->config().value(QStringLiteral("ZNBoxAppsURL"))) {
        const QUrl url(*address, QUrl::StrictMode);
        if (url.isValid() && !url.scheme().isEmpty())
            from = url;
    }
    loading_ = new QFutureWatcher<QList<App>>(this);
    connect(loading_, &QFutureWatcherBase::finished, this, [this] {
        QFutureWatcher<QList<App>>* done = loading_;
        loading_ = nullptr;
        others_ = done->future().isValid() && done->future().resultCount() > 0 ? done->result() : QList<App>();
        done->deleteLater();
        fillOthers();
    });
    loading_->setFuture(services_.catalog(from, context_->bundleId()));
}

void AboutSettingsTab::openReport() {
    Platform::assertMain();
    if (sheet_)
        return;
    // Fresh facts each time: the app's state may have changed since the last report.
    const QList<Diagnostics::Fact> fields = reportFields_ ? reportFields_() : QList<Diagnostics::Fact>();
    report_ = Diagnostics::report(*context_, fields, services_.report);
    auto* sheet = new DiagnosticsSheet(*context_, *report_, this, services_.mail);
    sheet->setWindowModality(Qt::WindowModal);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet_ = sheet;
    connect(sheet, &QDialog::finished, this, [this] { report_.reset(); });
    sheet->open();
}

void AboutSettingsTab::build() {
    glass_ = environment().settingsGlass;
    built_ = glass_;
    if (body_ != nullptr) {
        layout()->removeWidget(body_);
        delete body_;
    }
    support_ = nullptr;
    reportButton_ = nullptr;
    othersBox_ = nullptr;
    siteLink_ = nullptr;
    body_ = glass_ ? buildGlass() : buildPlain();
    layout()->addWidget(body_);
    fillOthers();
}

QWidget* AboutSettingsTab::buildGlass() {
    const QString name = context_->product().name;
    auto* body = new QWidget(this);
    auto* stack = new QVBoxLayout(body);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(12);

    auto* header = new QWidget(body);
    auto* column = new QVBoxLayout(header);
    column->setContentsMargins(0, 16, 0, 16);
    column->setSpacing(0);
    column->addWidget(new AppIconView(88, header), 0, Qt::AlignHCenter);
    column->addSpacing(8);
    column->addWidget(new InkLabel(name, Fonts::title(), Ink::primary(), header), 0, Qt::AlignHCenter);
    column->addSpacing(2);
    auto* version = new InkLabel(versionText(), Fonts::monospacedDigits(Fonts::footnote()), Ink::secondary(), header);
    version->setObjectName(versionName);
    column->addWidget(version, 0, Qt::AlignHCenter);
    column->addSpacing(12);
    column->addLayout(centred(centredLine(aboutLine_, Fonts::body(), Ink::primary(), 420, header)));
    column->addSpacing(8);
    column->addLayout(centred(centredLine(privacyText(), Fonts::footnote(), Ink::secondary(), 420, header)));
    column->addSpacing(12);
    auto* makerRow = new QHBoxLayout();
    makerRow->setSpacing(12);
    makerRow->addWidget(new InkLabel(Texts::maker(), Fonts::footnote(), Ink::tertiary(), header));
    if (const std::optional<QUrl> site = siteURL()) {
        siteLink_ = new LinkButton(Texts::siteLink(name), *site, header);
        makerRow->addWidget(siteLink_);
    }
    column->addLayout(makerRow);
    column->setAlignment(makerRow, Qt::AlignHCenter);
    stack->addWidget(header);

    if (const std::optional<QUrl> mail = supportMail()) {
        const QString email = mail->path();
        auto* card = new SettingsCard(std::nullopt, body);
        auto* trailing = new QWidget();
        auto* buttons = new QVBoxLayout(trailing);
        buttons->setContentsMargins(0, 0, 0, 0);
        buttons->setSpacing(8);
        auto* report = new PillButton(ZantrelKit::Copy::Diagnostics::button());
        reportButton_ = report;
        buttons->addWidget(report, 0, Qt::AlignRight);
        buttons->addWidget(new LinkButton(email, *mail), 0, Qt::AlignRight);
        card->addRow(new SettingsRow(Texts::supportLine(email), ZantrelKit::Copy::Diagnostics::caption(email, name),
                                     trailing));
        stack->addWidget(card);
        support_ = card;
    }

    othersBox_ = new QWidget(body);
    auto* others = new QVBoxLayout(othersBox_);
    others->setContentsMargins(0, 0, 0, 0);
    stack->addWidget(othersBox_);
    if (reportButton_ != nullptr)
        connect(reportButton_, &QAbstractButton::clicked, this, &AboutSettingsTab::openReport);
    return body;
}

QWidget* AboutSettingsTab::buildPlain() {
    const QString name = context_->product().name;
    auto* body = new QWidget(this);
    auto* column = new QVBoxLayout(body);
    column->setContentsMargins(28, 28, 28, 28);
    column->setSpacing(10);
    column->setAlignment(Qt::AlignHCenter);
    const QFont callout = Fonts::system(12);
    auto add = [column](QWidget* widget, int spaceAbove = 0) {
        if (spaceAbove > 0)
            column->addSpacing(spaceAbove);
        if (auto* label = qobject_cast<QLabel*>(widget); label != nullptr && label->wordWrap())
            column->addLayout(centred(widget));  // wraps at the width it gets
        else
            column->addWidget(widget, 0, Qt::AlignHCenter);
    };
    add(new AppIconView(96, body));
    add(plainLine(name, Fonts::system(22, QFont::DemiBold), false, body));
    QLabel* version = plainLine(versionText(), Fonts::monospacedDigits(Fonts::system(13)), true, body);
    version->setObjectName(versionName);
    add(version);
    QLabel* about = plainLine(aboutLine_, Fonts::system(13), false, body);
    about->setMaximumWidth(380);
    add(about, 6);
    QLabel* privacy = plainLine(privacyText(), callout, true, body);
    privacy->setMaximumWidth(380);
    add(privacy);
    add(plainLine(Texts::maker(), callout, true, body), 8);
    if (const std::optional<QUrl> site = siteURL()) {
        auto* link = new LinkButton(Texts::siteLink(name), *site, body);
        link->setPlainFont(callout);
        siteLink_ = link;
        add(link);
    }
    if (const std::optional<QUrl> mail = supportMail()) {
        const QString email = mail->path();
        auto* support = new QWidget(body);
        auto* rows = new QVBoxLayout(support);
        rows->setContentsMargins(0, 0, 0, 0);
        rows->setSpacing(10);
        auto* link = new LinkButton(Texts::supportLine(email), *mail, support);
        link->setPlainFont(callout);
        rows->addWidget(link, 0, Qt::AlignHCenter);
        auto* report = new QPushButton(ZantrelKit::Copy::Diagnostics::button(), support);
        reportButton_ = report;
        rows->addSpacing(6);
        rows->addWidget(report, 0, Qt::AlignHCenter);
        QLabel* caption = plainLine(ZantrelKit::Copy::Diagnostics::caption(email, name), Fonts::system(10), true, support);
        caption->setMaximumWidth(380);
        rows->addLayout(centred(caption));
        add(support);
        support_ = support;
        connect(reportButton_, &QAbstractButton::clicked, this, &AboutSettingsTab::openReport);
    }
    othersBox_ = new QWidget(body);
    auto* others = new QVBoxLayout(othersBox_);
    others->setContentsMargins(0, 0, 0, 0);
    others->setSpacing(10);
    column->addWidget(othersBox_);
    return body;
}

void AboutSettingsTab::fillOthers() {
    if (othersBox_ == nullptr)
        return;
    auto* box = static_cast<QVBoxLayout*>(othersBox_->layout());
    clearLayout(box);
    othersBox_->setVisible(!others_.isEmpty());
    if (others_.isEmpty())
        return;
    const QString boxName = context_->product().boxName;
    if (glass_) {
        auto* card = new SettingsCard(Texts::otherApps(boxName), othersBox_);
        for (const App& app : others_)
            card->addRow(new SettingsRow(app.name, app.line, new LinkButton(Texts::download(), app.url)));
        box->addWidget(card);
        return;
    }
    const QFont callout = Fonts::system(12);
    auto* divider = new QFrame(othersBox_);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);
    box->addSpacing(6);
    box->addWidget(divider);
    box->addSpacing(6);
    auto* heading = new QLabel(othersBox_);
    heading->setTextFormat(Qt::PlainText);
    heading->setText(Texts::otherApps(boxName));
    heading->setFont(Fonts::system(13, QFont::DemiBold));
    box->addWidget(heading);
    for (const App& app : others_) {
        auto* row = new QWidget(othersBox_);
        row->setMaximumWidth(380);
        auto* line = new QHBoxLayout(row);
        line->setContentsMargins(0, 0, 0, 0);
        auto* names = new QVBoxLayout();
        names->setSpacing(1);
        QLabel* title = plainLine(app.name, Fonts::system(13, QFont::Medium), false, row);
        title->setAlignment(Qt::AlignLeft);
        QLabel* detail = plainLine(app.line, callout, true, row);
        detail->setAlignment(Qt::AlignLeft);
        names->addWidget(title);
        names->addWidget(detail);
        line->addLayout(names, 1);
        auto* download = new LinkButton(Texts::download(), app.url, row);
        download->setPlainFont(callout);
        line->addWidget(download, 0, Qt::AlignTop);
        box->addWidget(row);
    }
}

}  // namespace ZantrelUI
