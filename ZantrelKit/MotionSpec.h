#pragma once

// The family's motion vocabulary as plain numbers: named timings and springs, their
// reduced-motion forms, the stagger of list entrances, and the physics of a spring.

#include <QString>

#include <array>
#include <optional>
#include <ostream>

namespace ZantrelKit::MotionSpec {

struct Curve {
    enum class Kind { bezier, easeOut, easeIn, easeInOut };

    Kind kind = Kind::easeOut;
    // Control points of a cubic curve through (0, 0) and (1, 1); zero for the named curves.
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;

    static constexpr Curve bezier(double x1, double y1, double x2, double y2) {
        return {Kind::bezier, x1, y1, x2, y2};
    }
    static constexpr Curve easeOut() { return {Kind::easeOut}; }
    static constexpr Curve easeIn() { return {Kind::easeIn}; }
    static constexpr Curve easeInOut() { return {Kind::easeInOut}; }

    // The named curves carry no points, so only a bezier compares its four values.
    friend constexpr bool operator==(const Curve& a, const Curve& b) {
        if (a.kind != b.kind)
            return false;
        return a.kind != Kind::bezier || (a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2);
    }
};

struct Timing {
    double duration = 0;  // seconds
    Curve curve;

    // The form to use under reduced motion; nothing means no animation.
    std::optional<Timing> reduced() const;

    friend constexpr bool operator==(const Timing&, const Timing&) = default;
};

struct Spring {
    double response = 0;  // seconds for one period of the undamped spring
    double damping = 0;   // fraction: 1 is critically damped, lower overshoots

    std::optional<Timing> reduced() const;
    // "spring(0.35, 0.8)"
    QString description() const;

    // For a spring of unit mass. A response of zero or less has no period: both give 0,
    // which the solver below treats as a jump to the target.
    static double stiffness(double response);
    static double dampingCoefficient(double response, double damping);

    friend constexpr bool operator==(const Spring&, const Spring&) = default;
};

inline constexpr Timing hover{0.12, Curve::easeOut()};
inline constexpr Timing brief{0.18, Curve::easeOut()};
inline constexpr Timing step{0.28, Curve::easeInOut()};
inline constexpr Timing glide{0.32, Curve::bezier(0.16, 1, 0.3, 1)};
inline constexpr Timing exit{0.2, Curve::easeIn()};
inline constexpr Timing slow{0.6, Curve::easeOut()};
inline constexpr Timing settle{0.7, Curve::easeOut()};
inline constexpr Timing drift{0.8, Curve::easeInOut()};

inline constexpr Spring snappy{0.35, 0.8};
inline constexpr Spring gentle{0.7, 0.8};
inline constexpr Spring quick{0.3, 0.72};
inline constexpr Spring flightBack{0.42, 0.78};
inline constexpr Spring flight{0.36, 0.9};

inline constexpr std::array<Timing, 8> timings{hover, brief, step, glide, exit, slow, settle, drift};
inline constexpr std::array<Spring, 5> springs{snappy, gentle, quick, flightBack, flight};

// Delay of a list item's entrance: 0.03 s per index, the index clamped to 0…6.
double stagger(int index);

// A damped spring of unit mass moving from 0 to 1 (the fraction of the way between the
// animated values), starting at rest.
class SpringSolver {
public:
    // How close to the target the spring must stay to count as settled.
    static constexpr double settleTolerance = 0.001;

    SpringSolver(double stiffness, double damping, double mass = 1, double initialVelocity = 0);
    explicit SpringSolver(const Spring& spring);

    double stiffness() const { return stiffness_; }
    double damping() const { return damping_; }
    double mass() const { return mass_; }

    // Fraction of the way at `seconds` after the start; 1 once settled.
    double fraction(double seconds) const;
    // Seconds until the spring stays within `settleTolerance` of its target; 0 when
    // the spring cannot move (no stiffness).
    double settlingDuration() const;

private:
    double rawFraction(double seconds) const;

    double stiffness_;
    double damping_;
    double mass_;
    double velocity_;
    double settling_;
};

inline void PrintTo(const Spring& spring, std::ostream* out) { *out << spring.description().toStdString(); }
inline void PrintTo(const Timing& timing, std::ostream* out) {
    *out << "timing(" << timing.duration << ", kind " << static_cast<int>(timing.curve.kind) << ")";
}

}  // namespace ZantrelKit::MotionSpec
