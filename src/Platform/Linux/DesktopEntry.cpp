#include "DesktopEntry.h"

#include <glib.h>

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Entries are a few kilobytes; anything far larger is not one and is not read into memory.
constexpr qint64 maximumSize = 1 << 20;
constexpr const char* group = "Desktop Entry";

std::optional<QByteArray> readSmallFile(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    // Non-blocking, so that a FIFO left in an applications folder cannot hang a scan; a
    // symlink loop fails here with ELOOP.
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return std::nullopt;
    std::optional<QByteArray> bytes;
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size <= maximumSize) {
        // One byte more than the size: filling it means the file grew while being read.
        QByteArray buffer(qsizetype(status.st_size + 1), Qt::Uninitialized);
        qsizetype filled = 0;
        while (filled < buffer.size()) {
            const ssize_t n = ::read(fd, buffer.data() + filled, size_t(buffer.size() - filled));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            filled += n;
        }
        if (filled < buffer.size()) {
            buffer.truncate(filled);
            bytes = std::move(buffer);
        }
    }
    ::close(fd);
    return bytes;
}

QString take(gchar* value) {
    QString text = value ? QString::fromUtf8(value) : QString();
    g_free(value);
    return text;
}

// Asked whether the key is there first: for a missing key the key file's getters build a
// translated error message even when nobody asks for it, which costs more than the rest of
// the look-up.
QString stringValue(GKeyFile* file, const char* key) {
    if (!g_key_file_has_key(file, group, key, nullptr)) return {};
    return take(g_key_file_get_string(file, group, key, nullptr));
}

bool boolValue(GKeyFile* file, const char* key) {
    return g_key_file_has_key(file, group, key, nullptr) &&
           g_key_file_get_boolean(file, group, key, nullptr) != FALSE;
}

// The Name for the user's locale. Only a file that mentions a translated Name or a gettext
// domain (which the distribution's GLib may translate through) can have one; the rest, most
// entries, skip the locale look-up, which walks every language name of the locale.
QString translatedName(GKeyFile* file, const QByteArray& bytes, const QString& name) {
    if (!bytes.contains("Name[") && !bytes.contains("Gettext-Domain")) return name;
    QString localized = take(g_key_file_get_locale_string(file, group, "Name", nullptr, nullptr));
    return localized.isEmpty() ? name : localized;
}

QString fileName(const char* path) {
    return QFileInfo(QString::fromUtf8(path)).fileName();
}

// The program Exec runs: its first word, past an "env NAME=value ..." prefix.
QString programOf(const QString& exec) {
    if (exec.isEmpty()) return {};
    gint argc = 0;
    gchar** argv = nullptr;
    if (!g_shell_parse_argv(exec.toUtf8().constData(), &argc, &argv, nullptr)) return {};
    int i = 0;
    if (argc > 1 && fileName(argv[0]) == QLatin1String("env")) {
        ++i;
        while (i < argc && (argv[i][0] == '-' || std::strchr(argv[i], '=') != nullptr))
            ++i;
    }
    QString program = i < argc ? fileName(argv[i]) : QString();
    g_strfreev(argv);
    return program;
}

} // namespace

std::optional<DesktopEntry> DesktopEntry::read(const QString& path, const QString& id) {
    const std::optional<QByteArray> bytes = readSmallFile(path);
    if (!bytes) return std::nullopt;

    std::unique_ptr<GKeyFile, decltype(&g_key_file_free)> file(g_key_file_new(), &g_key_file_free);
    if (!g_key_file_load_from_data(file.get(), bytes->constData(), gsize(bytes->size()), G_KEY_FILE_NONE,
                                   nullptr))
        return std::nullopt;
    if (!g_key_file_has_group(file.get(), group)) return std::nullopt;
    if (stringValue(file.get(), "Type") != QLatin1String("Application")) return std::nullopt;

    DesktopEntry entry;
    entry.id = id;
    entry.path = path;
    entry.name = stringValue(file.get(), "Name");
    if (entry.name.isEmpty()) return std::nullopt;
    entry.localizedName = translatedName(file.get(), *bytes, entry.name);
    entry.exec = stringValue(file.get(), "Exec");
    // Without Exec only D-Bus activation could start it; with neither it cannot be launched.
    if (entry.exec.isEmpty() && !boolValue(file.get(), "DBusActivatable")) return std::nullopt;
    entry.tryExec = stringValue(file.get(), "TryExec");
    entry.icon = stringValue(file.get(), "Icon");
    entry.startupWMClass = stringValue(file.get(), "StartupWMClass");
    entry.noDisplay = boolValue(file.get(), "NoDisplay");
    entry.hidden = boolValue(file.get(), "Hidden");
    entry.terminal = boolValue(file.get(), "Terminal");
    entry.executable = programOf(entry.exec);
    return entry;
}

bool DesktopEntry::isInstalled() const {
    if (tryExec.isEmpty()) return true;
    if (tryExec.startsWith(QLatin1Char('/')))
        return ::access(QFile::encodeName(tryExec).constData(), X_OK) == 0;
    gchar* found = g_find_program_in_path(tryExec.toUtf8().constData());
    const bool installed = found != nullptr;
    g_free(found);
    return installed;
}

QString DesktopEntry::idStem() const {
    QString stem = id;
    if (stem.endsWith(QLatin1String(".desktop"))) stem.chop(8);
    return stem;
}

QString DesktopEntry::fileStem() const {
    QString stem = QFileInfo(path).fileName();
    if (stem.endsWith(QLatin1String(".desktop"))) stem.chop(8);
    return stem;
}
