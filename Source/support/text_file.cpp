#include "text_file.hpp"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

#include "console.hpp"
#include "encoding.hpp"
#include "platform.hpp"

namespace brevanto {

namespace {
// A flight plan fits in one block, a landscape's airspace file in a few.
constexpr std::size_t kBlock = std::size_t{16} * 1024;
constexpr int kReadFault = 5;  // the error a failed read gives when the system names none
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool is_line_end(char c) {
  return c == '\n' || c == '\r';
}

// Where the first line feed or carriage return of from[0, n) is; n when there is none. Sixteen
// characters at a time with SSE2 (every x86-64 processor has it), else eight at a time: the
// search is most of the reading of a line, and inlined in its fast path.
[[gnu::always_inline]] inline std::size_t line_end(const char* from, std::size_t n) {
  std::size_t i = 0;
#if defined(__SSE2__) || defined(_M_X64)
  const __m128i feeds = _mm_set1_epi8('\n');
  const __m128i returns = _mm_set1_epi8('\r');
  for (; i + 16 <= n; i += 16) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
    const int found = _mm_movemask_epi8(
        _mm_or_si128(_mm_cmpeq_epi8(chunk, feeds), _mm_cmpeq_epi8(chunk, returns)));
    if (found != 0)
      return i + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(found)));
  }
#else
  if constexpr (std::endian::native == std::endian::little) {
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHighs = 0x8080808080808080;
    for (; i + 8 <= n; i += 8) {
      std::uint64_t word = 0;
      std::memcpy(&word, from + i, 8);
      const std::uint64_t feeds = word ^ (kOnes * '\n');
      const std::uint64_t returns = word ^ (kOnes * '\r');
      // The high bit of each byte that is zero: exact up to the first such byte, which is all
      // that is asked.
      const std::uint64_t found =
          (((feeds - kOnes) & ~feeds) | ((returns - kOnes) & ~returns)) & kHighs;
      if (found != 0) return i + static_cast<std::size_t>(std::countr_zero(found) / 8);
    }
  }
#endif
  for (; i < n; ++i) {
    if (is_line_end(from[i])) return i;
  }
  return n;
}

// How many characters from[0, n) starts with that are ASCII.
std::size_t ascii_run(const char* from, std::size_t n) {
  std::size_t i = 0;
#if defined(__SSE2__) || defined(_M_X64)
  while (i + 16 <= n &&
         _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i))) == 0)
    i += 16;
#else
  for (; i + 8 <= n; i += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, from + i, 8);
    if ((word & 0x8080808080808080) != 0) break;
  }
#endif
  while (i < n && static_cast<unsigned char>(from[i]) < 0x80)
    ++i;
  return i;
}

// Tells, block after block, whether a file is UTF-8 text: a sequence cut by the end of a block
// is completed by the next one.
class Utf8Judge {
 public:
  // Takes the next bytes of the file; false once they cannot be UTF-8.
  bool take(const char* from, std::size_t n) {
    std::size_t i = 0;
    char32_t cp = 0;
    while (held_ > 0 && i < n) {
      head_[held_++] = from[i++];
      const int length = platform::utf8_sequence({head_, held_}, cp);
      if (length < 0) return false;
      if (length > 0) held_ = 0;
    }
    for (;;) {
      i += ascii_run(from + i, n - i);
      if (i == n) break;
      beyond_ascii_ = true;
      const int length = platform::utf8_sequence({from + i, n - i}, cp);
      if (length < 0) return false;
      if (length == 0) {  // cut by the end of the block
        held_ = n - i;
        std::memcpy(head_, from + i, held_);
        return true;
      }
      i += static_cast<std::size_t>(length);
    }
    return true;
  }
  // After the last block: the file is UTF-8 that needs converting.
  bool convert() const { return held_ == 0 && beyond_ascii_; }

 private:
  char head_[4] = {};  // the start of a sequence cut by the end of the last block
  std::size_t held_ = 0;
  bool beyond_ascii_ = false;
};

