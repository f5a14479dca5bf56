#pragma once

// Every design test runs on a manual motion clock and a desktop that says nothing, so the
// results never depend on the machine's settings or on real time.

#include "ZantrelUI/context/DesktopSettings.h"
#include "ZantrelUI/design/MotionClock.h"

#include <gtest/gtest.h>

namespace DesignTest {

class DesignFixture : public ::testing::Test {
protected:
    DesignFixture() : scoped_(clock_) {
        auto& desktop = ZantrelUI::DesktopSettings::shared();
        desktop.setPrefersDark(false);
        desktop.setAnimationsEnabled(true);
        desktop.setReduceTransparency(false);
    }
    ~DesignFixture() override { ZantrelUI::DesktopSettings::shared().setPrefersDark(std::nullopt); }

    void advance(double seconds) { clock_.advance(seconds); }

    ZantrelUI::ManualMotionClock clock_;

private:
    ZantrelUI::ScopedMotionClock scoped_;
};

}  // namespace DesignTest
