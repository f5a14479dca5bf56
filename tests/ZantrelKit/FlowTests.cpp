#include "ZantrelKit/FlowStage.h"
#include "ZantrelKit/Onboarding.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

using namespace ZantrelKit;

namespace {

TEST(FlowStage, EveryPairFollowsTheTransitionTable) {
    using enum FlowStage;
    using M = FlowMove;
    const std::map<std::pair<FlowStage, FlowMove>, FlowStage> table{
        {{start, M::scan}, scanning},     {{scanning, M::finish}, results}, {{scanning, M::stop}, results},
        {{results, M::scan}, scanning},   {{results, M::review}, review},   {{results, M::startOver}, start},
        {{review, M::back}, results},     {{review, M::run}, working},      {{working, M::finish}, done},
        {{working, M::stop}, done},       {{done, M::back}, results},       {{done, M::next}, results},
    };
    int transitions = 0;
    for (const FlowStage stage : allFlowStages) {
        for (const FlowMove move : allFlowMoves) {
            const auto expected = table.find({stage, move});
            const std::optional<FlowStage> next = after(stage, move);
            if (expected == table.end()) {
                EXPECT_FALSE(next) << int(stage) << " / " << int(move);
            } else {
                EXPECT_EQ(next, expected->second) << int(stage) << " / " << int(move);
                ++transitions;
            }
        }
    }
    EXPECT_EQ(transitions, 12);
    EXPECT_FALSE(after(start, M::startOver));
    EXPECT_FALSE(after(done, M::startOver));
}

TEST(Onboarding, ThreeStepsMoveTwiceThenFinishInPlace) {
    Onboarding onboarding(3);
    EXPECT_EQ(onboarding.step(), 0);
    EXPECT_EQ(onboarding.advance(), Onboarding::Outcome::moved);
    EXPECT_EQ(onboarding.step(), 1);
    EXPECT_EQ(onboarding.advance(), Onboarding::Outcome::moved);
    EXPECT_EQ(onboarding.step(), 2);
    EXPECT_EQ(onboarding.advance(), Onboarding::Outcome::finished);
    EXPECT_EQ(onboarding.step(), 2);
    onboarding.back();
    EXPECT_EQ(onboarding.step(), 1);
    onboarding.back();
    onboarding.back();
    EXPECT_EQ(onboarding.step(), 0);
}

TEST(Onboarding, OneOrNoStepsFinishAtOnce) {
    for (const int steps : {1, 0, -2}) {
        Onboarding onboarding(steps);
        EXPECT_EQ(onboarding.advance(), Onboarding::Outcome::finished) << steps;
        EXPECT_EQ(onboarding.step(), 0) << steps;
        EXPECT_EQ(onboarding, Onboarding(steps));
    }
}

}  // namespace
