#include "SwayKeySetup.h"

#include "Platform/KeyStrokeMap.h"
#include "Platform/Linux/KeyPositions.h"
#include "Support/FileIO.h"
#include "SwayIpc.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>

namespace SwayKeySetup {
namespace {

// The first line of every file Kestavon writes here: what tells its own files from the user's.
constexpr char marker[] = "// Kestavon's right Super key for sway";
constexpr char snippetMarker[] = "# Kestavon's right Super key bindings for sway";
constexpr std::int64_t maxFile = 1 << 20;
constexpr char signMode[] = "kestavon";

QString configHome() {
    const QString set = qEnvironmentVariable("XDG_CONFIG_HOME");
    return QDir::isAbsolutePath(set) ? set : QDir::homePath() + QStringLiteral("/.config");
}

// Whether the file is missing or one Kestavon wrote (its first line is the marker).
bool missingOrOurs(const QString& path, const char* firstLine) {
    const FileIO::ReadResult read = FileIO::read(path, maxFile);
    if (read.status == FileIO::ReadResult::Status::missing) return true;
    return read.status == FileIO::ReadResult::Status::ok && read.bytes.startsWith(firstLine);
}

bool isOurs(const QString& path, const char* firstLine) {
    const FileIO::ReadResult read = FileIO::read(path, maxFile);
    return read.status == FileIO::ReadResult::Status::ok && read.bytes.startsWith(firstLine);
}

QString swayConfig(SwayIpc& ipc) {
    const auto answer = ipc.request(SwayIpc::getConfig);
    if (!answer) return {};
    return QJsonDocument::fromJson(*answer).object().value(QLatin1String("config")).toString();
}

// Whether sway's main configuration file has the include line, with the path as written or
// with ~ for the home folder (sway hands out that file's text only, not what it includes).
bool includedByMainConfig(SwayIpc& ipc, const Paths& where) {
    const QString config = swayConfig(ipc);
    QString home = where.snippet;
    if (home.startsWith(QDir::homePath() + QLatin1Char('/')))
        home.replace(0, QDir::homePath().size(), QStringLiteral("~"));
    for (const QString& line : config.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (!trimmed.startsWith(QLatin1String("include"))) continue;
        const QString named = trimmed.mid(7).trimmed().remove(QLatin1Char('"'));
        if (named == where.snippet || named == home) return true;
    }
    return false;
}

} // namespace

Paths paths() {
    const QString home = configHome();
    return {home + QStringLiteral("/xkb/rules/evdev"), home + QStringLiteral("/xkb/symbols/kestavon"),
            home + QStringLiteral("/kestavon/sway.conf")};
}

QByteArray rulesText() {
    // The system's rules whole, and one option more.
    return QByteArray(marker) +
           "; written by Kestavon, which keeps it up to date.\n"
           "! include %S/evdev\n\n"
           "! option = symbols\n"
           "  " +
           xkbOption + " = +kestavon(hyper_rsuper)\n";
}

QByteArray symbolsText() {
    // Hyper_R on a modifier of its own, so that sway can bind it apart from the left Super key
    // (Mod4), which keeps its own bindings.
    return QByteArray(marker) +
           "; written by Kestavon, which keeps it up to date.\n"
           "partial modifier_keys\n"
           "xkb_symbols \"hyper_rsuper\" {\n"
           "    replace key <RWIN> { type[Group1] = \"ONE_LEVEL\", symbols[Group1] = [ Hyper_R ] };\n"
           "    modifier_map Mod3 { <RWIN> };\n"
           "};\n";
}

QByteArray snippetText(const std::vector<std::int64_t>& boundKeys, const QStringList& userOptions) {
    QStringList options = userOptions;
    options.removeAll(QString::fromLatin1(xkbOption));
    options.append(QString::fromLatin1(xkbOption));
    // The mode is never entered: sway lists it among its binding modes, which tells that the
    // snippet is read, however the configuration includes it.
    QByteArray text = QByteArray(snippetMarker) +
                      "; written by Kestavon whenever a key is bound or unbound.\n"
                      "input type:keyboard xkb_options " +
                      options.join(QLatin1Char(',')).toUtf8() +
                      "\n"
                      "mode \"" +
                      signMode + "\" {\n    bindsym Escape mode default\n}\n";
    for (const KeyStrokeMap::Key& key : KeyStrokeMap::table()) {
        if (std::find(boundKeys.begin(), boundKeys.end(), key.code) == boundKeys.end()) continue;
        const auto code = KeyPositions::xKeyCode(key.code);
        const auto id = KeyStrokeMap::keyID(key.code);
        if (!code || !id) continue;
        text += "bindcode --no-repeat " + QByteArray(modifier) + "+" + QByteArray::number(*code) +
                " nop kestavon " + id->toUtf8() + "\n";
    }
    return text;
}

QString includeLine(const Paths& where) {
    return QStringLiteral("include ") + where.snippet;
}

QStringList userOptions(const QString& swayConfig, const QString& defaultOptions) {
    QStringList options;
    const auto add = [&options](const QString& list) {
        for (const QString& option : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const QString trimmed = option.trimmed().remove(QLatin1Char('"')).remove(QLatin1Char('\''));
            if (!trimmed.isEmpty() && trimmed != QLatin1String(xkbOption) && !options.contains(trimmed))
                options.append(trimmed);
        }
    };
    static const QRegularExpression setting(QStringLiteral(R"(\bxkb_options\s+(\S+))"));
    for (const QString& line : swayConfig.split(QLatin1Char('\n'))) {
        if (line.trimmed().startsWith(QLatin1Char('#'))) continue;
        auto matches = setting.globalMatch(line);
        while (matches.hasNext())
            add(matches.next().captured(1));
    }
    add(defaultOptions);
    return options;
}

std::optional<std::int64_t> keyOfCommand(const QString& command) {
    static const QRegularExpression nop(QStringLiteral(R"(^\s*nop\s+kestavon\s+(\S+)\s*$)"));
    const QRegularExpressionMatch match = nop.match(command);
    if (!match.hasMatch()) return std::nullopt;
    const int rank = KeyStrokeMap::rank(match.captured(1).toStdString());
    if (rank < 0) return std::nullopt;
    return KeyStrokeMap::table()[std::size_t(rank)].code;
}

bool isInEffect(SwayIpc& ipc, const Paths& where) {
    if (!isOurs(where.rules, marker) || !isOurs(where.symbols, marker) ||
        !isOurs(where.snippet, snippetMarker))
        return false;
    const auto modes = ipc.request(SwayIpc::getBindingModes);
    if (!modes) return false;
    const QJsonDocument list = QJsonDocument::fromJson(*modes);
    return list.isArray() && list.array().contains(QJsonValue(QString::fromLatin1(signMode)));
}

Result write(SwayIpc& ipc, const Paths& where, const std::vector<std::int64_t>& boundKeys) {
    for (const QString& path : {where.rules, where.symbols})
        if (!missingOrOurs(path, marker))
            return {QStringLiteral(
                        "%1 is your own XKB file, which Kestavon does not change. Move it aside and set up "
                        "again, or add Kestavon's option to it by hand")
                        .arg(path),
                    {}};
    if (!missingOrOurs(where.snippet, snippetMarker))
        return {
            QStringLiteral("%1 is not Kestavon's file: move it aside and set up again").arg(where.snippet),
            {}};
    const QByteArray snippet =
        snippetText(boundKeys, userOptions(swayConfig(ipc), qEnvironmentVariable("XKB_DEFAULT_OPTIONS")));
    for (const auto& [path, bytes] :
         {std::pair{where.rules, rulesText()}, std::pair{where.symbols, symbolsText()},
          std::pair{where.snippet, snippet}})
        if (const auto error = FileIO::writeAtomically(path, bytes)) return {*error, {}};
    if (isInEffect(ipc, where) || includedByMainConfig(ipc, where)) {
        ipc.run(QStringLiteral("reload"));
        return {{}, QStringLiteral("Kestavon's sway set-up is up to date.")};
    }
    return {{},
            QStringLiteral("Add this line at the end of your sway configuration, then reload sway:\n    %1")
                .arg(includeLine(where))};
}

std::optional<QString> rebind(SwayIpc& ipc, const Paths& where, const std::vector<std::int64_t>& boundKeys) {
    if (!isOurs(where.snippet, snippetMarker)) return std::nullopt;
    const FileIO::ReadResult old = FileIO::read(where.snippet, maxFile);
    const QByteArray snippet =
        snippetText(boundKeys, userOptions(swayConfig(ipc), qEnvironmentVariable("XKB_DEFAULT_OPTIONS")));
    if (old.status == FileIO::ReadResult::Status::ok && old.bytes == snippet) return std::nullopt;
    if (const auto error = FileIO::writeAtomically(where.snippet, snippet)) return error;
    if (!ipc.run(QStringLiteral("reload"))) return QStringLiteral("sway did not reload its configuration");
    return std::nullopt;
}

} // namespace SwayKeySetup
