// A text file read line by line: the one reader of every file the program reads (settings,
// rules, flight plans, the simulator's log and airspace files). It never throws; it drops the
// carriage return that ends a CRLF line, takes a last line without line end, and cuts each line
// at the width the caller asks for (the rest of that line is skipped).
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace brevanto {

class TextFile {
 public:
  enum class Status { ok, end, error };

  TextFile() = default;
  explicit TextFile(std::string_view path) { open(path); }
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;
  ~TextFile() { close(); }

  // Opens a path text of the program (mapped to the native path) for reading; only a regular
  // file opens.
  bool open(std::string_view path);
  bool is_open() const { return file_ != nullptr; }
  void close();
  // Back to the first line (without reading again a file that fits in one block).
  void rewind();

  // The next line, cut at `width` characters (0: whole), without its line end. `line` keeps its
  // room from one call to the next.
  Status read_line(std::string& line, std::size_t width = 0);
  // The same line as a view, valid until the next read: most lines are not copied at all.
  Status next_line(std::string_view& line, std::size_t width = 0);

  // The status as the program reports it: -1 end of file, a positive system error code, 0 ok.
  int last_status() const { return last_status_; }
  // The system error code of a failed open (0 when it opened).
  int open_status() const { return open_status_; }

 private:
  // Reads the next block into the buffer; false at the end of the file or on a read error.
  bool fill();

  std::FILE* file_ = nullptr;
  int last_status_ = 0;
  int open_status_ = 0;
  // The file is read in blocks, and each line is taken from the block with one search.
  std::unique_ptr<char[]> buffer_;
  std::size_t begin_ = 0;  // the unread part of the buffer
  std::size_t end_ = 0;
  std::string spill_;       // a line that runs over from one block into the next
  int read_error_ = 0;      // the error that ended the last block, reported once it is used up
  bool at_end_ = false;     // the last block ended the file
  std::size_t blocks_ = 0;  // blocks read from the file's start
};

}  // namespace brevanto
