// The HTML report: the table of plans, each plan's findings and the map of its task.
#include "html_report.hpp"

#include <gtest/gtest.h>

#include "findings_fixture.hpp"
#include "task_map.hpp"
#include "temp_dir.hpp"

namespace brevanto {
namespace {

using fixtures::TempDir;
using fixtures::violation;

std::size_t count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1))
    ++n;
  return n;
}

// The sections of the page, one per plan, in order.
std::vector<std::string> sections(const std::string& page) {
  std::vector<std::string> found;
  for (std::size_t p = page.find("<section"); p != std::string::npos;) {
    const std::size_t end = page.find("</section>", p);
    found.push_back(page.substr(p, end - p));
    p = page.find("<section", end);
  }
  return found;
}

// The task map of a plan's section, without its legend.
std::string map_of(const std::string& section) {
  const std::size_t at = section.find("<svg class=\"task-map\"");
  return at == std::string::npos ? std::string()
                                 : section.substr(at, section.find("</svg>", at) + 6 - at);
}

// The English texts of the maps.
MapTexts map_texts() {
  MapTexts t;
  t.start = "start";
  t.finish = "finish";
  t.penalty_zone = "Penalty zone";
  t.north = "N";
  t.more = "... and <n> more (see the log)";
  return t;
}

// The x and y of the first mark of `cls` ("tp-mark start") in a map.
std::pair<double, double> mark_at(const std::string& svg, const std::string& cls) {
  const std::size_t at = svg.find("class=\"" + cls + "\"");
  const auto attribute = [&](const std::string& name) {
    const std::size_t p = svg.find(name + "=\"", at) + name.size() + 2;
    return std::stod(svg.substr(p, svg.find('"', p) - p));
  };
  return {attribute("cx"), attribute("cy")};
}

// A task of `count` turnpoints 10 km apart, its names given, and one penalty zone.
std::string plan(int count, const std::vector<std::string>& names = {}) {
  std::string text =
      "[Version]\nSoarix version=3000\n[Task]\nCount=" + std::to_string(count) + "\n";
  for (int i = 0; i < count; ++i) {
    const std::string n = std::to_string(i);
    text += "TPName" + n + "=" +
            (i < static_cast<int>(names.size()) ? names[static_cast<std::size_t>(i)] : "TP" + n) +
            "\nTPPosX" + n + "=" + std::to_string(10000 * i) + ".0\nTPPosY" + n + "=" +
            std::to_string(i % 2 * 8000) + ".0\nTPRadius" + n + "=1000\nTPAngle" + n + "=90\n";
  }
  return text +
         "PZCount=1\nPZPos0X0=5000\nPZPos0Y0=-2000\nPZPos1X0=8000\nPZPos1Y0=-2000\n"
         "PZPos2X0=8000\nPZPos2Y0=-500\nPZPos3X0=5000\nPZPos3Y0=-500\nPZBase0=0\nPZTop0=1500\n";
}

