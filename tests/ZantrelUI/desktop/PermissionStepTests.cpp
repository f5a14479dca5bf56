#include "tests/ZantrelUI/DesignFixture.h"
#include "tests/ZantrelUI/RecordingCalls.h"

#include "ZantrelKit/Copy.h"
#include "ZantrelUI/design/InkText.h"
#include "ZantrelUI/design/LoopPieces.h"
#include "ZantrelUI/desktop/PathCrumbs.h"
#include "ZantrelUI/desktop/PermissionMonitor.h"
#include "ZantrelUI/desktop/PermissionProbe.h"
#include "ZantrelUI/desktop/PermissionStep.h"
#include "ZantrelUI/design/PillButton.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QShortcut>

#include <memory>

using namespace ZantrelUI;
using DesignTest::DesignFixture;
using ZantrelKit::Permission;

namespace {

ZantrelKit::Product glyphnab() {
    return ZantrelKit::Product(ZantrelKit::OwnerConfig(QVariantMap{{QStringLiteral("CFBundleName"), QStringLiteral("Glyphnab")}}));
}

using PathCrumbsTest = DesignFixture;

TEST_F(PathCrumbsTest, OneCrumbPerStepWithChevronsBetweenAndTheLastAccented) {
    const QStringList pane{QStringLiteral("Settings"), QStringLiteral("Privacy"), QStringLiteral("Screen Recording")};
    const auto crumbs = PathCrumbs::layout(pane);
    ASSERT_EQ(crumbs.size(), 3u);
    EXPECT_FALSE(crumbs[0].chevron.has_value());
    EXPECT_TRUE(crumbs[1].chevron.has_value());
    EXPECT_TRUE(crumbs[2].chevron.has_value());
    EXPECT_FALSE(crumbs[0].last);
    EXPECT_FALSE(crumbs[1].last);
    EXPECT_TRUE(crumbs[2].last);
    EXPECT_EQ(crumbs[2].name, "Screen Recording");
    // Left to right, 6 apart: capsule, gap, chevron, gap, capsule…
    for (std::size_t i = 1; i < crumbs.size(); ++i) {
        EXPECT_DOUBLE_EQ(crumbs[i].chevron->left(), crumbs[i - 1].capsule.right() + PathCrumbs::spacing);
        EXPECT_DOUBLE_EQ(crumbs[i].capsule.left(), crumbs[i].chevron->right() + PathCrumbs::spacing);
    }
    // The names fit on one line inside the padding.
    for (const auto& crumb : crumbs) {
        const QFontMetricsF metrics(PathCrumbs::nameFont(crumb.last));
        EXPECT_GE(crumb.text.width(), metrics.horizontalAdvance(crumb.name));
        EXPECT_DOUBLE_EQ(crumb.capsule.width(), crumb.text.width() + 2 * PathCrumbs::padX);
    }
    EXPECT_EQ(PathCrumbs::nameFont(true).weight(), QFont::DemiBold);
    EXPECT_EQ(PathCrumbs::nameFont(false).weight(), QFont::Medium);

    PathCrumbs view(pane);
    EXPECT_EQ(view.sizeHint().width(), static_cast<int>(crumbs.back().capsule.right()));
    EXPECT_EQ(view.sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    view.show();
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&view);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->text(QAccessible::Name), "Settings, Privacy, Screen Recording");
}

TEST_F(PathCrumbsTest, OneStepIsTheLastCrumbAndNoStepsDrawNothing) {
    const auto single = PathCrumbs::layout({QStringLiteral("Privacy")});
    ASSERT_EQ(single.size(), 1u);
    EXPECT_TRUE(single[0].last);
    EXPECT_FALSE(single[0].chevron.has_value());
    EXPECT_DOUBLE_EQ(single[0].capsule.left(), 0);

    EXPECT_TRUE(PathCrumbs::layout({}).empty());
    PathCrumbs empty({});
    EXPECT_EQ(empty.sizeHint(), QSize(0, 0));
    empty.show();
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&empty);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->text(QAccessible::Name), "");
}

// A step over a permission the test flips, with its own platform operations.
class PermissionStepTest : public DesignFixture {
protected:
    std::unique_ptr<PermissionStep> make(const Permission& permission, bool granted, bool withReopen, bool returnOpens,
                                         PermissionStep::Action open = {}) {
        std::optional<PermissionStep::Action> reopen;
        if (withReopen)
            reopen = [this] { ++reopens; };
        auto step = std::make_unique<PermissionStep>(permission, glyphnab(), QStringLiteral("Allow Screen Recording"),
                                                     QStringLiteral("Glyphnab reads the text you point at."),
                                                     QStringLiteral("text.viewfinder"), granted, reopen, returnOpens,
                                                     std::move(open));
        Environment::setMacCalls(step.get(), DesignTest::recordingCalls(log));
        step->show();
        return step;
    }

