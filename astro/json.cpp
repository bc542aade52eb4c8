#include "astro/json.h"

#include <cmath>
#include <cstdio>

#include "astro/trace.h"

namespace orvano {

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    out += Format("\\u%04x", c);
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

std::string JsonNumber(double value) {
    // JSON has no NaN or infinity; null says "no number" honestly.
    if (!std::isfinite(value)) return "null";
    return Format("%.17g", value);
}

void JsonObject::key(const std::string& name) {
    if (!body_.empty()) body_ += ",";
    body_ += JsonString(name) + ":";
}

JsonObject& JsonObject::add(const std::string& name, double value) {
    key(name);
    body_ += JsonNumber(value);
    return *this;
}

JsonObject& JsonObject::add(const std::string& name, int value) {
    key(name);
    body_ += std::to_string(value);
    return *this;
}

JsonObject& JsonObject::add(const std::string& name, bool value) {
    key(name);
    body_ += value ? "true" : "false";
    return *this;
}

JsonObject& JsonObject::add(const std::string& name, const std::string& value) {
    key(name);
    body_ += JsonString(value);
    return *this;
}

JsonObject& JsonObject::addRaw(const std::string& name, const std::string& json) {
    key(name);
    body_ += json;
    return *this;
}

}  // namespace orvano