TEST(HtmlReport, PlansWithViolationsCleanAndUnreadable) {
  TempDir dir;
  FindingsRecord record;
  record.begin_plan(dir.write("bad.fpl", plan(4, {"Home", "A<B & C", "TP2", "Sainte-\xC9nimie"})),
                    "days/bad.fpl");
  record.add(violation(12, "TPRadius1", "1000", "<=", "500", 1, -1));
  record.add(violation(13, "TPAngle1", "90", "=", "360", 1, -1));
  record.add(violation(40, "StartTime", "15.0", "<=", "14.5", -1, -1));
  record.add(violation(50, "WindSpeed", "18", "<", "\"15\"", -1, 1));
  Finding ok = violation(60, "Water", "0", "=", "0", -1, -1);
  ok.verdict = Verdict::ok;
  record.add(ok);
  record.end_plan(4);
  record.begin_plan(dir.write("clean.fpl", plan(3)), "days\\clean.fpl");
  record.end_plan(0);
  record.begin_plan(dir.str("gone.fpl"), "gone.fpl");  // the run stopped on it
  record.begin_plan(dir.write("big.fpl", plan(32)), "big.fpl");
  record.end_plan(0);
  record.begin_plan(dir.write("empty.fpl", "[Task]\n"), "empty.fpl");
  record.end_plan(0);

  const std::string page = html_report(
      record, {Language::english, "DEFAULT_CHECK.fpl", 3, "2026-05-17", "", {}}, plan_file_for_map);
  EXPECT_TRUE(page.starts_with("<!DOCTYPE html>\n<html lang=\"en\">"));
  // Self-contained: nothing is fetched from elsewhere.
  for (const char* outside : {"<script", "src=", "href=\"http", "url(", "@import"}) {
    EXPECT_EQ(page.find(outside), std::string::npos) << outside;
  }
  const std::size_t table = page.find("<table class=\"plans\">");
  const std::string listed = page.substr(table, page.find("</table>", table) - table);
  EXPECT_EQ(count(listed, "<tr class=\"bad\">"), 2);  // bad.fpl, gone.fpl
  EXPECT_EQ(count(listed, "<tr class=\"ok\">"), 3);
  EXPECT_NE(page.find("gone.fpl</a></td><td class=\"n\">could not be read</td>"),
            std::string::npos);

  const std::vector<std::string> plans = sections(page);
  ASSERT_EQ(plans.size(), 5u);
  // A heading names the file, whichever separator its path was given with.
  EXPECT_NE(plans[0].find("<h2>1. bad.fpl</h2><p class=\"path\">days/bad.fpl</p>"),
            std::string::npos);
  EXPECT_NE(plans[1].find("<h2>2. clean.fpl</h2><p class=\"path\">days\\clean.fpl</p>"),
            std::string::npos);
  // One mark per turnpoint; in red turnpoint 1 and the two keys without turnpoint.
  const std::string map = map_of(plans[0]);
  EXPECT_EQ(count(map, "class=\"tp-mark"), 4);
  EXPECT_EQ(count(map, " bad\""), 3);
  EXPECT_EQ(count(plans[0], "<circle class=\"tp-mark start bad\""), 1);
  EXPECT_NE(plans[0].find("<title>1: A&lt;B &amp; C\n"
                          "TPRadius1 : 1000                       should be: &lt;= 500\n"
                          "TPAngle1 : 90                          should be: = 360</title>"),
            std::string::npos);
  EXPECT_NE(plans[0].find("<title>WindSpeed[1] : 18                      should be: &lt; "
                          "&quot;15&quot;</title>WindSpeed[1]</text>"),
            std::string::npos);
  EXPECT_NE(plans[0].find(">3 Sainte-\xC3\x89nimie (finish)</text>"), std::string::npos);
  EXPECT_EQ(count(plans[0], "<polygon class=\"pz\""), 1);
  EXPECT_EQ(count(plans[0], "<tr class=\"ok\"><td class=\"n\">60</td>"), 1);  // the OK line

  EXPECT_EQ(count(map_of(plans[1]), "class=\"tp-mark"), 3);
  EXPECT_EQ(count(map_of(plans[1]), "bad"), 0);
  EXPECT_NE(plans[1].find("No error found"), std::string::npos);
  const std::pair<std::size_t, const char*> notes[] = {{2, "the file cannot be opened."},
                                                       {3, "it has more than 31 turnpoints."},
                                                       {4, "it has no turnpoint."}};
  for (const auto& [i, why] : notes) {
    EXPECT_EQ(plans[i].find("<svg"), std::string::npos) << i;
    EXPECT_NE(plans[i].find("<p class=\"note no-map\">The task of this plan cannot be drawn: " +
                            std::string(why) + "</p>"),
              std::string::npos)
        << plans[i];
  }
}

TEST(HtmlReport, FrenchTexts) {
  TempDir dir;
  FindingsRecord record;
  record.begin_plan(dir.write("a.fpl", plan(3)), "a.fpl");
  record.end_plan(0);
  record.begin_plan(dir.str("gone.fpl"), "gone.fpl");
  const std::string page = html_report(
      record, {Language::french, "r\xE8gles.fpl", 1, "2026-05-17", "", {}}, plan_file_for_map);
  EXPECT_TRUE(page.starts_with("<!DOCTYPE html>\n<html lang=\"fr\">"));
  for (const char* text :
       {"r\xC3\xA8gles.fpl (1 r\xC3\xA8gles)", "Pas d&#39;erreur", "2 TP2 (arriv\xC3\xA9\x65)",
        "L&#39;\xC3\xA9preuve de ce plan ne peut pas \xC3\xAAtre dessin\xC3\xA9\x65 : le fichier "
        "ne peut pas \xC3\xAAtre ouvert."}) {
    EXPECT_NE(page.find(text), std::string::npos) << text;
  }
}

