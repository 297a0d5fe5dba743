// The hotkey decision runs on the event-tap thread for every key the user types. Ordinary
// typing must cost next to nothing and allocate nothing; a bound stroke must cost little more
// than reading the bindings file it looks the key up in.
//
// Prints its figures as "figure NAME VALUE" lines after the benchmark output.

#include "Hotkey/HotkeyMonitor.h"
#include "Platform/KeyStrokeMap.h"
#include "Keyboard/KeyBindingStore.h"
#include "Support/FileIO.h"

#include <QTemporaryDir>

#include "FigureReporter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <vector>

// ---- Counting every heap allocation of the measuring thread --------------------------------
// Qt allocates with malloc, the standard library with operator new: both are counted.

namespace {
thread_local std::uint64_t allocations = 0;
}

extern "C" {
void* __libc_malloc(size_t size) noexcept;
void* __libc_calloc(size_t count, size_t size) noexcept;
void* __libc_realloc(void* pointer, size_t size) noexcept;
void* __libc_memalign(size_t alignment, size_t size) noexcept;
void __libc_free(void* pointer) noexcept;

void* malloc(size_t size) noexcept {
    ++allocations;
    return __libc_malloc(size);
}
void* calloc(size_t count, size_t size) noexcept {
    ++allocations;
    return __libc_calloc(count, size);
}
void* realloc(void* pointer, size_t size) noexcept {
    ++allocations;
    return __libc_realloc(pointer, size);
}
void* memalign(size_t alignment, size_t size) noexcept {
    ++allocations;
    return __libc_memalign(alignment, size);
}
void* aligned_alloc(size_t alignment, size_t size) noexcept {
    ++allocations;
    return __libc_memalign(alignment, size);
}
int posix_memalign(void** out, size_t alignment, size_t size) noexcept {
    ++allocations;
    void* pointer = __libc_memalign(alignment, size);
    if (pointer == nullptr) return 12;  // ENOMEM
    *out = pointer;
    return 0;
}
void free(void* pointer) noexcept { __libc_free(pointer); }
}

namespace {
void* allocate(std::size_t size, std::size_t alignment) {
    ++allocations;
    void* pointer = alignment <= alignof(std::max_align_t) ? __libc_malloc(size ? size : 1)
                                                           : __libc_memalign(alignment, size ? size : 1);
    if (pointer == nullptr) throw std::bad_alloc();
    return pointer;
}
} // namespace

