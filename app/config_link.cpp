#include "app/app.h"
#include "config/methods.h"
#include "config/reader.h"
#include "platform/user_files.h"

namespace orvano {

void ReadApplicationConfig(App& app) {
    ReadDataCfg(app.files.dataCfg, app.files.readEcho, app.engine.tables, app.engine.place,
                app.platform.messages, &app.traceSink);
    // A town's "8 method" line is computed with the catalogue's method.
    app.engine.methods = ReadMethodConventions(MethodFoldersOf(app.files.installedFolder));
}

}  // namespace orvano
