#pragma once

#include <QString>
#include <QVariantMap>

/// One screen object: its device description (the display number under "NSScreenNumber")
/// and its localised name.
struct MacScreen {
    QVariantMap deviceDescription;
    QString localizedName;
};
