// Right Super + a key on a headless sway, from the virtual key press to the target window
// focused: Kestavon's stroke (sway's binding event, the hotkey decision, the jump) against
// sway's own recipe for the same jump, `bindcode … exec swaymsg '[app_id=…] focus'`, in the
// same run. Run by `scripts/bench sway`. Prints its figures as "figure NAME VALUE" lines:
//   sway_stroke_ms, sway_exec_focus_ms (medians) and sway_stroke_latency_ratio (their ratio).
#include "Hotkey/HotkeyMonitor.h"
#include "Keyboard/KeyBindingStore.h"
#include "Platform/KeyboardTapPort.h"
#include "Platform/Wayland/SwayIpc.h"
#include "Platform/Wayland/SwayKeySetup.h"
#include "Platform/Wayland/SwayPlatform.h"
#include "Platform/WorkspacePort.h"
#include "Figures.h"
#include "SwaySession.h"
#include "VirtualKeyboard.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr std::uint32_t rightSuper = 126, keyQ = 16, keyW = 17;
constexpr int warmUp = 3;
constexpr int rounds = 21;

QString entry(const QString& name) {
    const QString folder = qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/applications");
    QDir().mkpath(folder);
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".desktop");
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write("[Desktop Entry]\nType=Application\nName=" + name.toUtf8() +
                   "\nExec=" KESTAVON_SWAY_WINDOW " " + name.toUtf8() + " /dev/null\n");
    return path;
}

std::int32_t launch(const QString& name) {
    std::atomic<std::int32_t> pid{0};
    Platform::current().workspace().openApplication(
        entry(name), {}, [&](std::optional<RunningApplication> app, std::optional<QString>) {
            pid = app ? app->processIdentifier : -1;
        });
    TestSupport::processEventsUntil([&] { return pid.load() != 0; }, 10000);
    return pid;
}

// Waits for sway to say that a window of `pid` has the focus; false after two seconds.
bool focusedOn(SwayIpc& events, std::int32_t pid) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < deadline) {
        // Kestavon's own results reach the main thread meanwhile.
        QCoreApplication::processEvents();
        const auto message = events.next(std::chrono::milliseconds(5));
        if (!message) {
            if (events.isBroken()) return false;
            continue;
        }
        const QJsonObject event = QJsonDocument::fromJson(message->payload).object();
        if (event.value(QLatin1String("change")).toString() == QLatin1String("focus") &&
            event.value(QLatin1String("container")).toObject().value(QLatin1String("pid")).toInt() == pid)
            return true;
    }
    return false;
}

int runBench() {
    SwaySession& session = SwaySession::shared();
    if (!session.skipReason.isEmpty()) {
        std::fprintf(stderr, "no sway: %s\n", qPrintable(session.skipReason));
        return 1;
    }
    QString whyNot;
    const auto platform = SwayPlatform::create(&whyNot);
    if (!platform) {
        std::fprintf(stderr, "no sway platform: %s\n", qPrintable(whyNot));
        return 1;
    }
    Platform::install(platform.get());
    auto ipc = SwayIpc::open();
    auto events = SwayIpc::open();
    if (!ipc || !events || !events->subscribeTo("[\"window\"]")) return 1;

    ipc->run(QStringLiteral("workspace 1"));
    const std::int32_t target = launch(QStringLiteral("kestavon-bench-target"));
    ipc->run(QStringLiteral("workspace 2"));
    const std::int32_t other = launch(QStringLiteral("kestavon-bench-other"));
    if (target <= 0 || other <= 0) {
        std::fprintf(stderr, "the bench windows did not open\n");
        return 1;
    }

    // Kestavon: right Super + Q. sway's recipe: right Super + W, bound at run time.
    KeyBindingStore store;
    store.bind(QStringLiteral("1-q"),
               {QStringLiteral("kestavon-bench-target.desktop"),
                entry(QStringLiteral("kestavon-bench-target")), QStringLiteral("Target")});
    // sway's recipe goes into its configuration, read again with Kestavon's snippet.
    QFile config(qEnvironmentVariable("HOME") + QStringLiteral("/sway.conf"));
    if (!config.open(QIODevice::Append) ||
        config.write(
            QStringLiteral("bindcode --no-repeat %1+%2 exec swaymsg '[app_id=kestavon-bench-target] focus'\n")
                .arg(QString::fromLatin1(SwayKeySetup::modifier))
                .arg(keyW + 8)
                .toUtf8()) < 0)
        return 1;
    config.close();
    const SetUpResult setUp = Platform::current().keyboardTap().setUp(store.boundKeyCodes());
    SwaySession::openUp(qEnvironmentVariable("HOME"));
    if (!setUp.done || !ipc->run(QStringLiteral("reload"))) {
        std::fprintf(stderr, "set-up failed: %s\n", qPrintable(setUp.message));
        return 1;
    }
    HotkeyMonitor monitor;
    int outcomes = 0;
    QObject::connect(&monitor, &HotkeyMonitor::lastOutcomeChanged, [&outcomes] { ++outcomes; });
    monitor.start(true);
    const auto keyboard = VirtualKeyboard::open(SwayKeySetup::xkbOption);
    if (!monitor.isStarted() || !keyboard) {
        std::fprintf(stderr, "no hotkeys or no virtual keyboard\n");
        return 1;
    }

    const auto jump = [&](std::uint32_t key) -> double {
        ipc->run(QStringLiteral("[app_id=kestavon-bench-other] focus"));
        while (events->next(std::chrono::milliseconds(20))) {
        }
        const int outcomesBefore = outcomes;
        const auto start = std::chrono::steady_clock::now();
        keyboard->press(rightSuper);
        keyboard->press(key);
        keyboard->release(key);
        keyboard->release(rightSuper);
        keyboard->sync();
        if (!focusedOn(*events, target)) return -1;
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        // Kestavon's stroke goes on a little after the focus (its result, a last activation):
        // the next jump starts once it is over.
        if (key == keyQ) TestSupport::processEventsUntil([&] { return outcomes > outcomesBefore; }, 2000);
        return ms;
    };
    std::vector<double> strokeMs;
    std::vector<double> execMs;
    for (int round = 0; round < warmUp + rounds; ++round) {
        const double stroke = jump(keyQ);
        const double exec = jump(keyW);
        if (stroke < 0 || exec < 0) {
            std::fprintf(stderr, "%s did not focus the target (round %d)\n",
                         stroke < 0 ? "Kestavon's stroke" : "sway's exec recipe", round);
            return 1;
        }
        if (round < warmUp) continue;
        strokeMs.push_back(stroke);
        execMs.push_back(exec);
    }
    const double stroke = median(strokeMs);
    const double exec = median(execMs);
    figure("sway_stroke_ms", stroke);
    figure("sway_exec_focus_ms", exec);
    figure("sway_stroke_latency_ratio", stroke / exec);
    Platform::install(nullptr);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    // A private home, as the tests have: sway's configuration and Kestavon's files go there.
    QTemporaryDir root;
    if (!root.isValid()) return 2;
    qputenv("HOME", root.path().toUtf8());
    qputenv("XDG_DATA_HOME", (root.path() + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (root.path() + QStringLiteral("/config")).toUtf8());
    QCoreApplication application(argc, argv);
    return runBench();
}
