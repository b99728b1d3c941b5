#include "core/figures/UpdateWorkerSwitch.h"

#include <gtest/gtest.h>

#include <string>

#include "core/settings/Settings.h"

namespace {

class RecordingWorker final : public UpdateWorkerControl {
public:
    bool Start() override {
        calls += "start ";
        return startWorks;
    }
    bool Stop() override {
        calls += "stop ";
        return true;
    }

    std::string calls;
    bool startWorks = true;
};

TEST(UpdateWorkerSwitchTest, RunsExactlyWhileAutomaticUpdateIsOn) {
    RecordingWorker worker;
    UpdateWorkerSwitch control(worker);
    Settings settings;
    settings.updateInterval = 0;
    control.Apply(settings);
    EXPECT_EQ(worker.calls, "");
    settings.autoUpdate = true;
    control.Apply(settings);
    control.Apply(settings);
    EXPECT_EQ(worker.calls, "start ");
    EXPECT_TRUE(control.Running());
    settings.autoUpdate = false;
    control.Apply(settings);
    EXPECT_EQ(worker.calls, "start stop ");
    EXPECT_FALSE(control.Running());
}

TEST(UpdateWorkerSwitchTest, NewIntervalRestartsARunningWorker) {
    RecordingWorker worker;
    UpdateWorkerSwitch control(worker);
    Settings settings;
    settings.autoUpdate = true;
    settings.updateInterval = 0;
    control.Apply(settings);
    settings.updateInterval = 2;
    control.Apply(settings);
    EXPECT_EQ(worker.calls, "start stop start ");
    EXPECT_TRUE(control.Running());
}

TEST(UpdateWorkerSwitchTest, FailedStartIsTriedAgainAtTheNextPaint) {
    RecordingWorker worker;
    worker.startWorks = false;
    UpdateWorkerSwitch control(worker);
    Settings settings;
    settings.autoUpdate = true;
    settings.updateInterval = 0;
    control.Apply(settings);
    EXPECT_FALSE(control.Running());
    worker.startWorks = true;
    control.Apply(settings);
    EXPECT_TRUE(control.Running());
    EXPECT_EQ(worker.calls, "start start ");
}

}  // namespace
