// The rules file, read into the constraint table, with the verbose trace lines.
#include "fixed_text.hpp"
#include "fuzz_support.hpp"
#include "rules_file.hpp"

namespace {

class Sink : public brevanto::ReportSink {
 public:
  void report_lines(std::initializer_list<std::string_view> lines) override {
    for (const std::string_view line : lines)
      brevanto::fuzz::require(line.find('\n') == std::string_view::npos);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace brevanto;
  static const fuzz::Scratch scratch;
  std::string out;
  Console con(out);
  CheckOptions options;
  options.qverb = true;
  const std::string path = scratch.write("rules.fpl", fuzz::text(data, size));
  TextFile file(path, TextFile::Decoding::detect_utf8);
  ConstraintTable table;
  Sink sink;
  const auto fault = read_rules(con, file, path, options, table, sink);
  fuzz::require(table.check_num >= 0 && table.check_num <= maxchk);
  fuzz::require(fault || table.check_num > 0);
  for (int i = 1; i <= table.check_num; ++i) {
    const Constraint& c = table[i];
    fuzz::require(c.check_key.size() <= kKeyLen && c.check_val.size() <= kKeyLen);
    fuzz::require(c.check_typ == 'I' || c.check_typ == 'R' || c.check_typ == 'C');
  }
  return 0;
}
