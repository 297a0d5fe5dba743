// Desktop-entry reading: the bytes of a .desktop file, read as the X11 backend reads one
// from an applications folder. A read gives an application entry (with a name, and a program
// or D-Bus activation) or nothing.
#include "FuzzCheck.h"

#include "Platform/Linux/DesktopEntry.h"

#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>
#include <unistd.h>

namespace {

// One scratch file per process, rewritten for every input and removed at exit.
class ScratchFile {
public:
    ScratchFile()
        : path_(QDir::temp().filePath(QStringLiteral("kestavon-fuzz-%1.desktop").arg(::getpid()))) {}
    ~ScratchFile() { QFile::remove(path_); }

    const QString& write(const std::uint8_t* data, std::size_t size) {
        QFile file(path_);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
        return path_;
    }

private:
    QString path_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ScratchFile scratch;
    const QString& path = scratch.write(data, size);
    const std::optional<DesktopEntry> entry = DesktopEntry::read(path, QStringLiteral("fuzz.desktop"));
    if (!entry) return 0;
    FUZZ_CHECK(!entry->name.isEmpty() && !entry->localizedName.isEmpty());
    FUZZ_CHECK(entry->path == path && entry->id == QLatin1String("fuzz.desktop"));
    FUZZ_CHECK(entry->executable.isEmpty() || !entry->exec.isEmpty());
    FUZZ_CHECK(!entry->executable.contains(QLatin1Char('/')));
    FUZZ_CHECK(entry->idStem() == QLatin1String("fuzz"));
    return 0;
}
