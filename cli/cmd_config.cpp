// orvano-cli read and resave.
#include <cstdio>

#include "cli/options.h"
#include "config/grammar.h"
#include "config/reader.h"
#include "config/writer.h"
#include "language/messages.h"

namespace orvano::cli {

namespace {

// Each message box becomes one line "<caption>: <text>" on standard error.
class StderrBoxes final : public MessageSink {
  public:
    void Show(const std::string& text, const std::string& caption) override {
        std::fprintf(stderr, "%s\n", MessageLine(text, caption, openReason).c_str());
    }
    std::string openReason;
};

// The reader's console: the place lines are the command's output, its error
// line an error.
class ReaderConsole final : public TraceSink {
  public:
    void Write(std::string_view text) override {
        std::FILE* to = text == kConsoleTownOutOfRange ? stderr : stdout;
        std::fwrite(text.data(), 1, text.size(), to);
    }
};

// As the application's start-up reads: Verbose set first, the console lines on
// standard output. The transcription always goes to the user's state folder,
// never beside a file given with --config (where it would replace whatever
// carries that name), and only when the read succeeds.
int RunRead(const Options& options) {
    const std::string path = ConfigOption(options);
    EngineState state;
    state.tables.Verbose = 1;
    StderrBoxes boxes;
    ReaderConsole console;
    const int result = ReadDataCfgWholly(path, DefaultReadEchoPath(), state.tables, state.place,
                                         boxes, &console, &boxes.openReason);
    return result == kReadOk ? 0 : 1;
}

// The tables are written back only when they were read whole.
int RunResave(const Options& options) {
    const std::string path = ConfigOption(options);
    EngineState state;
    StderrBoxes boxes;
    ReaderConsole console;
    FileLock lock;
    if (!LockDataCfg(lock, path, boxes)) return 1;
    if (ReadDataCfg(path, "", state.tables, state.place, boxes, &console, &boxes.openReason) !=
        kReadOk) {
        return 1;
    }
    return WriteDataCfg(path, state.tables, boxes) ? 0 : 1;
}

}  // namespace

Command ReadCommand() {
    return {"read",
            N_("Read data.cfg as the window does and write its transcription"),
            {PlaceOptions().front()},
            RunRead};
}

Command ResaveCommand() {
    return {"resave",
            N_("Read data.cfg and write it back as the window saves it"),
            {PlaceOptions().front()},
            RunResave};
}

}  // namespace orvano::cli
