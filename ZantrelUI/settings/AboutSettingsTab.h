#pragma once

// The family's shared About page: the app's icon, name, version and lines, the maker and
// the site link, the support block with the report button, and the family's other apps.
// Inside the settings shell it draws glass cards; elsewhere a plain centred column.

#include "ZantrelKit/BoxCatalog.h"
#include "ZantrelUI/settings/Diagnostics.h"
#include "ZantrelUI/settings/DiagnosticsSheet.h"
#include "ZantrelUI/context/Environment.h"

#include <QFuture>
#include <QPointer>

#include <functional>
#include <optional>

class QAbstractButton;
template <typename T>
class QFutureWatcher;

namespace ZantrelUI {

class AppContext;

class AboutSettingsTab final : public GlassWidget {
    Q_OBJECT
public:
    using ReportFields = std::function<QList<Diagnostics::Fact>()>;
    using Catalog = std::function<QFuture<QList<ZantrelKit::BoxCatalog::App>>(const std::optional<QUrl>& from,
                                                                              const QString& excluding)>;

    // What the tab reaches outside itself; tests pass their own.
    struct Services {
        Catalog catalog;
        Diagnostics::Sources report;
        MailComposer mail;  // none: the live composer

        static Services live();
    };

    // `context` must outlive the tab (the process's context does).
    AboutSettingsTab(const AppContext& context, QString aboutLine, std::optional<QString> privacyLine,
                     bool showsOtherApps, ReportFields reportFields, QWidget* parent = nullptr,
                     Services services = Services::live());

    // "mailto:" the support address with the subject; none without a usable address.
    std::optional<QUrl> supportMail() const;
    // The site address when it is configured and parses.
    std::optional<QUrl> siteURL() const;

    const QList<ZantrelKit::BoxCatalog::App>& others() const { return others_; }
    // The report while its sheet is shown.
    const std::optional<QString>& report() const { return report_; }
    DiagnosticsSheet* sheet() const { return sheet_; }
    // Builds a fresh report and shows it in the sheet.
    void openReport();
    // Loads the other apps (done each time the tab is shown).
    void loadOthers();

    bool glass() const { return glass_; }
    QWidget* supportCard() const { return support_; }
    QAbstractButton* reportButton() const { return reportButton_; }
    QWidget* othersCard() const { return othersBox_; }
    QWidget* siteLink() const { return siteLink_; }
    QString versionText() const;
    QString privacyText() const;

protected:
    bool event(QEvent* event) override;
    void environmentChanged() override;

private:
    void build();
    QWidget* buildGlass();
    QWidget* buildPlain();
    void fillOthers();

    const AppContext* context_;
    QString aboutLine_;
    std::optional<QString> privacyLine_;
    bool showsOtherApps_;
    ReportFields reportFields_;
    Services services_;
    std::optional<QString> report_;
    QList<ZantrelKit::BoxCatalog::App> others_;
    QPointer<DiagnosticsSheet> sheet_;
    QFutureWatcher<QList<ZantrelKit::BoxCatalog::App>>* loading_ = nullptr;
    std::optional<bool> built_;
    bool glass_ = false;

    QWidget* body_ = nullptr;
    QWidget* support_ = nullptr;
    QAbstractButton* reportButton_ = nullptr;
    QWidget* othersBox_ = nullptr;
    QWidget* siteLink_ = nullptr;
};

}  // namespace ZantrelUI
