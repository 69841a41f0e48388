#include "text_file.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <future>
#include <vector>

#include "encoding.hpp"
#include "platform.hpp"
#include "temp_dir.hpp"

namespace brevanto {
namespace {

using Status = TextFile::Status;

// The lines of the file, the same whether copied or viewed.
std::vector<std::string> all_lines(const std::string& path, std::size_t width = 132) {
  TextFile file(path);
  std::vector<std::string> lines;
  std::string line;
  while (file.read_line(line, width) == Status::ok)
    lines.push_back(line);
  file.rewind();
  std::vector<std::string> viewed;
  std::string_view view;
  while (file.next_line(view, width) == Status::ok)
    viewed.emplace_back(view);
  EXPECT_EQ(viewed, lines) << path;
  return lines;
}

TEST(TextFile, DropsCarriageReturnsAndTakesALastLineWithoutLineEnd) {
  fixtures::TempDir dir;
  const auto path = dir.write("a.txt", "one\r\ntwo\n\r\nlast");
  EXPECT_EQ(all_lines(path), (std::vector<std::string>{"one", "two", "", "last"}));
}

// The file is read in blocks: a line end split between two of them is still one line end.
TEST(TextFile, LineEndsAcrossBlocks) {
  fixtures::TempDir dir;
  for (std::size_t n = 16380; n <= 16386; ++n) {
    const auto path = dir.write("a.txt", std::string(n, 'a') + "\r\nb\r\n" + std::string(n, 'c'));
    for (const std::size_t width : {std::size_t{132}, std::size_t{16383}, std::size_t{20000}}) {
      const std::size_t kept = std::min(n, width);
      EXPECT_EQ(all_lines(path, width),
                (std::vector<std::string>{std::string(kept, 'a'), "b", std::string(kept, 'c')}))
          << n << " " << width;
    }
  }
}

// The lines of a text by the reader's rules, written the simplest way: what the larger cases
// are checked against.
std::vector<std::string> reference_lines(std::string_view text, std::size_t width) {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t end = text.find_first_of("\r\n", i);
    lines.emplace_back(text.substr(i, std::min(end, text.size()) - i).substr(0, width));
    if (end == std::string_view::npos) break;
    const std::size_t after_returns = text.find_first_not_of('\r', end);
    const bool feed = after_returns != std::string_view::npos && text[after_returns] == '\n';
    i = feed ? after_returns + 1 : end + 1;
  }
  return lines;
}

// The lines of the file at `width`, read in every way the reader offers: copied, viewed, again
// after a rewind from the end and from the first line, and gathered from pieces of 7.
std::vector<std::string> lines_every_way(
    const std::string& path, std::size_t width,
    TextFile::Decoding decoding = TextFile::Decoding::windows1252) {
  TextFile file(path, decoding);
  std::vector<std::string> lines;
  std::string line;
  while (file.read_line(line, width) == Status::ok)
    lines.push_back(line);
  EXPECT_EQ(file.last_status(), -1);
  file.rewind();
  std::vector<std::string> viewed;
  std::string_view view;
  while (file.next_line(view, width) == Status::ok)
    viewed.emplace_back(view);
  EXPECT_EQ(viewed, lines);
  file.rewind();
  file.read_line(line, width);
  file.rewind();
  std::vector<std::string> again;
  while (file.read_line(line, width) == Status::ok)
    again.push_back(line);
  EXPECT_EQ(again, lines);
  file.rewind();
  std::vector<std::string> gathered;
  std::string piece;
  while (file.read_line_start(line, 7) == Status::ok) {
    while (file.read_more(piece, 7)) {
      EXPECT_LE(piece.size(), 7u);
      line += piece;
    }
    gathered.push_back(line.substr(0, width));
  }
  EXPECT_EQ(gathered, lines);
  // The same content handed as bytes reads as the file does.
  const std::string content = fixtures::read_file(path);
  TextFile bytes;
  bytes.open_bytes(content, decoding);
  EXPECT_EQ(bytes.from_utf8(), file.from_utf8());
  std::vector<std::string> from_bytes;
  for (int pass = 0; pass < 2; ++pass, bytes.rewind()) {
    from_bytes.clear();
    while (bytes.read_line(line, width) == Status::ok)
      from_bytes.push_back(line);
    EXPECT_EQ(from_bytes, lines);
  }
  return lines;
}

// A line ends at LF, CR LF, any run of CRs before LF, or a CR that no LF follows: each such CR
// ends a line of its own. No line keeps a CR, wherever the 16 KiB blocks of the reading fall.
TEST(TextFile, LineEndsOfEveryKind) {
  fixtures::TempDir dir;
  struct Case {
    std::string text;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"a\nb\n", {"a", "b"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\r\r\nb\r\r\r\nc", {"a", "b", "c"}},
      {"a\rb\rc", {"a", "b", "c"}},
      {"a\r\rb", {"a", "", "b"}},
      {"a\r", {"a"}},
      {"a\r\r", {"a", ""}},
      {"\r", {""}},
      {"\n\r\r\n\r", {"", "", ""}},
      {"a\nb\r\nc\rd\r\r\ne\n\rf\r\r\r\n", {"a", "b", "c", "d", "e", "", "f"}},
      {"[Task]\r\r\nCount=4\r\r\n", {"[Task]", "Count=4"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.text));
    EXPECT_EQ(lines_every_way(dir.write("a.txt", c.text), 132), c.lines);
    EXPECT_EQ(reference_lines(c.text, 132), c.lines);
  }
  // The line ends split between two blocks, in the first line and again in the next ones.
  for (const std::string_view end : {"\n", "\r\n", "\r\r\n", "\r\r\r\n", "\r", "\r\r"}) {
    for (std::size_t n = 16380; n <= 16386; ++n) {
      const std::string text = std::string(n, 'a') + std::string(end) + "b" + std::string(end) +
                               std::string(n, 'c') + std::string(end) + "d";
      for (const std::size_t width : {std::size_t{132}, std::size_t{20000}}) {
        SCOPED_TRACE(::testing::PrintToString(end) + " " + std::to_string(n) + " " +
                     std::to_string(width));
        EXPECT_EQ(lines_every_way(dir.write("a.txt", text), width), reference_lines(text, width));
      }
    }
  }
  // Back to the first line while lone returns still owe their empty lines.
  TextFile file(dir.write("a.txt", "a\r\r\r\rb"));
  std::string line;
  file.read_line(line, 132);
  file.read_line(line, 132);
  file.rewind();
  std::vector<std::string> lines;
  while (file.read_line(line, 132) == Status::ok)
    lines.push_back(line);
  EXPECT_EQ(lines, (std::vector<std::string>{"a", "", "", "", "b"}));

  // A long line that CRs end comes in pieces, and the lines after it as usual.
  file.open(dir.write("p.txt", "abcdefgh\rxy\r\r\nz"));
  std::vector<std::string> pieces;
  ASSERT_EQ(file.read_line_start(line, 3), Status::ok);
  do {
    pieces.push_back(line);
  } while (file.read_more(line, 3));
  EXPECT_EQ(pieces, (std::vector<std::string>{"abc", "def", "gh"}));
  EXPECT_EQ(file.read_line(line, 3), Status::ok);
  EXPECT_EQ(line, "xy");
  EXPECT_EQ(file.read_line(line, 3), Status::ok);
  EXPECT_EQ(line, "z");
  const std::string big(100000, 'z');
  file.open(dir.write("big.txt", big + "\r\rnext\r\r\n"));
  std::string whole, piece;
  ASSERT_EQ(file.read_line_start(whole, 10), Status::ok);
  while (file.read_more(piece, 4096))
    whole += piece;
  EXPECT_EQ(whole, big);
  EXPECT_EQ(file.read_line(line, 10), Status::ok);
  EXPECT_EQ(line, "");
  EXPECT_EQ(file.read_line(line, 10), Status::ok);
  EXPECT_EQ(line, "next");
  EXPECT_EQ(file.read_line(line, 10), Status::end);
}

// A UTF-8 byte-order mark is dropped whatever the decoding. A file judged UTF-8 (valid
// throughout, beyond ASCII) reads as Windows-1252, "?" for what that cannot spell; any sequence
// that is not UTF-8, even past the first block, leaves the whole file as it is.
TEST(TextFile, ByteOrderMarkAndUtf8Text) {
  fixtures::TempDir dir;
  using Decoding = TextFile::Decoding;
  const std::string mark = "\xEF\xBB\xBF";
  struct Case {
    std::string text;
    std::string detected;  // the lines read with detection, joined by "\n"; "" for as they are
  };
  const Case cases[] = {
      {mark + "Class=Club\r\nA=1", ""},
      {mark + "Name=Andr\xC3\xA9\r\n", "Name=Andr\xE9"},
      {"Name=Andr\xC3\xA9 \xE2\x82\xAC \xC5\x93\r\nx\xC3\x80", "Name=Andr\xE9 \x80 \x9C\nx\xC0"},
      {"Name=\xE4\xB8\xAD \xF0\x9F\x98\x80 \xC4\x80 a\xEF\xBB\xBF", "Name=? ? ? a?"},
      {"Name=Andr\xE9", ""},              // Windows-1252
      {"\xC3\xA9 \xC0\xA9", ""},          // overlong, two bytes
      {"\xC3\xA9 \xE0\x80\xA9", ""},      // overlong, three bytes
      {"\xC3\xA9 \xED\xA0\x80", ""},      // a surrogate
      {"\xC3\xA9 \xF4\x90\x80\x80", ""},  // beyond U+10FFFF
      {"\xC3\xA9 \xE2\x82", ""},          // cut short by the end
      {"\xC3\xA9 \xE2\x82x", ""},         // cut short by another character
      {"\xC3\xA9 \x80", ""},              // a continuation without lead
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.text));
    const std::string path = dir.write("a.txt", c.text);
    const std::string_view unmarked =
        std::string_view(c.text).substr(c.text.starts_with(mark) ? mark.size() : 0);
    const std::vector<std::string> plain = reference_lines(unmarked, 132);
    EXPECT_EQ(lines_every_way(path, 132), plain);
    const std::vector<std::string> detected = lines_every_way(path, 132, Decoding::detect_utf8);
    std::string joined;
    for (std::size_t i = 0; i < detected.size(); ++i)
      joined += (i > 0 ? "\n" : "") + detected[i];
    if (c.detected.empty()) {
      EXPECT_EQ(detected, plain);
    } else {
      EXPECT_EQ(joined, c.detected);
    }
    EXPECT_EQ(TextFile(path, Decoding::detect_utf8).from_utf8(), !c.detected.empty());
    EXPECT_FALSE(TextFile(path).from_utf8());
  }

