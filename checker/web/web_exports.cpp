// The calls the page's script makes into the check, as plain C functions over the module's
// memory: the script copies each file's name and bytes in, and reads each text out by its
// address and size. One page (a WebCheck and what it last made) per handle; the script makes
// one and keeps it.
#include <emscripten/emscripten.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "number_read.hpp"
#include "web_check.hpp"

namespace {

struct Page {
  brevanto::WebCheck check;
  brevanto::WebReport last;
  std::string output;  // the CSV or the HTML page made last
};

std::string_view view(const char* data, std::size_t size) {
  return size == 0 ? std::string_view() : std::string_view(data, size);
}

// What brevanto_check() gives back.
enum CheckStatus : int { kChecked = 0, kBadTolerance = 1, kRulesFault = 2 };

// The texts brevanto_text_data() gives: the report, the rules file's fault, the output made last
// and the report's line of the totals.
enum Text : int { kReport = 0, kRulesFaultText = 1, kOutput = 2, kTotalsLine = 3 };

const std::string& text_of(const Page& page, int which) {
  static const std::string kNone;
  switch (which) {
    case kReport:
      return page.last.report;
    case kRulesFaultText:
      return page.last.rules_fault ? *page.last.rules_fault : kNone;
    case kOutput:
      return page.output;
    case kTotalsLine:
      return page.last.totals_line;
    default:
      return kNone;
  }
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE Page* brevanto_new() {
  return new Page();  // NOLINT(cppcoreguidelines-owning-memory): the script owns it
}

EMSCRIPTEN_KEEPALIVE void brevanto_delete(Page* page) {
  delete page;  // NOLINT(cppcoreguidelines-owning-memory)
}

EMSCRIPTEN_KEEPALIVE void brevanto_set_rules(Page* page, const char* name, std::size_t name_size,
                                             const char* bytes, std::size_t size) {
  page->check.set_rules(view(name, name_size), std::string(view(bytes, size)));
}

EMSCRIPTEN_KEEPALIVE void brevanto_add_plan(Page* page, const char* name, std::size_t name_size,
                                            const char* bytes, std::size_t size) {
  page->check.add_plan(view(name, name_size), std::string(view(bytes, size)));
}

EMSCRIPTEN_KEEPALIVE void brevanto_clear_plans(Page* page) {
  page->check.clear_plans();
}

// Checks the plans against the rules. `tolerance` is read as the settings file's FltPntAcy.
EMSCRIPTEN_KEEPALIVE int brevanto_check(Page* page, int french, const char* tolerance,
                                        std::size_t tolerance_size, int oklines, int missing,
                                        int unused) {
  const auto fltpntacy = brevanto::read_real(view(tolerance, tolerance_size));
  if (!fltpntacy) return kBadTolerance;
  brevanto::CheckOptions options;
  options.language = french != 0 ? brevanto::Language::french : brevanto::Language::english;
  options.fltpntacy = *fltpntacy;
  options.qoklines = oklines != 0;
  options.qmissing = missing != 0;
  options.slash_separates_folders = true;
  page->output.clear();
  page->last = page->check.check(options, unused != 0);
  return page->last.rules_fault ? kRulesFault : kChecked;
}

// The totals of the last check: plans clean, with invalid lines, unreadable, skipped, and 1
// when the check stopped on a plan it could not read.
EMSCRIPTEN_KEEPALIVE int brevanto_total(const Page* page, int which) {
  const brevanto::RunTotals& t = page->last.totals;
  const int totals[] = {t.clean, t.invalid, t.unreadable, t.skipped, page->last.stopped ? 1 : 0};
  return which >= 0 && which < 5 ? totals[which] : 0;
}

EMSCRIPTEN_KEEPALIVE void brevanto_make_csv(Page* page) {
  page->output = page->check.csv();
}

EMSCRIPTEN_KEEPALIVE void brevanto_make_html(Page* page, const char* date, std::size_t date_size) {
  page->output = page->check.html(view(date, date_size));
}

EMSCRIPTEN_KEEPALIVE const char* brevanto_text_data(const Page* page, int which) {
  return text_of(*page, which).data();
}

EMSCRIPTEN_KEEPALIVE std::size_t brevanto_text_size(const Page* page, int which) {
  return text_of(*page, which).size();
}

}  // extern "C"
