// A text file read line by line: the one reader of every file the program reads (settings,
// rules, flight plans, the simulator's log and airspace files). It never throws; it drops the
// carriage return that ends a CRLF line, takes a last line without line end, and cuts each line
// at the width the caller asks for. It never holds more of a line than that width: the rest of a
// longer line is skipped as it is read, or handed out in pieces of a bounded size.
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

  // The next line, cut at `width` characters, without its line end; the rest of a longer line
  // is skipped.
  Status read_line(std::string& line, std::size_t width);
  // The same line as a view, valid until the next read: most lines are not copied at all.
  Status next_line(std::string_view& line, std::size_t width);

  // As read_line(), but the rest of a longer line is left for read_more(): goes_on() tells
  // whether there is any.
  Status read_line_start(std::string& line, std::size_t width);
  // The same as a view, valid until the next read.
  Status next_line_start(std::string_view& line, std::size_t width);
  bool goes_on() const { return goes_on_; }
  // The next at most `width` characters of the line that read_line_start() cut; false (and an
  // empty piece) once the line has ended. A failed read counts as the line's end, and the next
  // read_line() tells it.
  bool read_more(std::string& piece, std::size_t width);

  // The status as the program reports it: -1 end of file, a positive system error code, 0 ok.
  int last_status() const { return last_status_; }
  // The system error code of a failed open (0 when it opened).
  int open_status() const { return open_status_; }

 private:
  // How a segment of a line ends: more of the line follows, its end was passed, or the file
  // failed before its end.
  enum class Cut { more, ended, failed };
  // The next at most `max` characters of the current line, in the buffer as they stand. Fewer
  // may come with Cut::more when the line fills the whole buffer.
  std::string_view segment(std::size_t max, Cut& cut);
  // Passes what is left of the current line.
  void skip_rest();
  // Reads more of the file after the unread part of the buffer; false when nothing came.
  bool fill();

  std::FILE* file_ = nullptr;
  int last_status_ = 0;
  int open_status_ = 0;
  bool goes_on_ = false;  // the current line has characters not read yet
  // The file is read in blocks, and each line taken from its block with one search.
  std::unique_ptr<char[]> buffer_;
  std::size_t begin_ = 0;  // the unread part of the buffer
  std::size_t end_ = 0;
  long long offset_ = 0;  // where in the file the buffer's first character is
  int read_error_ = 0;    // a read that failed, told once what came before it is used up
  bool at_end_ = false;   // nothing follows what the buffer holds
  std::string spill_;     // a line that runs over from one block into the next
};

}  // namespace brevanto
