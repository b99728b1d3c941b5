#pragma once

#include "core/quotes/FetchNotifier.h"

class UpdateWorkerLink;

// The automatic update worker's fetch messages: shown by the user-interface thread, while
// the worker waits until the user has closed the box (or the worker is stopped).
class WorkerFetchNotifier final : public FetchNotifier {
public:
    explicit WorkerFetchNotifier(UpdateWorkerLink& link) : m_link(link) {}

    void Show(const FetchMessage& message) override;

private:
    UpdateWorkerLink& m_link;
};
