// block_io.cpp: scenario block readers and writers behind FILEHANDLE.
#include "block_io.h"

#include <strings.h>

#include "scenario_globals.h"

namespace kvhost {

namespace {
std::unordered_set<const void *> &Readers() { return HostScenario().readers; }
std::unordered_set<const void *> &Writers() { return HostScenario().writers; }
}  // namespace

BlockReader::BlockReader(std::vector<std::string> lines) : lines_(std::move(lines)) { Readers().insert(this); }
BlockReader::~BlockReader() { Readers().erase(this); }

BlockReader *BlockReader::From(FILEHANDLE h) { return Readers().count(h) ? static_cast<BlockReader *>(h) : nullptr; }

bool BlockReader::Next(char *&line) {
    // As the simulator's reader: the comment and the blanks at both ends go, and only a line
    // END (or the end of the lines) ends the reading; END_MFD is handed out like any other.
    if (next_ >= lines_.size()) return false;
    std::string s = lines_[next_++];
    const size_t comment = s.find(';');
    if (comment != std::string::npos) s.erase(comment);
    const size_t start = s.find_first_not_of(" \t\r");
    const size_t end = s.find_last_not_of(" \t\r");
    s = start == std::string::npos ? std::string() : s.substr(start, end - start + 1);
    if (strcasecmp(s.c_str(), "END") == 0) {
        next_ = lines_.size();
        return false;
    }
    current_.assign(s.begin(), s.end());
    current_.push_back('\0');
    line = current_.data();
    return true;
}

BlockWriter::BlockWriter() { Writers().insert(this); }
BlockWriter::~BlockWriter() { Writers().erase(this); }

BlockWriter *BlockWriter::From(FILEHANDLE h) { return Writers().count(h) ? static_cast<BlockWriter *>(h) : nullptr; }

void BlockWriter::Write(const char *item, const char *value) {
    lines_.push_back(std::string(item ? item : "") + " " + (value ? value : ""));
}

}  // namespace kvhost
