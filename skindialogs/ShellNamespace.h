#pragma once
// The namespace the file list and folder box browse, mapped onto a Linux
// desktop:
//   rfDesktop     the top: the home folder, the desktop folder (the XDG user
//                 dir, left out when it falls back to the home folder) and
//                 the computer;
//   rfMyComputer  the computer: the file system's root "/" and every volume
//                 a user would browse (mounts under /media, /mnt, /run/media,
//                 pseudo file systems left out), from /proc/self/mounts;
//   rfPersonal    the home folder;
//   other names   their XDG counterparts where one exists (see
//                 SpecialFolderPath), else the "Error setting path" error.
// Any other root is a path: "~" is the home folder, a relative path is taken
// from the current folder.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "AnsiString.h"

class TbsShellFolder;

// $HOME, or the password database's home folder, or "/".
std::string HomeFolder();

// The XDG user dir of `key` ("DESKTOP", "DOCUMENTS", "DOWNLOAD", "MUSIC",
// "PICTURES", "PUBLICSHARE", "TEMPLATES", "VIDEOS") from
// $XDG_CONFIG_HOME/user-dirs.dirs (~/.config by default); empty when the
// file does not name it. "$HOME" in the value is the home folder.
std::string XdgUserDir(std::string_view key);

// The desktop folder when it exists, else the home folder.
std::string DesktopFolder();

struct ShellMount {
    std::string MountPoint;  // bytes, escapes of the mounts file decoded
    std::string Device;
    std::string FileSystem;
};

// The volumes the computer item lists after "/", in the file's order: mount
// points under /media, /mnt and /run/media on a real file system.
std::vector<ShellMount> BrowsableMounts(const std::string& mountsFile = "/proc/self/mounts");

// The folder a special name maps to on this desktop ("rfPersonal" gives the
// home folder, "rfTemplates" the XDG templates folder ...); none for the
// virtual items (rfDesktop, rfMyComputer), for names without a counterpart,
// and when the mapped folder does not exist.
std::optional<std::string> SpecialFolderPath(std::string_view name);
// True for the names of the special-folder table.
bool IsSpecialFolderName(std::string_view name);

// A path typed or given as text (code page 936) as the bytes of an absolute
// path: "~" and "~/..." start at the home folder, a relative path at
// `currentFolder` (bytes); "." and ".." are resolved and doubled slashes
// dropped. A text whose own bytes name an existing path is taken as it is
// (paths the program built from names on disk); otherwise it is converted
// to the file system's UTF-8.
std::string ResolvePathText(const AnsiString& text, const std::string& currentFolder);

// The item a control's Root names: a special folder or a path. Raises
// Exception "Error setting path: "<root>"" when it names nothing browsable.
std::shared_ptr<TbsShellFolder> ResolveShellRoot(const AnsiString& root, const std::string& currentFolder);

// "/a/b/../c/./" -> "/a/c"; never above "/".
std::string NormalizePath(std::string_view absolutePath);
