#pragma once

#include "core/quotes/FetchNotifier.h"

// Shows a fetch message the way the program always has: a message box without an owner
// window, which holds the calling (user-interface) thread until the user closes it.
class MessageBoxFetchNotifier final : public FetchNotifier {
public:
    void Show(const FetchMessage& message) override;
};

// The one message box, for a caller that is already on the user-interface thread.
void ShowFetchMessage(const FetchMessage& message);
