#include "ZantrelKit/Onboarding.h"

#include <algorithm>

namespace ZantrelKit {

Onboarding::Outcome Onboarding::advance() {
    if (step_ + 1 < steps_) {
        ++step_;
        return Outcome::moved;
    }
    return Outcome::finished;
}

void Onboarding::back() { step_ = std::max(step_ - 1, 0); }

}  // namespace ZantrelKit
