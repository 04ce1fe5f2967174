// block_io.h: the two kinds of FILEHANDLE a display sees: a reader handing out the lines of
// its scenario block one at a time, and a writer collecting the items it saves.
#ifndef KVHOST_SCENARIO_BLOCK_IO_H
#define KVHOST_SCENARIO_BLOCK_IO_H

#include <Orbitersdk.h>

#include <string>
#include <vector>

namespace kvhost {

class BlockReader {
public:
    explicit BlockReader(std::vector<std::string> lines);
    ~BlockReader();
    BlockReader(const BlockReader &) = delete;
    BlockReader &operator=(const BlockReader &) = delete;

    FILEHANDLE handle() { return this; }
    static BlockReader *From(FILEHANDLE h);  // null for any other handle
    // The next line, its comment and the blanks at both ends removed; false at a line END or
    // after the last line.
    bool Next(char *&line);

private:
    std::vector<std::string> lines_;
    size_t next_ = 0;
    std::vector<char> current_;  // the writable copy the SDK call hands out
};

class BlockWriter {
public:
    BlockWriter();
    ~BlockWriter();
    BlockWriter(const BlockWriter &) = delete;
    BlockWriter &operator=(const BlockWriter &) = delete;

    FILEHANDLE handle() { return this; }
    static BlockWriter *From(FILEHANDLE h);
    void Write(const char *item, const char *value);
    const std::vector<std::string> &lines() const { return lines_; }

private:
    std::vector<std::string> lines_;  // "ITEM value"
};

}  // namespace kvhost

#endif
