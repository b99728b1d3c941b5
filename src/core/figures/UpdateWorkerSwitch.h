#pragma once

struct Settings;

// What the view needs of the automatic update worker: start it (create it if needed and
// let it run) and stop it. Each returns false when the thread could not be switched; the
// view then keeps its state and tries again the next time it computes its figures.
class UpdateWorkerControl {
public:
    virtual ~UpdateWorkerControl() = default;
    virtual bool Start() = 0;
    virtual bool Stop() = 0;
};

// Stands in until the automatic update worker exists: switching always succeeds and
// nothing runs.
class NoUpdateWorker final : public UpdateWorkerControl {
public:
    bool Start() override { return true; }
    bool Stop() override { return true; }
};

// The last step of the view's figures, computed on every change and every second: starts,
// stops or restarts the worker so that it runs exactly while automatic update is on, and
// restarts it when the interval changed.
class UpdateWorkerSwitch {
public:
    explicit UpdateWorkerSwitch(UpdateWorkerControl& worker) : m_worker(worker) {}

    void Apply(const Settings& settings);
    bool Running() const { return m_running; }

private:
    void Start();
    void Stop();

    UpdateWorkerControl& m_worker;
    bool m_running = false;
    int m_intervalSeen = 0;
};
