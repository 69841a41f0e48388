#include "read_fpl.hpp"

#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>

#include "extract_key_val.hpp"
#include "fixed_text.hpp"
#include "fortran_format.hpp"
#include "number_read.hpp"
#include "plan_keys.hpp"
#include "read_fpl_geometry.hpp"
#include "read_fpl_values.hpp"
#include "read_fpl_weather.hpp"

namespace brevanto {
namespace {

constexpr std::string_view kEmbedded = "LSRXFPL";         // plan lines inside another file
constexpr std::string_view kEmbedEnd = "LSRXFlightInfo";  // where those plan lines end

constexpr std::string_view kTooManyTurnpointsEn = "XCSoar does not support more than 30 turnpoints";
constexpr std::string_view kTooManyTurnpointsFr =
    "XCSoar n'accepte pas plus que 30 points de virage";

static_assert(std::all_of(std::begin(turnpoint_keys), std::end(turnpoint_keys),
                          [](const TurnpointKey& k) { return k.prefix.starts_with("TP"); }),
              "turnpoint_key() tells the turnpoint keys by their \"TP\"");

std::string_view after(std::string_view text, std::size_t n) {
  return text.substr(std::min(n, text.size()));
}

// The widest line a version-3 plan widens to: "DisabledAirspaces=" and a number of up to four
// digits and a comma for every block the model holds. A landscape with more blocks cannot
// disable more of them.
constexpr long long kWidestLine = 5LL * (cmaxdisabledairspaceblockscount + 1) + 17;

// The items of a "DisabledAirspaces" list, taken as the pieces of its line come: the list is
// read whole, however long, without ever holding the line. An item that is no block number of
// the model is skipped; the list ends at its end or at an empty item.
class BlockList {
 public:
  BlockList(Console& con, FlightPlan& fpl) : con_(con), fpl_(fpl) { fpl_.last_dis_as = 0; }

  // The next piece of the line; false once the list has ended.
  bool take(std::string_view piece) {
    if (!listing_) {
      const std::size_t eq = piece.find('=');
      if (eq == std::string_view::npos) return true;
      listing_ = true;
      piece.remove_prefix(eq + 1);
    }
    return std::all_of(piece.begin(), piece.end(), [this](char c) { return add(c); });
  }

  // The end of the line: its last item.
  void finish() {
    if (listing_) end_item();
  }

 private:
  // Items are read whole: cutting a long one would turn it into another number. What is kept
  // of an item is far more than any block number needs, leading zeros and all.
  static constexpr std::size_t kItemKept = 4096;

  // One character of the list; false once the list has ended.
  bool add(char c) {
    if (c == ',') return end_item();
    if (c == ' ') {
      if (!item_.empty()) ++blanks_;  // kept only if more of the item follows
    } else if (!cut_ && item_.size() + blanks_ < kItemKept) {
      if (blanks_ > 0) item_.append(blanks_, ' ');
      blanks_ = 0;
      item_ += c;
    } else {
      cut_ = true;
    }
    return true;
  }

  bool end_item() {
    const std::string_view item = item_;
    if (item.empty()) return false;
    con_.trace(item);
    // The number is the item's first word: one that runs past what was kept is no block number.
    const std::string_view word = first_item(item);
    const bool whole = !cut_ || word.data() + word.size() != item.data() + item.size();
    const auto block = whole ? read_index(item) : std::nullopt;
    if (block && fpl_.qas_disa.contains(*block)) {
      fpl_.qas_disa[*block] = true;
      fpl_.last_dis_as = std::max(fpl_.last_dis_as, static_cast<int>(*block));
    }
    item_.clear();
    blanks_ = 0;
    cut_ = false;
    return true;
  }

  Console& con_;
  FlightPlan& fpl_;
  bool listing_ = false;    // past the line's first "="
  std::string item_;        // the current item, without its leading blanks
  std::size_t blanks_ = 0;  // blanks after it, not yet known to be inside it
  bool cut_ = false;        // the item is longer than what is kept of it
};

class PlanReader {
 public:
  PlanReader(Console& con, const AirspaceCount& airspace_count, FlightPlan& fpl, TextFile& plan,
             bool qverb)
      : con_(con), airspace_count_(airspace_count), fpl_(fpl), plan_(plan), verbose_(qverb) {}

  FplReadState read();

 private:
  enum class Section { none, version, task, weather, plane };

