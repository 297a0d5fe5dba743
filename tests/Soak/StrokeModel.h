#pragma once

#include "Platform/Fake/FakeDesktop.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

/// What a run of strokes must do on the Fake desktop of a soak, worked out independently of
/// the code under test: the result text of each stroke, the jumps it counts, and where the
/// frontmost application and the current desktop end up.
class StrokeModel {
public:
    /// One bound key and the application behind it.
    struct App {
        enum class Kind {
            /// Runs with one window on `space`.
            running,
            /// Installed and not running until a stroke launches it.
            launchable,
            /// Bound to a path that does not exist.
            missing,
        };
        Kind kind = Kind::running;
        QString name;
        QString bundleId;
        QString path;
        std::uint64_t space = 0;
        /// A full-screen Space: no swipe reaches it.
        bool fullScreen = false;
        /// Whether it runs now.
        bool running = false;
    };

    /// The desktop's state as the soak starts.
    StrokeModel(std::uint64_t currentSpace, std::optional<QString> frontmost)
        : space_(currentSpace), frontmost_(frontmost) {}

    /// The behaviour the Fake desktop has for the next strokes.
    void behave(FakeDesktop::Launch launch, FakeDesktop::Activation activation, bool gesturesIgnored,
                const QString& launchFailure);
    /// One stroke of the key bound to `app`: its result text.
    QString stroke(App& app);
    /// The main thread has run what the strokes handed it: the activations asked of it.
    void mainThreadRan();

    std::int64_t jumps() const { return jumps_; }
    const std::map<QString, std::int64_t>& jumpsPerApp() const { return perApp_; }
    std::uint64_t currentSpace() const { return space_; }
    /// The bundle identifier of the frontmost application.
    std::optional<QString> frontmost() const { return frontmost_; }

private:
    QString launch(App& app);
    QString present(App& app);
    void count(const App& app);

    FakeDesktop::Launch launch_ = FakeDesktop::Launch::succeed;
    FakeDesktop::Activation activation_ = FakeDesktop::Activation::immediate;
    bool gesturesIgnored_ = false;
    QString launchFailure_;
    std::uint64_t space_;
    std::optional<QString> frontmost_;
    /// Activations posted to the main thread and not yet run.
    std::vector<QString> posted_;
    std::int64_t jumps_ = 0;
    std::map<QString, std::int64_t> perApp_;
};

/// The texts as a watcher of the last outcome sees them: a text equal to the one before it
/// changes nothing and is not seen again.
QStringList withoutRepeats(const QStringList& texts);
