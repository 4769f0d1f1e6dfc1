#pragma once
// Replacing a file so that whoever reads it, even after a crash or a power
// cut in the middle of the write, finds either the old contents or the whole
// new contents, never a truncated mix.

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string_view>

#include "engine/base/Errors.h"

namespace bd {

BD_DECLARE_ERROR(EInOutError);

// The low-level write used for the data, with the signature of write(2).
// Tests put a failing or crashing one in its place.
using TWriteCall = std::function<ssize_t(int fd, const void* data, size_t size)>;

// Writes `data` into a temporary file next to `path`, flushes it to the disk
// and renames it over `path`. The file keeps the permissions of the file it
// replaces. On failure the temporary file is removed, `path` is left as it
// was and EInOutError is thrown. An empty `write` means write(2).
void WriteFileAtomically(const std::filesystem::path& path, std::string_view data,
                         const TWriteCall& write = {});

// The name of the temporary file used for `path`.
std::filesystem::path TemporaryPathFor(const std::filesystem::path& path);

}  // namespace bd
