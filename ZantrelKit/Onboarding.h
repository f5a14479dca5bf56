#pragma once

// The step counter of a first-run window: how many steps, which one is shown, and
// whether a step forward moved on or finished the run.

namespace ZantrelKit {

class Onboarding {
public:
    enum class Outcome { moved, finished };

    explicit Onboarding(int steps) : steps_(steps) {}
    // Resuming a run at a step (never before the first).
    Onboarding(int steps, int step) : steps_(steps), step_(step < 0 ? 0 : step) {}

    int steps() const { return steps_; }
    int step() const { return step_; }

    // On to the next step; on the last one the step stays and the run is finished.
    Outcome advance();
    // Back one step, never before the first.
    void back();

    friend bool operator==(const Onboarding&, const Onboarding&) = default;

private:
    int steps_;
    int step_ = 0;
};

}  // namespace ZantrelKit