TEST(TaskMap, ReadingForTheMapIsQuietAndNeverStops) {
  TempDir dir;
  // More than 31 turnpoints would stop the run's own reading; here it is a problem of the map.
  EXPECT_EQ(plan_file_for_map(dir.write("big.fpl", plan(40))).problem,
            MapProblem::too_many_turnpoints);
  const PlanForMap read = plan_file_for_map(dir.write("ok.fpl", plan(5)));
  ASSERT_TRUE(read.fpl);
  EXPECT_EQ(read.fpl->nb_wp, 5);
  EXPECT_FLOAT_EQ(read.fpl->tpdist[2], 12806.249f);  // as the reader computes the legs
}

// The map's reading takes a plan as the check does: any line ends, UTF-8 converted.
TEST(TaskMap, ReadingForTheMapTakesLineEndsAndUtf8AsTheCheck) {
  TempDir dir;
  const PlanForMap read = plan_file_for_map(
      dir.write("utf8.fpl",
                "\xEF\xBB\xBF[Task]\r\r\nCount=2\r\r\nTPName0=Pr\xC3\xA9\rTPPosX0=0\rTPPosY0=0\r"
                "TPName1=Col\rTPPosX1=1000\rTPPosY1=0\r"));
  ASSERT_TRUE(read.fpl);
  EXPECT_EQ(read.fpl->nb_wp, 2);
  EXPECT_EQ(read.fpl->tpnam[0], "Pr\xE9");
  EXPECT_EQ(read.fpl->tpnam[1], "Col");
}

TEST(TaskMap, HostilePositionsStillGiveAPicture) {
  TempDir dir;
  // Positions at the ends of the real range, a radius of 2e9 m, zones without corners.
  const std::string text =
      "[Task]\nCount=3\nTPPosX0=0\nTPPosX1=3.4E38\nTPPosY1=-3.4E38\nTPRadius1=2000000000\n"
      "TPAngle1=45\nTPPosX2=-3.4E38\nTPAngle2=360\nPZCount=2\n";
  const PlanForMap read = plan_file_for_map(dir.write("odd.fpl", text));
  ASSERT_TRUE(read.fpl);
  const std::string svg = task_map_svg(*read.fpl, MapMarks(Language::english), map_texts());
  EXPECT_EQ(count(svg, "class=\"tp-mark"), 3);
  EXPECT_EQ(count(svg, "<polygon"), 0);
  for (const char* bad :
       {"=\"nan", "=\"inf", "=\"-nan", "=\"-inf", ",nan", ",inf", "?", "inf km"}) {
    EXPECT_EQ(svg.find(bad), std::string::npos) << bad;
  }
  // Legs too long for a number: a dash.
  EXPECT_EQ(count(svg, ">\x96</text>"), 2);
  EXPECT_EQ(task_km(read.fpl->dist_tot), "\x96");
}

// In the simulator's files X grows westward: of turnpoints at X 300 km and 270 km on one
// latitude, the second is east of the first, on the right of the map; Y grows northward.
TEST(TaskMap, EastIsOnTheRightNorthAtTheTop) {
  TempDir dir;
  const PlanForMap read = plan_file_for_map(
      dir.write("east.fpl",
                "[Task]\nCount=3\nTPName0=Home\nTPPosX0=300000\nTPPosY0=0\nTPName1=East\n"
                "TPPosX1=270000\nTPPosY1=0\nTPName2=North\nTPPosX2=270000\nTPPosY2=20000\n"));
  ASSERT_TRUE(read.fpl);
  const std::string svg = task_map_svg(*read.fpl, MapMarks(Language::english), map_texts());
  const auto home = [&] {
    const std::size_t at = svg.find("class=\"tp-mark takeoff\"");
    const auto attribute = [&](const std::string& name) {
      const std::size_t p = svg.find(name + "=\"", at) + name.size() + 2;
      return std::stod(svg.substr(p, svg.find('"', p) - p));
    };
    return std::pair{attribute("x") + 5, attribute("y") + 5};
  }();
  const auto east = mark_at(svg, "tp-mark start");
  const auto north = mark_at(svg, "tp-mark finish");
  EXPECT_GT(east.first, home.first + 100);
  EXPECT_NEAR(east.second, home.second, 0.1);
  EXPECT_NEAR(north.first, east.first, 0.1);
  EXPECT_LT(north.second, east.second - 50);
}

