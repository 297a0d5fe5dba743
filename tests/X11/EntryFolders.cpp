#include "EntryFolders.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>

EntryFolders::EntryFolders() {
    user = qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/applications");
    QDir(user).removeRecursively();
    QDir().mkpath(user);
    const QString systemData = TestSupport::freshFolder();
    system = systemData + QStringLiteral("/applications");
    QDir().mkpath(system);
    previousDataDirs_ = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_DIRS", systemData.toLocal8Bit());
}

EntryFolders::~EntryFolders() {
    if (previousDataDirs_.isEmpty())
        qunsetenv("XDG_DATA_DIRS");
    else
        qputenv("XDG_DATA_DIRS", previousDataDirs_);
}

QString EntryFolders::write(const QString& folder, const QString& relative, const QByteArray& body) {
    const QString path = folder + QLatin1Char('/') + relative;
    QDir().mkpath(QFileInfo(path).path());
    TestSupport::writeAll(path, body);
    return path;
}

QByteArray entryText(const QString& name, const QString& exec, const QStringList& more) {
    QStringList lines{QStringLiteral("[Desktop Entry]"), QStringLiteral("Type=Application"),
                      QStringLiteral("Name=") + name, QStringLiteral("Exec=") + exec};
    lines += more;
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}
