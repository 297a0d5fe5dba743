#pragma once

#include <QString>

/// Where Kestavon keeps its files: the platform's application-data folder plus "Kestavon"
/// (~/.local/share/Kestavon on Linux, ~/Library/Application Support/Kestavon on macOS).
namespace DataFolder {

/// The folder's path; it may not exist yet.
QString path();
/// The path of a file inside the folder.
QString file(const QString& name);

} // namespace DataFolder
