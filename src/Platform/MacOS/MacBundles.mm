#include "MacBundles.h"

#include "Platform/MacOS/BundleDictionary.h"
#include "Platform/MacOS/CFPropertyAccess.h"

#include <AppKit/AppKit.h>

#include <QCryptographicHash>
#include <QDir>
#include <QSet>
#include <QStandardPaths>

#include <mutex>

namespace {

QVariantMap dictionaryOf(NSDictionary<NSString*, id>* _Nullable dictionary) {
    if (dictionary == nil) return {};
    return PropertyList::toVariant(CFPropertyAccess{}, (__bridge CFDictionaryRef)dictionary).toMap();
}

// Icons big enough for the key caps on a Retina screen.
constexpr CGFloat iconSide = 128;

} // namespace

QStringList MacBundles::applicationRoots() {
    return {QStringLiteral("/Applications"),
            QStringLiteral("/Applications/Utilities"),
            QDir::homePath() + QStringLiteral("/Applications"),
            QStringLiteral("/System/Applications"),
            QStringLiteral("/System/Applications/Utilities"),
            QStringLiteral("/System/Library/CoreServices/Finder.app")};
}

QString MacBundles::bundleSuffix() {
    return QStringLiteral(".app");
}

std::optional<QStringList> MacBundles::contentsOfDirectory(const QString& path) {
    NSError* error = nil;
    NSArray<NSString*>* names = [NSFileManager.defaultManager contentsOfDirectoryAtPath:path.toNSString() error:&error];
    if (names == nil) return std::nullopt;
    QStringList listed;
    for (NSString* name in names)
        listed.append(QString::fromNSString(name));
    return listed;
}

std::optional<BundleInfo> MacBundles::bundleInfo(const QString& path) {
    NSBundle* bundle = [NSBundle bundleWithPath:path.toNSString()];
    if (bundle == nil) return std::nullopt;
    NSDictionary<NSString*, id>* info = bundle.infoDictionary;
    if (info == nil) return std::nullopt;
    return BundleDictionary::toBundleInfo(dictionaryOf(info), dictionaryOf(bundle.localizedInfoDictionary));
}

QString MacBundles::iconName(const QString& path) {
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/icons");
    const QString file = folder + QLatin1Char('/') +
                         QString::fromLatin1(QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex()) +
                         QStringLiteral(".png");
    // Written afresh once per run, so an application's new icon shows after a restart.
    static std::mutex mutex;
    static QSet<QString> written;
    std::lock_guard lock(mutex);
    if (written.contains(file)) return file;
    if (!QDir().mkpath(folder)) return {};

    NSImage* icon = [NSWorkspace.sharedWorkspace iconForFile:path.toNSString()];
    icon.size = NSSize{iconSide, iconSide};
    CGImageRef image = [icon CGImageForProposedRect:nullptr context:nil hints:nil];
    if (image == nullptr) return {};
    NSBitmapImageRep* bitmap = [[NSBitmapImageRep alloc] initWithCGImage:image];
    NSData* png = [bitmap representationUsingType:NSBitmapImageFileTypePNG properties:@{}];
    if (png == nil || ![png writeToFile:file.toNSString() atomically:YES]) return {};
    written.insert(file);
    return file;
}
