#include "Glyphnab/notice/NoticePresenter.h"

#include "ZantrelKit/AccentPair.h"
#include "ZantrelUI/design/PanelMotion.h"
#include "ZantrelUI/pieces/Announce.h"
#include "ZantrelUI/design/PillButton.h"
#include "platform/async/Clock.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QEventLoop>

#include <gtest/gtest.h>

#include <chrono>

namespace Glyphnab {
namespace {

using namespace std::chrono_literals;
using GlyphnabCore::Outcome;
using ZantrelText::LineMode;

class RecordingModel final : public NoticeModel {
public:
    QString appName() const override { return QStringLiteral("Glyphnab"); }
    ZantrelUI::Accent accent() const override { return ZantrelUI::Accent(ZantrelKit::AccentPair::all[0]); }
    void openLink(const QUrl& link) override { opened.append(link); }
    void copyToPasteboard(const QString& text) override { copied.append(text); }
    void cancelWork() override { ++cancels; }
    void beginGrab(std::optional<LineMode> mode) override { grabs.append(mode); }

    QList<QUrl> opened;
    QStringList copied;
    int cancels = 0;
    QList<std::optional<LineMode>> grabs;
};

Outcome text(const QString& copied) {
    Outcome outcome;
    outcome.kind = Outcome::Kind::text();
    outcome.copied = copied;
    return outcome;
}

void settle() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

class NoticePresenterTests : public ::testing::Test {
protected:
    NoticePresenterTests()
        : clock(false),
          presenter([this] { return modelGone ? nullptr : &model; }, [] { return true; },
                    NoticeScreens{[this] { return screens; }, [this] { return pointer; }, [this] { return translucent; },
                                  [this](QObject*, std::function<void()> changed) {
                                      compositorChanged = std::move(changed);
                                  },
                                  [this] { return desktopPlaces; }},
                    &clock) {}

    void advance(std::chrono::nanoseconds d) {
        clock.advance(d);
        settle();
    }

