// Whole-file reads and atomic writes on HOST paths, for platform code (the
// property-list reader and writer, NSData, CFPreferences, the simulator).
// Product code names phone paths and goes through the Foundation classes.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace NS {

// The largest file that is read at all: far past any settings file, small
// enough that a corrupt or hostile file cannot exhaust memory.
inline constexpr std::size_t kMaxReadableFileSize = std::size_t{64} << 20;

// The whole content of a regular file, or nothing when it is missing,
// unreadable, not a regular file (a FIFO or a device is never opened for
// reading in a way that could block) or larger than kMaxReadableFileSize.
std::optional<std::vector<unsigned char>> readHostFile(const std::string& hostPath);

// Writes the bytes to a temporary file in the same folder, flushes it to the
// disk, and renames it over the target, so that a reader sees the old file
// or the new one and never a part. The temporary file is removed on any
// failure; nothing is left behind. A writer killed between creating its
// temporary file and renaming it cannot remove it, so each write first
// removes the target's temporary files whose writer process has ended. The
// new file has mode 0644.
bool writeHostFileAtomically(const std::string& hostPath, const void* bytes, std::size_t length);

// Writes in place (truncate, write): a reader may see a partial file.
bool writeHostFileDirectly(const std::string& hostPath, const void* bytes, std::size_t length);

}  // namespace NS
