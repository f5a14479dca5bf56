// Renders the settings shell's shared tabs and the support report as a user sees them.

#include "tools/gallery/SettingsSheets.h"

#include "ZantrelKit/Copy.h"
#include "ZantrelUI/settings/AboutSettingsTab.h"
#include "ZantrelUI/context/AppContext.h"
#include "ZantrelUI/design/ChipPicker.h"
#include "ZantrelUI/settings/DiagnosticsSheet.h"
#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/settings/GeneralSettingsTab.h"
#include "ZantrelUI/context/MacCalls.h"
#include "ZantrelUI/design/SettingsCard.h"
#include "ZantrelUI/settings/SettingsShell.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QDir>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <cstdio>

using namespace ZantrelUI;

namespace {

void settle() {
    for (int i = 0; i < 8; ++i)
        QCoreApplication::processEvents();
}

bool grab(QWidget& widget, const QString& folder, const QString& name) {
    widget.show();
    settle();
    if (QWidget* focused = QApplication::focusWidget())
        focused->clearFocus();
    settle();
    const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    const bool ok = widget.grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    widget.hide();
    return ok;
}

// Nothing here reaches the desktop: the login item answers "off", links go nowhere.
std::shared_ptr<const MacCalls> quietCalls(LoginItem::Status status) {
    return std::make_shared<const MacCalls>(
        false, [status] { return status; }, [](bool) { throw LoginItem::Failure("refused"); }, [] {}, [] {},
        [](const QUrl&) {}, [](const QList<QUrl>&) {}, [](const OpenAsk&) { return QList<QUrl>(); },
        [](const SaveAsk&) { return std::optional<QUrl>(); }, std::make_shared<Platform::MemoryPasteboard>());
}

Diagnostics::Sources sampleSources() {
    return {[] { return QStringLiteral("1.0 (12)"); },
            [] { return QStringLiteral("Debian GNU/Linux 12 (bookworm)"); },
            [] { return QStringLiteral("6.1.0-18-amd64"); },
            [] { return QStringLiteral("ThinkPad X1 Carbon Gen 9"); },
            [](const QString&) {
                return QStringList{QStringLiteral("09:41:02 grab: grab: text, 182 characters"),
                                   QStringLiteral("09:41:40 grab: grab: table, 3 rows"),
                                   QStringLiteral("09:42:13 hotkeys: registered grab, grabOther")};
            },
            [] { return ZantrelKit::DiagnosticReport::PrivateNames{}; }};
}

AboutSettingsTab::Services sampleServices() {
    using App = ZantrelKit::BoxCatalog::App;
    return {[](const std::optional<QUrl>&, const QString&) {
                return QtFuture::makeReadyFuture(QList<App>{
                    {QStringLiteral("org.zantrel.Pagewise"), QStringLiteral("Pagewise"),
                     QStringLiteral("Page numbers, stamps and labels for PDFs."),
                     QUrl(QStringLiteral("https://zantrel.example/pagewise"))},
                    {QStringLiteral("org.zantrel.Redline"), QStringLiteral("Redline"),
                     QStringLiteral("Black out what must not be read."),
                     QUrl(QStringLiteral("https://zantrel.example/redline"))}});
            },
            sampleSources(), [](const MailDraft&, std::function<void(bool)> done) { done(false); }};
}

QWidget* generalPage(bool withApproval) {
    auto* page = new GeneralSettingsTab({false, false, {}}, true, [withApproval](bool glass) {
        if (!glass) {
            auto* section = new QGroupBox();
            auto* rows = new QVBoxLayout(section);
            rows->addWidget(new QCheckBox(QStringLiteral("Keep the last 20 grabs in the menu")));
            return QList<QWidget*>{section};
        }
        auto* card = new SettingsCard();
        const auto label = [](const QVariant& v) { return v.toString(); };
        card->addRow(new SettingsRow(QStringLiteral("Line breaks"),
                                     QStringLiteral("Lists, code and tables keep their lines either way."),
                                     new ChipPicker(QStringLiteral("Line breaks"),
                                                    {QStringLiteral("Keep"), QStringLiteral("Join")},
                                                    QStringLiteral("Join"), label)));
        card->addRow(new SettingsSwitch(QStringLiteral("Keep the last 20 grabs in the menu"),
                                        QStringLiteral("In memory only, never on disk."), withApproval));
        return QList<QWidget*>{card};
    });
    return page;
}

bool sheetShots(const AppContext& context, ColorScheme scheme, const QString& suffix, const QString& folder);

}  // namespace

