#include "GioLauncher.h"

#include "ChildReaper.h"
#include "GioLibrary.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

#include <memory>
#include <vector>

namespace GioLauncher {

namespace {

void rememberPid(GDesktopAppInfo*, GPid pid, gpointer pids) {
    static_cast<std::vector<GPid>*>(pids)->push_back(pid);
}

// GIO refuses to load an entry whose program cannot be found, without saying why; this is
// the why, for the user.
std::optional<QString> missingProgram(const DesktopEntry& entry) {
    if (!entry.isInstalled()) return entry.tryExec;
    gint argc = 0;
    gchar** argv = nullptr;
    if (!g_shell_parse_argv(entry.exec.toUtf8().constData(), &argc, &argv, nullptr)) return std::nullopt;
    std::optional<QString> missing;
    gchar* found = g_find_program_in_path(argv[0]);
    if (!found) missing = QString::fromUtf8(argv[0]);
    g_free(found);
    g_strfreev(argv);
    return missing;
}

QString takeError(GError* error) {
    QString message =
        error && error->message ? QString::fromUtf8(error->message) : QStringLiteral("Unknown error");
    if (error) g_error_free(error);
    return message;
}

// Runs in the forked child before its program starts: only async-signal-safe calls here.
void enterFolder(gpointer folder) {
    if (::chdir(static_cast<const char*>(folder)) != 0) {
        // The program still starts, in the folder it would otherwise have had.
    }
}

} // namespace

Launched launch(const DesktopEntry& entry, std::function<void(int status)> ended,
                const std::vector<std::pair<QByteArray, QByteArray>>& environment) {
    QString whyNot;
    const GioLibrary* gio = GioLibrary::get(&whyNot);
    if (!gio)
        return {0, QStringLiteral("The application “%1” can’t be launched: %2.").arg(entry.name, whyNot)};
    std::unique_ptr<GDesktopAppInfo, decltype(gio->objectUnref)> info(
        gio->appInfoFromFile(QFile::encodeName(entry.path).constData()), gio->objectUnref);
    if (!info) {
        if (const auto program = missingProgram(entry)) {
            return {0,
                    QStringLiteral("The application “%1” can’t be launched: its program “%2” was not found.")
                        .arg(entry.name, *program)};
        }
        return {0, QStringLiteral("The application “%1” can’t be launched: its desktop entry is not valid.")
                       .arg(entry.name)};
    }

    std::unique_ptr<GAppLaunchContext, decltype(gio->objectUnref)> context(gio->newLaunchContext(),
                                                                           gio->objectUnref);
    // Our own start-up token, if we were given one, belongs to us and not to what we launch.
    gio->launchContextUnsetenv(context.get(), "DESKTOP_STARTUP_ID");
    gio->launchContextUnsetenv(context.get(), "XDG_ACTIVATION_TOKEN");
    for (const auto& [name, value] : environment)
        gio->launchContextSetenv(context.get(), name.constData(), value.constData());

    // A program started from the desktop opens in the user's home folder, not in the one this
    // process happened to be started from; an entry's own Path is GIO's to apply.
    gchar* ownFolder = gio->appInfoString(info.get(), "Path");
    const bool hasOwnFolder = ownFolder && *ownFolder;
    g_free(ownFolder);
    const QByteArray home = QFile::encodeName(QDir::homePath());

    std::vector<GPid> pids;
    GError* error = nullptr;
    // DO_NOT_REAP_CHILD keeps the program our child, so its pid is the one that maps its
    // windows; ChildReaper collects it when it quits.
    const gboolean started = gio->launchAsManager(
        info.get(), nullptr, context.get(), GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD),
        hasOwnFolder ? nullptr : &enterFolder, hasOwnFolder ? nullptr : const_cast<char*>(home.constData()),
        &rememberPid, &pids, &error);
    for (const GPid pid : pids)
        ChildReaper::adopt(pid, ended);
    if (!started) return {0, takeError(error)};
    return {pids.empty() ? 0 : std::int32_t(pids.front()), std::nullopt};
}

bool openURL(const QString& url) {
    const GioLibrary* gio = GioLibrary::get();
    if (!gio) return false;
    GError* error = nullptr;
    if (gio->launchDefaultForUri(url.toUtf8().constData(), nullptr, &error)) return true;
    g_clear_error(&error);
    return false;
}

} // namespace GioLauncher
