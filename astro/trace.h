// The verbose report of the computations goes to a sink passed in by the
// caller (standard output in the application and the command-line tool,
// nothing in the plug-in).
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace orvano {

class TraceSink {
  public:
    virtual ~TraceSink() = default;
    virtual void Write(std::string_view text) = 0;
};

class FileTraceSink final : public TraceSink {
  public:
    explicit FileTraceSink(std::FILE* file) : file_(file) {}
    void Write(std::string_view text) override;

  private:
    std::FILE* file_;
};

class StringTraceSink final : public TraceSink {
  public:
    void Write(std::string_view text) override { text_.append(text); }
    const std::string& text() const { return text_; }
    void clear() { text_.clear(); }

  private:
    std::string text_;
};

// printf-style formatting into a std::string, whatever the length. Numbers
// are written as in the "C" locale whatever the process's LC_NUMERIC (Qt sets
// the user's), so every text and file keeps a decimal point.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A name from a file as it may be printed on a terminal: control characters
// (C0, DEL, and C1 written in UTF-8) become "\xNN", so that no data.cfg can
// drive the terminal. Everything else is kept byte for byte.
std::string PrintableText(std::string_view text);

// The Verbose switch together with where its lines go.
struct Trace {
    int verbose = 0;
    TraceSink* sink = nullptr;

    bool on() const { return verbose != 0 && sink != nullptr; }
    void Printf(const char* format, ...) const __attribute__((format(printf, 2, 3)));
};

}  // namespace orvano
