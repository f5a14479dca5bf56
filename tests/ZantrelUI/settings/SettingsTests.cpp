#include "tests/ZantrelUI/DesignFixture.h"
#include "tests/ZantrelUI/RecordingCalls.h"

#include "ZantrelUI/design/ChipPicker.h"
#include "ZantrelUI/design/GlowSwitch.h"
#include "ZantrelUI/design/PillButton.h"
#include "ZantrelUI/design/SectionLabel.h"
#include "ZantrelUI/design/SettingsCard.h"
#include "ZantrelUI/design/WindowPieces.h"

#include "tests/support/LayoutCheck.h"
#include "tests/support/TestSupport.h"

#include <QAccessible>
#include <QLabel>
#include <QVBoxLayout>
#include <QWindow>

using namespace ZantrelUI;
using DesignTest::DesignFixture;

namespace {

using SettingsTest = DesignFixture;

TEST_F(SettingsTest, WrappedRowsGrowWithTheirTextAtEveryWidth) {
    // A card in a page column, as the settings window lays it out: a row with a wide control
    // at its end and a switch row, both with details that wrap.
    QWidget page;
    Environment::setSettingsGlass(&page, true);
    auto* column = new QVBoxLayout(&page);
    column->setContentsMargins(18, 0, 18, 0);
    auto* card = new SettingsCard();
    auto* chips = new ChipPicker(QStringLiteral("Line breaks"), {QStringLiteral("keep"), QStringLiteral("join")},
                                 QStringLiteral("keep"), [](const QVariant& v) {
                                     return v.toString() == QStringLiteral("keep") ? QStringLiteral("Keep line breaks")
                                                                                  : QStringLiteral("Join lines into paragraphs");
                                 });
    card->addRow(new SettingsRow(QStringLiteral("Line breaks"),
                                 QStringLiteral("Lists, code and tables keep their lines either way. The second "
                                                "shortcut grabs the other way."),
                                 chips));
    card->addRow(new SettingsSwitch(QStringLiteral("Show the icon in the system tray"),
                                    QStringLiteral("With it hidden, the shortcuts still work. Open the app again from "
                                                   "your applications to see this window."),
                                    true));
    column->addWidget(card);
    column->addStretch(1);
    page.show();
    for (int width = 640; width >= 380; width -= 20) {
        page.resize(width, page.heightForWidth(width));
        QCoreApplication::processEvents();
        SCOPED_TRACE("width " + std::to_string(width));
        EXPECT_EQ(TestSupport::layoutFaults(&page), std::vector<std::string>())
            << TestSupport::joined(TestSupport::layoutFaults(&page));
    }
}

TEST_F(SettingsTest, CardSeparatesRowsAndTitlesOnlyWhenGiven) {
    SettingsCard untitled;
    EXPECT_EQ(untitled.heading(), nullptr);
    untitled.addRow(new QLabel(QStringLiteral("one")));
    EXPECT_EQ(untitled.separatorCount(), 0);
    SettingsCard titled(QStringLiteral("Shortcuts"));
    ASSERT_NE(titled.heading(), nullptr);
    EXPECT_EQ(titled.heading()->shownText(), "SHORTCUTS");
    for (int i = 0; i < 3; ++i)
        titled.addRow(new QLabel(QString::number(i)));
    EXPECT_EQ(titled.rowCount(), 3);
    EXPECT_EQ(titled.separatorCount(), 2);
}

TEST_F(SettingsTest, RowTitleShowsWhatIsGivenAndReadsAsOne) {
    RowTitle empty(QStringLiteral("Open at login"), QStringLiteral(""));
    EXPECT_NE(empty.titleLabel(), nullptr);
    EXPECT_EQ(empty.detailLabel(), nullptr);
    RowTitle detailOnly(std::nullopt, QStringLiteral("Only this"));
    EXPECT_EQ(detailOnly.titleLabel(), nullptr);
    ASSERT_NE(detailOnly.detailLabel(), nullptr);
    RowTitle both(QStringLiteral("Updates"), QStringLiteral("Checks once a day."));
    EXPECT_EQ(both.titleLabel()->textFormat(), Qt::PlainText);
    EXPECT_TRUE(both.detailLabel()->wordWrap());
    both.show();
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&both);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->text(QAccessible::Name), "Updates, Checks once a day.");
}