    static bool visible(QWidget* w) { return w != nullptr && w->isVisible(); }

    std::shared_ptr<DesignTest::CallLog> log = std::make_shared<DesignTest::CallLog>();
    int reopens = 0;
};

TEST_F(PermissionStepTest, MissingPermissionShowsTheStuckNoteBothButtonsAndReturnOpens) {
    const auto step = make(Permission::screenRecording(), false, true, true);
    EXPECT_EQ(step->stepTexts(), (QStringList{QStringLiteral("Go to Settings > Privacy > Screen Recording."),
                                              QStringLiteral("Turn on Glyphnab in the list.")}));
    ASSERT_EQ(step->notes().size(), 2);
    EXPECT_EQ(step->notes()[1], ZantrelKit::Copy::Permission::stuck(QStringLiteral("Glyphnab")));
    EXPECT_EQ(step->crumbs()->pane(), Permission::screenRecording().pane);

    EXPECT_FALSE(step->status()->granted());
    EXPECT_EQ(step->status()->text(), "Waiting for the switch");
    EXPECT_TRUE(visible(step->status()->dot()));
    ASSERT_TRUE(visible(step->reopenButton()));
    EXPECT_EQ(step->reopenButton()->text(), "Quit and Reopen");
    EXPECT_FALSE(step->reopenButton()->prominent());
    EXPECT_TRUE(step->reopenButton()->large());
    EXPECT_TRUE(visible(step->openButton()));
    EXPECT_TRUE(step->openButton()->prominent());
    EXPECT_TRUE(step->openButton()->large());
    // Reopen sits before open in the row.
    EXPECT_LT(step->reopenButton()->x(), step->openButton()->x());
    EXPECT_TRUE(step->returnShortcut()->isEnabled());
    EXPECT_EQ(step->returnShortcut()->key(), QKeySequence(Qt::Key_Return));
}

TEST_F(PermissionStepTest, GrantedStepDropsTheStuckNoteTheReopenButtonAndReturn) {
    const auto step = make(Permission::screenRecording(), true, true, true);
    EXPECT_EQ(step->notes(), QStringList{ZantrelKit::Copy::Permission::notListed(QStringLiteral("Glyphnab"))});
    EXPECT_FALSE(visible(step->reopenButton()));
    EXPECT_TRUE(visible(step->openButton()));
    EXPECT_FALSE(step->openButton()->prominent());
    EXPECT_FALSE(step->returnShortcut()->isEnabled());
    EXPECT_EQ(step->status()->text(), "Turned on");
    EXPECT_FALSE(visible(step->status()->dot()));
    // A stray Return (say, from the shortcut) still does nothing while granted.
    Q_EMIT step->returnShortcut()->activated();
    EXPECT_TRUE(log->opened.isEmpty());
}

TEST_F(PermissionStepTest, WithoutReopenOnlyStatusAndOpenShowWhateverTheGrant) {
    for (const bool granted : {false, true}) {
        const auto step = make(Permission::screenRecording(), granted, false, true);
        EXPECT_EQ(step->reopenButton(), nullptr);
        EXPECT_EQ(step->findChildren<PillButton*>().size(), 1);
        EXPECT_TRUE(visible(step->openButton()));
        EXPECT_TRUE(visible(step->status()));
    }
}

TEST_F(PermissionStepTest, ReturnOpensOffLeavesTheProminentButtonWithoutAShortcut) {
    const auto step = make(Permission::screenRecording(), false, false, false);
    EXPECT_TRUE(step->openButton()->prominent());
    EXPECT_FALSE(step->returnShortcut()->isEnabled());
    Q_EMIT step->returnShortcut()->activated();
    EXPECT_TRUE(log->opened.isEmpty());
}

TEST_F(PermissionStepTest, OnlyScreenRecordingItselfGetsTheOpenAgainNote) {
    const QString addAgain = ZantrelKit::Copy::Permission::stuckAddAgain(QStringLiteral("Glyphnab"));
    for (const Permission& other : {Permission::accessibility(), Permission::fullDiskAccess()}) {
        const auto step = make(other, false, false, true);
        ASSERT_EQ(step->notes().size(), 2);
        EXPECT_EQ(step->notes()[1], addAgain);
    }
    // Same id, another path: not the standard permission, so it needs adding again.
    const Permission lookAlike{QStringLiteral("screenRecording"), {QStringLiteral("Privacy")}};
    const auto step = make(lookAlike, false, false, true);
    EXPECT_EQ(step->notes()[1], addAgain);
}