bool settingsWindows(ColorScheme scheme, const QString& folder) {
    const QString suffix = scheme == ColorScheme::dark ? QStringLiteral("dark") : QStringLiteral("light");
    QTemporaryDir state;
    const AppContext context(
        QStringLiteral("org.glyphnab.Gallery"), ZantrelKit::AccentPair::glyphnab,
        ZantrelKit::OwnerConfig(QVariantMap{{QStringLiteral("CFBundleDisplayName"), QStringLiteral("Glyphnab")},
                                            {QStringLiteral("ZNBoxName"), QStringLiteral("Zantrel Box")},
                                            {QStringLiteral("ZNSupportEmail"), QStringLiteral("help@zantrel.example")},
                                            {QStringLiteral("ZNSiteURL"), QStringLiteral("https://zantrel.example")}}),
        {QStringLiteral("--state-dir"), state.path()}, true);
    const QString aboutLine = QStringLiteral(
        "Glyphnab copies the text in any area of your screen and reads QR codes and barcodes. Text recognition "
        "runs on this computer. Nothing is uploaded and nothing is saved.");
    bool ok = true;
    for (const SettingsTab tab : {SettingsTab::general, SettingsTab::about}) {
        std::vector<SettingsShellTab> tabs{
            {QVariant::fromValue(SettingsTab::general), ZantrelKit::Copy::Settings::tabGeneral(),
             [] { return generalPage(true); }},
            {QVariant::fromValue(SettingsTab::about), ZantrelKit::Copy::Settings::tabAbout(), [&] {
                 return new AboutSettingsTab(context, aboutLine, std::nullopt, true, [] { return QList<Diagnostics::Fact>(); },
                                             nullptr, sampleServices());
             }}};
        SettingsShell shell(QStringLiteral("Glyphnab"), std::move(tabs), QVariant::fromValue(tab), 640);
        Environment::setColorScheme(&shell, scheme);
        Environment::setAccent(&shell, Accent(ZantrelKit::AccentPair::glyphnab));
        Environment::setMacCalls(&shell, quietCalls(LoginItem::Status::needsApproval));
        shell.resize(shell.sizeHint());
        shell.show();
        settle();
        shell.adjustSize();
        const QString name = tab == SettingsTab::general ? QStringLiteral("settings-general-") : QStringLiteral("settings-about-");
        ok = grab(shell, folder, name + suffix) && ok;
        if (tab == SettingsTab::general) {
            // A refused change shows its failure under the switch.
            if (auto* general = qobject_cast<GeneralSettingsTab*>(shell.page())) {
                shell.show();
                general->setLogin(false);
                settle();
                shell.adjustSize();
                ok = grab(shell, folder, QStringLiteral("settings-general-refused-") + suffix) && ok;
            }
        }
    }

    // A small screen: the About page scrolls and fades out at the bottom.
    {
        std::vector<SettingsShellTab> tabs{
            {QVariant::fromValue(SettingsTab::about), ZantrelKit::Copy::Settings::tabAbout(), [&] {
                 return new AboutSettingsTab(context, aboutLine, std::nullopt, true,
                                             [] { return QList<Diagnostics::Fact>(); }, nullptr, sampleServices());
             }}};
        SettingsShell shell(QStringLiteral("Glyphnab"), std::move(tabs), QVariant::fromValue(SettingsTab::about), 640,
                            nullptr, [] { return QList<qreal>{560}; });
        Environment::setColorScheme(&shell, scheme);
        Environment::setMacCalls(&shell, quietCalls(LoginItem::Status::off));
        shell.show();
        settle();
        shell.adjustSize();
        ok = grab(shell, folder, QStringLiteral("settings-about-scrolling-") + suffix) && ok;
    }

    // Outside the shell the same tabs draw a plain form in the desktop's own look.
    if (scheme == ColorScheme::dark)
        return ok && sheetShots(context, scheme, suffix, folder);
    QWidget plain;
    Environment::setColorScheme(&plain, scheme);
    Environment::setMacCalls(&plain, quietCalls(LoginItem::Status::on));
    auto* column = new QVBoxLayout(&plain);
    column->addWidget(generalPage(false));
    plain.setFixedWidth(520);
    ok = grab(plain, folder, QStringLiteral("settings-general-form-") + suffix) && ok;

    return ok && sheetShots(context, scheme, suffix, folder);
}

namespace {

bool sheetShots(const AppContext& context, ColorScheme scheme, const QString& suffix, const QString& folder) {
    bool ok = true;
    QWidget host;
    Environment::setColorScheme(&host, scheme);
    Environment::setMacCalls(&host, quietCalls(LoginItem::Status::off));
    DiagnosticsSheet sheet(context, Diagnostics::report(context, {{QStringLiteral("Route"), QStringLiteral("screen")}},
                                                        sampleSources()),
                           &host, [](const MailDraft&, std::function<void(bool)> done) { done(false); });
    sheet.setWindowFlags(Qt::Widget);
    ok = grab(sheet, folder, QStringLiteral("report-sheet-") + suffix) && ok;
    sheet.show();
    sheet.openInMail();  // no email program: the sheet says so
    ok = grab(sheet, folder, QStringLiteral("report-sheet-nomail-") + suffix) && ok;
    return ok;
}

}  // namespace
