#pragma once
// Reading and safely replacing files.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace core {

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

// Moves a file the program cannot use out of its way, keeping it whole for
// whoever wants it: to "<path><suffix>", or where that is taken (an earlier
// file put aside) "<path><suffix>.2", ".3", ... Nothing is ever deleted or
// written over. Each of companions ("-wal", ...) that exists beside the
// file goes along, renamed the same way. The new path, or none when the
// file could not be moved (it is then where it was).
std::optional<std::string> putAside(const std::string& path, const std::string& suffix,
                                    const std::vector<std::string>& companions = {});

} // namespace core
