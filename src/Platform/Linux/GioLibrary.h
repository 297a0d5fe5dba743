#pragma once

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <QString>

/// GIO's launching functions, looked up in the library the first time a program is launched or
/// an address opened. Most runs do neither, and GIO linked in would be loaded and set up at
/// every start, with the half dozen libraries it needs: a megabyte that stays resident.
struct GioLibrary {
    decltype(&g_object_unref) objectUnref = nullptr;
    decltype(&g_desktop_app_info_new_from_filename) appInfoFromFile = nullptr;
    decltype(&g_desktop_app_info_get_string) appInfoString = nullptr;
    decltype(&g_desktop_app_info_launch_uris_as_manager) launchAsManager = nullptr;
    decltype(&g_app_launch_context_new) newLaunchContext = nullptr;
    decltype(&g_app_launch_context_setenv) launchContextSetenv = nullptr;
    decltype(&g_app_launch_context_unsetenv) launchContextUnsetenv = nullptr;
    decltype(&g_app_info_launch_default_for_uri) launchDefaultForUri = nullptr;

    /// The functions, loaded on first use; null when GIO cannot be loaded here, with the reason
    /// in `whyNot` when given.
    static const GioLibrary* get(QString* whyNot = nullptr);
};
