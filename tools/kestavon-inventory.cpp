// kestavon-inventory: prints one window inventory of the current X display as indented JSON,
// the snapshot a jump would work from.
#include "Inventory/InventoryJson.h"
#include "Inventory/InventoryService.h"
#include "App/LinuxPlatformChoice.h"

#include <QDateTime>

#include <cstdio>

namespace {

/// Compact JSON re-indented by four spaces, members kept in the order they were written.
QByteArray indented(const QByteArray& compact) {
    QByteArray out;
    int depth = 0;
    bool inString = false;
    const auto newline = [&] { out += '\n' + QByteArray(4 * depth, ' '); };
    for (qsizetype i = 0; i < compact.size(); ++i) {
        const char ch = compact[i];
        if (inString) {
            out += ch;
            if (ch == '\\' && i + 1 < compact.size())
                out += compact[++i];
            else if (ch == '"')
                inString = false;
            continue;
        }
        const bool empty = (ch == '{' || ch == '[') && i + 1 < compact.size() &&
                           (compact[i + 1] == '}' || compact[i + 1] == ']');
        if (empty) {
            out += ch;
            out += compact[++i];
        } else if (ch == '{' || ch == '[') {
            out += ch;
            ++depth;
            newline();
        } else if (ch == '}' || ch == ']') {
            --depth;
            newline();
            out += ch;
        } else if (ch == ',') {
            out += ch;
            newline();
        } else if (ch == ':') {
            out += ": ";
        } else {
            if (ch == '"') inString = true;
            out += ch;
        }
    }
    return out + '\n';
}

} // namespace

int main() {
    QString whyNot;
    const auto platform = LinuxPlatformChoice::create(&whyNot);
    if (!platform) {
        std::fprintf(stderr, "kestavon-inventory: %s\n", qPrintable(whyNot));
        return 1;
    }
    Platform::install(platform.get());
    const QByteArray json = InventoryJson::encode(InventoryService::collect(QDateTime::currentDateTimeUtc()));
    Platform::install(nullptr);
    const QByteArray text = indented(json);
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    return 0;
}
