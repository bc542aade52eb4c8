#include "app/app.h"
#include "config/methods.h"
#include "config/reader.h"
#include "platform/user_files.h"

namespace orvano {

void ReadApplicationConfig(App& app) {
    ReadDataCfg(app.files.dataCfg, app.files.readEcho, app.engine.tables, app.engine.place,
                app.platform.messages, &app.traceSink, nullptr, &app.dataCfgDigest);
    // A town's "8 method" line is computed with the catalogue's method.
    app.engine.methods = ReadMethodConventions(MethodFoldersOf(app.files.installedFolder));
}

bool ReloadApplicationConfig(App& app) {
    ConfigTables tables;
    CurrentPlace place;
    std::uint64_t digest = kUnreadableDigest;
    if (ReadDataCfg(app.files.dataCfg, app.files.readEcho, tables, place, app.platform.messages,
                    &app.traceSink, nullptr, &digest) != kReadOk) {
        return false;
    }
    tables.Verbose = 0;  // as after the start-up read
    app.engine.tables = std::move(tables);
    app.engine.place = place;
    app.dataCfgDigest = digest;
    return true;
}

}  // namespace orvano
