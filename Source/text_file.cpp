#include "text_file.hpp"

#include <cerrno>

#include "platform/platform.hpp"

namespace brevanto {

bool TextFile::open(std::string_view path) {
  close();
  file_ = platform::open_regular_file(path, open_status_);
  last_status_ = open_status_;
  return file_ != nullptr;
}

void TextFile::close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

void TextFile::rewind() {
  if (file_ != nullptr) std::rewind(file_);
  last_status_ = 0;
}

TextFile::Status TextFile::read_line(std::string& line, std::size_t width) {
  line.clear();
  if (file_ == nullptr) {
    last_status_ = -1;
    return Status::end;
  }
  bool any = false;
  std::size_t length = 0;  // characters of the record before its line feed
  int c = EOF;
  int last = EOF;
  errno = 0;
  while ((c = std::getc(file_)) != EOF) {
    any = true;
    if (c == '\n') break;
    if (width == 0 || line.size() <= width) line += static_cast<char>(c);  // one spare for a CR
    last = c;
    ++length;
  }
  if (c == EOF && std::ferror(file_) != 0) {
    last_status_ = errno != 0 ? errno : 5;
    std::clearerr(file_);
    return Status::error;
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