TEST_F(PermissionStepTest, ButtonsReachTheEnvironmentsOperationsOrTheOwnersActions) {
    const auto step = make(Permission::screenRecording(), false, true, true);
    step->openButton()->click();
    EXPECT_EQ(log->opened, QList<QUrl>{PermissionProbe::settingsURL(Permission::screenRecording())});
    Q_EMIT step->returnShortcut()->activated();
    EXPECT_EQ(log->opened.size(), 2);
    step->reopenButton()->click();
    EXPECT_EQ(reopens, 1);
    EXPECT_EQ(log->quits, 0);  // reopening is the owner's action, not a bare quit

    int ownOpens = 0;
    const auto own = make(Permission::accessibility(), false, false, true, [&] { ++ownOpens; });
    own->openButton()->click();
    EXPECT_EQ(ownOpens, 1);
    EXPECT_EQ(log->opened.size(), 2);
}

TEST_F(PermissionStepTest, FollowsTheMonitorLiveAsTheProbeFlips) {
    Platform::ManualClock clock{false};
    bool switchOn = false;
    PermissionMonitor monitor(Permission::screenRecording(), [&] { return switchOn; }, nullptr, &clock);
    std::unique_ptr<PermissionStep> step(PermissionStep::following(
        monitor, glyphnab(), QStringLiteral("Allow"), QStringLiteral("Why"), QStringLiteral("text.viewfinder"),
        PermissionStep::Action([this] { ++reopens; }), true));
    Environment::setMacCalls(step.get(), DesignTest::recordingCalls(log));
    step->show();
    EXPECT_FALSE(step->granted());
    EXPECT_TRUE(visible(step->reopenButton()));

    const auto tick = [&] {
        clock.advance(PermissionMonitor::pollInterval);
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    };
    switchOn = true;
    tick();
    EXPECT_TRUE(step->granted());
    EXPECT_FALSE(visible(step->reopenButton()));
    EXPECT_FALSE(step->openButton()->prominent());
    EXPECT_EQ(step->status()->text(), "Turned on");
    // The change animates with the snappy spring; the status fades in with it.
    EXPECT_TRUE(step->change().isAnimating());
    advance(2);
    EXPECT_NEAR(step->change().value(), 1, 1e-6);
    EXPECT_FALSE(step->change().isAnimating());

    switchOn = false;
    monitor.refresh();
    EXPECT_FALSE(step->granted());
    EXPECT_TRUE(visible(step->reopenButton()));
    EXPECT_TRUE(step->returnShortcut()->isEnabled());
}

TEST_F(PermissionStepTest, ReducedMotionTurnsTheSpringIntoAShortEase) {
    const Motion::Animation full = PermissionStep::changeAnimation(false);
    EXPECT_EQ(full.kind, Motion::Animation::Kind::spring);
    EXPECT_DOUBLE_EQ(full.response, 0.35);
    EXPECT_DOUBLE_EQ(full.dampingFraction, 0.8);
    const Motion::Animation reduced = PermissionStep::changeAnimation(true);
    EXPECT_EQ(reduced.kind, Motion::Animation::Kind::timing);
    EXPECT_DOUBLE_EQ(reduced.duration, 0.15);
}

TEST_F(PermissionStepTest, InkTextWrapsWithItsLineSpacingWithinItsMaximumWidth) {
    InkText text(QStringLiteral("one two three four five six seven eight nine ten eleven twelve"), Fonts::body(),
                 Ink::secondary(), Qt::AlignHCenter);
    const qreal oneLine = text.textHeight(10000);
    const qreal narrow = text.textHeight(80);
    EXPECT_GT(narrow, 2 * oneLine);
    text.setLineSpacing(2.5);
    const qreal spaced = text.textHeight(80);
    const int lines = static_cast<int>(std::round(narrow / oneLine));
    EXPECT_NEAR(spaced - narrow, 2.5 * (lines - 1), 1.0);
    text.setMaximumTextWidth(80);
    EXPECT_DOUBLE_EQ(text.textHeight(1000), spaced);
    EXPECT_LE(text.sizeHint().width(), 80);
}

}  // namespace
