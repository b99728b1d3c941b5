#include "core/figures/UpdateWorkerSwitch.h"

#include "core/settings/Settings.h"

void UpdateWorkerSwitch::Apply(const Settings& settings) {
    if (settings.autoUpdate && !m_running) {
        Start();
    }
    if (!settings.autoUpdate && m_running) {
        Stop();
    }
    if (settings.updateInterval != m_intervalSeen) {
        m_intervalSeen = settings.updateInterval;
        // A new interval takes effect at once, with a fresh first cycle.
        if (settings.autoUpdate) {
            Stop();
            Start();
        }
    }
}

void UpdateWorkerSwitch::Start() {
    if (m_worker.Start()) {
        m_running = true;
    }
}

void UpdateWorkerSwitch::Stop() {
    if (m_worker.Stop()) {
        m_running = false;
    }
}
