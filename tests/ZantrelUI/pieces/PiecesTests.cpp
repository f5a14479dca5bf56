#include "tests/ZantrelUI/DesignFixture.h"

#include "ZantrelUI/design/CheckDraw.h"
#include "ZantrelUI/design/DockFlights.h"
#include "ZantrelUI/context/Environment.h"
#include "ZantrelUI/design/LoopPieces.h"
#include "ZantrelUI/design/MotionEffect.h"
#include "ZantrelUI/design/MotionPieces.h"
#include "ZantrelUI/design/Symbols.h"

#include "tests/support/TestSupport.h"

#include <QImage>
#include <QAccessible>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include <numbers>

using namespace ZantrelUI;
using DesignTest::DesignFixture;

namespace {

using LoopPiecesTest = DesignFixture;

TEST_F(LoopPiecesTest, LoopsAreTheFamilyNumbers) {
    const LayerAnimation pulse = PulseDot::loop();
    EXPECT_EQ(pulse.keyPath, "opacity");
    EXPECT_EQ(std::get<double>(pulse.to), 0.35);
    EXPECT_DOUBLE_EQ(pulse.duration, 0.9);
    EXPECT_TRUE(pulse.autoreverses);
    EXPECT_TRUE(pulse.repeatsForever());
    const LayerAnimation glyph = PulseGlyph::loop();
    EXPECT_EQ(glyph.kind, LayerAnimation::Kind::group);
    EXPECT_TRUE(glyph.drives(QStringLiteral("transform.scale")));
    EXPECT_TRUE(glyph.drives(QStringLiteral("opacity")));
    EXPECT_DOUBLE_EQ(glyph.duration, 1.1);
    EXPECT_DOUBLE_EQ(FlowDashes::loop(2)->duration, 0.5);
    EXPECT_EQ(std::get<double>(FlowDashes::loop(2)->to), -14);
    EXPECT_EQ(FlowDashes::loop(0), std::nullopt);
    EXPECT_EQ(FlowDashes::loop(-1), std::nullopt);
    EXPECT_NEAR(std::get<double>(TurningRing::loop().to), -2 * std::numbers::pi, 1e-12);
    EXPECT_NEAR(TurningRing::dash(24, 2), 22 * std::numbers::pi / 20, 1e-12);
    EXPECT_EQ(PulseGlyph(QStringLiteral("checkmark"), 20, Ink::primary()).size(), QSize(28, 28));
}

TEST_F(LoopPiecesTest, OffscreenDrawsStillFormsWithoutLoopViews) {
    QWidget host;
    Environment::setOffscreen(&host, true);
    auto* dot = new PulseDot(8, &host);
    auto* dashes = new FlowDashes(QPointF(0, 0.5), QPointF(1, 0.5), Ink::primary(), 2, 2, &host);
    EXPECT_EQ(dot->loopView(), nullptr);
    EXPECT_EQ(dashes->loopView(), nullptr);
    Environment::setOffscreen(&host, false);
    EXPECT_NE(dot->loopView(), nullptr);
    dashes->resize(100, 10);
    EXPECT_EQ(dashes->line(), QLineF(0, 5, 100, 5));  // horizontal through the middle
}

TEST_F(LoopPiecesTest, ReducedMotionShowsTheLayerAtRest) {
    QWidget window;
    Environment::setReduceMotionOverride(&window, true);
    auto* dot = new PulseDot(8, &window);
    window.show();
    TestSupport::waitUntil([] { return false; }, std::chrono::milliseconds(50));
    ASSERT_NE(dot->loopView(), nullptr);
    EXPECT_FALSE(dot->loopView()->isRunning());
    Environment::setReduceMotionOverride(&window, false);
    ASSERT_TRUE(TestSupport::waitUntil([&] { return dot->loopView()->isRunning(); }));
}

TEST_F(LoopPiecesTest, DashSpeedChangesReplaceTheLoopAndRingStopsAfterItsTime) {
    QWidget window;
    auto* dashes = new FlowDashes(QPointF(0, 0.5), QPointF(1, 0.5), Ink::primary(), 2, 2, &window);
    auto* ring = new TurningRing(Ink::primary(), 2, 3, &window);
    window.show();
    ASSERT_TRUE(TestSupport::waitUntil([&] { return dashes->loopView()->isRunning() && ring->loopView()->isRunning(); }));
    const double begin = dashes->loopView()->loopLayer().animation(LoopLayerView::loopKey)->beginTime;
    advance(0.1);
    dashes->setCyclesPerSecond(2);  // same speed keeps the running loop
    EXPECT_DOUBLE_EQ(dashes->loopView()->loopLayer().animation(LoopLayerView::loopKey)->beginTime, begin);
    dashes->setCyclesPerSecond(4);
    EXPECT_DOUBLE_EQ(dashes->loopView()->loop()->duration, 0.25);
    EXPECT_GT(dashes->loopView()->loopLayer().animation(LoopLayerView::loopKey)->beginTime, begin);
    dashes->setCyclesPerSecond(0);
    EXPECT_FALSE(dashes->loopView()->isRunning());

    advance(2.85);  // 2.95 s since the ring started
    EXPECT_TRUE(ring->loopView()->isRunning());
    advance(0.1);
    EXPECT_FALSE(ring->loopView()->isRunning());
    ring->update();  // an update never starts it again
    EXPECT_TRUE(ring->loopView()->expired());
}

using CheckShimmerTest = DesignFixture;

CheckDrawView::Colors colors() { return {Ink::primary(), Ink::secondary(), Ink::onAccent()}; }

TEST_F(CheckShimmerTest, CheckPlaysSpringAndStrokeOrFadesWhenReduced) {
    CheckDrawView view(colors(), false);
    view.resize(40, 20);
    EXPECT_EQ(view.discRect(), QRectF(10, 0, 20, 20));
    EXPECT_DOUBLE_EQ(view.lineWidth(), 2);
    EXPECT_FALSE(view.isSettled());  // born invisible
    view.play();
    EXPECT_TRUE(view.isSettled());   // the final state is set first
    const LayerAnimation* grow = view.disc().animation(QStringLiteral("grow"));
    ASSERT_NE(grow, nullptr);
    EXPECT_EQ(std::get<double>(grow->from), 0.6);
    const LayerAnimation* stroke = view.check().animation(QStringLiteral("stroke"));
    ASSERT_NE(stroke, nullptr);
    EXPECT_DOUBLE_EQ(stroke->duration, 0.35);
    EXPECT_EQ(stroke->timing, TimingFunction::easeOut());
    EXPECT_DOUBLE_EQ(view.disc().presentationNumber(QStringLiteral("opacity")), 1);

    CheckDrawView reduced(colors(), true);
    reduced.resize(10, 10);
    EXPECT_DOUBLE_EQ(reduced.lineWidth(), 1.5);
    reduced.play();
    const LayerAnimation* fade = reduced.disc().animation(QStringLiteral("fade"));
    ASSERT_NE(fade, nullptr);
    EXPECT_DOUBLE_EQ(fade->duration, 0.15);
    EXPECT_FALSE(reduced.disc().hasAnimation(QStringLiteral("grow")));
    EXPECT_FALSE(reduced.check().hasAnimation(QStringLiteral("stroke")));
    EXPECT_DOUBLE_EQ(reduced.check().presentationNumber(QStringLiteral("strokeEnd")), 1);
}

TEST_F(CheckShimmerTest, CheckDrawPlaysOnceOnTheNextTurn) {
    QWidget host;
    auto* check = new CheckDraw(14, &host);
    ASSERT_NE(check->view(), nullptr);
    EXPECT_FALSE(check->view()->isSettled());
    ASSERT_TRUE(TestSupport::waitUntil([&] { return check->view()->isSettled(); }));
    advance(2);
    Environment::setAccent(&host, Accent(ZantrelKit::AccentPair::glyphnab));  // an update never replays
    EXPECT_FALSE(check->view()->disc().hasAnimation(QStringLiteral("grow")));
    Environment::setOffscreen(&host, true);
    EXPECT_EQ(check->view(), nullptr);
}

TEST_F(CheckShimmerTest, ShimmerSweepsOncePerTriggerChange) {
    QWidget host;
    auto* shimmer = new Shimmer(1, &host);
    ASSERT_NE(shimmer->view(), nullptr);
    EXPECT_FALSE(shimmer->view()->band().hasAnimation(ShimmerView::sweepKey));  // not on first show
    shimmer->setTrigger(1);
    EXPECT_FALSE(shimmer->view()->band().hasAnimation(ShimmerView::sweepKey));
    shimmer->setTrigger(2);
    const LayerAnimation* sweep = shimmer->view()->band().animation(ShimmerView::sweepKey);
    ASSERT_NE(sweep, nullptr);
    EXPECT_DOUBLE_EQ(sweep->duration, 0.45);
    EXPECT_EQ(shimmer->view()->locations(), (QList<double>{-0.3, -0.15, 0}));
    advance(0.5);
    EXPECT_EQ(shimmer->view()->locations(), (QList<double>{1, 1.15, 1.3}));  // back out of sight

    ShimmerView reduced(true);
    reduced.sweep();
    EXPECT_FALSE(reduced.band().hasAnimation(ShimmerView::sweepKey));
}

using MotionPiecesTest = DesignFixture;

TEST_F(MotionPiecesTest, ArriveStaggersAndShowsAtOnceOffscreen) {
    QWidget window;
    auto* late = new Arrive(new QLabel(QStringLiteral("x")), 10, &window);
    auto* early = new Arrive(new QLabel(QStringLiteral("y")), -3, &window);
    EXPECT_DOUBLE_EQ(late->delay(), 0.18);
    EXPECT_DOUBLE_EQ(early->delay(), 0);
    window.show();
    EXPECT_DOUBLE_EQ(late->contentOpacity(), 0);
    EXPECT_DOUBLE_EQ(late->contentOffset(), 8);
    advance(0.17);
    EXPECT_DOUBLE_EQ(late->contentOpacity(), 0);
    EXPECT_GT(early->contentOpacity(), 0.5);
    advance(0.5);
    EXPECT_DOUBLE_EQ(late->contentOpacity(), 1);
    EXPECT_DOUBLE_EQ(late->contentOffset(), 0);

    QWidget offscreen;
    Environment::setOffscreen(&offscreen, true);
    auto* still = new Arrive(new QLabel(QStringLiteral("z")), 2, &offscreen);
    offscreen.show();
    EXPECT_DOUBLE_EQ(still->contentOpacity(), 1);
    EXPECT_DOUBLE_EQ(still->contentOffset(), 0);

    // Rendered offscreen without ever being shown, also when the flag comes after it.
    QWidget page;
    page.resize(40, 40);
    auto* ink = new QWidget();
    ink->setAutoFillBackground(true);
    ink->setPalette(QPalette(Qt::black));
    auto* rendered = new Arrive(ink, 0, &page);
    rendered->setGeometry(0, 0, 40, 40);
    Environment::setOffscreen(&page, true);
    EXPECT_DOUBLE_EQ(rendered->contentOpacity(), 1);
    QImage picture(40, 40, QImage::Format_ARGB32);
    picture.fill(Qt::white);
    page.render(&picture);
    EXPECT_EQ(picture.pixelColor(20, 20), QColor(Qt::black));
}

TEST_F(MotionPiecesTest, HoverLiftUnderReducedMotionOnlyHighlights) {
    QWidget host;
    Environment::setReduceMotionOverride(&host, true);
    auto* lift = new HoverLift(new QLabel(QStringLiteral("row")), 8, &host);
    lift->setHovering(true);
    advance(0.2);
    EXPECT_DOUBLE_EQ(lift->highlightOpacity(), 0.05);
    EXPECT_DOUBLE_EQ(lift->liftScale(), 1);
    EXPECT_DOUBLE_EQ(lift->shadowOpacity(), 0);
    Environment::setReduceMotionOverride(&host, false);
    EXPECT_DOUBLE_EQ(lift->liftScale(), 1.02);
    EXPECT_DOUBLE_EQ(lift->shadowOpacity(), 0.18);
}

TEST_F(MotionPiecesTest, BumpOnlyOnRealChangesAndNeverWhenReduced) {
    QWidget host;
    auto* bump = new Bump(new QLabel(QStringLiteral("3")), 3, 1.2, &host);
    bump->setTrigger(3);
    EXPECT_FALSE(bump->isBumping());
    bump->setTrigger(4);
    EXPECT_TRUE(bump->isBumping());
    advance(0.4);
    EXPECT_FALSE(bump->isBumping());
    Environment::setReduceMotionOverride(&host, true);
    bump->setTrigger(5);
    EXPECT_FALSE(bump->isBumping());
}

TEST_F(MotionPiecesTest, RollingNumberSwapsAtOnceWhenReduced) {
    QWidget host;
    auto* number = new RollingNumber(9, QStringLiteral("9"), Fonts::title(), &host);
    number->setValue(10, QStringLiteral("10"));
    EXPECT_TRUE(number->roll().isAnimating());
    EXPECT_DOUBLE_EQ(number->roll().animation()->duration, 0.6);
    Environment::setReduceMotionOverride(&host, true);
    number->setValue(11, QStringLiteral("11"));
    EXPECT_FALSE(number->roll().isAnimating());
    EXPECT_EQ(number->text(), "11");
}

TEST_F(MotionPiecesTest, StateSymbolFacesAndTheCheckOnlyOnChangeIntoDone) {
    EXPECT_DOUBLE_EQ(StateSymbol(StateFace::of(StateFace::Kind::waiting), 24, 3).lineWidth(), 2);
    EXPECT_DOUBLE_EQ(StateSymbol(StateFace::of(StateFace::Kind::waiting), 12, 3).lineWidth(), 1.5);
    EXPECT_DOUBLE_EQ(StateSymbol(StateFace::found(9), 24, 3).numberSize(), 12);
    EXPECT_DOUBLE_EQ(StateSymbol(StateFace::found(10), 24, 3).numberSize(), 9.6);
    EXPECT_EQ(StateFace::found(2), StateFace::found(2));
    EXPECT_NE(StateFace::found(2), StateFace::found(3));

    QWidget host;
    auto* symbol = new StateSymbol(StateFace::of(StateFace::Kind::working), 24, 3, &host);
    EXPECT_NE(symbol->ring(), nullptr);
    symbol->setFace(StateFace::of(StateFace::Kind::done));
    EXPECT_TRUE(symbol->drawDone());
    EXPECT_NE(symbol->check(), nullptr);
    EXPECT_EQ(symbol->ring(), nullptr);
    symbol->setFace(StateFace::of(StateFace::Kind::done));  // no change: no redraw
    EXPECT_TRUE(symbol->drawDone());
    auto* born = new StateSymbol(StateFace::of(StateFace::Kind::done), 24, 3, &host);
    EXPECT_FALSE(born->drawDone());
    EXPECT_EQ(born->check(), nullptr);  // the still check
}

TEST(DockFlight, LaunchRuleAndPlacement) {
    const DockFlight flight(QRectF(0, 0, 40, 20), QRectF(200, 100, 10, 10));
    EXPECT_TRUE(DockFlight::adding(flight, {}, true).empty());
    std::vector<DockFlight> three{flight, flight, flight};
    EXPECT_EQ(DockFlight::adding(flight, three, false).size(), 3u);
    EXPECT_EQ(DockFlight::adding(flight, {flight, flight}, false).size(), 3u);

    const DockFlight::Placement half = flight.placement(0.5);
    EXPECT_EQ(half.centre, QPointF((20 + 205) / 2.0, (10 + 105) / 2.0));
    EXPECT_DOUBLE_EQ(half.scale, 0.65);
    EXPECT_DOUBLE_EQ(half.opacity, 1);
    EXPECT_NEAR(flight.placement(0.8).opacity, 0.5, 1e-12);
    const DockFlight::Placement end = flight.placement(1);
    EXPECT_EQ(end.centre, QPointF(205, 105));
    EXPECT_DOUBLE_EQ(end.scale, 0.3);
    EXPECT_DOUBLE_EQ(end.opacity, 0);

    const DockFlight back(QRectF(0, 0, 40, 20), QRectF(200, 100, 10, 10), QString(), true);
    EXPECT_EQ(back.placement(0).centre, QPointF(205, 105));
    EXPECT_DOUBLE_EQ(back.placement(0).scale, 0.3);
    EXPECT_DOUBLE_EQ(back.placement(1).scale, 1);
    EXPECT_DOUBLE_EQ(back.placement(1).opacity, 1);
    EXPECT_NE(DockFlight(QRectF(), QRectF()).id, DockFlight(QRectF(), QRectF()).id);
}

using DockFlightsTest = DesignFixture;

TEST_F(DockFlightsTest, FlightsLandAndLeaveUnlessFrozen) {
    QWidget host;
    QList<QSizeF> faceSizes;
    auto* overlay = new DockFlightsOverlay([&](QPainter&, const DockFlight&, const QRectF& r) { faceSizes << r.size(); }, &host);
    overlay->resize(300, 200);
    EXPECT_TRUE(overlay->launch(DockFlight(QRectF(0, 0, 40, 20), QRectF(200, 100, 10, 10))));
    EXPECT_EQ(overlay->flights().size(), 1u);
    advance(3);
    EXPECT_TRUE(overlay->flights().empty());

    overlay->setFrozen(0.25);
    overlay->launch(DockFlight(QRectF(0, 0, 40, 20), QRectF(200, 100, 10, 10)));
    advance(3);
    ASSERT_EQ(overlay->flights().size(), 1u);
    EXPECT_DOUBLE_EQ(overlay->progress(overlay->flights()[0].id), 0.25);
    QImage canvas(300, 200, QImage::Format_ARGB32_Premultiplied);
    overlay->render(&canvas);
    ASSERT_FALSE(faceSizes.isEmpty());
    EXPECT_EQ(faceSizes.last(), QSizeF(40, 20));  // the face keeps the size of `from`

    QWidget reduced;
    Environment::setReduceMotionOverride(&reduced, true);
    DockFlightsOverlay still({}, &reduced);
    EXPECT_FALSE(still.launch(DockFlight(QRectF(0, 0, 4, 4), QRectF(9, 9, 4, 4))));
}

TEST(Symbols, EveryNamedSymbolDrawsAndUnknownNamesDrawNothing) {
    for (const char* name : {"checkmark", "exclamationmark.triangle.fill", "text.viewfinder", "key.fill", "ellipsis",
                             "xmark.circle.fill", "doc.on.clipboard", "magnifyingglass", "rectangle.dashed"}) {
        ASSERT_TRUE(Symbols::has(QLatin1String(name))) << name;
        const QImage picture = Symbols::image(QLatin1String(name), 24, QColor(200, 0, 0));
        ASSERT_FALSE(picture.isNull());
        int inked = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (picture.pixelColor(x, y).alpha() > 128) {
                    ++inked;
                    EXPECT_GT(picture.pixelColor(x, y).red(), 190);  // tinted, not black
                }
        EXPECT_GT(inked, 10) << name;
    }
    EXPECT_FALSE(Symbols::has(QStringLiteral("no.such.symbol")));
    EXPECT_TRUE(Symbols::image(QStringLiteral("no.such.symbol"), 24, Qt::black).isNull());
    QImage canvas(10, 10, QImage::Format_ARGB32);
    QPainter painter(&canvas);
    EXPECT_FALSE(Symbols::paint(painter, QStringLiteral("no.such.symbol"), QRectF(0, 0, 10, 10), Qt::black));
}

}  // namespace

