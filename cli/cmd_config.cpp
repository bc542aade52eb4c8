// orvano-cli read and resave.
#include <cstdio>

#include "cli/options.h"
#include "config/reader.h"
#include "config/writer.h"

namespace orvano::cli {

namespace {

// Each message box becomes one line "<caption>: <text>" on standard error.
class StderrBoxes final : public MessageSink {
  public:
    void Show(const std::string& text, const std::string& caption) override {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    }
};

std::string ConfigPath(const Options& options) {
    return options.get("config").value_or(DataCfgPath(ProgramFolder()));
}

// As the application's start-up reads: Verbose set first, the console lines on
// standard output, the transcription beside the file.
int RunRead(const Options& options) {
    const std::string path = ConfigPath(options);
    EngineState state;
    state.tables.Verbose = 1;
    StderrBoxes boxes;
    FileTraceSink console(stdout);
    const int result =
        ReadDataCfg(path, ReadEchoBeside(path), state.tables, state.place, boxes, &console);
    return result == kReadOk ? 0 : 1;
}

// The tables are written back only when they were read whole.
int RunResave(const Options& options) {
    const std::string path = ConfigPath(options);
    EngineState state;
    StderrBoxes boxes;
    FileTraceSink console(stdout);
    if (ReadDataCfg(path, "", state.tables, state.place, boxes, &console) != kReadOk) return 1;
    return WriteDataCfg(path, state.tables, boxes) ? 0 : 1;
}

}  // namespace

Command ReadCommand() {
    return {"read",
            "Read data.cfg as the window does and write its transcription",
            {PlaceOptions().front()},
            RunRead};
}

Command ResaveCommand() {
    return {"resave",
            "Read data.cfg and write it back as the window saves it",
            {PlaceOptions().front()},
            RunResave};
}

}  // namespace orvano::cli
