#include "app/app.h"
#include "config/reader.h"

namespace orvano {

void ReadApplicationConfig(App& app) {
    MessageBoxSink boxes(app.platform.messages);
    ReadDataCfg(app.files.dataCfg, app.files.readEcho, app.engine.tables, app.engine.place, boxes,
                &app.traceSink);
}

}  // namespace orvano