namespace {

TEST_F(CheckShimmerTest, CheckMarkGoesDownIntoItsNotchThenUp) {
    CheckDrawView view(colors(), false);
    view.resize(20, 20);
    const auto points = view.checkPoints();
    // Drawn y-down: the notch is the lowest point, the right arm ends highest.
    EXPECT_GT(points[1].y(), points[0].y());
    EXPECT_LT(points[2].y(), points[0].y());
    EXPECT_LT(points[0].x(), points[1].x());
    EXPECT_LT(points[1].x(), points[2].x());
    EXPECT_NEAR(points[1].x(), 0.44 * 20, 1e-9);
    EXPECT_NEAR(points[1].y(), (1 - 0.37) * 20, 1e-9);
}

}  // namespace

namespace {

using DecorationAccessibilityTest = DesignFixture;

// Every element below `node` that assistive technology could reach.
void collect(QAccessibleInterface* node, std::vector<QAccessibleInterface*>& into) {
    for (int i = 0; i < node->childCount(); ++i) {
        if (QAccessibleInterface* child = node->child(i)) {
            into.push_back(child);
            collect(child, into);
        }
    }
}

TEST_F(DecorationAccessibilityTest, AnimatedPiecesAreOutOfTheTreeAndOnlyTheControlsRemain) {
    QWidget window;
    window.resize(400, 200);
    auto* button = new QPushButton(QStringLiteral("Stop"), &window);
    // Moving forms (with their layer views) and still ones, inside a control as the sidebar has them.
    std::vector<QWidget*> pieces{new PulseDot(8, button),
                                 new TurningRing(Ink::primary(), 2, 1, &window),
                                 new FlowDashes(QPointF(0, 0.5), QPointF(1, 0.5), Ink::primary(), 0.6, 3, &window),
                                 new CheckDraw(24, &window),
                                 new StateSymbol(StateFace::of(StateFace::Kind::working), 24, 1, &window),
                                 new DockFlightsOverlay({}, &window)};
    window.show();
    for (QWidget* piece : pieces) {
        QAccessibleInterface* seen = QAccessible::queryAccessibleInterface(piece);
        ASSERT_NE(seen, nullptr);
        EXPECT_TRUE(seen->state().invisible) << piece->metaObject()->className();
        EXPECT_EQ(seen->childCount(), 0) << piece->metaObject()->className();
        EXPECT_EQ(seen->role(), QAccessible::NoRole) << piece->metaObject()->className();
    }
    // Walking down from the window reaches the button alone, as the desktop's bridge would.
    std::vector<QAccessibleInterface*> reached;
    collect(QAccessible::queryAccessibleInterface(&window), reached);
    ASSERT_EQ(reached.size(), 1u);
    EXPECT_EQ(reached[0]->object(), button);
    EXPECT_EQ(reached[0]->text(QAccessible::Name), QStringLiteral("Stop"));
}

}  // namespace
