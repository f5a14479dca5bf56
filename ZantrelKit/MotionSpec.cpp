#include "ZantrelKit/MotionSpec.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

namespace ZantrelKit::MotionSpec {

namespace {

constexpr double reducedCeiling = 0.15;

// The shortest text that reads back as the same double; whole numbers keep ".0".
QString shortest(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    QString text = QString::fromLatin1(buffer, result.ptr - buffer);
    if (!text.contains(QLatin1Char('.')) && !text.contains(QLatin1Char('e')) &&
        !text.contains(QLatin1Char('n')) && !text.contains(QLatin1Char('i')))
        text += QStringLiteral(".0");
    return text;
}

}  // namespace

std::optional<Timing> Timing::reduced() const {
    if (*this == slow)
        return std::nullopt;
    return Timing{std::min(duration, reducedCeiling), Curve::easeInOut()};
}

std::optional<Timing> Spring::reduced() const {
    if (*this == gentle)
        return std::nullopt;
    return Timing{reducedCeiling, Curve::easeInOut()};
}

QString Spring::description() const {
    return QStringLiteral("spring(%1, %2)").arg(shortest(response), shortest(damping));
}

double Spring::stiffness(double response) {
    if (!(response > 0))
        return 0;
    const double omega = 2 * std::numbers::pi / response;
    return omega * omega;
}

double Spring::dampingCoefficient(double response, double damping) {
    if (!(response > 0))
        return 0;
    return 4 * std::numbers::pi * damping / response;
}

double stagger(int index) { return std::clamp(index, 0, 6) * 0.03; }

SpringSolver::SpringSolver(double stiffness, double damping, double mass, double initialVelocity)
    : stiffness_(stiffness), damping_(damping), mass_(mass > 0 ? mass : 1), velocity_(initialVelocity),
      settling_(0) {
    if (!(stiffness_ > 0) || !std::isfinite(stiffness_) || !std::isfinite(damping_) || damping_ < 0)
        return;  // a spring that cannot move jumps to its target
    // The position is a sum of decaying exponentials (times a bounded oscillation); walk
    // forward until it stays inside the tolerance for a whole undamped period.
    const double omega0 = std::sqrt(stiffness_ / mass_);
    const double period = 2 * std::numbers::pi / omega0;
    const double dt = period / 200;
    double lastOutside = 0;
    const double limit = 60;  // seconds; no useful spring takes longer
    for (double t = 0; t < limit; t += dt) {
        if (std::abs(rawFraction(t) - 1) > settleTolerance)
            lastOutside = t;
        else if (t - lastOutside > period)
            break;
    }
    settling_ = lastOutside + dt;
}

SpringSolver::SpringSolver(const Spring& spring)
    : SpringSolver(Spring::stiffness(spring.response), Spring::dampingCoefficient(spring.response, spring.damping)) {}

double SpringSolver::rawFraction(double t) const {
    // x(t) is the displacement from the target, starting at −1 with velocity v0.
    const double omega0 = std::sqrt(stiffness_ / mass_);
    const double zeta = damping_ / (2 * std::sqrt(stiffness_ * mass_));
    const double x0 = -1;
    const double v0 = velocity_;
    double x;
    if (zeta < 1) {
        const double omegaD = omega0 * std::sqrt(1 - zeta * zeta);
        const double envelope = std::exp(-zeta * omega0 * t);
        x = envelope * (x0 * std::cos(omegaD * t) + (v0 + zeta * omega0 * x0) / omegaD * std::sin(omegaD * t));
    } else if (zeta == 1) {
        x = std::exp(-omega0 * t) * (x0 + (v0 + omega0 * x0) * t);
    } else {
        const double root = omega0 * std::sqrt(zeta * zeta - 1);
        const double r1 = -zeta * omega0 + root;
        const double r2 = -zeta * omega0 - root;
        const double c2 = (v0 - r1 * x0) / (r2 - r1);
        const double c1 = x0 - c2;
        x = c1 * std::exp(r1 * t) + c2 * std::exp(r2 * t);
    }
    return 1 + x;
}

double SpringSolver::fraction(double seconds) const {
    if (settling_ <= 0 || seconds >= settling_)
        return 1;
    if (seconds <= 0)
        return 0;
    return rawFraction(seconds);
}

double SpringSolver::settlingDuration() const { return settling_; }

}  // namespace ZantrelKit::MotionSpec
