#include "platform/ui/Shell.h"

#include <QApplication>
#include <QDir>
#include <QFileIconProvider>
#include <QSet>
#include <QStorageInfo>
#include <QStyle>
#include <algorithm>

namespace platform::ui {
namespace {

bool under(const QString& path, const QString& folder) {
    return path == folder || path.startsWith(folder + "/");
}

QString withoutTrailingSlash(QString p) {
    while (p.size() > 1 && p.endsWith('/')) p.chop(1);
    return p;
}

}  // namespace

bool isUserVolume(const QString& fsType, const QString& rootPath) {
    static const QSet<QString> kPseudo{
        "proc", "sysfs", "devtmpfs", "devpts", "tmpfs", "cgroup", "cgroup2", "securityfs", "pstore",
        "debugfs", "tracefs", "mqueue", "hugetlbfs", "fusectl", "configfs", "bpf", "autofs",
        "binfmt_misc", "efivarfs", "rpc_pipefs", "nsfs", "ramfs", "squashfs", "fuse.gvfsd-fuse",
        "fuse.portal", "selinuxfs", "nfsd",
        // Optical media: the original listed no CD or DVD drives.
        "iso9660", "udf"};
    if (kPseudo.contains(fsType)) return false;
    for (const char* system : {"/proc", "/sys", "/dev", "/boot", "/snap", "/etc", "/var/lib"})
        if (under(rootPath, QString::fromLatin1(system))) return false;
    // /run holds only system mounts, except the removable media of a desktop.
    if (under(rootPath, "/run") && !under(rootPath, "/run/media")) return false;
    return true;
}

DriveType driveTypeOf(const QString& fsType, const QString& rootPath) {
    static const QSet<QString> kRemote{"nfs", "nfs4", "cifs", "smb3",      "smbfs", "fuse.sshfs",
                                       "9p",  "afs",  "ceph", "glusterfs", "davfs"};
    if (kRemote.contains(fsType)) return DriveType::Remote;
    for (const char* media : {"/media", "/run/media", "/mnt"})
        if (under(rootPath, QString::fromLatin1(media)) && rootPath != QString::fromLatin1(media))
            return DriveType::Removable;
    return DriveType::Fixed;
}

QList<ShellDrive> shellDrives() {
    QList<ShellDrive> out;
    const QString home = withoutTrailingSlash(QDir::homePath());
    out.append({home, QStringLiteral("ホーム"), DriveType::Fixed});

    QList<ShellDrive> volumes;
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        if (!v.isValid() || !v.isReady()) continue;
        const QString root = withoutTrailingSlash(v.rootPath());
        const QString type = QString::fromLatin1(v.fileSystemType());
        if (!isUserVolume(type, root)) continue;
        QString name = v.name();
        if (name.isEmpty() && root == "/") name = QStringLiteral("ローカル ディスク");
        if (std::any_of(volumes.begin(), volumes.end(),
                        [&](const ShellDrive& d) { return d.rootPath == root; }))
            continue;  // a path mounted twice shows once
        volumes.append({root, name, driveTypeOf(type, root)});
    }
    std::sort(volumes.begin(), volumes.end(),
              [](const ShellDrive& a, const ShellDrive& b) { return a.rootPath < b.rootPath; });
    out.append(volumes);
    return out;
}

QIcon shellIcon(const QString& /*path*/, DriveType type) {
    QFileIconProvider provider;
    return provider.icon(type == DriveType::Remote ? QFileIconProvider::Network
                                                   : QFileIconProvider::Drive);
}

QIcon shellFolderIcon(bool open) {
    if (qApp && open) return qApp->style()->standardIcon(QStyle::SP_DirOpenIcon);
    return QFileIconProvider().icon(QFileIconProvider::Folder);
}

QIcon shellComputerIcon() {
    return QFileIconProvider().icon(QFileIconProvider::Computer);
}

}  // namespace platform::ui
