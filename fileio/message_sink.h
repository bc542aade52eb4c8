// Where the program reports what the user must see: the window and the Today
// strip show a box, orvano-cli prints a line on standard error. The
// configuration code reports through it too, so it lives below the platform.
#pragma once

#include <string>

namespace orvano {

class MessageSink {
  public:
    virtual ~MessageSink() = default;
    // Texts are UTF-8. Returns when the user has dismissed the message (a box
    // with a single OK button; owned by the program's main window when it has one).
    virtual void Show(const std::string& text, const std::string& caption) = 0;
    // A question with Yes and No buttons; true for Yes. Where nobody can
    // answer (a console, the strip), the cautious answer: No.
    virtual bool AskYesNo(const std::string& text, const std::string& caption) {
        (void)text;
        (void)caption;
        return false;
    }
};

}  // namespace orvano
