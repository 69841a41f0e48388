// A text file read line by line: the one reader of every file the program reads (settings,
// rules, flight plans, the simulator's log and airspace files). It never throws; it drops the
// carriage return that ends a CRLF line, takes a last line without line end, and cuts each line
// at the width the caller asks for. It never holds more of a line than that width: the rest of a
// longer line is skipped as it is read, or handed out in pieces of a bounded size.
#pragma once

#include <cstdio>
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
  // Back to the first line.
  void rewind();

  // The next line, cut at `width` characters, without its line end; the rest of a longer line
  // is skipped.
  Status read_line(std::string& line, std::size_t width);

  // As read_line(), but the rest of a longer line is left for read_more(): goes_on() tells
  // whether there is any.
  Status read_line_start(std::string& line, std::size_t width);
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
  // Appends up to `width` characters of the current line to `out`; false at the line's end.
  bool take(std::string& out, std::size_t width);
  // The line feed, or a carriage return before a line feed or the end of the file, ends a line.
  bool at_line_end(int c);
  void skip_rest();

  std::FILE* file_ = nullptr;
  int last_status_ = 0;
  int open_status_ = 0;
  bool goes_on_ = false;     // the current line has characters not read yet
  bool pending_cr_ = false;  // a carriage return of the line's content, read ahead at a cut
  int read_error_ = 0;       // a read that failed inside a line, told by the next line's read
};

}  // namespace brevanto