  // Handles the current line; false when the reading ends with it (a description block).
  bool dispatch(int& ios);
  void zone_header();
  void version();
  void landscape();
  void turnpoint_count();
  bool turnpoint_key();
  void penalty_zone_count();
  void penalty_zone_corner();
  bool penalty_zone_height();
  void disabled_airspaces();
  void description(int& ios);

  Console& con_;
  const AirspaceCount& airspace_count_;
  FlightPlan& fpl_;
  TextFile& plan_;
  const bool verbose_;
  bool too_many_turnpoints_ = false;

  Section section_ = Section::none;
  int turnpoint_ = 0;     // last turnpoint index
  int penalty_zone_ = 0;  // last penalty-zone index
  long long weather_zone_ =
      0;  // current weather zone; may lie outside the model after a bad header

  // Lines are cut at this width, except the "DisabledAirspaces" list, which is read whole. A
  // version-3 plan widens it from "PZCount" to "DisabledAirspaces" to hold that list's line,
  // never below the usual 132.
  std::size_t width_ = kLineLen;
  std::string_view record_;  // the record as read, up to the width; the rest stays in the file
  // Parts of the record, valid until the next one is read.
  std::string_view raw_line_;  // the record cut at the width (the raw line)
  std::string_view line_;      // the working line
  std::string_view key_, val_;

