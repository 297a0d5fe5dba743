// Every bound stroke reads and decodes the whole bindings file on the event-tap thread. The
// decoding should cost little next to the read itself: lookup() aims at under about 4x a
// plain read of the same bytes.
//
// Prints its figures as "figure NAME VALUE" lines after the benchmark output.

#include "Platform/KeyStrokeMap.h"
#include "Keyboard/BindingsFileReader.h"
#include "Keyboard/KeyBindingStore.h"
#include "Support/FileIO.h"

#include <QTemporaryDir>

#include "FigureReporter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

QString bindingsPath;

// A full keyboard of ordinary desktop applications, written by the store itself.
bool writeFullFile(const QString& folder) {
    const char* const apps[][2] = {
        {"org.gnome.Terminal", "Terminal"},
        {"firefox", "Firefox Web Browser"},
        {"org.gnome.Nautilus", "Files"},
        {"code", "Visual Studio Code"},
        {"thunderbird", "Thunderbird Mail"},
        {"org.gnome.TextEditor", "Text Editor"},
        {"libreoffice-writer", "LibreOffice Writer"},
        {"org.gnome.Calculator", "Calculator"},
        {"gimp", "GNU Image Manipulation Program"},
        {"org.inkscape.Inkscape", "Inkscape"},
        {"vlc", "VLC media player"},
        {"org.gnome.Settings", "Settings"},
    };
    KeyBindingStore store(folder + QStringLiteral("/keyBindings.json"));
    int i = 0;
    for (const QString& key : KeyStrokeMap::layoutOrder()) {
        const auto& [id, name] = apps[i++ % std::size(apps)];
        const QString bundleId =
            QString::fromLatin1(id) + (i > int(std::size(apps)) ? QString::number(i) : QString());
        store.bind(key, {bundleId,
                         QStringLiteral("/usr/share/applications/") + bundleId + QStringLiteral(".desktop"),
                         QString::fromLatin1(name)});
    }
    bindingsPath = store.fileURL();
    return KeyBindingStore::snapshot(bindingsPath).size() == 47;
}

void BM_ReadFile(benchmark::State& state) {
    for (auto _ : state) {
        FileIO::ReadResult read = FileIO::read(bindingsPath, KeyBindingStore::maxFileBytes);
        benchmark::DoNotOptimize(read.bytes.constData());
    }
}

void BM_Lookup(benchmark::State& state) {
    const QStringList& keys = KeyStrokeMap::layoutOrder();
    std::size_t i = 0;
    for (auto _ : state) {
        KeyBindingStore::Lookup found = KeyBindingStore::lookup(bindingsPath, keys[qsizetype(i++ % 47)]);
        benchmark::DoNotOptimize(found.entry);
    }
}

void BM_Snapshot(benchmark::State& state) {
    for (auto _ : state) {
        KeyBindingStore::Bindings bindings = KeyBindingStore::snapshot(bindingsPath);
        benchmark::DoNotOptimize(bindings.size());
    }
}

// Validation alone, from memory: what the reader adds to the read before building any text.
void BM_ParseInMemory(benchmark::State& state) {
    const QByteArray bytes = FileIO::read(bindingsPath, KeyBindingStore::maxFileBytes).bytes;
    for (auto _ : state) {
        BindingsFileReader::Result result = BindingsFileReader::parse(bytes);
        benchmark::DoNotOptimize(result.document.ranks);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * bytes.size());
}

BENCHMARK(BM_ReadFile);
BENCHMARK(BM_Lookup);
BENCHMARK(BM_Snapshot);
BENCHMARK(BM_ParseInMemory);

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir folder;
    if (!folder.isValid() || !writeFullFile(folder.path())) {
        std::fprintf(stderr, "could not write the bindings file\n");
        return 1;
    }

    FigureReporter reporter;
    if (!runBenchmarks(argc, argv, reporter)) return 1;

    const double read = reporter.median("BM_ReadFile");
    printRatio("bindings_lookup_ratio", reporter.median("BM_Lookup"), read);
    printRatio("bindings_snapshot_ratio", reporter.median("BM_Snapshot"), read);
    printRatio("bindings_parse_ratio", reporter.median("BM_ParseInMemory"), read);
    benchmark::Shutdown();
    return 0;
}