TEST_F(SettingsTest, LongDetailWrapsAndTheControlStaysCentred) {
    auto* button = new PillButton(QStringLiteral("Check for Updates"));
    SettingsRow row(QStringLiteral("Updates"), QString(400, QLatin1Char('w')).replace(QLatin1String("ww"), QLatin1String("w ")), button);
    row.resize(360, row.heightForWidth(360) > 0 ? row.heightForWidth(360) : row.sizeHint().height());
    row.show();
    ASSERT_TRUE(TestSupport::waitUntil([&] { return row.rowTitle()->height() > 60; }));
    EXPECT_NEAR(button->geometry().center().y(), row.rect().center().y(), 2);
    EXPECT_GT(row.height(), 60);
}

TEST_F(SettingsTest, SettingsSwitchTogglesFromTheWholeRow) {
    SettingsSwitch row(QStringLiteral("Keep recent grabs"), QStringLiteral("In memory only."), false);
    bool reported = false;
    QObject::connect(&row, &SettingsSwitch::toggled, [&](bool on) { reported = on; });
    row.toggle()->click();
    EXPECT_TRUE(row.isOn());
    EXPECT_TRUE(reported);
    row.show();
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(row.toggle());
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->text(QAccessible::Name), "Keep recent grabs, In memory only.");
}

TEST_F(SettingsTest, MenuBarIconCardOffersQuitOnlyWhileHidden) {
    const auto log = std::make_shared<DesignTest::CallLog>();
    QWidget window;
    Environment::setMacCalls(&window, DesignTest::recordingCalls(log));
    auto* host = new QVBoxLayout(&window);
    auto* shown = new MenuBarIconCard(QStringLiteral("Glyphnab"), true);
    host->addWidget(shown);
    MenuBarIconCard& card = *shown;
    window.show();
    EXPECT_FALSE(card.quitRow()->isVisible());
    card.iconSwitch()->toggle()->click();
    EXPECT_FALSE(card.isOn());
    EXPECT_TRUE(card.quitRow()->isVisible());
    auto* quit = qobject_cast<PillButton*>(card.quitRow()->trailing());
    ASSERT_NE(quit, nullptr);
    EXPECT_EQ(quit->text(), "Quit Glyphnab");
    quit->click();
    EXPECT_EQ(log->quits, 1);  // the window's operations, found up the parent chain
}

TEST_F(SettingsTest, OverflowRowSplitsToolsIntoTheMoreMenu) {
    using Tool = OverflowToolRow::Tool;
    const std::vector<Tool> tools{{QStringLiteral("Copy"), QStringLiteral("doc.on.doc"), true, {}},
                                  {QStringLiteral("Find"), QStringLiteral("magnifyingglass"), true, {}},
                                  {QStringLiteral("Undo"), QStringLiteral("arrow.uturn.backward"), false, {}}};
    const std::vector<Tool> pinned{{QStringLiteral("Done"), QStringLiteral("checkmark"), true, {}}};
    qreal all = 8;
    for (const Tool& t : tools)
        all += OverflowToolRow::pillWidth(t.title) + 4;
    const qreal pinnedWidth = OverflowToolRow::pillWidth(QStringLiteral("Done")) + 4;
    EXPECT_EQ(OverflowToolRow::visibleCount(tools, pinned, all + pinnedWidth), 3);
    // One pixel short: the More button takes the room of the tools that no longer fit.
    const int fewer = OverflowToolRow::visibleCount(tools, pinned, all + pinnedWidth - 1);
    EXPECT_LT(fewer, 3);
    EXPECT_GE(fewer, 1);
    EXPECT_EQ(OverflowToolRow::visibleCount({}, pinned, 1000), 0);
    // A long first tool that does not fit puts every tool in the menu.
    const std::vector<Tool> longFirst{{QString(60, QLatin1Char('W')), QString(), true, {}},
                                      {QStringLiteral("A"), QString(), true, {}}};
    EXPECT_EQ(OverflowToolRow::visibleCount(longFirst, {}, 300), 0);
    EXPECT_DOUBLE_EQ(OverflowToolRow::pillWidth(QString()), 50);

    OverflowToolRow row(tools, pinned);
    row.resize(static_cast<int>(all + pinnedWidth - 1), 30);
    row.show();
    EXPECT_TRUE(row.hasMoreMenu());
    EXPECT_FALSE(row.overflowTitles().isEmpty());
    EXPECT_EQ(row.overflowTitles().last(), "Undo");
    row.resize(2000, 30);
    EXPECT_FALSE(row.hasMoreMenu());
}