  float previous_aattime_ = 0;
  bool previous_qaat_ = false;
  int previous_maxstartgroundspeed_ = 0;
};

FplReadState PlanReader::read() {
  long long nl = 0;
  int ios = 0;
  previous_aattime_ = fpl_.aattime;
  previous_qaat_ = fpl_.qaat;
  previous_maxstartgroundspeed_ = fpl_.maxstartgroundspeed;

  reset_plan(fpl_);

  con_.trace("fpl_vers", fpl_.fpl_vers);

  for (;;) {
    if (plan_.next_line_start(record_, width_) != TextFile::Status::ok) {
      ios = plan_.last_status();
      break;
    }
    ios = 0;
    raw_line_ = trim_right(record_.substr(0, width_));
    con_.trace(nl, raw_line_, width_);
    if (raw_line_.empty()) continue;

    if (raw_line_.starts_with(kEmbedded)) {
      line_ = trim_right(after(raw_line_, kEmbedded.size()).substr(0, width_));
    } else if (raw_line_.starts_with(kEmbedEnd)) {
      break;
    } else {
      line_ = raw_line_;
    }

    ++nl;
    con_.trace(nl, line_, line_.size());
    const KeyVal kv = split_key_val(line_);
    key_ = kv.key;
    val_ = kv.val;
    con_.trace(nl, key_, " ", val_);

    if (!dispatch(ios)) break;
    if (too_many_turnpoints_) {
      return FplReadState{nl, ios, true};
    }
    fpl_.nwpmax = std::max(fpl_.nwpmax, turnpoint_);
    fpl_.npzmax = std::max(fpl_.npzmax, penalty_zone_);
  }

  // A version-2 plan has one weather zone, the base weather.
  if (fpl_.fpl_vers == 2) {
    fpl_.wzcount = 1;
    fpl_.wznam[0] = "Base";
    fpl_.pointcount[0] = 0;
  }
  compute_dist(con_, fpl_);
  con_.trace("IOS=", ios);
  return FplReadState{nl, ios, false};
}

// The first test that matches handles the line; a line that matches none is ignored. The
// handlers that recognise their own keys (turnpoints, penalty-zone heights, the key tables)
// answer whether the line was theirs.
bool PlanReader::dispatch(int& ios) {
  if (line_ == kPlaneHeader) {
    section_ = Section::plane;
  } else if (line_ == "[Version]") {
    section_ = Section::version;
  } else if (line_ == "[Task]") {
    section_ = Section::task;
  } else if (line_ == "[Weather]") {
    section_ = Section::weather;
    if (fpl_.fpl_vers == 2) weather_zone_ = 0;  // a version-2 plan has no zones: all is zone 0
    con_.trace("qweather", true, weather_zone_);
  } else if (key_.starts_with(kWeatherZoneHeader)) {
    zone_header();
  } else if (key_ == kVersionKey) {
    version();
  } else if (key_ == kLandscapeKey) {
    landscape();
  } else if (section_ == Section::task && key_ == kTurnpointCount) {
    turnpoint_count();
  } else if (turnpoint_key()) {  // NOLINT(bugprone-branch-clone): each handler took its line
  } else if (key_ == kPenaltyZoneCount) {
    penalty_zone_count();
  } else if (key_.starts_with(kPenaltyZoneCornerPrefix)) {
    penalty_zone_corner();
  } else if (penalty_zone_height()) {
  } else if (key_ == kDisabledAirspacesKey) {
    disabled_airspaces();
  } else if (section_ == Section::weather &&
             read_weather_key(con_, fpl_, key_, val_, line_, weather_zone_)) {
  } else if (section_ == Section::plane && read_plane_key(fpl_, key_, val_)) {
  } else if (read_option_key(con_, fpl_, key_, val_)) {
  } else if (key_ == kDescriptionKey) {
    description(ios);
    return false;
  }
  return true;
}

// "[WeatherZone<n>]": the zone number stands between the prefix and the first "]".
void PlanReader::zone_header() {
  constexpr std::size_t prefix = 12;
  const std::size_t bracket = line_.find(']');
  const std::string_view zone_text = bracket != std::string::npos && bracket > prefix
                                         ? line_.substr(prefix, bracket - prefix)
                                         : std::string_view();
  const auto zone = read_index(zone_text);
  const std::size_t after_bracket = bracket == std::string::npos ? 0 : bracket + 1;
  con_.trace(line_, after_bracket, zone_text, zone.value_or(0), zone ? 0 : 1);
  // A zone outside the model still opens a weather section, so that its keys are ignored rather
  // than written into the zone before it.
  if (zone) weather_zone_ = *zone;
  section_ = Section::weather;
  con_.trace("qweather", true, weather_zone_);
}

void PlanReader::version() {
  // Unlike the other keys, a version that does not read is no version at all: keeping the
  // previous plan's would give this plan another version's fix-ups.
  const auto v = read_int(val_);
  fpl_.fpl_vers = v ? *v / 1000 : 0;
  if (verbose_) con_.note(" Soarix_version=" + fmt_i(fpl_.fpl_vers, 1));
  if (fpl_.fpl_vers == 2) {
    // Version 2 plans may lack these keys: keep what the previous plan gave.
    fpl_.maxstartgroundspeed = previous_maxstartgroundspeed_;
    fpl_.aattime = previous_aattime_;
    fpl_.qaat = previous_qaat_;
    con_.trace("S2 FLIGHTPLAN - Reset AAT & MaxStartGroundSpeed");
  }
}

void PlanReader::landscape() {
  fpl_.landscape = fit(val_, rd_fpl_2::landscape_len);
  if (fpl_.fpl_vers != 3) return;
  fpl_.nb_as_zones = airspace_count_(std::string(val_));
  con_.trace("Airspace zones : ", fpl_.nb_as_zones);
}

void PlanReader::turnpoint_count() {
  set_int(fpl_.nb_wp, val_);
  if (verbose_) con_.note(" Number of legs=" + fmt_i(static_cast<long long>(fpl_.nb_wp) - 2, 2));
  too_many_turnpoints_ = fpl_.nb_wp > maxtp + 1;
}

// "TPxxx<n>=<value>": the index follows the prefix at a fixed position. An index that is no
// number leaves the previous one in force; an index outside 0..30 makes the line ignored.
bool PlanReader::turnpoint_key() {
  constexpr std::string_view name_prefix = kTurnpointName;
  // Every turnpoint key begins so: most lines are told apart at once.
  if (!key_.starts_with("TP")) return false;
  const TurnpointKey* entry = nullptr;
  std::size_t prefix = 0;
  if (key_.starts_with(name_prefix)) {
    prefix = name_prefix.size();
  } else {
    for (const auto& k : turnpoint_keys) {
      // The third character tells most prefixes apart before they are compared.
      if (key_.size() > 2 && key_[2] == k.prefix[2] && key_.starts_with(k.prefix)) {
        entry = &k;
        prefix = k.prefix.size();
        break;
      }
    }
    if (entry == nullptr) return false;
  }

  const auto [index, value] = split_key_val(after(line_, prefix));
  const long long number = read_index(index).value_or(turnpoint_);
  if (!PerTurnpoint<int>::contains(number)) return true;
  turnpoint_ = static_cast<int>(number);

  if (entry == nullptr) {
    std::string name = fit(value, kKeyLen);
    cleanup_name(name, kKeyLen);
    fpl_.tpnam[number] = fit(name, rd_fpl_2::name_len);
    return true;
  }
  switch (entry->conv) {
    case TurnpointConv::as_read:
      if (entry->real != nullptr) {
        set_real((fpl_.*entry->real)[number], value);
      } else {
        set_int((fpl_.*entry->integer)[number], value);
      }
      break;
    case TurnpointConv::rounded:
      if (entry->real != nullptr) {
        set_rounded((fpl_.*entry->real)[number], value);
      } else {
        set_rounded((fpl_.*entry->integer)[number], value);
      }
      break;
    case TurnpointConv::azimuth:
      // Radians in the plan, whole degrees in the model.
      if (const auto v = read_real(value)) {
        if (const auto deg = nint(radians_to_degrees(*v))) {
          (fpl_.*entry->real)[number] = static_cast<float>(*deg);
        }
      }
      break;
  }
  return true;
}

void PlanReader::penalty_zone_count() {
  set_int(fpl_.nb_pz, val_);
  if (fpl_.fpl_vers != 3) return;
  // Room for "DisabledAirspaces=" and one number of up to four digits and a comma per block.
  const long long wanted = 5LL * fpl_.nb_as_zones + 17;
  width_ =
      static_cast<std::size_t>(std::clamp(wanted, static_cast<long long>(kLineLen), kWidestLine));
  con_.trace("allocate", width_, width_);
}

// "PZPos<corner>X<zone>=<value>" (or Y).
void PlanReader::penalty_zone_corner() {
  const auto item = split_polygon_item(after(line_, 5));
  if (!item || !item->point) return;
  const long long zone = item->zone.value_or(penalty_zone_);
  auto& coord = fpl_.pzp[item->coord];
  if (!coord.contains(*item->point) || !coord[0].contains(zone)) return;
  penalty_zone_ = static_cast<int>(zone);
  if (item->value) coord[*item->point][zone] = *item->value;
}

// "PZBase<zone>=", "PZTop<zone>=", "PZPenaltyTimeFactor<zone>=".
bool PlanReader::penalty_zone_height() {
  const auto* const k =
      std::find_if(std::begin(penalty_zone_keys), std::end(penalty_zone_keys),
                   [this](const PenaltyZoneKey& entry) { return key_.starts_with(entry.prefix); });
  if (k == std::end(penalty_zone_keys)) return false;
  const auto [index, value] = split_key_val(after(line_, k->prefix.size()));
  const long long zone = read_index(index).value_or(penalty_zone_);
  if (!fpl_.pza[k->row].contains(zone)) return true;
  penalty_zone_ = static_cast<int>(zone);
  set_real(fpl_.pza[k->row][zone], value);
  return true;
}

// "DisabledAirspaces=<n>,<n>,...": the list after the record's first "=", from the record as
// read on to the rest of its line.
void PlanReader::disabled_airspaces() {
  constexpr std::size_t kPiece = std::size_t{64} * 1024;
  BlockList list(con_, fpl_);
  bool more = list.take(record_);
  std::string piece;
  while (more && plan_.read_more(piece, kPiece))
    more = list.take(piece);
  if (more) list.finish();
  width_ = kLineLen;
}

// "Text=<line 1>" and the lines after it, up to a blank line or the end of the file. These
// lines are stored as they stand; past the sixteenth they are read but not kept.
void PlanReader::description(int& ios) {
  fpl_.fpldesc[1] = fit(val_, rd_fpl_2::desc_len);
  std::string_view line;
  for (long long number = 2;; ++number) {
    const bool ok = plan_.next_line(line, width_) == TextFile::Status::ok;
    ios = ok ? 0 : plan_.last_status();
    con_.trace("IOS=", ios);
    if (!ok || trim_right(line).empty()) return;
    if (fpl_.fpldesc.contains(number)) fpl_.fpldesc[number] = fit(line, rd_fpl_2::desc_len);
  }
}

}  // namespace

FplReadState read_fpl(Console& con, const AirspaceCount& airspace_count, FlightPlan& fpl,
                      TextFile& plan, bool qverb) {
  return PlanReader(con, airspace_count, fpl, plan, qverb).read();
}

std::string_view too_many_turnpoints_message(Language language) {
  return in_language(language, kTooManyTurnpointsEn, kTooManyTurnpointsFr);
}

}  // namespace brevanto
