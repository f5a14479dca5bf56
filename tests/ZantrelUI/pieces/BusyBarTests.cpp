#include "ZantrelUI/pieces/Announce.h"
#include "ZantrelUI/pieces/BusyBar.h"
#include "ZantrelUI/pieces/GlassProgress.h"
#include "ZantrelUI/design/PillButton.h"

#include "tests/ZantrelUI/DesignFixture.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>

#include <cmath>
#include <limits>
#include <vector>

namespace DesignTest {
namespace {

using ZantrelUI::BusyBar;
using ZantrelUI::Environment::setReduceMotionOverride;
using ZantrelUI::GlassProgress;

class GlassProgressTests : public DesignFixture {};

TEST_F(GlassProgressTests, FillIsNeverNarrowerThanTheBarIsHighAndNeverWiderThanTheTrack) {
    EXPECT_DOUBLE_EQ(GlassProgress::fillWidth(-0.5, 200, 6), 6);
    EXPECT_DOUBLE_EQ(GlassProgress::fillWidth(0, 200, 6), 6);
    EXPECT_DOUBLE_EQ(GlassProgress::fillWidth(0.5, 200, 6), 100);
    EXPECT_DOUBLE_EQ(GlassProgress::fillWidth(1.7, 200, 6), 200);
    EXPECT_DOUBLE_EQ(GlassProgress::fillWidth(0.01, 200, 6), 6);  // 2 points of track: still a circle
    EXPECT_DOUBLE_EQ(GlassProgress::fillWidth(std::numeric_limits<double>::quiet_NaN(), 200, 6), 6);
    EXPECT_DOUBLE_EQ(GlassProgress::fillWidth(std::numeric_limits<double>::infinity(), 200, 6), 200);
}

TEST_F(GlassProgressTests, KeepsTheValueButReportsItClamped) {
    GlassProgress high(1.7, QStringLiteral("Reading"), 6);
    EXPECT_DOUBLE_EQ(high.value(), 1.7);
    ASSERT_TRUE(high.accessibleRange());
    EXPECT_DOUBLE_EQ(high.accessibleRange()->value, 1);
    EXPECT_DOUBLE_EQ(high.accessibleRange()->maximum, 1);
    EXPECT_EQ(high.accessibleText(QAccessible::Name), u"Reading");

    GlassProgress low(-0.5, QStringLiteral("Reading"), 6);
    EXPECT_DOUBLE_EQ(low.accessibleRange()->value, 0);
    low.resize(200, low.sizeHint().height());
    EXPECT_DOUBLE_EQ(low.fillRect().width(), 6);
    EXPECT_DOUBLE_EQ(low.fillRect().height(), 6);
}

TEST_F(GlassProgressTests, GlidesToANewValueUnlessMotionIsReduced) {
    QWidget host;
    GlassProgress bar(0.2, QStringLiteral("Reading"), 6, &host);
    bar.setValue(0.8);
    EXPECT_DOUBLE_EQ(bar.shownFraction(), 0.2) << "the spring starts where the fill was";
    advance(3);
    EXPECT_NEAR(bar.shownFraction(), 0.8, 1e-3);

    setReduceMotionOverride(&host, true);
    bar.setValue(0.3);
    EXPECT_DOUBLE_EQ(bar.shownFraction(), 0.3);
}

class BusyBarTests : public DesignFixture {};

TEST_F(BusyBarTests, OpenEndedWorkWithoutStopShowsOnlyTheSentenceAndTheMovingBar) {
    BusyBar bar(QStringLiteral("Reading the text"), std::nullopt, nullptr);
    EXPECT_EQ(bar.progress(), nullptr);
    ASSERT_NE(bar.indeterminateBar(), nullptr);
    EXPECT_EQ(bar.indeterminateBar()->height(), 6);
    EXPECT_TRUE(bar.stopButton()->isHidden());
    EXPECT_EQ(bar.sentenceLabel()->textFormat(), Qt::PlainText);
    EXPECT_GE(bar.minimumHeight(), 36);
}

TEST_F(BusyBarTests, KnownAmountWithStopRunsStopOncePerPress) {
    int stops = 0;
    BusyBar bar(QStringLiteral("Reading 4 pages"), 0.5, [&] { ++stops; });
    ASSERT_NE(bar.progress(), nullptr);
    EXPECT_DOUBLE_EQ(bar.progress()->value(), 0.5);
    EXPECT_EQ(bar.progress()->title(), u"Reading 4 pages");
    EXPECT_EQ(bar.progress()->barHeight(), 6);
    EXPECT_FALSE(bar.stopButton()->isHidden());
    EXPECT_EQ(bar.stopButton()->text(), u"Stop");
    bar.stopButton()->click();
    bar.stopButton()->click();
    EXPECT_EQ(stops, 2);

    bar.setStop(nullptr);
    EXPECT_TRUE(bar.stopButton()->isHidden());
    bar.stopButton()->click();  // a hidden button still must not call a missing action
    EXPECT_EQ(stops, 2);
}

TEST_F(BusyBarTests, SwapsTheBarFormWhenTheAmountBecomesKnownOrOpen) {
    BusyBar bar(QStringLiteral("Working"), std::nullopt, nullptr);
    bar.setValue(0.25);
    ASSERT_NE(bar.progress(), nullptr);
    EXPECT_EQ(bar.indeterminateBar(), nullptr);
    GlassProgress* const kept = bar.progress();
    bar.setValue(0.5);
    EXPECT_EQ(bar.progress(), kept) << "a new amount moves the same bar";
    bar.setValue(std::nullopt);
    EXPECT_EQ(bar.progress(), nullptr);
    EXPECT_NE(bar.indeterminateBar(), nullptr);
}

TEST_F(BusyBarTests, LongSentenceStaysOnOneLine) {
    const QString sentence = QStringLiteral("Reading ") + QString(200, QLatin1Char('x'));
    BusyBar bar(sentence, 0.1, [] {});
    bar.resize(300, 40);
    bar.show();
    QApplication::processEvents();
    EXPECT_LE(bar.sentenceLabel()->sizeHint().width(), 300);
    EXPECT_FALSE(bar.sentenceLabel()->text().contains(QLatin1Char('\n')));
    EXPECT_EQ(bar.sentence(), sentence) << "the full sentence is kept for its owner";
    EXPECT_GE(bar.height(), 36);
}

TEST(AnnounceTests, ObserverHearsEachTextBeforeItIsPosted) {
    QStringList heard;
    ZantrelUI::Announce::observer() = [&](const QString& text) { heard.append(text); };
    ZantrelUI::Announce::post(QStringLiteral("Copied 3 characters."));
    ZantrelUI::Announce::post(QStringLiteral("Copied 3 characters."));
    ZantrelUI::Announce::observer() = nullptr;
    EXPECT_EQ(heard.size(), 2) << "announcements are not de-duplicated";
    EXPECT_EQ(heard.front(), u"Copied 3 characters.");
}

TEST(AnnounceTests, WithoutAWindowTheApplicationPosts) {
    bool anyVisible = false;
    for (QWidget* window : QApplication::topLevelWidgets())
        anyVisible = anyVisible || window->isVisible();
    if (!anyVisible) {
        EXPECT_EQ(ZantrelUI::Announce::poster(), QCoreApplication::instance());
    }
    QWidget window;
    window.show();
    EXPECT_EQ(ZantrelUI::Announce::poster(), &window);
}

// A screen reader speaks a notification that comes on screen (its name, or else its labels);
// one that goes off screen it may speak again. Offscreen there is no bridge to hand the
// accessibility events to, so what raises them is watched: a widget's show and hide.
class Watch final : public QObject {
public:
    struct Seen {
        QEvent::Type type;
        QAccessible::Role role;
        QString name;
        QAccessible::Role labelRole;
        QString label;
    };
    std::vector<Seen> seen;

