#include "LocalDisk.h"

#include <QFile>
#include <QFileInfo>

#include <cstdint>

#ifdef __APPLE__
#include <sys/mount.h>
#include <sys/param.h>
#else
#include <linux/magic.h>
#include <sys/vfs.h>
#endif

namespace {

#ifndef __APPLE__
// Kinds whose reads end as fast as the machine's own storage. Network shares, FUSE and the
// kinds missing here may stall for as long as a server or a helper process does.
constexpr std::uint32_t localKinds[] = {
    EXT4_SUPER_MAGIC,  XFS_SUPER_MAGIC,      BTRFS_SUPER_MAGIC,    TMPFS_MAGIC,       OVERLAYFS_SUPER_MAGIC,
    F2FS_SUPER_MAGIC,  RAMFS_MAGIC,          ECRYPTFS_SUPER_MAGIC, NILFS_SUPER_MAGIC, MSDOS_SUPER_MAGIC,
    EXFAT_SUPER_MAGIC, REISERFS_SUPER_MAGIC,
    0x3153464a, // jfs
    0x2fc12fc1, // zfs
    0xca451a4e, // bcachefs
    0x7366746e, // ntfs3 (the kernel's own, not ntfs-3g over FUSE)
};
#endif

} // namespace

bool LocalDisk::holdsFolderOf(const QString& filePath) {
    const QByteArray folder = QFile::encodeName(QFileInfo(filePath).absolutePath());
    struct statfs info {};
    if (statfs(folder.constData(), &info) != 0) return false;
#ifdef __APPLE__
    return (info.f_flags & MNT_LOCAL) != 0;
#else
    const auto kind = static_cast<std::uint32_t>(info.f_type);
    for (const std::uint32_t local : localKinds)
        if (kind == local) return true;
    return false;
#endif
}
