#include "extract_key_val.hpp"

#include <gtest/gtest.h>

#include "is_true.hpp"

namespace brevanto {
namespace {

struct Split {
  std::string key, val;
};
Split kv(std::string_view line, std::size_t width = 80) {
  Split s;
  extract_key_val(line, s.key, s.val, width);
  return s;
}

TEST(ExtractKeyVal, SplitsAtFirstEqualsElseColon) {
  EXPECT_EQ(kv("Key=Value").key, "Key");
  EXPECT_EQ(kv("Key=Value").val, "Value");
  EXPECT_EQ(kv("  Key = Value ").key, "Key");
  EXPECT_EQ(kv("  Key = Value ").val, "Value");
  EXPECT_EQ(kv("Time: 12:00").key, "Time");
  EXPECT_EQ(kv("Time: 12:00").val, "12:00");
  EXPECT_EQ(kv("A:B=C").key, "A:B");  // an "=" anywhere wins over an earlier ":"
  EXPECT_EQ(kv("A:B=C").val, "C");
  EXPECT_EQ(kv("a=b=c").val, "b=c");
}

TEST(ExtractKeyVal, LineWithoutSeparatorIsAllKey) {
  EXPECT_EQ(kv("  [Task]").key, "  [Task]");  // leading blanks kept
  EXPECT_EQ(kv("  [Task]").val, "");
  EXPECT_EQ(kv("Key=").val, "");
  EXPECT_EQ(kv("=5").key, "");
  EXPECT_EQ(kv("=5").val, "5");
}

TEST(ExtractKeyVal, FieldsAreCutAtTheirWidth) {
  const std::string long_value(100, 'v');
  EXPECT_EQ(kv("K=" + long_value).val.size(), 80u);
  EXPECT_EQ(kv("K=" + long_value, 256).val.size(), 100u);
}

struct Rel {
  std::string key, val, rel;
};
Rel kvr(std::string_view line) {
  Rel r;
  extract_key_val_rel(line, r.key, r.val, r.rel);
  return r;
}

TEST(ExtractKeyValRel, LastRelationInTableOrderWins) {
  auto r = kvr("Wind>=5");
  EXPECT_EQ(r.key, "Wind");
  EXPECT_EQ(r.rel, ">=");
  EXPECT_EQ(r.val, "5");
  r = kvr("Wind> 5");
  EXPECT_EQ(r.rel, ">");
  EXPECT_EQ(r.val, "5");
  r = kvr("Key[]1;3");
  EXPECT_EQ(r.rel, "[]");
  EXPECT_EQ(r.val, "1;3");
  r = kvr("Name!=X");
  EXPECT_EQ(r.key, "Name");
  EXPECT_EQ(r.rel, "!=");
  r = kvr("Key<=5");
  EXPECT_EQ(r.rel, "<=");
  EXPECT_EQ(r.val, "5");
  // A relation text in the value moves the split.
  r = kvr("Name=A<B");
  EXPECT_EQ(r.key, "Name=A");
  EXPECT_EQ(r.rel, "<");
  EXPECT_EQ(r.val, "B");
}

TEST(ExtractKeyValRel, NoRelationGivesWholeLineAsKey) {
  const auto r = kvr("[Task]");
  EXPECT_EQ(r.key, "[Task]");
  EXPECT_EQ(r.val, "");
  EXPECT_EQ(r.rel, "");
}

std::vector<std::string> items(std::string list, std::string_view sep = ",",
                               std::size_t width = 200) {
  std::vector<std::string> out;
  std::string buff;
  for (int guard = 0; guard < 50; ++guard) {
    extract_list(list, buff, sep, width);
    out.push_back(buff);
    if (buff.empty()) break;
  }
  return out;
}

TEST(ExtractList, TakesItemsInOrder) {
  EXPECT_EQ(items("a,b,c"), (std::vector<std::string>{"a", "b", "c", ""}));
  EXPECT_EQ(items("Club;Standard;15m", ";"),
            (std::vector<std::string>{"Club", "Standard", "15m", ""}));
}

TEST(ExtractList, RemainderIsNotLeftJustifiedButNextItemIs) {
  std::string list = " a , b";
  std::string buff;
  extract_list(list, buff, ",", 200);
  EXPECT_EQ(buff, "a");
  EXPECT_EQ(list, " b");
  extract_list(list, buff, ",", 200);
  EXPECT_EQ(buff, " b");  // the last item is taken whole, unchanged
}

TEST(ExtractList, QuotedSeparatorDoesNotSplit) {
  std::string list = "\"x,y\",z";
  std::string buff;
  extract_list(list, buff, ",", 200);
  EXPECT_EQ(buff, "\"x,y\"");
  EXPECT_EQ(list, "z");
  // No separator after the closing quote: the character after it is dropped.
  list = "\"x,y\"Qz";
  extract_list(list, buff, ",", 200);
  EXPECT_EQ(buff, "\"x,y\"");
  EXPECT_EQ(list, "z");
}

TEST(ExtractList, ItemsAreCutAtTheFieldWidth) {
  std::string list = "123456789012,5";
  std::string buff;
  extract_comma(list, buff, 8);
  EXPECT_EQ(buff, "12345678");
  EXPECT_EQ(list, "5");
}

TEST(ReadList, StopsAtFirstEmptyItem) {
  std::string list = "a,,b";
  int n = -1;
  std::vector<std::string> lst;
  read_list(list, n, lst, 10, ",");
  EXPECT_EQ(n, 1);
  EXPECT_EQ(lst, std::vector<std::string>{"a"});
  list = "one,two,three";
  read_list(list, n, lst, 3, ",");
  EXPECT_EQ(n, 3);
  EXPECT_EQ(lst, (std::vector<std::string>{"one", "two", "thr"}));
  EXPECT_EQ(list, "");
}

TEST(IsTrue, OnlyFirstCharacterOneOrY) {
  for (const char* yes : {"1", "Y", "y", "yes", "Yes"})
    EXPECT_TRUE(is_true(yes)) << yes;
  for (const char* no : {"0", "N", "TRUE", "True", "On", " Y", "", "t"}) {
    EXPECT_FALSE(is_true(no)) << no;
  }
  EXPECT_EQ(log2int(true), 1);
  EXPECT_EQ(log2int(false), 0);
}

}  // namespace
}  // namespace brevanto
