#pragma once

#include "Keyboard/AppEntry.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace BindingsTestSupport {

/// Log lines written after construction, read from the shared "hotkey.log". The log is
/// switched on for the whole test program before any test runs.
class LogWatch {
public:
    LogWatch();
    /// The messages of the new lines, without their time stamps.
    QStringList messages() const;
    /// The new messages that begin with `prefix`.
    QStringList messagesStartingWith(const QString& prefix) const;

private:
    qint64 start_ = 0;
};

inline const QString undecodable = QStringLiteral("keyBindings.json 解析失败，按空绑定处理: ");

/// Writes `bytes` as a bindings file in a fresh folder and returns its path.
QString fileWith(const QByteArray& bytes);
/// A realistic entry for a desktop application.
AppEntry app(const QString& id, const QString& name);

} // namespace BindingsTestSupport
