// The recording double of the message sink: the configuration's tests and the
// platform's share it, so it needs nothing but the configuration layer.
#pragma once

#include <string>
#include <vector>

#include "fileio/message_sink.h"

namespace orvano::testing {

class RecordingMessageSink final : public MessageSink {
  public:
    struct Shown {
        std::string text;
        std::string caption;
        friend bool operator==(const Shown&, const Shown&) = default;
    };
    std::vector<Shown> shown;

    void Show(const std::string& text, const std::string& caption) override {
        shown.push_back({text, caption});
    }

    // Questions asked, and the answers to give in turn (No once they run out).
    std::vector<Shown> asked;
    std::vector<bool> answers;
    bool AskYesNo(const std::string& text, const std::string& caption) override {
        asked.push_back({text, caption});
        if (answers.empty()) return false;
        const bool answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
};

}  // namespace orvano::testing
