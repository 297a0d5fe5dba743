#pragma once

#include "Keyboard/KeyBindingStore.h"
#include "Stats/UsageStats.h"

#include <QByteArray>

#include <cstdint>
#include <optional>

/// The states the save loop writes, one per step, each a function of its step number alone,
/// so a file can be checked to hold exactly one complete state that was written.
///
/// Bindings: step n binds key (n - 1) mod 47 to an application named "App n", with a long
/// path so the file spans several pages. Statistics: step n is the n-th jump, to application
/// (n - 1) mod 20.
namespace SuccessiveStates {

/// The binding step n makes.
KeyBindingStore::StoredBinding bindingOf(std::int64_t step);
/// All bindings after steps 1..n.
KeyBindingStore::Bindings bindingsAfter(std::int64_t step);
/// The step the bindings were saved at: the highest "App n" among them, 0 for none.
std::int64_t stepOf(const KeyBindingStore::Bindings& bindings);

/// The jump step n records: application name and bundle identifier.
struct Jump {
    QString name;
    QString bundleId;
};
Jump jumpOf(std::int64_t step);
/// The counters after jumps 1..n.
UsageStats statsAfter(std::int64_t step);

/// The step whose state these file bytes are, byte for byte; nothing for anything else
/// (partial, empty, or a state that no step writes).
std::optional<std::int64_t> bindingsFileStep(const QByteArray& bytes);
std::optional<std::int64_t> statsFileStep(const QByteArray& bytes);

} // namespace SuccessiveStates
