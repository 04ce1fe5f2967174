// output_folders.h: the folders a command writes its files in, made and checked before the work.
#ifndef KVHOST_RECORD_OUTPUT_FOLDERS_H
#define KVHOST_RECORD_OUTPUT_FOLDERS_H

#include <string>

namespace kvhost {

// Makes the folder and any folders above it that do not exist yet, and checks that files can be
// written in it; false with the cause.
bool MakeFolders(const std::string &dir, std::string &error);
// The same for the folder a file is to be written in (the current one for a bare name).
bool MakeFoldersFor(const std::string &file, std::string &error);

}  // namespace kvhost

#endif
