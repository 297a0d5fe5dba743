// Kestavon's start-up time and resident memory against a minimal Qt Widgets window (one label),
// both started the same way on one private Xvfb display with openbox, in the same run:
//   startup_ratio     process start to the window's first painting, median of the rounds
//   idle_rss_ratio    resident memory 10 s after the window is shown, the program idle
//   idle_rss_mb       the same for Kestavon alone, in MiB
//   picker_rss_ratio  Kestavon's, 10 s after its picker has shown every application's icon
// Each program writes the moment of its first painting to the file KESTAVON_SHOWN_FILE names.
#include "Figures.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <optional>
#include <vector>

namespace {

constexpr int rounds = 7;
constexpr int idleSeconds = 10;

qint64 nowNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

void pause(int ms) { QThread::msleep(static_cast<unsigned long>(ms)); }

// A private display with a window manager, ended with the benchmark.
class Display {
public:
    bool start(QProcessEnvironment& environment) {
        xvfb_.setProgram(QStringLiteral("Xvfb"));
        // The display number comes on the standard output.
        xvfb_.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                            QStringLiteral("0"), QStringLiteral("1440x900x24"), QStringLiteral("-nolisten"),
                            QStringLiteral("tcp")});
        xvfb_.setProcessChannelMode(QProcess::SeparateChannels);
        xvfb_.setStandardErrorFile(QProcess::nullDevice());
        xvfb_.start();
        if (!xvfb_.waitForReadyRead(20000)) return false;
        const QByteArray number = xvfb_.readLine().trimmed();
        if (number.isEmpty()) return false;
        environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":") + QString::fromLatin1(number));
        wm_.setProcessEnvironment(environment);
        wm_.setStandardOutputFile(QProcess::nullDevice());
        wm_.setStandardErrorFile(QProcess::nullDevice());
        wm_.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        // Ready once the window manager has claimed the screen.
        for (int i = 0; i < 100; ++i) {
            QProcess probe;
            probe.setProcessEnvironment(environment);
            probe.start(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
            probe.waitForFinished(5000);
            if (probe.readAllStandardOutput().contains("window id")) return true;
            pause(100);
        }
        return false;
    }
    ~Display() {
        for (QProcess* process : {&wm_, &xvfb_}) {
            process->terminate();
            process->waitForFinished(5000);
        }
    }

private:
    QProcess xvfb_;
    QProcess wm_;
};

struct Started {
    std::unique_ptr<QProcess> process;
    qint64 startupNs = -1;
};

// Starts `program` and waits for its first painting.
Started startAndWaitShown(const QString& program, const QStringList& arguments, QProcessEnvironment environment,
                          const QString& shownFile) {
    QFile::remove(shownFile);
    environment.insert(QStringLiteral("KESTAVON_SHOWN_FILE"), shownFile);
    Started started;
    started.process = std::make_unique<QProcess>();
    started.process->setProcessEnvironment(environment);
    started.process->setStandardOutputFile(QProcess::nullDevice());
    started.process->setStandardErrorFile(QProcess::nullDevice());
    const qint64 begin = nowNs();
    started.process->start(program, arguments);
    for (int i = 0; i < 6000 && started.process->state() != QProcess::NotRunning; ++i) {
        QFile file(shownFile);
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray text = file.readAll();
            if (text.endsWith('\n')) {
                started.startupNs = text.trimmed().toLongLong() - begin;
                return started;
            }
        }
        pause(2);
    }
    return started;
}

void stop(Started& started) {
    if (!started.process) return;
    started.process->terminate();
    if (!started.process->waitForFinished(5000)) {
        started.process->kill();
        started.process->waitForFinished(5000);
    }
}

// Resident memory in KiB, from /proc.
std::optional<long> residentKiB(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return std::nullopt;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
    return std::nullopt;
}

