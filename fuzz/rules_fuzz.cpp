// The rules file, read into the constraint table, with the verbose trace lines.
#include "fixed_text.hpp"
#include "fuzz_support.hpp"
#include "rules_file.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace brevanto;
  static const fuzz::Scratch scratch;
  std::string out;
  Console con(out);
  Journal journal(con, "Brevanto");  // no CREATE: the journal writes to the console only
  RunSettings s;
  s.qverb = true;
  s.deffil = scratch.write("rules.fpl", fuzz::text(data, size));
  ConstraintTable table;
  const auto fault = read_rules_file(Io{con, journal, s}, s, table);
  fuzz::require(table.check_num >= 0 && table.check_num <= maxchk);
  fuzz::require(fault || table.check_num > 0);
  for (int i = 1; i <= table.check_num; ++i) {
    const Constraint& c = table[i];
    fuzz::require(c.check_key.size() <= kKeyLen && c.check_val.size() <= kKeyLen);
    fuzz::require(c.check_typ == 'I' || c.check_typ == 'R' || c.check_typ == 'C');
  }
  return 0;
}
