// The shared library's entry points: load when the host hands over its
// services, unload as the library's destructor, and the one export that gives
// the entries by number. Everything else in the library is hidden.
#include "config/methods.h"
#include "platform/today_host.h"
#include "platform/today_process.h"
#include "platform/user_files.h"
#include "today/plugin.h"

namespace {

using namespace orvano;

TodayPlugin& Plugin() {
    static TodayPlugin plugin;
    return plugin;
}

// True once the load handler has accepted the load.
bool loaded = false;

std::intptr_t ItemWindowProc(TodayWindow* window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) {
    return PluginWindowProc(Plugin(), window, message, wParam, lParam);
}

TodayWindow* CreateItem(TodayItemDescriptor* descriptor, TodayWindow* parent) {
    return PluginCreateItem(Plugin(), descriptor, parent);
}

std::intptr_t OptionsDialogProc(TodayDialog* dialog, std::uint32_t message, std::uintptr_t wParam,
                                std::intptr_t lParam) {
    return PluginOptionsDialogProc(Plugin(), dialog, message, wParam, lParam);
}

// The host hands its services over once, before anything else; without them
// the item cannot be shown.
bool AttachHost(TodayHostServices* services) {
    if (services == nullptr || loaded) return loaded;
    TodayPlugin& plugin = Plugin();
    plugin.windowProc = ItemWindowProc;
    plugin.getLog = []() -> DiagnosticLog& { return GetLog(); };
    const std::string library = LibraryPathOf(reinterpret_cast<const void*>(&CreateItem));
    UserDataCfg config = PrepareUserDataCfg(InstalledFolderOfPlugin(library) + "/data.cfg");
    if (!config.problem.empty() && services->messages != nullptr) {
        services->messages->Show(config.problem, "orvano-today");
    }
    plugin.configPath = std::move(config.path);
    // A town's "8 method" line is computed with the catalogue's method.
    plugin.item.engine.methods =
        ReadMethodConventions(MethodFoldersOf(InstalledFolderOfPlugin(library)));
    loaded = PluginLoad(plugin, &loaded, library, *services);
    return loaded;
}

__attribute__((destructor)) void ProcessDetach() {
    if (Plugin().services.windows != nullptr) PluginUnload(Plugin());
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void* OrvanoTodayExport(int number) {
    if (number == kExportAttachHost) return reinterpret_cast<void*>(&AttachHost);
    if (!loaded) return nullptr;
    switch (number) {
        case kExportCreateItem:
            return reinterpret_cast<void*>(&CreateItem);
        case kExportOptionsDialog:
            return reinterpret_cast<void*>(&OptionsDialogProc);
        default:
            return nullptr;
    }
}
