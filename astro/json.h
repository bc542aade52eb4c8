// A small JSON writer: every double is written with %.17g so it reads back to
// the same bits.
#pragma once

#include <string>
#include <vector>

namespace orvano {

std::string JsonString(const std::string& text);
std::string JsonNumber(double value);

class JsonObject {
  public:
    JsonObject& add(const std::string& key, double value);
    JsonObject& add(const std::string& key, int value);
    JsonObject& add(const std::string& key, bool value);
    JsonObject& add(const std::string& key, const std::string& value);
    JsonObject& add(const std::string& key, const char* value) {
        return add(key, std::string(value));
    }
    // A value already written as JSON (array or object).
    JsonObject& addRaw(const std::string& key, const std::string& json);
    std::string str() const { return "{" + body_ + "}"; }

  private:
    void key(const std::string& name);
    std::string body_;
};

template <typename Range, typename Writer>
std::string JsonArray(const Range& range, Writer writer) {
    std::string out = "[";
    bool first = true;
    for (const auto& item : range) {
        if (!first) out += ",";
        first = false;
        out += writer(item);
    }
    return out + "]";
}

}  // namespace orvano