// Converts the UTF-8 text in[0, n) to Windows-1252 into out[0, room) (`out` may be `in`): gives
// the bytes written and sets `used` to the bytes taken. A sequence cut by the end of `in` waits
// for more unless `last`; a byte that starts no sequence (the file changed since it was judged)
// is taken as it is.
std::size_t convert(const char* in, std::size_t n, bool last, char* out, std::size_t room,
                    std::size_t& used) {
  std::size_t i = 0;
  std::size_t made = 0;
  char32_t cp = 0;
  while (i < n && made < room) {
    const char c = in[i];
    if (static_cast<unsigned char>(c) < 0x80) {
      out[made++] = c;
      ++i;
      continue;
    }
    const int length = platform::utf8_sequence({in + i, n - i}, cp);
    if (length == 0 && !last) break;
    if (length <= 0) {
      out[made++] = c;
      ++i;
    } else {
      out[made++] = platform::unicode_to_cp1252(cp);
      i += static_cast<std::size_t>(length);
    }
  }
  used = i;
  return made;
}

}  // namespace

bool TextFile::open(std::string_view path, Decoding decoding) {
  close();
  file_ = platform::open_regular_file(path, open_status_);
  last_status_ = open_status_;
  if (file_ == nullptr) return false;
  // The blocks are read straight into the buffer: the stream's own would be one copy more.
  std::setvbuf(file_, nullptr, _IONBF, 0);
  if (!buffer_) buffer_ = std::make_unique<char[]>(kBlock);
  if (decoding == Decoding::detect_utf8) judge_encoding();
  return true;
}

void TextFile::open_bytes(std::string_view bytes, Decoding decoding) {
  close();
  bytes_ = bytes;
  bytes_read_ = 0;
  open_status_ = last_status_ = 0;
  if (!buffer_) buffer_ = std::make_unique<char[]>(kBlock);
  if (decoding == Decoding::detect_utf8) judge_encoding();
}

void TextFile::restart() {
  if (file_ != nullptr) std::rewind(file_);
  bytes_read_ = 0;
  begin_ = end_ = start_ = 0;
  offset_ = 0;
  read_error_ = 0;
  at_end_ = false;
  raw_begin_ = raw_end_ = 0;
  raw_error_ = 0;
  raw_at_end_ = false;
  raw_at_start_ = true;
}

void TextFile::close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  bytes_.reset();
  begin_ = end_ = start_ = 0;
  offset_ = 0;
  read_error_ = 0;
  at_end_ = goes_on_ = cr_ended_ = from_utf8_ = false;
  empty_lines_ = 0;
  raw_.reset();
}

void TextFile::rewind() {
  last_status_ = 0;
  goes_on_ = cr_ended_ = false;
  empty_lines_ = 0;
  if (offset_ == 0 && read_error_ == 0) {
    // The buffer still holds the file's start: read it again from there.
    begin_ = start_;
    return;
  }
  restart();
}

void TextFile::judge_encoding() {
  Utf8Judge judge;
  bool utf8 = true;
  do {
    begin_ = end_;  // what was judged goes
    fill();
    utf8 = judge.take(buffer_.get() + begin_, end_ - begin_);
  } while (utf8 && !at_end_ && read_error_ == 0);
  if (read_error_ != 0) {
    // Read as Windows-1252: the lines of the first block and then the error, or at once the
    // error when the first block has gone.
    if (offset_ == 0) {
      begin_ = start_;
    } else {
      begin_ = end_ = 0;
    }
    return;
  }
  const bool converting = utf8 && judge.convert();
  if (offset_ == 0) {
    // The first block is still in the buffer, the whole file when it is converted.
    begin_ = start_;
    if (converting) {
      std::size_t used = 0;
      end_ = start_ + convert(buffer_.get() + start_, end_ - start_, true, buffer_.get() + start_,
                              end_ - start_, used);
      from_utf8_ = true;
    }
    return;
  }
  restart();
  if (converting) {
    from_utf8_ = true;
    raw_ = std::make_unique<char[]>(kBlock);
  }
}

std::size_t TextFile::read_block(char* to, std::size_t wanted, int& error, bool& end) {
  if (bytes_) {
    const std::size_t got = std::min(wanted, bytes_->size() - bytes_read_);
    if (got > 0) std::memcpy(to, bytes_->data() + bytes_read_, got);
    bytes_read_ += got;
    end = got < wanted;
    return got;
  }
  errno = 0;
  const std::size_t got = std::fread(to, 1, wanted, file_);
  if (got < wanted) {
    // A short block ends the file, or stops at a read error: no need to ask the system again.
    if (std::ferror(file_) != 0) {
      error = errno != 0 ? errno : kReadFault;
      std::clearerr(file_);
    } else {
      end = true;
    }
  }
  return got;
}

