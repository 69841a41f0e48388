// The line reader against a plain model of it: line ends of every kind, the byte-order mark, the
// judging and conversion of UTF-8, widths, pieces and rewinds, in files of one block or of
// several. The first input byte chooses the width and the decoding, the second whether short
// lines in front push the rest of the input across the first 16 KiB block's end, and where.
#include <string>
#include <vector>

#include "encoding.hpp"
#include "fuzz_support.hpp"
#include "text_file.hpp"

namespace {

using brevanto::TextFile;

// The character of the UTF-8 sequence at text[i] and its length, decoded by the book: 0 when
// it is not a valid sequence.
std::size_t utf8_character(std::string_view text, std::size_t i, char32_t& cp) {
  const auto lead = static_cast<unsigned char>(text[i]);
  std::size_t length = 0;
  char32_t least = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2;
    least = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    least = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    least = 0x10000;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  cp = lead & (0x7Fu >> length);
  for (std::size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (next & 0x3Fu);
  }
  if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return length;
}

// The text as a judging reader gives it: Windows-1252 when it is valid UTF-8 beyond ASCII.
std::string judged(std::string_view text, bool& converted) {
  std::string out;
  bool beyond_ascii = false;
  for (std::size_t i = 0; i < text.size();) {
    char32_t cp = 0;
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      out += text[i++];
      continue;
    }
    const std::size_t length = utf8_character(text, i, cp);
    if (length == 0) {
      converted = false;
      return std::string(text);
    }
    beyond_ascii = true;
    out += platform::unicode_to_cp1252(cp);
    i += length;
  }
  converted = beyond_ascii;
  return converted ? out : std::string(text);
}

// The lines of a text: LF, CRs before LF, or a CR that no LF follows, end a line.
std::vector<std::string> model_lines(std::string_view text) {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t end = std::min(text.find_first_of("\r\n", i), text.size());
    lines.emplace_back(text.substr(i, end - i));
    if (end == text.size()) break;
    std::size_t after = end;
    while (after < text.size() && text[after] == '\r')
      ++after;
    i = after < text.size() && text[after] == '\n' ? after + 1 : end + 1;
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace brevanto;
  static const fuzz::Scratch scratch;
  if (size < 2) return 0;
  constexpr std::size_t kWidths[] = {1, 3, 7, 80, 132, 4096, 20000};
  const std::size_t width = kWidths[data[0] % std::size(kWidths)];
  const bool detect = (data[0] & 0x80) != 0;
  std::string text;
  if ((data[1] & 1) != 0) {
    // Short lines up to a little before or after the first block's end.
    const std::size_t pad = 16384 - 64 + (data[1] >> 1);
    while (text.size() + 2 <= pad)
      text += "x\n";
    text.resize(pad, 'y');
  }
  text += fuzz::text(data + 2, size - 2);
  const std::string path = scratch.write("text.txt", text);

  std::string_view unmarked = text;
  if (unmarked.starts_with("\xEF\xBB\xBF")) unmarked.remove_prefix(3);
  bool converted = false;
  const std::string decoded = detect ? judged(unmarked, converted) : std::string(unmarked);
  const std::vector<std::string> whole_lines = model_lines(decoded);
  std::vector<std::string> cut_lines = whole_lines;
  for (std::string& line : cut_lines)
    line.resize(std::min(line.size(), width));

  TextFile file(path, detect ? TextFile::Decoding::detect_utf8 : TextFile::Decoding::windows1252);
  fuzz::require(file.is_open() && file.from_utf8() == converted);
  // Lines cut at the width, then whole lines gathered from pieces of the width, then cut lines
  // again after a rewind from the end (from memory when the file fits in one block).
  for (int pass = 0; pass < 3; ++pass) {
    std::vector<std::string> lines;
    std::string line, piece;
    if (pass != 1) {
      while (file.read_line(line, width) == TextFile::Status::ok)
        lines.push_back(line);
    } else {
      while (file.read_line_start(line, width) == TextFile::Status::ok) {
        while (file.read_more(piece, width)) {
          fuzz::require(!piece.empty() && piece.size() <= width);
          line += piece;
        }
        fuzz::require(!file.goes_on());
        lines.push_back(line);
      }
    }
    fuzz::require(file.last_status() == -1);
    fuzz::require(lines == (pass != 1 ? cut_lines : whole_lines));
    file.rewind();
  }
  return 0;
}
