#include "text_file.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <future>
#include <vector>

#include "platform/encoding.hpp"
#include "platform/platform.hpp"
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
  testing::TempDir dir;
  const auto path = dir.write("a.txt", "one\r\ntwo\n\r\nlast");
  EXPECT_EQ(all_lines(path), (std::vector<std::string>{"one", "two", "", "last"}));
}

// The file is read in blocks: a line end split between two of them is still one line end.
TEST(TextFile, LineEndsAcrossBlocks) {
  testing::TempDir dir;
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

// Back to the first line, from anywhere in a file of one block or of several.
TEST(TextFile, RewindReadsFromTheFirstLineAgain) {
  testing::TempDir dir;
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
  testing::TempDir dir;
  const auto path = dir.write("a.txt", "abcdef\r\nabc\r\nabcd\r\nxy\n");
  EXPECT_EQ(all_lines(path, 3), (std::vector<std::string>{"abc", "abc", "abc", "xy"}));
  const std::string huge(100000, 'z');
  const auto big = dir.write("big.txt", huge + "\nnext\n");
  EXPECT_EQ(all_lines(big, 132), (std::vector<std::string>{std::string(132, 'z'), "next"}));
}

// The rest of a cut line comes in pieces, each within its width, carriage returns inside the
// line included; a line left unfinished is skipped by the next read.
TEST(TextFile, TheRestOfACutLineComesInPieces) {
  testing::TempDir dir;
  struct Case {
    std::string text;
    std::vector<std::string> pieces;  // of the first line, width 3
    std::string next;                 // the second line
  };
  const Case cases[] = {
      {"abc\r\nx", {"abc"}, "x"},
      {"abc\rd\r\nx", {"abc", "\rd"}, "x"},
      {"abc\r\r\nx", {"abc", "\r"}, "x"},
      {"ab\rc\rdef\rg\nx", {"ab\r", "c\rd", "ef\r", "g"}, "x"},
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
  testing::TempDir dir;
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
  testing::TempDir dir;
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
  testing::TempDir dir;
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
  testing::TempDir dir;
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
  EXPECT_EQ(platform::utf16_to_cp1252(u'\u00E9'), '\xE9');
  EXPECT_EQ(platform::utf16_to_cp1252(u'\u20AC'), '\x80');
  EXPECT_EQ(platform::utf16_to_cp1252(u'\u4E2D'), '?');
  // Bytes that are not UTF-8 are kept as they are, truncated sequences included.
  EXPECT_EQ(platform::utf8_to_cp1252("\xE9t\xE9"), "\xE9t\xE9");
  EXPECT_EQ(platform::utf8_to_cp1252("ab\xC3"), "ab\xC3");
}

}  // namespace
}  // namespace brevanto