    bool eventFilter(QObject* object, QEvent* event) override {
        if (object->objectName() != u"zantrel.announcement")
            return false;
        // A notification may be on its way out: only its going is noted.
        if (event->type() == QEvent::Hide)
            seen.push_back({event->type(), QAccessible::NoRole, {}, QAccessible::NoRole, {}});
        if (event->type() == QEvent::Show) {
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
            QAccessibleInterface* inside = iface->childCount() == 1 ? iface->child(0) : nullptr;
            seen.push_back({event->type(), iface->role(), iface->text(QAccessible::Name),
                            inside ? inside->role() : QAccessible::NoRole,
                            inside ? inside->text(QAccessible::Name) : QString()});
        }
        return false;
    }
};

TEST(AnnounceTests, EachSentenceComesOnScreenAsANotificationHoldingItInThePostersWindow) {
    QWidget window;
    window.resize(200, 100);
    window.show();
    QWidget other;
    other.show();
    Watch watch;
    qApp->installEventFilter(&watch);
    ZantrelUI::Announce::post(QStringLiteral("Copied 3 characters."), &window);
    ZantrelUI::Announce::post(QStringLiteral("Removed 2 files"), &window);
    qApp->removeEventFilter(&watch);

    QStringList shown;
    for (const Watch::Seen& s : watch.seen) {
        EXPECT_EQ(s.type, QEvent::Show) << "a notification going off screen: " << s.name.toStdString();
        EXPECT_EQ(s.role, QAccessible::Notification);
        EXPECT_EQ(s.labelRole, QAccessible::StaticText);
        EXPECT_EQ(s.label, s.name);
        shown << s.name;
    }
    EXPECT_EQ(shown, (QStringList{QStringLiteral("Copied 3 characters."), QStringLiteral("Removed 2 files")}));

    // The last one stays in the window's tree, on screen, the only one there.
    EXPECT_EQ(window.findChildren<QWidget*>(QString::fromLatin1("zantrel.announcement")).size(), 1);
    EXPECT_EQ(ZantrelUI::Announce::region(&other), nullptr);
    QAccessibleInterface* seen = QAccessible::queryAccessibleInterface(ZantrelUI::Announce::region(&window));
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(seen->text(QAccessible::Name), QStringLiteral("Removed 2 files"));
    EXPECT_FALSE(seen->state().invisible);
    EXPECT_GE(QAccessible::queryAccessibleInterface(&window)->indexOfChild(seen), 0);
}

}  // namespace
}  // namespace DesignTest
