#include "tests/ZantrelUI/DesignFixture.h"

#include "ZantrelUI/design/Motion.h"
#include "ZantrelUI/design/MotionLayer.h"

using namespace ZantrelUI;
namespace MS = ZantrelKit::MotionSpec;
using DesignTest::DesignFixture;

namespace {

using MotionTest = DesignFixture;

Motion::Animation easeInOut(double seconds) { return Motion::plainAnimation(MS::Timing{seconds, MS::Curve::easeInOut()}); }

TEST_F(MotionTest, ReducedFormsOfTheSharedAnimations) {
    EXPECT_EQ(Motion::animation(MS::slow, true), std::nullopt);
    EXPECT_EQ(Motion::animation(MS::step, true), easeInOut(0.15));
    EXPECT_EQ(Motion::animation(MS::hover, true), easeInOut(0.12));
    EXPECT_EQ(Motion::animation(MS::glide, false), Motion::glide());
    EXPECT_EQ(Motion::optionalSpring(MS::gentle, true), std::nullopt);
    EXPECT_EQ(Motion::spring(MS::gentle, true), easeInOut(0.15));
    for (const MS::Spring& spring : {MS::snappy, MS::quick, MS::flightBack, MS::flight}) {
        EXPECT_EQ(Motion::spring(spring, true), easeInOut(0.15));
        EXPECT_EQ(Motion::optionalSpring(spring, true), easeInOut(0.15));
    }
    EXPECT_EQ(Motion::spring(MS::snappy, false), Motion::snappy());
    EXPECT_EQ(Motion::snappy().kind, Motion::Animation::Kind::spring);
    EXPECT_DOUBLE_EQ(Motion::flight().dampingFraction, 0.9);
}

TEST_F(MotionTest, TimingFunctionsAndLayerSprings) {
    const TimingFunction bezier = Motion::timingFunction(MS::glide.curve);
    EXPECT_EQ(bezier.x1, 0.16f);
    EXPECT_EQ(bezier.y1, 1.0f);
    EXPECT_EQ(bezier.x2, 0.3f);
    EXPECT_EQ(bezier.y2, 1.0f);
    EXPECT_EQ(Motion::timingFunction(MS::Curve::easeIn()), TimingFunction::easeIn());
    EXPECT_EQ(Motion::timingFunction(MS::Curve::easeInOut()), TimingFunction::easeInEaseOut());
    // Ease-out is ahead of linear at the midpoint, ease-in behind.
    EXPECT_GT(TimingFunction::easeOut()(0.5), 0.5);
    EXPECT_LT(TimingFunction::easeIn()(0.5), 0.5);
    EXPECT_NEAR(TimingFunction::easeInEaseOut()(0.5), 0.5, 1e-6);
    EXPECT_DOUBLE_EQ(TimingFunction::easeOut()(1), 1);

    const LayerAnimation snappy = Motion::springAnimation(QStringLiteral("transform"), MS::snappy);
    EXPECT_EQ(snappy.kind, LayerAnimation::Kind::spring);
    EXPECT_EQ(snappy.mass, 1);
    EXPECT_NEAR(snappy.stiffness, 322.2728, 1e-3);
    EXPECT_NEAR(snappy.damping, 28.7231, 1e-3);
    EXPECT_DOUBLE_EQ(snappy.duration, MS::SpringSolver(MS::snappy).settlingDuration());
    const LayerAnimation quick = Motion::springAnimation(QStringLiteral("transform"), MS::quick);
    EXPECT_NEAR(quick.stiffness, 438.6491, 1e-3);
    EXPECT_NEAR(quick.damping, 30.1593, 1e-3);
    EXPECT_NE(quick.duration, snappy.duration);

    const LayerAnimation fade = Motion::basicAnimation(QStringLiteral("opacity"), MS::exit);
    EXPECT_DOUBLE_EQ(fade.duration, 0.2);
    EXPECT_EQ(fade.timing, TimingFunction::easeIn());
}

TEST_F(MotionTest, LayerAnimationsRunOnTheClockAndLeaveWhenDone) {
    MotionLayer layer;
    layer.setValue(QStringLiteral("opacity"), 1.0);
    layer.add(QStringLiteral("fade"), LayerAnimation::basic(QStringLiteral("opacity"), 0.0, 1.0, 0.5));
    EXPECT_DOUBLE_EQ(layer.presentationNumber(QStringLiteral("opacity")), 0);
    advance(0.25);
    EXPECT_NEAR(layer.presentationNumber(QStringLiteral("opacity")), 0.5, 1e-6);
    advance(0.3);
    EXPECT_FALSE(layer.hasAnimation(QStringLiteral("fade")));
    EXPECT_DOUBLE_EQ(layer.presentationNumber(QStringLiteral("opacity")), 1);

    // Kept with fill-forwards: it holds its end value over the model value.
    LayerAnimation out = LayerAnimation::basic(QStringLiteral("opacity"), 1.0, 0.0, 0.2);
    out.fillForwards = true;
    out.removedOnCompletion = false;
    layer.add(QStringLiteral("out"), out);
    advance(1);
    EXPECT_TRUE(layer.hasAnimation(QStringLiteral("out")));
    EXPECT_DOUBLE_EQ(layer.presentationNumber(QStringLiteral("opacity")), 0);

    // A loop that reverses runs without end.
    LayerAnimation pulse = LayerAnimation::basic(QStringLiteral("glow"), 1.0, 0.35, 0.9);
    pulse.autoreverses = true;
    pulse.repeatCount = LayerAnimation::forever;
    layer.add(QStringLiteral("pulse"), pulse);
    advance(0.9);
    EXPECT_NEAR(layer.presentationNumber(QStringLiteral("glow")), 0.35, 0.02);
    advance(0.9);
    EXPECT_NEAR(layer.presentationNumber(QStringLiteral("glow")), 1.0, 0.02);
    advance(100);
    EXPECT_TRUE(layer.hasAnimation(QStringLiteral("pulse")));
}

TEST_F(MotionTest, AnimatedValueFollowsItsAnimationOrJumps) {
    AnimatedValue value(0);
    value.animateTo(1, std::nullopt);
    EXPECT_DOUBLE_EQ(value.value(), 1);
    EXPECT_FALSE(value.isAnimating());
    value.animateTo(0, easeInOut(0.15));
    EXPECT_TRUE(value.isAnimating());
    advance(0.075);
    EXPECT_NEAR(value.value(), 0.5, 0.01);
    advance(0.1);
    EXPECT_FALSE(value.isAnimating());
    EXPECT_DOUBLE_EQ(value.value(), 0);
    // A spring overshoots and then rests on its target.
    value.animateTo(1, Motion::snappy());
    double peak = 0;
    for (int i = 0; i < 120; ++i) {
        advance(1.0 / 120);
        peak = std::max(peak, value.value());
    }
    EXPECT_GT(peak, 1.0);
    advance(2);
    EXPECT_DOUBLE_EQ(value.value(), 1);
}

}  // namespace