  // Files of several blocks, a character split between the first two blocks after each of its
  // bytes, with more of them after: converted as they are read, rewound from the file.
  std::string filler;
  while (filler.size() < 16300)
    filler += "TPName" + std::to_string(filler.size()) + "=Col de la Croix\r\n";
  std::string tail_utf8, tail_cp1252;
  for (int i = 0; i < 2000; ++i) {
    tail_utf8 += "TPName=Cr\xC3\xAAt \xE2\x82\xAC\xF0\x9F\x98\x80\r\n";
    tail_cp1252 += "TPName=Cr\xEAt \x80?\r\n";
  }
  struct Character {
    std::string utf8, cp1252;
  };
  for (const Character& ch : {Character{"\xC3\xA9", "\xE9"}, Character{"\xE2\x82\xAC", "\x80"},
                              Character{"\xF0\x9F\x98\x80", "?"}}) {
    for (std::size_t before = 1; before < ch.utf8.size(); ++before) {
      for (const std::string& start : {std::string(), mark}) {
        SCOPED_TRACE(::testing::PrintToString(ch.utf8) + " " + std::to_string(before) + " " +
                     std::to_string(start.size()));
        const std::string head =
            start + filler + std::string(16384 - before - start.size() - filler.size(), 'p');
        const std::string path = dir.write("big.txt", head + ch.utf8 + "\r\n" + tail_utf8);
        const std::string expected = head.substr(start.size()) + ch.cp1252 + "\r\n" + tail_cp1252;
        EXPECT_EQ(lines_every_way(path, 132, Decoding::detect_utf8),
                  reference_lines(expected, 132));
        EXPECT_TRUE(TextFile(path, Decoding::detect_utf8).from_utf8());
      }
    }
  }
  // The same with one Windows-1252 byte at its end: all of it as it is.
  const std::string mixed = filler + tail_utf8 + "Name=Andr\xE9\r\n";
  const std::string path = dir.write("mixed.txt", mixed);
  EXPECT_EQ(lines_every_way(path, 132, Decoding::detect_utf8), reference_lines(mixed, 132));
  EXPECT_FALSE(TextFile(path, Decoding::detect_utf8).from_utf8());

#ifndef _WIN32
  // A file whose first read fails, judged or not, fails at its first line.
  for (const Decoding decoding : {Decoding::windows1252, Decoding::detect_utf8}) {
    TextFile memory("/proc/self/mem", decoding);
    ASSERT_TRUE(memory.is_open());
    std::string line;
    EXPECT_EQ(memory.read_line(line, 132), Status::error);
    EXPECT_GT(memory.last_status(), 0);
  }
#endif
}

