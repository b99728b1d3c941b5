#pragma once

#include <string>
#include <string_view>

// A message a failing fetch shows. The desktop program shows it in a message box without
// an owner window, which holds the fetching thread until the user closes it.
struct FetchMessage {
    std::string text;
    std::string caption;
    bool warningIcon = false;  // the exclamation icon; the final error has none

    friend bool operator==(const FetchMessage&, const FetchMessage&) = default;
};

// Captioned with the program's name, which is what the user knows it by.
inline constexpr std::string_view kFetchWarningCaption = "Velmora";
inline constexpr std::string_view kHttpErrorCaption = "Velmora";
inline constexpr std::string_view kHttpErrorText = "Error Occurs on HTTP!";

// Where the fetch warnings go: the core never opens a window itself.
class FetchNotifier {
public:
    virtual ~FetchNotifier() = default;
    virtual void Show(const FetchMessage& message) = 0;
};

// For callers that have nowhere to show anything (and for tests that do not look).
class SilentFetchNotifier final : public FetchNotifier {
public:
    void Show(const FetchMessage& /*message*/) override {}
};
