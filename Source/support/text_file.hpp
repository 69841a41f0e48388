// A text file read line by line: the one reader of every file the program reads (settings,
// rules, flight plans, the simulator's log and airspace files). It never throws. A line ends at
// a line feed, at a run of carriage returns followed by a line feed, or at a carriage return
// that no line feed follows (each one then ends a line: "a\r\rb" is "a", "", "b"); a last line
// without line end counts, and no line keeps a carriage return. A UTF-8 byte-order mark at the
// start of the file is dropped. Each line is cut at the width the caller asks for, and no more
// of a line than that width is ever held: the rest of a longer line is skipped as it is read, or
// handed out in pieces of a bounded size.
#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace brevanto {

class Console;

class TextFile {
 public:
  enum class Status { ok, end, error };
  // How the file's bytes are taken: as Windows-1252, the simulator's own files; or judged first
  // (plans and rules files, which an editor may have saved as UTF-8): a file that is valid UTF-8
  // throughout and holds characters beyond ASCII is converted to Windows-1252 as it is read, a
  // character that Windows-1252 cannot spell becoming "?". Any byte sequence that is not valid
  // UTF-8 (an overlong form, a surrogate, beyond U+10FFFF, cut short) makes it Windows-1252.
  enum class Decoding { windows1252, detect_utf8 };

  TextFile() = default;
  explicit TextFile(std::string_view path, Decoding decoding = Decoding::windows1252) {
    open(path, decoding);
  }
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;
  ~TextFile() { close(); }

  // Opens a path text of the program (mapped to the native path) for reading; only a regular
  // file opens. With detect_utf8 the whole file is judged before its first line is handed out
  // (read in blocks, as far as its first sequence that is not UTF-8).
  bool open(std::string_view path, Decoding decoding = Decoding::windows1252);
  // Reads `bytes` as the file's content, as a file of them would be read: for plans and rules
  // that come as bytes (the web page, the tests). The bytes must outlive the reading.
  void open_bytes(std::string_view bytes, Decoding decoding = Decoding::windows1252);
  bool is_open() const { return file_ != nullptr || bytes_.has_value(); }
  // The file is UTF-8 text, read converted to Windows-1252.
  bool from_utf8() const { return from_utf8_; }
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
  // next_line_start() past its fast path: a line not whole in the buffer within the width, the
  // rest of a cut line to pass first, carriage returns to count, the end of the file.
  Status next_line_slowly(std::string_view& line, std::size_t width);
  // Passes what is left of the current line.
  void skip_rest();
  // Passes the line end whose first character (a line feed or a carriage return) is at `at` in
  // the buffer. A carriage return that more of them or the end of the buffer follows is passed
  // alone, and the rest of its line end left to pass_returns().
  void pass_line_end(std::size_t at);
  // Passes the carriage returns that follow the one that ended the last line, and the line feed
  // after them; when no line feed follows, each of them ends an empty line.
  void pass_returns();
  // Reads more of the file after the unread part of the buffer; false when nothing came.
  bool fill();
  // Reads up to `wanted` bytes of the file into `to`; a short read sets `error` or `end`.
  std::size_t read_block(char* to, std::size_t wanted, int& error, bool& end);
  // Judges the encoding of the file just opened: reads it, and leaves the buffer, the file and
  // the conversion ready for its first line.
  void judge_encoding();
  // Up to `wanted` Windows-1252 bytes of a UTF-8 file into `to`, read through raw_.
  std::size_t read_converted(char* to, std::size_t wanted);

  // Back to the first byte of the file or the bytes, nothing of it read or converted yet.
  void restart();

  std::FILE* file_ = nullptr;
  std::optional<std::string_view> bytes_;  // the content, when it comes as bytes
  std::size_t bytes_read_ = 0;
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

  std::size_t start_ = 0;  // where the first line starts while the buffer holds the file's start
  bool cr_ended_ = false;  // the last line ended at a carriage return not yet known to be alone
  std::size_t empty_lines_ = 0;  // empty lines, ended by lone carriage returns, not handed out
  bool from_utf8_ = false;
  // The bytes of a UTF-8 file too big for one block, read here and converted into the buffer.
  std::unique_ptr<char[]> raw_;
  std::size_t raw_begin_ = 0;
  std::size_t raw_end_ = 0;
  int raw_error_ = 0;
  bool raw_at_end_ = false;
  bool raw_at_start_ = false;  // the next raw block is the file's first: a mark may open it
};

// Says on the console, in one line, that `file`, a plan or a rules file opened from `path` with
// detection, is UTF-8 text read converted to Windows-1252; nothing when it is not.
void tell_if_from_utf8(Console& con, const TextFile& file, std::string_view path);

}  // namespace brevanto
