#include "text_file.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/platform.hpp"

namespace brevanto {

namespace {
// A flight plan fits in one block, a landscape's airspace file in a few.
constexpr std::size_t kBlock = std::size_t{16} * 1024;
constexpr int kReadFault = 5;  // the error a failed read gives when the system names none
}  // namespace

bool TextFile::open(std::string_view path) {
  close();
  file_ = platform::open_regular_file(path, open_status_);
  last_status_ = open_status_;
  if (file_ == nullptr) return false;
  // The blocks are read straight into the buffer: the stream's own would be one copy more.
  std::setvbuf(file_, nullptr, _IONBF, 0);
  if (!buffer_) buffer_ = std::make_unique<char[]>(kBlock);
  return true;
}

void TextFile::close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  begin_ = end_ = 0;
  offset_ = 0;
  read_error_ = 0;
  at_end_ = goes_on_ = false;
}

void TextFile::rewind() {
  last_status_ = 0;
  goes_on_ = false;
  if (offset_ == 0 && read_error_ == 0) {
    // The buffer still holds the file's start: read it again from there.
    begin_ = 0;
    return;
  }
  if (file_ != nullptr) std::rewind(file_);
  begin_ = end_ = 0;
  offset_ = 0;
  read_error_ = 0;
  at_end_ = false;
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
  const std::size_t wanted = kBlock - end_;
  errno = 0;
  const std::size_t got = std::fread(buffer_.get() + end_, 1, wanted, file_);
  end_ += got;
  if (got < wanted) {
    // A short block ends the file, or stops at a read error: no need to ask the system again.
    if (std::ferror(file_) != 0) {
      read_error_ = errno != 0 ? errno : kReadFault;
      std::clearerr(file_);
    } else {
      at_end_ = true;
    }
  }
  return got > 0;
}

std::string_view TextFile::segment(std::size_t max, Cut& cut) {
  for (;;) {
    const char* from = buffer_.get() + begin_;
    const std::size_t available = end_ - begin_;
    const void* feed = std::memchr(from, '\n', available);
    if (feed != nullptr || at_end_ || read_error_ != 0) {
      // The line ends in the buffer, or nothing more of it will come.
      const std::size_t n = feed == nullptr
                                ? available
                                : static_cast<std::size_t>(static_cast<const char*>(feed) - from);
      const bool whole = feed != nullptr || at_end_;
      // A carriage return before the line feed or the end of the file ends the line too.
      const std::size_t content = whole && n > 0 && from[n - 1] == '\r' ? n - 1 : n;
      if (content <= max) {
        begin_ += feed == nullptr ? n : n + 1;
        cut = whole ? Cut::ended : Cut::failed;
        return {from, content};
      }
      begin_ += max;
      cut = Cut::more;
      return {from, max};
    }
    // The line goes on past the buffer. Cut where what follows is known to be more of it: a
    // carriage return could still be its end.
    if (available > max + 1 || (available == max + 1 && from[max] != '\r')) {
      begin_ += max;
      cut = Cut::more;
      return {from, max};
    }
    if (begin_ == 0 && end_ == kBlock) {
      // The buffer is full of this line: all but its last character, which may be that return.
      const std::size_t n = std::min(max, available - 1);
      begin_ += n;
      cut = Cut::more;
      return {from, n};
    }
    fill();
  }
}

void TextFile::skip_rest() {
  while (goes_on_) {
    const std::size_t available = end_ - begin_;
    const void* feed = std::memchr(buffer_.get() + begin_, '\n', available);
    if (feed != nullptr) {
      begin_ = static_cast<std::size_t>(static_cast<const char*>(feed) - buffer_.get()) + 1;
      goes_on_ = false;
    } else {
      begin_ = end_;
      if (!fill()) goes_on_ = false;
    }
  }
}

TextFile::Status TextFile::next_line_start(std::string_view& line, std::size_t width) {
  if (!goes_on_ && begin_ < end_) {
    // Most lines: whole in the buffer, within the width.
    const char* from = buffer_.get() + begin_;
    const void* feed = std::memchr(from, '\n', end_ - begin_);
    if (feed != nullptr) {
      const auto n = static_cast<std::size_t>(static_cast<const char*>(feed) - from);
      const std::size_t content = n > 0 && from[n - 1] == '\r' ? n - 1 : n;
      if (content <= width) {
        begin_ += n + 1;
        line = {from, content};
        last_status_ = 0;
        return Status::ok;
      }
    }
  }
  line = {};
  if (file_ == nullptr) {
    last_status_ = -1;
    return Status::end;
  }
  skip_rest();
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

}  // namespace brevanto