std::size_t TextFile::read_converted(char* to, std::size_t wanted) {
  std::size_t made = 0;
  for (;;) {
    const bool last = raw_at_end_ || raw_error_ != 0;
    std::size_t used = 0;
    made += convert(raw_.get() + raw_begin_, raw_end_ - raw_begin_, last, to + made, wanted - made,
                    used);
    raw_begin_ += used;
    if (made == wanted || last) break;
    // What is left is the start of a sequence that the next block completes.
    const std::size_t left = raw_end_ - raw_begin_;
    std::memmove(raw_.get(), raw_.get() + raw_begin_, left);
    raw_begin_ = 0;
    raw_end_ = left + read_block(raw_.get() + left, kBlock - left, raw_error_, raw_at_end_);
    if (raw_at_start_ && raw_end_ >= kByteOrderMark.size() &&
        std::string_view(raw_.get(), kByteOrderMark.size()) == kByteOrderMark) {
      raw_begin_ = kByteOrderMark.size();
    }
    raw_at_start_ = false;
  }
  if (raw_begin_ == raw_end_) {
    if (raw_error_ != 0) {
      read_error_ = raw_error_;
    } else if (raw_at_end_) {
      at_end_ = true;
    }
  }
  return made;
}

bool TextFile::fill() {
  if (read_error_ != 0 || at_end_) return false;
  if (begin_ > 0) {
    // What is not read yet moves to the front, so that a line stays whole in the buffer.
    std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
    end_ -= begin_;
    offset_ += static_cast<long long>(begin_);
    begin_ = 0;
  }
  const bool first = offset_ == 0 && end_ == 0;
  const std::size_t wanted = kBlock - end_;
  const std::size_t got = raw_ ? read_converted(buffer_.get() + end_, wanted)
                               : read_block(buffer_.get() + end_, wanted, read_error_, at_end_);
  end_ += got;
  if (first && !raw_ && end_ >= kByteOrderMark.size() &&
      std::string_view(buffer_.get(), kByteOrderMark.size()) == kByteOrderMark) {
    begin_ = start_ = kByteOrderMark.size();
  }
  return got > 0;
}

void TextFile::pass_line_end(std::size_t at) {
  const char* b = buffer_.get();
  begin_ = at + 1;
  if (b[at] != '\r') return;
  if (at + 1 < end_) {
    if (b[at + 1] == '\n') {
      begin_ = at + 2;  // CR LF, the simulator's own
      return;
    }
    if (b[at + 1] != '\r') return;  // a lone carriage return
  } else if (at_end_) {
    return;  // the file's last character
  }
  cr_ended_ = true;
}

void TextFile::pass_returns() {
  cr_ended_ = false;
  std::size_t returns = 0;
  for (;;) {
    while (begin_ < end_ && buffer_[begin_] == '\r') {
      ++begin_;
      ++returns;
    }
    if (begin_ < end_ || !fill()) break;
  }
  if (begin_ < end_ && buffer_[begin_] == '\n') {
    ++begin_;  // a run of carriage returns and a line feed: one line end
  } else if (begin_ < end_ || read_error_ == 0) {
    empty_lines_ = returns;  // no line feed: each return ends a line of its own
  }
}

std::string_view TextFile::segment(std::size_t max, Cut& cut) {
  for (;;) {
    const char* from = buffer_.get() + begin_;
    const std::size_t available = end_ - begin_;
    const std::size_t n = line_end(from, std::min(available, max));
    if (n < available && is_line_end(from[n])) {
      // The line ends within `max` characters.
      pass_line_end(begin_ + n);
      cut = Cut::ended;
      return {from, n};
    }
    if (available > max) {
      // More of the line follows the `max` characters: at least the one after them.
      begin_ += max;
      cut = Cut::more;
      return {from, max};
    }
    if (at_end_ || read_error_ != 0) {
      // A last line without line end, or a line the file failed in.
      begin_ = end_;
      cut = at_end_ ? Cut::ended : Cut::failed;
      return {from, available};
    }
    if (begin_ == 0 && end_ == kBlock) {
      // The buffer is full of this line: all but its last character, so that more follows.
      begin_ += available - 1;
      cut = Cut::more;
      return {from, available - 1};
    }
    fill();
  }
}