// Back to the first line, from anywhere in a file of one block or of several.
TEST(TextFile, RewindReadsFromTheFirstLineAgain) {
  fixtures::TempDir dir;
  for (const std::size_t lines : {std::size_t{3}, std::size_t{2000}, std::size_t{5000}}) {
    std::string text;
    for (std::size_t i = 0; i < lines; ++i)
      text += "line " + std::to_string(i) + "\r\n";
    TextFile file(dir.write("a.txt", text));
    std::string line;
    for (const std::size_t stop : {std::size_t{1}, lines / 2, lines, lines + 1}) {
      for (std::size_t i = 0; i < stop; ++i)
        file.read_line(line, 132);
      file.rewind();
      std::vector<std::string> again;
      while (file.read_line(line, 132) == Status::ok)
        again.push_back(line);
      ASSERT_EQ(again.size(), lines) << lines << " " << stop;
      EXPECT_EQ(again.back(), "line " + std::to_string(lines - 1));
      file.rewind();
    }
    // Once closed, the file reads as an empty one, rewound or not.
    file.close();
    file.rewind();
    EXPECT_EQ(file.read_line(line, 132), Status::end);
  }
}

TEST(TextFile, CutsLinesAtTheWidthAndSkipsTheirRest) {
  fixtures::TempDir dir;
  const auto path = dir.write("a.txt", "abcdef\r\nabc\r\nabcd\r\nxy\n");
  EXPECT_EQ(all_lines(path, 3), (std::vector<std::string>{"abc", "abc", "abc", "xy"}));
  const std::string huge(100000, 'z');
  const auto big = dir.write("big.txt", huge + "\nnext\n");
  EXPECT_EQ(all_lines(big, 132), (std::vector<std::string>{std::string(132, 'z'), "next"}));
}

