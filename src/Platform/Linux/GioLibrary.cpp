#include "GioLibrary.h"

#include <dlfcn.h>

#include <optional>

namespace {

constexpr const char* soname = "libgio-2.0.so.0";

struct Loaded {
    std::optional<GioLibrary> functions;
    QString whyNot;
};

template <typename Function> bool resolve(void* library, const char* name, Function& into) {
    into = reinterpret_cast<Function>(::dlsym(library, name));
    return into != nullptr;
}

Loaded load() {
    // Kept for the rest of the process: launched programs' reapers and GIO's own threads use it.
    void* library = ::dlopen(soname, RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return {std::nullopt, QStringLiteral("%1 could not be loaded (%2)")
                                  .arg(QLatin1String(soname), QString::fromLocal8Bit(::dlerror()))};
    GioLibrary gio;
    const bool complete =
        resolve(library, "g_object_unref", gio.objectUnref) &&
        resolve(library, "g_desktop_app_info_new_from_filename", gio.appInfoFromFile) &&
        resolve(library, "g_desktop_app_info_get_string", gio.appInfoString) &&
        resolve(library, "g_desktop_app_info_launch_uris_as_manager", gio.launchAsManager) &&
        resolve(library, "g_app_launch_context_new", gio.newLaunchContext) &&
        resolve(library, "g_app_launch_context_setenv", gio.launchContextSetenv) &&
        resolve(library, "g_app_launch_context_unsetenv", gio.launchContextUnsetenv) &&
        resolve(library, "g_app_info_launch_default_for_uri", gio.launchDefaultForUri);
    if (!complete)
        return {std::nullopt,
                QStringLiteral("%1 lacks a function Kestavon needs").arg(QLatin1String(soname))};
    return {gio, {}};
}

} // namespace

const GioLibrary* GioLibrary::get(QString* whyNot) {
    static const Loaded loaded = load();
    if (!loaded.functions && whyNot) *whyNot = loaded.whyNot;
    return loaded.functions ? &*loaded.functions : nullptr;
}
