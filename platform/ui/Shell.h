#pragma once
#include <QIcon>
#include <QList>
#include <QString>

// The shell's view of the machine's storage for folder choosers: the places a
// user can keep files on, with a display name and an icon each. Windows listed
// drive letters (removable, fixed and network drives, no optical drives); Linux
// has mounted volumes instead, so the list is the user's home folder, then every
// mounted volume that holds ordinary files: pseudo and system file systems and
// optical media are left out, and volumes mounted under /media, /run/media or
// /mnt count as removable.
namespace platform::ui {

enum class DriveType { Removable, Fixed, Remote };

struct ShellDrive {
    QString rootPath;     // absolute, without a trailing "/" (except "/" itself)
    QString displayName;  // the volume's label or a name for the place; may be empty
    DriveType type = DriveType::Fixed;
};

// The home folder first, then the mounted volumes ordered by their path.
QList<ShellDrive> shellDrives();

// Whether a mounted file system of this type and mount point is one a user keeps
// files on (shellDrives applies this to every mounted volume).
bool isUserVolume(const QString& fsType, const QString& rootPath);
DriveType driveTypeOf(const QString& fsType, const QString& rootPath);

// Small icons: of a folder or drive path, of an open folder, of the computer.
QIcon shellIcon(const QString& path, DriveType type);
QIcon shellFolderIcon(bool open);
QIcon shellComputerIcon();

}  // namespace platform::ui
