// output_folders.cpp: making the folders a command writes its files in.
#include "output_folders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kvhost {

namespace {

// Whether files can be made in `dir`: a probe file is made and removed, so that no command works
// to its end only to find that nothing can be written.
bool CheckWritable(const std::string &dir, std::string &error) {
    const std::string probe = dir + "/.kavrex-sim-write-check";
    const int fd = open(probe.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) {
        error = dir + ": cannot write in the output folder (" + std::strerror(errno) + ")";
        return false;
    }
    close(fd);
    unlink(probe.c_str());
    return true;
}

}  // namespace

bool MakeFolders(const std::string &dir, std::string &error) {
    for (size_t at = 1; at <= dir.size(); ++at) {
        if (at < dir.size() && dir[at] != '/') continue;
        const std::string part = dir.substr(0, at);
        struct stat st;
        if (stat(part.c_str(), &st) == 0) {
            if (S_ISDIR(st.st_mode)) continue;
            error = part + ": is a file, not a folder for the output";
            return false;
        }
        if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
            error = part + ": cannot create the output folder (" + std::strerror(errno) + ")";
            return false;
        }
    }
    return CheckWritable(dir, error);
}

bool MakeFoldersFor(const std::string &file, std::string &error) {
    const size_t slash = file.rfind('/');
    if (slash == std::string::npos) return CheckWritable(".", error);
    return MakeFolders(slash == 0 ? "/" : file.substr(0, slash), error);
}

}  // namespace kvhost
