#include "ZantrelKit/MotionSpec.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace ZantrelKit::MotionSpec;

namespace {

TEST(MotionSpec, TimingsReduceToShortEaseInOutExceptSlow) {
    EXPECT_EQ(slow.reduced(), std::nullopt);
    EXPECT_EQ((Timing{0.6, Curve::easeIn()}).reduced(), (Timing{0.15, Curve::easeInOut()}));
    EXPECT_EQ(hover.reduced(), (Timing{0.12, Curve::easeInOut()}));
    EXPECT_EQ(glide.reduced(), (Timing{0.15, Curve::easeInOut()}));
    EXPECT_EQ(drift.reduced(), (Timing{0.15, Curve::easeInOut()}));
}

TEST(MotionSpec, SpringsReduceToFixedTimingExceptGentle) {
    EXPECT_EQ(gentle.reduced(), std::nullopt);
    EXPECT_EQ((Spring{0.7, 0.81}).reduced(), (Timing{0.15, Curve::easeInOut()}));
    for (const Spring& spring : {snappy, quick, flightBack, flight})
        EXPECT_EQ(spring.reduced(), (Timing{0.15, Curve::easeInOut()}));
}

TEST(MotionSpec, StaggerClampsTheIndex) {
    EXPECT_DOUBLE_EQ(stagger(-3), 0);
    EXPECT_DOUBLE_EQ(stagger(0), 0);
    EXPECT_DOUBLE_EQ(stagger(3), 0.09);
    EXPECT_DOUBLE_EQ(stagger(6), 0.18);
    EXPECT_DOUBLE_EQ(stagger(40), 0.18);
}

TEST(MotionSpec, DescriptionsAndCurveEquality) {
    EXPECT_EQ(snappy.description(), "spring(0.35, 0.8)");
    EXPECT_EQ((Spring{1, 0.3}).description(), "spring(1.0, 0.3)");
    EXPECT_EQ(Curve::bezier(0.16, 1, 0.3, 1), Curve::bezier(0.16, 1, 0.3, 1));
    EXPECT_NE(Curve::bezier(0.16, 1, 0.3, 1), Curve::bezier(0.16, 1, 0.3, 0.9));
    EXPECT_NE(Curve::bezier(0.16, 1, 0.3, 1), Curve::easeOut());
    EXPECT_NE(Curve::easeIn(), Curve::easeInOut());
    EXPECT_EQ(timings.size(), 8u);
    EXPECT_EQ(timings[3], glide);
    EXPECT_EQ(springs[4], flight);
}

TEST(MotionSpec, SpringPhysicsNumbers) {
    EXPECT_NEAR(Spring::stiffness(0.35), 322.2728, 1e-3);
    EXPECT_NEAR(Spring::dampingCoefficient(0.35, 0.8), 28.7231, 1e-3);
    EXPECT_NEAR(Spring::stiffness(0.3), 438.6491, 1e-3);
    EXPECT_NEAR(Spring::dampingCoefficient(0.3, 0.72), 30.1593, 1e-3);
    // Damping equals 2·d·√k for unit mass.
    EXPECT_NEAR(Spring::dampingCoefficient(0.42, 0.78), 2 * 0.78 * std::sqrt(Spring::stiffness(0.42)), 1e-9);
}

TEST(SpringSolver, MovesFromRestToTargetAndSettles) {
    const SpringSolver solver(snappy);
    EXPECT_DOUBLE_EQ(solver.fraction(0), 0);
    const double settling = solver.settlingDuration();
    EXPECT_GT(settling, 0.3);
    EXPECT_LT(settling, 1.5);
    EXPECT_DOUBLE_EQ(solver.fraction(settling), 1);
    // Underdamped: it overshoots once on the way.
    double peak = 0;
    for (double t = 0; t < settling; t += 0.005)
        peak = std::max(peak, solver.fraction(t));
    EXPECT_GT(peak, 1.0);
    EXPECT_LT(peak, 1.05);
    // Past settling nothing moves visibly.
    for (double t = settling * 0.999; t < settling; t += 0.0001)
        EXPECT_NEAR(solver.fraction(t), 1, SpringSolver::settleTolerance * 1.01);
}

TEST(SpringSolver, CriticalAndOverdampedSpringsNeverOvershoot) {
    for (const double damping : {1.0, 1.6}) {
        const SpringSolver solver(Spring::stiffness(0.4), Spring::dampingCoefficient(0.4, damping));
        double last = 0;
        for (double t = 0; t < solver.settlingDuration(); t += 0.002) {
            const double f = solver.fraction(t);
            EXPECT_LE(f, 1.0 + 1e-12);
            EXPECT_GE(f, last - 1e-12);
            last = f;
        }
    }
    EXPECT_GT(SpringSolver(Spring::stiffness(0.4), Spring::dampingCoefficient(0.4, 1.6)).settlingDuration(),
              SpringSolver(Spring::stiffness(0.4), Spring::dampingCoefficient(0.4, 1.0)).settlingDuration());
}

TEST(SpringSolver, NonPositiveResponseJumpsInsteadOfDividingByZero) {
    EXPECT_EQ(Spring::stiffness(0), 0);
    EXPECT_EQ(Spring::stiffness(-1), 0);
    EXPECT_EQ(Spring::dampingCoefficient(0, 0.8), 0);
    const SpringSolver solver(Spring{0, 0.8});
    EXPECT_EQ(solver.settlingDuration(), 0);
    EXPECT_EQ(solver.fraction(0), 1);
    EXPECT_EQ(solver.fraction(0.5), 1);
    EXPECT_FALSE(std::isnan(SpringSolver(Spring{std::nan(""), 0.8}).fraction(0.1)));
}

}  // namespace
