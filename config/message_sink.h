// Where the configuration code reports what the user must see: the application
// shows a box with an OK button, orvano-cli prints a line on standard error.
#pragma once

#include <string>

namespace orvano {

class MessageSink {
  public:
    virtual ~MessageSink() = default;
    // Texts are UTF-8. Returns when the user has dismissed the message.
    virtual void Show(const std::string& text, const std::string& caption) = 0;
};

}  // namespace orvano
