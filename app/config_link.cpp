#include "app/app.h"
#include "config/reader.h"

namespace orvano {

void ReadApplicationConfig(App& app) {
    ReadDataCfg(app.files.dataCfg, app.files.readEcho, app.engine.tables, app.engine.place,
                app.platform.messages, &app.traceSink);
}

}  // namespace orvano