TEST(StatusGlyph, MarksCutIntoTheIconAsTemplates) {
    QImage icon(18, 18, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::black);
    const StatusGlyph::Image plain{icon, false, QStringLiteral("Glyphnab")};
    const StatusGlyph::Image same = StatusGlyph::image(plain, std::nullopt);
    EXPECT_EQ(same.image.cacheKey(), icon.cacheKey());
    const StatusGlyph::Image paused = StatusGlyph::image(plain, StatusGlyph::Mark::paused);
    EXPECT_EQ(paused.image.size(), icon.size());
    EXPECT_TRUE(paused.isTemplate);
    EXPECT_EQ(paused.description, "Glyphnab, paused");
    // The punched ring around the mark is clear; the top left is untouched.
    EXPECT_EQ(qAlpha(paused.image.pixel(10, 12)), 0);
    EXPECT_EQ(qAlpha(paused.image.pixel(12, 14)), 255);  // the first bar
    EXPECT_EQ(qAlpha(paused.image.pixel(2, 2)), 255);
    EXPECT_EQ(StatusGlyph::image(plain, StatusGlyph::Mark::attention).description, "Glyphnab, needs attention");
}

TEST_F(SettingsTest, OnScreenReportsChangesOnly) {
    QWidget window;
    std::vector<bool> reports;
    new OnScreen([&](bool on) { reports.push_back(on); }, &window);
    TestSupport::waitUntil([] { return false; }, std::chrono::milliseconds(30));
    EXPECT_TRUE(reports.empty());  // a hidden window reports nothing
    window.show();
    ASSERT_TRUE(TestSupport::waitUntil([&] { return reports.size() == 1; }));
    EXPECT_TRUE(reports[0]);
    window.close();
    ASSERT_TRUE(TestSupport::waitUntil([&] { return reports.size() == 2; }));
    EXPECT_FALSE(reports[1]);
    TestSupport::waitUntil([] { return false; }, std::chrono::milliseconds(30));
    EXPECT_EQ(reports.size(), 2u);
}

}  // namespace

namespace {

TEST_F(SettingsTest, RowTextsTakeTheInkOfTheAppearanceInForce) {
    QWidget host;
    Environment::setColorScheme(&host, ColorScheme::dark);
    auto* row = new SettingsSwitch(QStringLiteral("Title"), QStringLiteral("Detail"), false);
    auto* layout = new QVBoxLayout(&host);
    layout->addWidget(row);
    host.show();
    QCoreApplication::processEvents();
    auto* title = row->toggle()->labelWidget()->findChild<QLabel*>();
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->palette().color(QPalette::WindowText), Ink::primary().resolve(ColorScheme::dark));
    Environment::setColorScheme(&host, ColorScheme::light);
    EXPECT_EQ(title->palette().color(QPalette::WindowText), Ink::primary().resolve(ColorScheme::light));
}

}  // namespace
