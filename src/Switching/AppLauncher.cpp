#include "AppLauncher.h"

#include "Platform/Platform.h"
#include "Platform/TimePort.h"
#include "Platform/WorkspacePort.h"
#include "Support/OneShot.h"

#include <QFileInfo>

#include <memory>
#include <mutex>
#include <optional>

namespace AppLauncher {

namespace {

// Owned jointly by the waiting caller and the completion: a completion that arrives after the
// deadline still writes into a live cell, which nobody reads any more.
struct ResultCell {
    OneShot answered;
    std::mutex mutex;
    std::optional<Outcome> result;

    void answer(Outcome outcome) {
        {
            std::lock_guard lock(mutex);
            if (result) return;
            result = std::move(outcome);
        }
        answered.signal();
    }
    Outcome take() {
        std::lock_guard lock(mutex);
        return result.value_or(Outcome::failed(QStringLiteral("System returned no running instance")));
    }
};

} // namespace

Outcome launch(const AppEntry& entry) {
    if (!QFileInfo::exists(entry.path)) return Outcome::pathMissing();

    OpenConfiguration configuration;
    configuration.createsNewApplicationInstance = false;

    auto cell = std::make_shared<ResultCell>();
    Platform& platform = Platform::current();
    platform.workspace().openApplication(
        entry.path, configuration,
        [cell](std::optional<RunningApplication> application, std::optional<QString> error) {
            if (error)
                cell->answer(Outcome::failed(*error));
            else if (!application)
                cell->answer(Outcome::failed(QStringLiteral("System returned no running instance")));
            else
                cell->answer(Outcome::started());
        });

    if (!platform.time().wait(cell->answered, deadline))
        return Outcome::failed(QStringLiteral("Launch timed out (no response in 30s)"));
    return cell->take();
}

} // namespace AppLauncher
