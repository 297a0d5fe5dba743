// The picker's catalog on 2,000 desktop entries: the scan through the X11 bundles (listing the
// applications folders and reading every entry) against a plain listing and read of the same
// files, and the filtering of the scanned entries for one keystroke.
#include "Keyboard/AppCatalog.h"
#include "Platform/Platform.h"
#include "Platform/Fake/FakePlatform.h"
#include "Platform/Linux/DesktopEntryBundles.h"

#include "FigureReporter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <random>

namespace {

/// The fake desktop with real desktop entries in place of its bundles.
class PlatformWithEntries final : public Platform {
public:
    TimePort& time() override { return fake.time(); }
    WindowServerPort& windowServer() override { return fake.windowServer(); }
    SpaceSwitcherPort& spaceSwitcher() override { return fake.spaceSwitcher(); }
    WindowOperationsPort& windowOperations() override { return fake.windowOperations(); }
    KeyboardTapPort& keyboardTap() override { return fake.keyboardTap(); }
    BundlePort& bundles() override { return entries; }
    WorkspacePort& workspace() override { return fake.workspace(); }
    UpdaterPort& updater() override { return fake.updater(); }
    const PlatformWords& words() override { return fake.words(); }

    FakePlatform fake;
    DesktopEntryBundles entries;
};


constexpr int entryCount = 2000;
QString applications;
QList<AppEntry> scanned;

// Names of two made-up words, as varied as installed applications' names are.
QString madeUpName(std::mt19937& random) {
    static const char* const syllables[] = {"ka", "lo", "mi", "ter", "sol", "vex", "na", "ri", "do",
                                            "pan", "qu", "bel", "zo", "fi", "gra", "us", "et", "hy"};
    std::uniform_int_distribution<int> syllable(0, std::size(syllables) - 1);
    std::uniform_int_distribution<int> length(2, 4);
    QString name;
    for (int word = 0; word < 2; ++word) {
        if (word) name += QLatin1Char(' ');
        QString text;
        for (int i = length(random); i > 0; --i) text += QLatin1String(syllables[syllable(random)]);
        text[0] = text[0].toUpper();
        name += text;
    }
    return name;
}

bool writeEntries(const QString& folder) {
    std::mt19937 random(11);
    for (int i = 0; i < entryCount; ++i) {
        const QString name = madeUpName(random);
        const QByteArray text = "[Desktop Entry]\nType=Application\nName=" + name.toUtf8() +
                                "\nGenericName=Made-up application\nComment=One of the generated entries\n"
                                "Exec=/usr/bin/true %U\nIcon=app-" + QByteArray::number(i) +
                                "\nTerminal=false\nCategories=Utility;Development;\n"
                                "Keywords=generated;benchmark;\n";
        QFile file(folder + QStringLiteral("/app-%1.desktop").arg(i, 4, 10, QLatin1Char('0')));
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) return false;
    }
    return true;
}

void BM_CatalogScan(benchmark::State& state) {
    for (auto _ : state) {
        QList<AppEntry> entries = AppCatalog::scan(AppCatalog::defaultRoots());
        if (entries.size() != entryCount) state.SkipWithError("the scan missed entries");
        benchmark::DoNotOptimize(entries);
    }
}

// What any scan must do at least: list the folder and read each file whole.
void BM_PlainListAndRead(benchmark::State& state) {
    for (auto _ : state) {
        qint64 bytes = 0;
        const QStringList names = QDir(applications).entryList(QDir::Files, QDir::Name);
        for (const QString& name : names) {
            QFile file(applications + QLatin1Char('/') + name);
            if (file.open(QIODevice::ReadOnly)) bytes += file.readAll().size();
        }
        if (names.size() != entryCount) state.SkipWithError("the listing missed files");
        benchmark::DoNotOptimize(bytes);
    }
}

void BM_FilterOneKeystroke(benchmark::State& state) {
    const QString keyword = QStringLiteral("t");
    for (auto _ : state) {
        QList<AppEntry> found = AppCatalog::filter(scanned, keyword);
        benchmark::DoNotOptimize(found);
    }
}

BENCHMARK(BM_CatalogScan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainListAndRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterOneKeystroke)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    applications = home.path() + QStringLiteral("/data/applications");
    if (!home.isValid() || !QDir().mkpath(applications) || !QDir().mkpath(home.path() + "/none") ||
        !writeEntries(applications)) {
        std::fprintf(stderr, "could not write the desktop entries\n");
        return 1;
    }
    // The generated entries are the only ones: no installed application counts.
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path() + QStringLiteral("/data")));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(home.path() + QStringLiteral("/none")));
    PlatformWithEntries platform;
    Platform::install(&platform);
    scanned = AppCatalog::scan(AppCatalog::defaultRoots());
    std::fprintf(stderr, "%lld entries scanned, %lld match \"t\"\n", static_cast<long long>(scanned.size()),
                 static_cast<long long>(AppCatalog::filter(scanned, QStringLiteral("t")).size()));

    FigureReporter reporter;
    if (!runBenchmarks(argc, argv, reporter)) return 1;
    printRatio("catalog_scan_ratio", reporter.median("BM_CatalogScan"), reporter.median("BM_PlainListAndRead"));
    const double filterMs = reporter.median("BM_FilterOneKeystroke");
    if (filterMs < 0)
        std::printf("figure filter_ms_2000 nan\n");
    else
        std::printf("figure filter_ms_2000 %.4f\n", filterMs);
    Platform::install(nullptr);
    benchmark::Shutdown();
    return 0;
}
