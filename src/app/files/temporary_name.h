#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace tessafold {

// Temporary files are named ".tessafold-<pid>-<n>.<host>.<original>.tmp",
// beside their original: the name tells which file, machine and process a
// leftover belongs to, so that it is removed only by a later replacement of
// the same file on the same machine, once its process has ended. A long
// original name is cut and ends in a hash of the whole name.
std::string TemporaryName(std::string_view original, std::string_view host, uint32_t processId, uint32_t serial);

// The process id of a temporary file of `original` made on `host`; 0 for any
// other name.
uint32_t TemporaryFileOwner(std::string_view name, std::string_view original, std::string_view host);

// A host name as it goes into a temporary file's name: letters, digits and
// "_" only.
std::string HostTag(std::string_view host);

}  // namespace tessafold
