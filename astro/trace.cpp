#include "astro/trace.h"

#include <cstdarg>

namespace orvano {

namespace {

std::string VFormat(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length <= 0) return {};
    std::string text(static_cast<size_t>(length), '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, args);
    return text;
}

}  // namespace

void FileTraceSink::Write(std::string_view text) {
    if (file_ != nullptr) std::fwrite(text.data(), 1, text.size(), file_);
}

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = VFormat(format, args);
    va_end(args);
    return text;
}

void Trace::Printf(const char* format, ...) const {
    if (!on()) return;
    va_list args;
    va_start(args, format);
    sink->Write(VFormat(format, args));
    va_end(args);
}

}  // namespace orvano