// A plan of many findings: the page shows its first 200, its map's tooltips the first 200 of
// each place, and each says how many more the log holds; the sections come as the plans end.
TEST(HtmlReport, APlanShowsAtMost200FindingsThenHowManyMore) {
  TempDir dir;
  std::string written;
  StringOutput out(written);
  HtmlReportHead head{Language::english, "rules.fpl", 2, "2026-05-17", "", {}};
  head.rule_lines = {{4, "TPRadius1<=500"}, {9, "WindSpeed<15"}};
  HtmlReport report(head, out, plan_file_for_map);
  report.plan_begun(dir.write("many.fpl", plan(3)), "many.fpl");
  for (int i = 0; i < 250; ++i)
    report.finding(violation(10 + i, "TPRadius1", "1000", "<=", "500", 1, -1));
  for (int i = 0; i < 230; ++i)
    report.finding(violation(300 + i, "WindSpeed", "18", "<", "15", -1, 0));
  report.plan_ended(PlanOutcome::checked, 480);
  // The plan's section is written as it ends.
  ASSERT_EQ(sections(written).size(), 1u);
  EXPECT_EQ(count(written, "<td class=\"report\">"), 200);
  EXPECT_NE(written.find("<tr class=\"more\"><td></td><td>... and 280 more (see the log)</td>"),
            std::string::npos);
  const std::string map = map_of(written);
  EXPECT_EQ(count(map, "TPRadius1 : 1000"), 200);
  EXPECT_EQ(count(map, "WindSpeed[0] : 18"), 200);
  EXPECT_NE(map.find("should be: &lt;= 500\n... and 50 more (see the log)</title>"),
            std::string::npos);
  EXPECT_NE(map.find("should be: &lt; 15\n... and 30 more (see the log)</title>"),
            std::string::npos);

  report.set_totals("1 plans checked: 0 without error, 1 with invalid lines");
  std::string page;
  StringOutput page_out(page);
  report.write_start(page_out);
  report.write_end(page_out);
  EXPECT_NE(page.find("<details class=\"rules\"><summary>The rules, with their lines in the rules "
                      "file</summary><table><tr><th>Line</th><th>Rule</th></tr><tr><td "
                      "class=\"n\">4</td><td class=\"rule\">TPRadius1&lt;=500</td></tr><tr><td "
                      "class=\"n\">9</td>"),
            std::string::npos);
  EXPECT_NE(page.find("many.fpl</a></td><td class=\"n\">480</td>"), std::string::npos);
  EXPECT_EQ(count(page, "1 plans checked: 0 without error, 1 with invalid lines"), 2);
}

// Control characters of a plan (NUL, ESC, DEL, the bytes Windows-1252 leaves undefined) are no
// HTML: they become "?", and the page holds none.
TEST(HtmlReport, ControlCharactersBecomeQuestionMarks) {
  TempDir dir;
  FindingsRecord record;
  record.begin_plan(dir.write("odd.fpl", plan(3)), std::string("odd\x1B.fpl"));
  record.add(violation(5, "K",
                       std::string("a\0b\x1B"
                                   "c\x7F"
                                   "d\x81\x8D\x8F\x90\x9D"
                                   "e\t",
                                   14),
                       "=", "x", 1, -1));
  record.add(violation(6, std::string("Key\x01", 4), "v", "=", "x", -1, -1));
  record.end_plan(2);
  const std::string page =
      html_report(record, {Language::english, "r.fpl", 1, "d", "", {}}, plan_file_for_map);
  EXPECT_NE(page.find("K : a?b?c?d?????e\t"), std::string::npos);
  EXPECT_NE(page.find(">Key?</text>"), std::string::npos);
  EXPECT_NE(page.find("odd?.fpl"), std::string::npos);
  for (std::size_t i = 0; i < page.size(); ++i) {
    const auto c = static_cast<unsigned char>(page[i]);
    EXPECT_FALSE((c < 0x20 && c != '\t' && c != '\n') || c == 0x7F) << i;
    EXPECT_FALSE(c == 0xC2 && i + 1 < page.size() && static_cast<unsigned char>(page[i + 1]) < 0xA0)
        << i;  // U+0080 to U+009F
  }
}

}  // namespace
}  // namespace brevanto
