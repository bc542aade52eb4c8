// Message boxes with a single OK button that block until dismissed.
#pragma once

#include <string>

namespace orvano {

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // Texts are UTF-8. Owned by the program's main window when it has one.
    virtual void ShowOk(const std::string& text, const std::string& caption) = 0;
    // A question with Yes and No buttons; true for Yes. Where nobody can
    // answer, the cautious answer: No.
    virtual bool AskYesNo(const std::string& text, const std::string& caption) {
        (void)text;
        (void)caption;
        return false;
    }
};

}  // namespace orvano
