// files.h: whole files, read up to a bound and written so that a failure loses nothing: a file is
// written beside its target and renamed over it once whole, and a failure removes only that
// partial file, never one the program did not make.
#ifndef KVHOST_FILES_FILES_H
#define KVHOST_FILES_FILES_H

#include <cstddef>
#include <string>

namespace kvhost {

// The whole of a file of at most `limit` bytes; false with the cause ("path: ...", naming the file
// as `what`, "scenario file" say) for one that cannot be read, a directory, or one longer than
// `limit`.
bool ReadTextFile(const std::string &path, const char *what, size_t limit, std::string &text, std::string &error);

// Writes `bytes` as the whole of the file at `path`; false with the cause. Something that is not a
// plain file (a device, a pipe) is written into as it stands: it cannot be replaced.
bool WriteWholeFile(const std::string &path, const std::string &bytes, std::string &error);

}  // namespace kvhost

#endif