    RecordingModel model;
    bool modelGone = false;
    QList<NoticeScreens::Screen> screens{{QRect(0, 0, 1920, 1080), QRect(0, 28, 1920, 1052)},
                                         {QRect(1920, 0, 1280, 800), QRect(1920, 0, 1280, 760)}};
    QPoint pointer{100, 100};
    bool translucent = true;
    bool desktopPlaces = false;
    std::function<void()> compositorChanged;
    Platform::ManualClock clock;
    NoticePresenter presenter;
};

// Where the desktop places every window (Wayland), the notice is a small window of its own
// that tiling desktops float, not a popup without a parent, which has nowhere to go.
TEST_F(NoticePresenterTests, WhereTheDesktopPlacesWindowsThePanelIsAWindowOfFixedSize) {
    presenter.show(NoticeContent::failure(QStringLiteral("A"), QStringLiteral("B")));
    EXPECT_EQ(presenter.panel()->windowType(), Qt::ToolTip);
    presenter.hide();
    settle();

    desktopPlaces = true;
    NoticePresenter placed([this] { return &model; }, [] { return true; },
                           NoticeScreens{[this] { return screens; }, [this] { return pointer; },
                                         [this] { return translucent; }, {}, [this] { return desktopPlaces; }},
                           &clock);
    placed.show(NoticeContent::failure(QStringLiteral("A"), QStringLiteral("B")));
    ASSERT_TRUE(placed.isShowing());
    EXPECT_EQ(placed.panel()->windowType(), Qt::Tool);
    EXPECT_TRUE(placed.panel()->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_EQ(placed.panel()->minimumSize(), placed.panel()->maximumSize());
    EXPECT_EQ(placed.panel()->size(), placed.panel()->minimumSize());
}

TEST_F(NoticePresenterTests, PlainGrabHidesAfterThreeSecondsLingeringOneAfterSeven) {
    presenter.show(NoticeContent::done(text(QStringLiteral("abc")), LineMode::join, GrabSource::screen));
    ASSERT_TRUE(presenter.isShowing());
    advance(3100ms);
    EXPECT_TRUE(presenter.isShowing());
    advance(200ms);
    EXPECT_FALSE(presenter.isShowing());

    presenter.show(NoticeContent::done(Outcome(), LineMode::join, GrabSource::screen));  // nothing found: lingers
    advance(6900ms);
    EXPECT_TRUE(presenter.isShowing());
    advance(200ms);
    EXPECT_FALSE(presenter.isShowing());
}

TEST_F(NoticePresenterTests, HoverKeepsTheNoticeAndLeavingHidesItTwoSecondsLater) {
    presenter.show(NoticeContent::done(text(QStringLiteral("abc")), LineMode::join, GrabSource::screen));
    advance(1s);
    presenter.hoverChanged(true);
    advance(5s);
    EXPECT_TRUE(presenter.isShowing()) << "the hide that wakes while hovered does nothing";
    presenter.hoverChanged(false);
    advance(1900ms);
    EXPECT_TRUE(presenter.isShowing());
    advance(200ms);
    EXPECT_FALSE(presenter.isShowing());
}

TEST_F(NoticePresenterTests, BusyNoticeStaysUntilReplacedAndReplacingRestartsTheCountdown) {
    presenter.show(NoticeContent::done(text(QStringLiteral("abc")), LineMode::join, GrabSource::screen));
    QWidget* const panel = presenter.panel();
    advance(3s);
    presenter.show(NoticeContent::busy(nullptr));
    EXPECT_FALSE(presenter.hidePending());
    advance(60s);
    EXPECT_TRUE(presenter.isShowing());
    EXPECT_EQ(presenter.panel(), panel) << "one panel, reused";

    presenter.show(NoticeContent::done(text(QStringLiteral("abc")), LineMode::join, GrabSource::screen));
    advance(3s);
    EXPECT_TRUE(presenter.isShowing());
    advance(300ms);
    EXPECT_FALSE(presenter.isShowing());
    EXPECT_EQ(presenter.panel(), panel);
}

TEST_F(NoticePresenterTests, NoticeGoesOnTheScreenUnderThePointerBelowItsTop) {
    const QSize size(416, 100);
    EXPECT_EQ(NoticePresenter::placement(size, screens, QPoint(100, 100)), QRect(752, 38, 416, 100));
    EXPECT_EQ(NoticePresenter::placement(size, screens, QPoint(2000, 500)), QRect(2352, 10, 416, 100));
    // A pointer on no screen falls back to the main one; no screen gives an empty frame.
    EXPECT_EQ(NoticePresenter::placement(size, screens, QPoint(-50, -50)).topLeft(), QPoint(752, 38));
    EXPECT_TRUE(NoticePresenter::placement(size, {}, QPoint()).isEmpty());

    pointer = QPoint(2500, 300);
    presenter.show(NoticeContent::failure(QStringLiteral("A"), QStringLiteral("B")));
    const QRect frame = presenter.panel()->geometry();
    EXPECT_EQ(frame.top(), 10);
    EXPECT_EQ(frame.center().x(), 1920 + 640 - (frame.width() % 2 == 0 ? 1 : 0));
}

TEST_F(NoticePresenterTests, PanelNeverTakesTheKeyboard) {
    presenter.show(NoticeContent::failure(QStringLiteral("A"), QStringLiteral("B")));
    QWidget* panel = presenter.panel();
    EXPECT_TRUE(panel->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(panel->windowFlags().testFlag(Qt::X11BypassWindowManagerHint));
    EXPECT_TRUE(panel->testAttribute(Qt::WA_ShowWithoutActivating));
}

TEST_F(NoticePresenterTests, WithoutACompositorThePanelIsCutToTheCard) {
    presenter.show(NoticeContent::failure(QStringLiteral("A"), QStringLiteral("B")));
    EXPECT_TRUE(presenter.panel()->mask().isEmpty());
    translucent = false;
    presenter.show(NoticeContent::failure(QStringLiteral("A"), QStringLiteral("B")));
    const QRegion mask = presenter.panel()->mask();
    const QRectF card = presenter.currentView()->cardRect();
    EXPECT_FALSE(mask.contains(QPoint(2, 2))) << "the shadow margin is cut away";
    EXPECT_TRUE(mask.contains(card.center().toPoint()));
    EXPECT_FALSE(mask.contains(card.topLeft().toPoint() + QPoint(1, 1))) << "rounded corners";
}

// Without a compositor a see-through window is black where it is clear, and a fade of it
// rises from black: the panel is an ordinary window then, shown and hidden at once, made
// again when the compositor comes or goes.
TEST_F(NoticePresenterTests, ThePanelFollowsTheCompositorWithoutFadesWhenThereIsNone) {
    NoticePresenter moving([this] { return &model; }, [] { return false; },
                           NoticeScreens{[this] { return screens; }, [this] { return pointer; },
                                         [this] { return translucent; }, {}, {}},
                           &clock);
    auto fadingIn = [&] {
        const ZantrelUI::MotionLayer* layer = ZantrelUI::PanelMotion::layerOf(moving.currentView(), false);
        return layer != nullptr && layer->hasAnimation(ZantrelUI::PanelMotion::inKey);
    };
    moving.show(NoticeContent::failure(QStringLiteral("A"), QStringLiteral("B")));
    EXPECT_TRUE(moving.panel()->testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_TRUE(fadingIn());

    translucent = false;
    moving.show(NoticeContent::failure(QStringLiteral("A"), QStringLiteral("B")));
    ASSERT_TRUE(moving.isShowing());
    EXPECT_FALSE(moving.panel()->testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_FALSE(moving.panel()->mask().isEmpty());
    EXPECT_FALSE(fadingIn());
    EXPECT_EQ(moving.panel()->windowOpacity(), 1.0);
    moving.dismiss();
    EXPECT_FALSE(moving.isShowing()) << "no fade-out either";

    translucent = true;
    moving.show(NoticeContent::failure(QStringLiteral("A"), QStringLiteral("B")));
    EXPECT_TRUE(moving.panel()->testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_TRUE(moving.panel()->mask().isEmpty());
    EXPECT_TRUE(fadingIn());
}

// A long reading's notice stays up while the compositor stops or starts: it moves to a
// panel made for the new state, as it is.
TEST_F(NoticePresenterTests, ANoticeOnScreenFollowsTheCompositor) {
    presenter.show(NoticeContent::failure(QStringLiteral("A"), QStringLiteral("B")));
    ASSERT_TRUE(compositorChanged);  // told by the desktop, not polled
    NoticeView* view = presenter.currentView();
    const QRect frame = presenter.panel()->geometry();
    compositorChanged();  // nothing changed
    EXPECT_TRUE(presenter.panel()->testAttribute(Qt::WA_TranslucentBackground));

    translucent = false;
    compositorChanged();
    ASSERT_TRUE(presenter.isShowing());
    EXPECT_FALSE(presenter.panel()->testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_FALSE(presenter.panel()->mask().isEmpty());
    EXPECT_EQ(presenter.currentView(), view);
    EXPECT_EQ(presenter.panel()->geometry(), frame);

    translucent = true;
    compositorChanged();
    ASSERT_TRUE(presenter.isShowing());
    EXPECT_TRUE(presenter.panel()->testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_TRUE(presenter.panel()->mask().isEmpty());
    EXPECT_EQ(presenter.currentView(), view);

    presenter.hide();
    translucent = false;
    compositorChanged();  // a hidden notice is left alone
    EXPECT_FALSE(presenter.isShowing());
}

TEST_F(NoticePresenterTests, HideReportsWhetherANoticeWasVisible) {
    EXPECT_FALSE(presenter.hide());
    EXPECT_EQ(presenter.panel(), nullptr);
    presenter.show(NoticeContent::failure(QStringLiteral("A"), QStringLiteral("B")));
    EXPECT_TRUE(presenter.hide());
    EXPECT_FALSE(presenter.isShowing());
    EXPECT_FALSE(presenter.hidePending());
    EXPECT_FALSE(presenter.hide());
}

TEST_F(NoticePresenterTests, WithoutAModelNothingIsShown) {
    modelGone = true;
    presenter.show(NoticeContent::failure(QStringLiteral("A"), QStringLiteral("B")));
    EXPECT_EQ(presenter.panel(), nullptr);
}

TEST_F(NoticePresenterTests, EveryShownNoticeIsAnnounced) {
    QStringList heard;
    ZantrelUI::Announce::observer() = [&](const QString& line) { heard.append(line); };
    // Each is said by a notification on screen in the notice's own window, the first one too,
    // when no other window is open.
    const auto said = [this]() -> QString {
        QWidget* region = presenter.panel() ? ZantrelUI::Announce::region(presenter.panel()) : nullptr;
        if (region == nullptr || !region->isVisible())
            return {};
        return QAccessible::queryAccessibleInterface(region)->text(QAccessible::Name);
    };
    presenter.show(NoticeContent::done(text(QStringLiteral("abc")), LineMode::join, GrabSource::screen));
    EXPECT_EQ(said(), u"Copied 3 characters. Lines joined into paragraphs.");
    presenter.show(NoticeContent::busy(nullptr));
    EXPECT_EQ(said(), u"Reading 0 pages.");
    ZantrelUI::Announce::observer() = nullptr;
    EXPECT_EQ(heard, QStringList({QStringLiteral("Copied 3 characters. Lines joined into paragraphs."),
                                  QStringLiteral("Reading 0 pages.")}));
}

TEST_F(NoticePresenterTests, ActionsReachTheModelAndFollowUpNotices) {
    auto actions = presenter.makeActions(&model);
    presenter.show(NoticeContent::done(Outcome(), LineMode::keep, GrabSource::screen));

    actions.grabAgain(std::nullopt);
    EXPECT_FALSE(presenter.isShowing()) << "hidden before the pick starts";
    ASSERT_EQ(model.grabs.size(), 1);
    EXPECT_EQ(model.grabs[0], std::nullopt);

    actions.copyText(QStringLiteral("hello"));
    EXPECT_EQ(model.copied, QStringList{QStringLiteral("hello")});
    ASSERT_TRUE(presenter.isShowing());
    const auto* done = presenter.currentView()->content().asDone();
    ASSERT_NE(done, nullptr);
    EXPECT_EQ(done->outcome.copied, u"hello");
    EXPECT_EQ(done->mode, std::nullopt);
    EXPECT_EQ(done->source, GrabSource::screen);

    Outcome joined = text(QStringLiteral("one two"));
    joined.otherWay = QStringLiteral("one\ntwo");
    actions.copyOtherWay(joined, LineMode::join);
    ASSERT_EQ(model.copied.size(), 2);
    EXPECT_EQ(model.copied[1], *joined.otherWay);
    EXPECT_EQ(presenter.currentView()->content().asDone()->mode, LineMode::keep);

    // No other way: nothing is copied.
    actions.copyOtherWay(text(QStringLiteral("x")), LineMode::keep);
    EXPECT_EQ(model.copied.size(), 2);

    actions.stop();
    EXPECT_EQ(model.cancels, 1);
    EXPECT_FALSE(presenter.isShowing());

    actions.open(QUrl(QStringLiteral("https://example.com")));
    EXPECT_EQ(model.opened.size(), 1);
}

TEST_F(NoticePresenterTests, CopyButtonThatReplacesItsOwnNoticeDoesNotCrash) {
    Outcome code;
    code.kind = Outcome::Kind::code(QStringLiteral("QR code"));
    code.copied = QStringLiteral("payload");
    code.alternate = QStringLiteral("the text");
    presenter.show(NoticeContent::done(code, LineMode::join, GrabSource::screen));
    const auto buttons = presenter.currentView()->buttons();
    ASSERT_EQ(buttons.size(), 1);
    buttons[0]->click();  // shows a new notice while the button's click runs
    settle();
    EXPECT_EQ(model.copied, QStringList{QStringLiteral("the text")});
    EXPECT_EQ(presenter.currentView()->content().asDone()->outcome.copied, u"the text");

    // The same while the compositor went away: the panel is made anew under the button.
    presenter.show(NoticeContent::done(code, LineMode::join, GrabSource::screen));
    translucent = false;
    presenter.currentView()->buttons().at(0)->click();
    settle();
    EXPECT_EQ(model.copied.size(), 2);
    EXPECT_FALSE(presenter.panel()->testAttribute(Qt::WA_TranslucentBackground));
}

}  // namespace
}  // namespace Glyphnab
