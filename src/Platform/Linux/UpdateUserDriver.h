#pragma once

#include "Platform/Linux/AppcastItem.h"

#include <QString>

#include <functional>

/// The windows the appcast updater shows the user: the stand-in for the framework's standard
/// user driver, given to the updater by the application's view layer.
class UpdateUserDriver {
public:
    enum class Choice { install, dismiss };
    using Reply = std::function<void(Choice)>;

    virtual ~UpdateUserDriver() = default;

    /// A newer release than the running one was found; `reply` gets the user's choice, now or later.
    virtual void showUpdateFound(const AppcastItem& item, Reply reply) = 0;
    /// The check could not be completed; `message` says why.
    virtual void showUpdaterError(const QString& message) = 0;
};