int run(QProcessEnvironment& environment, const QString& tmp, const QString& app, const QString& minimal) {
    Display display;
    if (!display.start(environment)) {
        std::fprintf(stderr, "the private display did not start\n");
        return 1;
    }
    const QString shown = tmp + QStringLiteral("/shown");

    std::vector<double> appMs;
    std::vector<double> minimalMs;
    for (int round = 0; round < rounds; ++round) {
        Started m = startAndWaitShown(minimal, {}, environment, shown);
        stop(m);
        Started k = startAndWaitShown(app, {}, environment, shown);
        stop(k);
        if (m.startupNs < 0 || k.startupNs < 0) {
            std::fprintf(stderr, "a window was not shown (minimal %lld, kestavon %lld)\n",
                         static_cast<long long>(m.startupNs), static_cast<long long>(k.startupNs));
            return 1;
        }
        minimalMs.push_back(double(m.startupNs) / 1e6);
        appMs.push_back(double(k.startupNs) / 1e6);
        std::fprintf(stderr, "round %d: minimal %.1f ms, kestavon %.1f ms\n", round + 1, minimalMs.back(),
                     appMs.back());
    }
    figure("startup_ratio", median(appMs) / median(minimalMs));
    std::fprintf(stderr, "startup medians: minimal %.1f ms, kestavon %.1f ms\n", median(minimalMs), median(appMs));

    // Both idle side by side; the display is shared, the memory is each program's own.
    Started m = startAndWaitShown(minimal, {}, environment, shown);
    Started k = startAndWaitShown(app, {}, environment, shown);
    if (m.startupNs < 0 || k.startupNs < 0) return 1;
    pause(idleSeconds * 1000);
    const std::optional<long> minimalKiB = residentKiB(m.process->processId());
    const std::optional<long> appKiB = residentKiB(k.process->processId());
    if (!minimalKiB || !appKiB) return 1;
    std::fprintf(stderr, "idle resident memory: minimal %.1f MiB, kestavon %.1f MiB\n", *minimalKiB / 1024.0,
                 *appKiB / 1024.0);
    figure("idle_rss_ratio", double(*appKiB) / double(*minimalKiB));
    figure("idle_rss_mb", *appKiB / 1024.0);

    // The picker: a click on a key cap opens it; paging through the list paints every row.
    const auto xdotool = [&environment](const QStringList& arguments) {
        QProcess tool;
        tool.setProcessEnvironment(environment);
        tool.start(QStringLiteral("xdotool"), arguments);
        tool.waitForFinished(10000);
        return tool.readAllStandardOutput();
    };
    // The H key cap, in the middle of the keyboard below the tab bar, of the visible window.
    xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
             QStringLiteral("^Kestavon$"), QStringLiteral("mousemove"), QStringLiteral("--window"),
             QStringLiteral("%1"), QStringLiteral("495"), QStringLiteral("235"), QStringLiteral("click"),
             QStringLiteral("1")});
    pause(3000); // the picker's first scan
    xdotool({QStringLiteral("key"), QStringLiteral("Down")});
    for (int page = 0; page < 100; ++page) xdotool({QStringLiteral("key"), QStringLiteral("Page_Down")});
    pause(idleSeconds * 1000);
    const std::optional<long> pickerKiB = residentKiB(k.process->processId());
    if (!pickerKiB) return 1;
    std::fprintf(stderr, "with the picker shown: kestavon %.1f MiB\n", *pickerKiB / 1024.0);
    figure("picker_rss_ratio", double(*pickerKiB) / double(*minimalKiB));
    if (!qEnvironmentVariableIsEmpty("KESTAVON_BENCH_SCREENSHOT"))
        QProcess::execute(QStringLiteral("import"),
                          {QStringLiteral("-display"), environment.value(QStringLiteral("DISPLAY")),
                           QStringLiteral("-window"), QStringLiteral("root"),
                           qEnvironmentVariable("KESTAVON_BENCH_SCREENSHOT")});
    stop(k);
    stop(m);
    return 0;
}

} // namespace

int main() {
    std::signal(SIGPIPE, SIG_IGN);
    QTemporaryDir tmp;
    if (!tmp.isValid()) return 1;
    // Folders of the benchmark's own: its Kestavon starts with no bindings and is the only one.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
        const QString folder = tmp.path() + QLatin1Char('/') + QLatin1String(name);
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        environment.insert(QString::fromLatin1(name), folder);
    }
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return run(environment, tmp.path(), QStringLiteral(KESTAVON_APP), QStringLiteral(MINIMAL_WINDOW));
}
