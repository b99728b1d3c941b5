#pragma once

#include <vector>

#include "core/quotes/FetchNotifier.h"

// Keeps every fetch message in the order it was shown.
class RecordingFetchNotifier final : public FetchNotifier {
public:
    void Show(const FetchMessage& message) override { messages.push_back(message); }

    std::vector<FetchMessage> messages;
};
