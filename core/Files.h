#pragma once
// Files of the data directory.
//
// Programs name their data directory as the device did, an absolute path with
// backslashes under "\Program Files\<Application>\". Here that directory is the
// user's application data folder: $XDG_DATA_HOME/<application in lower case>/
// (by default ~/.local/share/<application>/). Files installed with the program
// stand in $XDG_DATA_DIRS and are only ever read.

#include <cstddef>
#include <optional>
#include <string>

namespace core {

// The local path for a device path such as "\Program Files\Skyvane\config.fly".
// A path outside "\Program Files\" only has its backslashes turned into slashes.
std::string resolveDevicePath(const std::string& devicePath);

// The installed, read-only copy of a data file for a device path under
// "\Program Files\<Application>\": the first <dir>/<application>/<file> that
// exists along $XDG_DATA_DIRS (by default /usr/local/share and /usr/share).
// None for other paths or when no copy is installed.
std::optional<std::string> findInstalledCopy(const std::string& devicePath);

// Creates the folder a local data file goes in (the user's data folder,
// created as the desktop's conventions ask, on its first write). False when
// it neither exists nor can be made.
bool makeParentFolder(const std::string& path);

// At most maxBytes from the start of the file; no value when it cannot be opened.
std::optional<std::string> readFileBytes(const std::string& path, std::size_t maxBytes);

enum class WriteStatus {
    Written,      // the new content is in place
    CannotCreate, // nothing could be created (no folder, no permission): the old file is as it was
    WriteFailed,  // writing or replacing failed: the old file is as it was
    Busy,         // another program kept the file locked: nothing was written
};

// What a pilot is told when a write of "<fileWord> file" did not happen, in
// the program's own words ("Cannot write airports file!"); empty for Written.
std::string writeFailureText(WriteStatus status, const std::string& fileWord);

// Replaces the file's content as a whole: the bytes go to a temporary file
// beside it, are flushed and synced to the disk, and only then is it renamed
// over the old one. Any failure (no space, an I/O error, the rename) leaves
// the old file byte for byte and no temporary file behind.
WriteStatus writeFileSafely(const std::string& path, const std::string& bytes);

} // namespace core
