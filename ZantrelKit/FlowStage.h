#pragma once

// The stages of the family's batch-work screens (scan, look at the results, review, run,
// done) and the one transition function between them.

#include <array>
#include <optional>

namespace ZantrelKit {

enum class FlowStage { start, scanning, results, review, working, done };

enum class FlowMove { scan, finish, stop, review, back, run, next, startOver };

inline constexpr std::array<FlowStage, 6> allFlowStages{
    FlowStage::start,   FlowStage::scanning, FlowStage::results,
    FlowStage::review,  FlowStage::working,  FlowStage::done,
};

inline constexpr std::array<FlowMove, 8> allFlowMoves{
    FlowMove::scan, FlowMove::finish, FlowMove::stop, FlowMove::review,
    FlowMove::back, FlowMove::run,    FlowMove::next, FlowMove::startOver,
};

// Where the move leads from the stage, or nothing when it does not apply there (the
// caller then stays where it is).
std::optional<FlowStage> after(FlowStage stage, FlowMove move);

}  // namespace ZantrelKit
