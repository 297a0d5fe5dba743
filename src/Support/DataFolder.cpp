#include "DataFolder.h"

#include <QStandardPaths>

namespace DataFolder {

QString path() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Kestavon");
}

QString file(const QString& name) { return path() + QLatin1Char('/') + name; }

} // namespace DataFolder
