#include "app/app.h"
#include "config/reader.h"

namespace orvano {

void ReadApplicationConfig(App& app) {
    const std::string folder = ProgramFolder(app) + "/";
    MessageBoxSink boxes(app.platform.messages);
    ReadDataCfg(DataCfgPath(folder), ReadEchoPath(folder), app.engine.tables, app.engine.place,
                boxes, &app.traceSink);
}

}  // namespace orvano
