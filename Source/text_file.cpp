#include "text_file.hpp"

#include <cerrno>

#include "platform/platform.hpp"

namespace brevanto {

namespace {
constexpr int kReadFault = 5;  // the error a failed read gives when the system names none
}

bool TextFile::open(std::string_view path) {
  close();
  file_ = platform::open_regular_file(path, open_status_);
  last_status_ = open_status_;
  return file_ != nullptr;
}

void TextFile::close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  goes_on_ = pending_cr_ = false;
  read_error_ = 0;
}

void TextFile::rewind() {
  if (file_ != nullptr) std::rewind(file_);
  last_status_ = 0;
  goes_on_ = pending_cr_ = false;
  read_error_ = 0;
}

bool TextFile::at_line_end(int c) {
  if (c == '\n') return true;
  if (c != '\r') return false;
  const int next = std::getc(file_);
  if (next == '\n' || next == EOF) return true;
  std::ungetc(next, file_);  // a carriage return inside the line is part of it
  return false;
}

bool TextFile::take(std::string& out, std::size_t width) {
  if (pending_cr_) {
    if (out.size() >= width) return true;
    out += '\r';
    pending_cr_ = false;
  }
  // Characters gather here and join the line by blocks: most lines are read whole.
  char block[256];
  std::size_t n = 0;
  bool goes_on = false;
  errno = 0;
  for (;;) {
    const int c = std::getc(file_);
    if (c == EOF || c == '\n' || (c == '\r' && at_line_end(c))) break;
    if (out.size() + n >= width) {
      // The line goes on: what follows stays unread. A carriage return cannot go back, as the
      // character after it already has.
      if (c == '\r') {
        pending_cr_ = true;
      } else {
        std::ungetc(c, file_);
      }
      goes_on = true;
      break;
    }
    block[n++] = static_cast<char>(c);
    if (n == sizeof block) {
      out.append(block, n);
      n = 0;
    }
  }
  out.append(block, n);
  if (!goes_on && std::ferror(file_) != 0) {
    read_error_ = errno != 0 ? errno : kReadFault;
    std::clearerr(file_);
  }
  return goes_on;
}

void TextFile::skip_rest() {
  if (goes_on_) {
    errno = 0;
    for (;;) {
      const int c = std::getc(file_);
      if (c == EOF || c == '\n' || (c == '\r' && at_line_end(c))) break;
    }
    if (std::ferror(file_) != 0) {
      read_error_ = errno != 0 ? errno : kReadFault;
      std::clearerr(file_);
    }
  }
  goes_on_ = pending_cr_ = false;
}

TextFile::Status TextFile::read_line(std::string& line, std::size_t width) {
  const Status status = read_line_start(line, width);
  skip_rest();
  if (status == Status::ok && read_error_ != 0) {
    // The rest of the line did not read: the line is not whole, as an error it is.
    last_status_ = read_error_;
    read_error_ = 0;
    line.clear();
    return Status::error;
  }
  return status;
}

TextFile::Status TextFile::read_line_start(std::string& line, std::size_t width) {
  line.clear();
  if (file_ == nullptr) {
    last_status_ = -1;
    return Status::end;
  }
  skip_rest();
  if (read_error_ == 0) {
    errno = 0;
    const int c = std::getc(file_);
    if (c == EOF && std::ferror(file_) == 0) {
      last_status_ = -1;
      return Status::end;
    }
    if (c == EOF) {
      read_error_ = errno != 0 ? errno : kReadFault;
      std::clearerr(file_);
    } else {
      std::ungetc(c, file_);
      goes_on_ = take(line, width);
    }
  }
  if (read_error_ != 0) {
    last_status_ = read_error_;
    read_error_ = 0;
    goes_on_ = false;
    line.clear();
    return Status::error;
  }
  last_status_ = 0;
  return Status::ok;
}

bool TextFile::read_more(std::string& piece, std::size_t width) {
  piece.clear();
  if (!goes_on_) return false;
  goes_on_ = take(piece, width);
  if (read_error_ != 0) {
    goes_on_ = false;
    piece.clear();
  }
  return !piece.empty();
}

}  // namespace brevanto
