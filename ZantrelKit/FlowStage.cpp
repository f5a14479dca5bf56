#include "ZantrelKit/FlowStage.h"

namespace ZantrelKit {

std::optional<FlowStage> after(FlowStage stage, FlowMove move) {
    using enum FlowMove;
    switch (stage) {
    case FlowStage::start:
        if (move == scan)
            return FlowStage::scanning;
        break;
    case FlowStage::scanning:
        // A stopped scan still shows what it found.
        if (move == finish || move == stop)
            return FlowStage::results;
        break;
    case FlowStage::results:
        if (move == scan)
            return FlowStage::scanning;
        if (move == review)
            return FlowStage::review;
        if (move == startOver)
            return FlowStage::start;
        break;
    case FlowStage::review:
        if (move == back)
            return FlowStage::results;
        if (move == run)
            return FlowStage::working;
        break;
    case FlowStage::working:
        if (move == finish || move == stop)
            return FlowStage::done;
        break;
    case FlowStage::done:
        if (move == back || move == next)
            return FlowStage::results;
        break;
    }
    return std::nullopt;
}

}  // namespace ZantrelKit