namespace {

TEST_F(MotionTest, DelaysGroupsAndFittedSpringsKeepTheirTimes) {
    MotionLayer layer;
    LayerAnimation later = LayerAnimation::basic(QStringLiteral("x"), 0.0, 10.0, 0.2);
    later.delay = 0.1;
    layer.add(QStringLiteral("later"), later);
    advance(0.05);
    EXPECT_DOUBLE_EQ(layer.presentationNumber(QStringLiteral("x")), 0);  // the model value until it starts
    EXPECT_TRUE(layer.hasAnimation(QStringLiteral("later")));
    advance(0.15);
    EXPECT_NEAR(layer.presentationNumber(QStringLiteral("x")), 5, 1e-6);

    LayerAnimation fitted = Motion::springAnimation(QStringLiteral("s"), MS::quick);
    fitted.from = 1.0;
    fitted.to = 2.0;
    fitted.duration = 0.1;
    fitted.fitsDuration = true;
    layer.add(QStringLiteral("fitted"), fitted);
    EXPECT_DOUBLE_EQ(layer.animation(QStringLiteral("fitted"))->duration, 0.1);
    advance(0.11);
    EXPECT_FALSE(layer.hasAnimation(QStringLiteral("fitted")));

    LayerAnimation group = LayerAnimation::group({LayerAnimation::basic(QStringLiteral("a"), 0.0, 1.0, 1.0),
                                                  LayerAnimation::basic(QStringLiteral("b"), 2.0, 4.0, 1.0)},
                                                 1.0);
    group.autoreverses = true;
    group.repeatCount = LayerAnimation::forever;
    layer.add(QStringLiteral("group"), group);
    advance(0.5);
    EXPECT_NEAR(layer.presentationNumber(QStringLiteral("a")), 0.5, 0.02);
    EXPECT_NEAR(layer.presentationNumber(QStringLiteral("b")), 3.0, 0.04);
    advance(1.0);  // on the way back
    EXPECT_NEAR(layer.presentationNumber(QStringLiteral("a")), 0.5, 0.02);
    EXPECT_FALSE(layer.animation(QStringLiteral("group"))->drives(QStringLiteral("c")));
}

TEST_F(MotionTest, ClockTimersRespectTheirGuardAndCancellation) {
    int fired = 0;
    auto guard = std::make_unique<QObject>();
    clock_.schedule(0.5, guard.get(), [&] { ++fired; });
    const auto cancelled = clock_.schedule(0.5, nullptr, [&] { fired += 10; });
    clock_.schedule(0.2, nullptr, [&] { fired += 100; });
    clock_.cancel(cancelled);
    advance(0.3);
    EXPECT_EQ(fired, 100);
    guard.reset();  // gone before its time: the action is dropped
    advance(1);
    EXPECT_EQ(fired, 100);
    EXPECT_EQ(clock_.pendingTimers(), 0u);
}

}  // namespace
