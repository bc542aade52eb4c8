#include "app/app.h"
#include "config/reader.h"

namespace orvano {

namespace {

// The reader's messages become the window's message boxes.
class MessageBoxSink final : public MessageSink {
  public:
    explicit MessageBoxSink(MessageBoxes& boxes) : boxes_(boxes) {}
    void Show(const std::string& text, const std::string& caption) override {
        boxes_.ShowOk(text, caption);
    }

  private:
    MessageBoxes& boxes_;
};

}  // namespace

void ReadApplicationConfig(App& app) {
    const std::string folder = ProgramFolder(app) + "/";
    MessageBoxSink boxes(app.platform.messages);
    ReadDataCfg(DataCfgPath(folder), ReadEchoPath(folder), app.engine.tables, app.engine.place,
                boxes, &app.traceSink);
}

}  // namespace orvano
