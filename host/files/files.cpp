// files.cpp: reading and writing whole files.
#include "files.h"

#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace kvhost {

bool ReadTextFile(const std::string &path, const char *what, size_t limit, std::string &text, std::string &error) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) {
        error = path + ": cannot open the " + what + " (" + std::strerror(errno) + ")";
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        error = path + ": a directory, not a " + what;
        return false;
    }
    FILE *f = std::fopen(path.c_str(), "rb");
    if (!f) {
        error = path + ": cannot open the " + what + " (" + std::strerror(errno) + ")";
        return false;
    }
    std::string read;
    char buf[65536];
    // One byte past the limit tells a file that is too long, without reading the rest of it.
    for (size_t n;
         read.size() <= limit && (n = std::fread(buf, 1, std::min(sizeof buf, limit + 1 - read.size()), f)) > 0;)
        read.append(buf, n);
    const bool failed = std::ferror(f) != 0;
    const int why = errno;
    std::fclose(f);
    if (failed) {
        error = path + ": cannot read the " + what + " (" + std::strerror(why) + ")";
        return false;
    }
    if (read.size() > limit) {
        error = path + ": more than " + std::to_string(limit) + " bytes, too long for a " + what;
        return false;
    }
    text = read;
    return true;
}

namespace {

// Writes all of `text` to the open file; false with the cause.
bool WriteAll(FILE *f, const std::string &path, const std::string &text, std::string &error) {
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size() && std::fflush(f) == 0;
    const int why = written ? 0 : errno;
    if (std::fclose(f) != 0 || !written) {
        error = path + ": writing failed (" + std::strerror(why ? why : errno) + ")";
        return false;
    }
    return true;
}

}  // namespace

bool WriteWholeFile(const std::string &path, const std::string &text, std::string &error) {
    // Something that is not a plain file (a device, a pipe) is written into as it is: it cannot
    // be replaced, and a failure removes nothing.
    struct stat st;
    if (stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        FILE *f = std::fopen(path.c_str(), "wb");
        if (!f) {
            error = path + ": cannot write the file (" + std::strerror(errno) + ")";
            return false;
        }
        return WriteAll(f, path, text, error);
    }
    // A file is written beside its target and renamed over it once whole, so that a failure
    // (a full disk) leaves the old file as it was: a flight resumed from its own final.scn
    // never loses it.
    // Through a link, the file it names is replaced, not the link.
    char resolved[PATH_MAX];
    const std::string target = lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode) && realpath(path.c_str(), resolved)
                                   ? std::string(resolved)
                                   : path;
    const std::string temporary = target + ".kavrex-sim-partial";
    FILE *f = std::fopen(temporary.c_str(), "wb");
    if (!f) {
        error = path + ": cannot write the file (" + std::strerror(errno) + ")";
        return false;
    }
    if (!WriteAll(f, path, text, error)) {
        std::remove(temporary.c_str());
        return false;
    }
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        error = path + ": cannot write the file (" + std::strerror(errno) + ")";
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace kvhost
