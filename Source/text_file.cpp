#include "text_file.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/platform.hpp"

namespace brevanto {

namespace {
// A flight plan fits in one block, a landscape's airspace file in a few.
constexpr std::size_t kBlock = std::size_t{16} * 1024;
}  // namespace

bool TextFile::open(std::string_view path) {
  close();
  file_ = platform::open_regular_file(path, open_status_);
  last_status_ = open_status_;
  if (file_ == nullptr) return false;
  // The blocks are read straight into the buffer: the stream's own would be one copy more.
  std::setvbuf(file_, nullptr, _IONBF, 0);
  if (!buffer_) buffer_ = std::make_unique_for_overwrite<char[]>(kBlock);
  return true;
}

void TextFile::close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  begin_ = end_ = 0;
  blocks_ = 0;
  read_error_ = 0;
  at_end_ = false;
}

void TextFile::rewind() {
  last_status_ = 0;
  if (blocks_ == 1 && read_error_ == 0) {
    // The buffer still holds the file's first block: read it again from there.
    begin_ = 0;
    return;
  }
  if (file_ != nullptr) std::rewind(file_);
  begin_ = end_ = 0;
  blocks_ = 0;
  read_error_ = 0;
  at_end_ = false;
}

bool TextFile::fill() {
  if (read_error_ != 0 || at_end_) return false;
  begin_ = end_ = 0;
  ++blocks_;
  errno = 0;
  end_ = std::fread(buffer_.get(), 1, kBlock, file_);
  if (end_ < kBlock) {
    // A short block ends the file, or stops at a read error: no need to ask the system again.
    if (std::ferror(file_) != 0) {
      read_error_ = errno != 0 ? errno : 5;
      std::clearerr(file_);
    } else {
      at_end_ = true;
    }
  }
  return end_ > 0;
}

TextFile::Status TextFile::next_line(std::string_view& line, std::size_t width) {
  if (file_ != nullptr && (begin_ < end_ || fill())) {
    const char* from = buffer_.get() + begin_;
    const std::size_t available = end_ - begin_;
    const void* feed = std::memchr(from, '\n', available);
    if (feed != nullptr || at_end_) {
      // The whole line is in the block: the same cuts as read_line() makes, without a copy.
      const std::size_t n = feed == nullptr
                                ? available
                                : static_cast<std::size_t>(static_cast<const char*>(feed) - from);
      begin_ += feed == nullptr ? n : n + 1;
      std::string_view record(from, n);
      if (record.ends_with('\r') && (width == 0 || n <= width + 1)) record.remove_suffix(1);
      if (width != 0 && record.size() > width) record = record.substr(0, width);
      line = record;
      last_status_ = 0;
      return Status::ok;
    }
  }
  const Status status = read_line(spill_, width);
  line = spill_;
  return status;
}

TextFile::Status TextFile::read_line(std::string& line, std::size_t width) {
  line.clear();
  if (file_ == nullptr) {
    last_status_ = -1;
    return Status::end;
  }
  // One spare character beyond the width, for the carriage return of a line that fills it.
  const std::size_t room = width == 0 ? std::string::npos : width + 1;
  bool any = false;
  std::size_t length = 0;  // characters of the record before its line feed
  char last = '\0';
  for (;;) {
    if (begin_ == end_ && !fill()) {
      if (read_error_ != 0) {
        last_status_ = read_error_;
        read_error_ = 0;
        return Status::error;
      }
      break;
    }
    any = true;
    const char* from = buffer_.get() + begin_;
    const std::size_t available = end_ - begin_;
    const void* feed = std::memchr(from, '\n', available);
    const std::size_t n = feed == nullptr
                              ? available
                              : static_cast<std::size_t>(static_cast<const char*>(feed) - from);
    if (line.size() < room) line.append(from, std::min(n, room - line.size()));
    if (n > 0) last = from[n - 1];
    length += n;
    begin_ += feed == nullptr ? n : n + 1;
    if (feed != nullptr) break;
  }
  if (!any) {
    last_status_ = -1;
    return Status::end;
  }
  if (last == '\r' && line.size() >= length) line.resize(length - 1);
  if (width != 0 && line.size() > width) line.resize(width);
  last_status_ = 0;
  return Status::ok;
}

}  // namespace brevanto