void TextFile::skip_rest() {
  while (goes_on_) {
    const std::size_t available = end_ - begin_;
    const std::size_t n = line_end(buffer_.get() + begin_, available);
    if (n < available) {
      pass_line_end(begin_ + n);
      goes_on_ = false;
    } else {
      begin_ = end_;
      if (!fill()) goes_on_ = false;
    }
  }
}

TextFile::Status TextFile::next_line_start(std::string_view& line, std::size_t width) {
  if (!goes_on_ && !cr_ended_ && empty_lines_ == 0 && begin_ < end_) {
    // Most lines: whole in the buffer, within the width.
    const char* from = buffer_.get() + begin_;
    const std::size_t available = end_ - begin_;
    const std::size_t n = line_end(from, available);
    if (n < available && n <= width) {
      if (from[n] == '\n') {
        begin_ += n + 1;
      } else if (n + 1 < available && from[n + 1] == '\n') {
        begin_ += n + 2;  // CR LF, the simulator's own
      } else {
        pass_line_end(begin_ + n);
      }
      line = {from, n};
      last_status_ = 0;
      return Status::ok;
    }
  }
  return next_line_slowly(line, width);
}

TextFile::Status TextFile::next_line_slowly(std::string_view& line, std::size_t width) {
  line = {};
  if (!is_open()) {
    last_status_ = -1;
    return Status::end;
  }
  skip_rest();
  if (cr_ended_) pass_returns();
  if (empty_lines_ > 0) {
    --empty_lines_;
    last_status_ = 0;
    return Status::ok;
  }
  if (begin_ == end_ && read_error_ == 0 && !fill() && read_error_ == 0) {
    last_status_ = -1;
    return Status::end;
  }
  Cut cut = Cut::failed;
  if (begin_ < end_) {
    line = segment(width, cut);
    if (cut == Cut::more && line.size() < width) {
      // The line runs over the end of the buffer: it is gathered, up to the width.
      spill_.assign(line);
      while (cut == Cut::more && spill_.size() < width)
        spill_.append(segment(width - spill_.size(), cut));
      line = spill_;
    }
  }
  if (cut == Cut::failed) {
    // The file failed before the line's end: the line is an error.
    last_status_ = read_error_ != 0 ? read_error_ : kReadFault;
    read_error_ = 0;
    goes_on_ = false;
    line = {};
    return Status::error;
  }
  goes_on_ = cut == Cut::more;
  last_status_ = 0;
  return Status::ok;
}

TextFile::Status TextFile::next_line(std::string_view& line, std::size_t width) {
  Status status = next_line_start(line, width);
  if (status != Status::ok || !goes_on_) return status;
  // Passing the rest may move the buffer: the line is kept aside first.
  if (line.data() != spill_.data()) spill_.assign(line);
  skip_rest();
  line = spill_;
  if (read_error_ != 0) {
    // The rest of the line did not read: the line is not whole, as an error it is.
    last_status_ = read_error_;
    read_error_ = 0;
    line = {};
    status = Status::error;
  }
  return status;
}

TextFile::Status TextFile::read_line(std::string& line, std::size_t width) {
  std::string_view view;
  const Status status = next_line(view, width);
  line.assign(view);
  return status;
}

TextFile::Status TextFile::read_line_start(std::string& line, std::size_t width) {
  std::string_view view;
  const Status status = next_line_start(view, width);
  line.assign(view);
  return status;
}

bool TextFile::read_more(std::string& piece, std::size_t width) {
  piece.clear();
  if (!goes_on_) return false;
  Cut cut = Cut::more;
  while (cut == Cut::more && piece.size() < width)
    piece.append(segment(width - piece.size(), cut));
  if (cut == Cut::failed) {
    // The next read tells the error.
    goes_on_ = false;
    piece.clear();
    return false;
  }
  goes_on_ = cut == Cut::more;
  return !piece.empty();
}

void tell_if_from_utf8(Console& con, const TextFile& file, std::string_view path) {
  if (file.from_utf8()) {
    con.note(" " + platform::path_for_display(path) + " : UTF-8 text, converted to Windows-1252");
  }
}

}  // namespace brevanto
