#pragma once

#include "Hotkey/HotkeyRouter.h"
#include "Keyboard/AppEntry.h"
#include "Switching/AppLauncher.h"

#include <QString>

class HotkeyMonitor;

/// What one swallowed stroke does on the execution queue: route the bound application,
/// present or launch it, count a successful jump, publish the result text, and log how long
/// it took.
namespace StrokeExecution {

/// Runs one stroke for `monitor`, blocking the calling queue until it is done.
void execute(HotkeyMonitor& monitor, const QString& keyID, const AppEntry& entry);
/// Executes along an already chosen route.
void run(HotkeyMonitor& monitor, const QString& keyID, const HotkeyRouter::Route& route);
/// The result text of a launch.
QString describe(const AppLauncher::Outcome& outcome);
/// The frontmost application's name, or "?".
QString frontAppName();

} // namespace StrokeExecution