// The rest of a cut line comes in pieces, each within its width, up to the line's end; a line
// left unfinished is skipped by the next read.
TEST(TextFile, TheRestOfACutLineComesInPieces) {
  fixtures::TempDir dir;
  struct Case {
    std::string text;
    std::vector<std::string> pieces;  // of the first line, width 3
    std::string next;                 // the second line
  };
  const Case cases[] = {
      {"abc\r\nx", {"abc"}, "x"},
      {"abcdef\nx", {"abc", "def"}, "x"},
      {"abcdefg\r", {"abc", "def", "g"}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TextFile file(dir.write("p.txt", c.text));
    std::string piece;
    std::vector<std::string> pieces;
    ASSERT_EQ(file.read_line_start(piece, 3), Status::ok);
    do {
      pieces.push_back(piece);
    } while (file.read_more(piece, 3));
    EXPECT_EQ(pieces, c.pieces);
    EXPECT_FALSE(file.goes_on());
    EXPECT_EQ(file.read_line(piece, 3), c.next.empty() ? Status::end : Status::ok);
    EXPECT_EQ(piece, c.next);
  }

  const std::string line(100000, 'z');
  TextFile file(dir.write("big.txt", line + "\r\nnext\r\n"));
  std::string whole, piece;
  ASSERT_EQ(file.read_line_start(whole, 10), Status::ok);
  while (file.read_more(piece, 4096)) {
    ASSERT_LE(piece.size(), 4096u);
    whole += piece;
  }
  EXPECT_EQ(whole, line);
  ASSERT_EQ(file.read_line_start(piece, 10), Status::ok);
  EXPECT_EQ(piece, "next");
  file.rewind();
  ASSERT_EQ(file.read_line_start(piece, 10), Status::ok);
  EXPECT_TRUE(file.goes_on());
  ASSERT_EQ(file.read_line(piece, 10), Status::ok);
  EXPECT_EQ(piece, "next");
}

TEST(TextFile, EndAndErrorStatuses) {
  fixtures::TempDir dir;
  TextFile empty(dir.write("empty.txt", ""));
  std::string line;
  EXPECT_EQ(empty.read_line(line, 132), Status::end);
  EXPECT_EQ(empty.last_status(), -1);

  TextFile missing(dir.str("nope.txt"));
  EXPECT_FALSE(missing.is_open());
  EXPECT_GT(missing.open_status(), 0);
  EXPECT_EQ(missing.read_line(line, 132), Status::end);
}

// A name cut at a NUL byte would be another file's: such a name names none.
TEST(TextFile, ANameWithANulByteNamesNoFile) {
  fixtures::TempDir dir;
  const std::string plan = dir.write("plan.fpl", "x\n");
  const std::string cut = plan + std::string(1, '\0') + ".air";
  EXPECT_FALSE(TextFile(cut).is_open());
  EXPECT_FALSE(platform::file_exists(cut));
  EXPECT_EQ(platform::modification_time(cut), std::nullopt);
  EXPECT_TRUE(platform::file_exists(plan));
}

// A folder, a named pipe without writer or a device opens as a missing file does, at once: the
// wait for a pipe's writer would block the run for ever.
TEST(TextFile, OnlyRegularFilesOpen) {
  fixtures::TempDir dir;
#ifdef _WIN32
  std::vector<std::string> refused = {dir.str(), "NUL"};
#else
  const std::string fifo = dir.str("pipe.fpl");
  ASSERT_EQ(std::system(("mkfifo '" + fifo + "'").c_str()), 0);
  std::vector<std::string> refused = {dir.str(), fifo, "/dev/null"};
#endif
  EXPECT_TRUE(TextFile(dir.write("plan.fpl", "x\n")).is_open());
  for (const std::string& path : refused) {
    SCOPED_TRACE(path);
    auto opening = std::async(std::launch::async, [&] {
      TextFile file(path);
      return std::pair(file.is_open(), file.open_status());
    });
    if (opening.wait_for(std::chrono::seconds(2)) == std::future_status::timeout) {
      std::ofstream(path) << "";  // a writer, so that a blocked open of the pipe returns
      ADD_FAILURE() << "the open waited";
    }
    const auto [opened, status] = opening.get();
    EXPECT_FALSE(opened);
    EXPECT_GT(status, 0);
  }
}

TEST(TextFile, BinaryBytesPassThroughAndRewindStartsAgain) {
  fixtures::TempDir dir;
  const std::string bytes("a\0b\xFF", 4);
  TextFile file(dir.write("bin", bytes));
  std::string line;
  ASSERT_EQ(file.read_line(line, 132), Status::ok);
  EXPECT_EQ(line, bytes);
  EXPECT_EQ(file.read_line(line, 132), Status::end);
  file.rewind();
  ASSERT_EQ(file.read_line(line, 132), Status::ok);
  EXPECT_EQ(line, bytes);
}

TEST(Encoding, Windows1252RoundTripsThroughUtf8) {
  const std::string french = "Pas d'erreur: \xE9\xE8\xE0\xE7 \x80 \x9C";
  EXPECT_EQ(platform::cp1252_to_utf8("\xE9"), "\xC3\xA9");
  EXPECT_EQ(platform::cp1252_to_utf8("\x80"), "\xE2\x82\xAC");
  // ASCII runs around the converted bytes, at both ends
  EXPECT_EQ(platform::cp1252_to_utf8("\x80 Qu\xE9"
                                     "bec \xE9"),
            "\xE2\x82\xAC Qu\xC3\xA9"
            "bec \xC3\xA9");
  EXPECT_EQ(platform::utf8_to_cp1252(platform::cp1252_to_utf8(french)), french);
  std::string all;
  for (int c = 1; c < 256; ++c)
    all += static_cast<char>(c);
  EXPECT_EQ(platform::utf8_to_cp1252(platform::cp1252_to_utf8(all)), all);
}

TEST(Encoding, UnmappableCharactersBecomeQuestionMarks) {
  EXPECT_EQ(platform::utf8_to_cp1252("\xE4\xB8\xAD"), "?");  // a CJK character
  EXPECT_EQ(platform::unicode_to_cp1252(u'\u00E9'), '\xE9');
  EXPECT_EQ(platform::unicode_to_cp1252(u'\u20AC'), '\x80');
  EXPECT_EQ(platform::unicode_to_cp1252(u'\u4E2D'), '?');
  // Bytes that are not UTF-8 are kept as they are, truncated sequences included.
  EXPECT_EQ(platform::utf8_to_cp1252("\xE9t\xE9"), "\xE9t\xE9");
  EXPECT_EQ(platform::utf8_to_cp1252("ab\xC3"), "ab\xC3");
}

}  // namespace
}  // namespace brevanto
