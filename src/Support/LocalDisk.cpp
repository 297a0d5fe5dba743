#include "LocalDisk.h"

#include <QByteArray>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>
#include <iterator>

namespace {

// Kinds whose reads end as fast as the machine's own storage, by the names the system gives
// them. Network shares (nfs, cifs, smbfs), user-space file systems (fuse.*) and the kinds
// missing here may stall for as long as a server or a helper process does.
constexpr const char* localKinds[] = {
    "apfs",   "btrfs", "ecryptfs", "exfat", "ext2",     "ext3",  "ext4", "f2fs", "hfs", "jfs",      "msdos",
    "nilfs2", "ntfs3", "overlay",  "ramfs", "reiserfs", "tmpfs", "vfat", "xfs",  "zfs", "bcachefs",
};

} // namespace

bool LocalDisk::holdsFolderOf(const QString& filePath) {
    // A folder that does not exist has no file system to ask, and counts as not local.
    const QStorageInfo storage(QFileInfo(filePath).absolutePath());
    if (!storage.isValid()) return false;
    const QByteArray kind = storage.fileSystemType();
    return std::any_of(std::begin(localKinds), std::end(localKinds),
                       [&kind](const char* local) { return kind == local; });
}