void* operator new(std::size_t size) { return allocate(size, 0); }
void* operator new[](std::size_t size) { return allocate(size, 0); }
void* operator new(std::size_t size, std::align_val_t alignment) {
    return allocate(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return allocate(size, static_cast<std::size_t>(alignment));
}
void operator delete(void* pointer) noexcept { __libc_free(pointer); }
void operator delete[](void* pointer) noexcept { __libc_free(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { __libc_free(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { __libc_free(pointer); }
void operator delete(void* pointer, std::align_val_t) noexcept { __libc_free(pointer); }
void operator delete[](void* pointer, std::align_val_t) noexcept { __libc_free(pointer); }
void operator delete(void* pointer, std::size_t, std::align_val_t) noexcept { __libc_free(pointer); }
void operator delete[](void* pointer, std::size_t, std::align_val_t) noexcept { __libc_free(pointer); }

// ---- The scene ------------------------------------------------------------------------------

namespace {

using Decision = HotkeyMonitor::Decision;
using DecideCall = Decision (HotkeyMonitor::*)(std::uint32_t, const TapEvent&);
using EmptyCall = Decision (*)(HotkeyMonitor*, std::uint32_t, const TapEvent&);

// The yardstick: a call of decide's shape that does nothing.
[[gnu::noinline]] Decision emptyDecide(HotkeyMonitor*, std::uint32_t, const TapEvent&) { return Decision::pass; }

// 47 applications as a desktop has them, one per bindable key.
const char* const desktopApps[47][2] = {
    {"org.gnome.Terminal", "Terminal"}, {"org.gnome.Nautilus", "Files"}, {"firefox-esr", "Firefox ESR"},
    {"org.mozilla.Thunderbird", "Thunderbird"}, {"org.gnome.TextEditor", "Text Editor"},
    {"org.gnome.Calculator", "Calculator"}, {"org.gnome.Calendar", "Calendar"}, {"org.gnome.Contacts", "Contacts"},
    {"org.gnome.Maps", "Maps"}, {"org.gnome.Weather", "Weather"}, {"org.gnome.clocks", "Clocks"},
    {"org.gnome.Settings", "Settings"}, {"org.gnome.SystemMonitor", "System Monitor"},
    {"org.gnome.Software", "Software"}, {"org.gnome.Loupe", "Image Viewer"}, {"org.gnome.Evince", "Document Viewer"},
    {"org.gnome.Totem", "Videos"}, {"org.gnome.Music", "Music"}, {"org.gnome.Photos", "Photos"},
    {"org.gnome.Boxes", "Boxes"}, {"org.gnome.Builder", "Builder"}, {"org.gnome.Epiphany", "Web"},
    {"org.gnome.Fractal", "Fractal"}, {"org.gnome.Polari", "Polari"}, {"org.gnome.Shotwell", "Shotwell"},
    {"org.gnome.Rhythmbox3", "Rhythmbox"}, {"org.gnome.baobab", "Disk Usage Analyzer"},
    {"org.gnome.DiskUtility", "Disks"}, {"org.gnome.FileRoller", "File Roller"},
    {"org.gnome.seahorse.Application", "Passwords and Keys"}, {"org.gnome.Logs", "Logs"},
    {"org.gnome.Characters", "Characters"}, {"org.gnome.font-viewer", "Fonts"},
    {"org.gnome.Connections", "Connections"}, {"org.gnome.Extensions", "Extensions"},
    {"org.gnome.Tour", "Tour"}, {"org.gnome.Snapshot", "Camera"}, {"org.gnome.SoundRecorder", "Sound Recorder"},
    {"libreoffice-writer", "LibreOffice Writer"}, {"libreoffice-calc", "LibreOffice Calc"},
    {"libreoffice-impress", "LibreOffice Impress"}, {"gimp", "GNU Image Manipulation Program"},
    {"inkscape", "Inkscape"}, {"org.kde.krita", "Krita"}, {"code", "Visual Studio Code"},
    {"org.keepassxc.KeePassXC", "KeePassXC"}, {"vlc", "VLC media player"},
};

struct Scene {
    QTemporaryDir home;
    QString bindingsPath;
    std::unique_ptr<HotkeyMonitor> monitor;
    std::array<TapEvent, 64> typing{};
    std::array<TapEvent, 47> strokes{};
};

Scene* scene = nullptr;

void buildScene(Scene& s) {
    // A private data folder: no switch file of the user's can turn the log on.
    qputenv("HOME", s.home.path().toUtf8());
    qputenv("XDG_DATA_HOME", (s.home.path() + QStringLiteral("/data")).toUtf8());

    KeyBindingStore::Bindings bindings;
    const auto& keys = KeyStrokeMap::table();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const QString id = QString::fromUtf8(desktopApps[i][0]);
        bindings.insert(KeyStrokeMap::layoutOrder().at(static_cast<qsizetype>(i)),
                        AppEntry{id, QStringLiteral("/usr/share/applications/") + id + QStringLiteral(".desktop"),
                                 QString::fromUtf8(desktopApps[i][1])});
        s.strokes[i] = TapEvent{keys[i].code, EventFlag::command};
    }
    s.bindingsPath = s.home.path() + QStringLiteral("/keyBindings.json");
    FileIO::writeAtomically(s.bindingsPath, KeyBindingStore::encode(bindings));

    s.monitor = std::make_unique<HotkeyMonitor>(s.bindingsPath);
    s.monitor->setStrokeExecution([](const QString&, const AppEntry&) {});
    for (std::size_t i = 0; i < s.typing.size(); ++i)
        s.typing[i] = TapEvent{static_cast<std::int64_t>(i % 40), i % 5 == 0 ? EventFlag::shift : 0};
}

void BM_EmptyCall(benchmark::State& state) {
    EmptyCall call = &emptyDecide;
    HotkeyMonitor* monitor = scene->monitor.get();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(call);
        Decision decision = call(monitor, EventType::keyDown, scene->typing[i++ & 63]);
        benchmark::DoNotOptimize(decision);
    }
}

void BM_DecideTyping(benchmark::State& state) {
    DecideCall call = &HotkeyMonitor::decide;
    HotkeyMonitor* monitor = scene->monitor.get();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(call);
        Decision decision = (monitor->*call)(EventType::keyDown, scene->typing[i++ & 63]);
        benchmark::DoNotOptimize(decision);
    }
}

void BM_DecideStroke(benchmark::State& state) {
    DecideCall call = &HotkeyMonitor::decide;
    HotkeyMonitor* monitor = scene->monitor.get();
    monitor->decide(EventType::flagsChanged, {54, EventFlag::command});
    if (monitor->decide(EventType::keyDown, scene->strokes[0]) != Decision::swallow) {
        state.SkipWithError("a bound stroke was not swallowed");
        return;
    }
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(call);
        Decision decision = (monitor->*call)(EventType::keyDown, scene->strokes[i++ % 47]);
        benchmark::DoNotOptimize(decision);
    }
    monitor->queue().waitUntilIdle();
    monitor->decide(EventType::flagsChanged, {54, 0});
}

void BM_ReadBindingsFile(benchmark::State& state) {
    for (auto _ : state) {
        FileIO::ReadResult read = FileIO::read(scene->bindingsPath, KeyBindingStore::maxFileBytes);
        benchmark::DoNotOptimize(read.bytes.constData());
    }
}

BENCHMARK(BM_EmptyCall);
BENCHMARK(BM_DecideTyping);
BENCHMARK(BM_DecideStroke);
BENCHMARK(BM_ReadBindingsFile);

double typingAllocationsPerEvent() {
    HotkeyMonitor& monitor = *scene->monitor;
    constexpr int events = 1'000'000;
    monitor.decide(EventType::keyDown, scene->typing[0]);  // first use of what decide touches
    const std::uint64_t before = allocations;
    for (int i = 0; i < events; ++i) {
        Decision decision = monitor.decide(EventType::keyDown, scene->typing[i & 63]);
        benchmark::DoNotOptimize(decision);
    }
    return double(allocations - before) / events;
}

} // namespace

int main(int argc, char** argv) {
    Scene built;
    scene = &built;
    buildScene(built);

    FigureReporter reporter;
    if (!runBenchmarks(argc, argv, reporter)) return 1;

    printRatio("decide_typing_ratio", reporter.median("BM_DecideTyping"), reporter.median("BM_EmptyCall"));
    std::printf("figure decide_typing_allocs %g\n", typingAllocationsPerEvent());
    printRatio("decide_stroke_ratio", reporter.median("BM_DecideStroke"), reporter.median("BM_ReadBindingsFile"));

    benchmark::Shutdown();
    built.monitor.reset();
    return 0;
}
