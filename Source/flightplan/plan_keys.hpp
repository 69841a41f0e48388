// The vocabulary of flight-plan lines: the section headers of a plan, the keys the reader knows
// with the field of the model each fills, the keys the check follows to know where it stands in
// a plan, and the keys real plans also carry. The reader, the check and the tests of a rules
// file take their keys from here, so that they all speak of the same lines.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "read_fpl_model.hpp"

namespace brevanto {

// ---- Lines the check follows ----------------------------------------------------------------

inline constexpr std::string_view kTurnpointName = "TPName";     // "TPName<n>": turnpoint n's lines
inline constexpr std::string_view kTurnpointGround = "TPPosZ";   // its ground altitude
inline constexpr std::string_view kSectorType = "TPSectorType";  // its sector type
inline constexpr std::string_view kPenaltyZoneCount = "PZCount";  // the turnpoints are over
inline constexpr std::string_view kWeatherZoneCount = "WZCount";
inline constexpr std::string_view kTurnpointCount = "Count";            // in [Task]
inline constexpr std::string_view kWeatherZoneHeader = "[WeatherZone";  // "[WeatherZone<n>]"
inline constexpr std::string_view kPlaneHeader = "[Plane]";

// ---- The keys the reader knows --------------------------------------------------------------

inline constexpr std::string_view kVersionKey = "Soarix version";
inline constexpr std::string_view kLandscapeKey = "Landscape";
inline constexpr std::string_view kDisabledAirspacesKey = "DisabledAirspaces";
inline constexpr std::string_view kDescriptionKey = "Text";  // the first line of a description
inline constexpr std::string_view kPenaltyZoneCornerPrefix = "PZPos";  // "PZPos<corner>X<zone>"
inline constexpr std::string_view kPolygonPrefix = "Polygon";          // "Polygon<point>X<zone>"

// How a turnpoint key's value goes into the model: as read, rounded to a whole number, or
// from radians to whole degrees.
enum class TurnpointConv { as_read, rounded, azimuth };

// Turnpoint keys after "TPName", in the order their prefixes are tried. Each fills one element
// of a real or an integer array.
struct TurnpointKey {
  std::string_view prefix;
  PerTurnpoint<float> FlightPlan::*real;
  PerTurnpoint<int> FlightPlan::*integer;
  TurnpointConv conv;
};
inline constexpr TurnpointKey turnpoint_keys[] = {
    {"TPPosX", &FlightPlan::tpx, nullptr, TurnpointConv::as_read},
    {"TPPosY", &FlightPlan::tpy, nullptr, TurnpointConv::as_read},
    {"TPPosZ", &FlightPlan::tpz, nullptr, TurnpointConv::as_read},
    {"TPAirport", nullptr, &FlightPlan::tpair, TurnpointConv::as_read},
    {"TPSectorType", nullptr, &FlightPlan::tpsec, TurnpointConv::as_read},
    {"TPSectorDirection", nullptr, &FlightPlan::tpsecdir, TurnpointConv::as_read},
    {"TPRadius", nullptr, &FlightPlan::tprad, TurnpointConv::rounded},
    {"TPAngle", nullptr, &FlightPlan::tpang, TurnpointConv::rounded},
    {"TPAltitude", &FlightPlan::tpalt, nullptr, TurnpointConv::rounded},
    {"TPWidth", &FlightPlan::tpwid, nullptr, TurnpointConv::rounded},
    {"TPHeight", &FlightPlan::tphei, nullptr, TurnpointConv::as_read},
    {"TPAzimuth", &FlightPlan::tpazi, nullptr, TurnpointConv::azimuth},
};

// Penalty-zone heights and factor: row k of pza.
struct PenaltyZoneKey {
  std::string_view prefix;
  int row;
};
inline constexpr PenaltyZoneKey penalty_zone_keys[] = {
    {"PZBase", 1}, {"PZTop", 2}, {"PZPenaltyTimeFactor", 3}};

// A key and the field of the model it fills.
template <typename Field>
struct FieldKey {
  std::string_view key;
  Field FlightPlan::*field;
};

// Zone values stored as read.
inline constexpr FieldKey<PerZone<float>> zone_reals[] = {
    {"MoveDir", &FlightPlan::movedir},
    {"MoveSpeed", &FlightPlan::movespeed},
    {"BorderWidth", &FlightPlan::borderwidth},
    {"WindDir", &FlightPlan::winddir},
    {"WindSpeed", &FlightPlan::windspeed},
    {"WindUpperSpeed", &FlightPlan::windupperspeed},
    {"ThermalsDew", &FlightPlan::thermalsdew},
    {"ThermalsOverdevelopment", &FlightPlan::thermalsoverdevelopment},
};
inline constexpr FieldKey<PerZone<int>> zone_ints[] = {
    {"PointCount", &FlightPlan::pointcount},
    {"WindDirVariation", &FlightPlan::winddirvariation},
    {"WindSpeedVariation", &FlightPlan::windspeedvariation},
    {"WindTurbulence", &FlightPlan::windturbulence},
    {"ThermalsTempVariation", &FlightPlan::thermalstempvariation},
    {"ThermalsStrength", &FlightPlan::thermalsstrength},
    {"ThermalsStrengthVariation", &FlightPlan::thermalsstrengthvariation},
    {"ThermalsWidth", &FlightPlan::thermalswidth},
    {"ThermalsWidthVariation", &FlightPlan::thermalswidthvariation},
    {"ThermalsActivity", &FlightPlan::thermalsactivity},
    {"ThermalsActivityVariation", &FlightPlan::thermalsactivityvariation},
    {"ThermalsTurbulence", &FlightPlan::thermalsturbulence},
    {"ThermalsFlatsActivity", &FlightPlan::thermalsflatsactivity},
    {"ThermalsStreeting", &FlightPlan::thermalsstreeting},
    {"ThermalsBugs", &FlightPlan::thermalsbugs},
    {"WavesStability", &FlightPlan::wavesstability},
    {"WavesMoisture", &FlightPlan::wavesmoisture},
    {"HighCloudsCoverage", &FlightPlan::highcloudscoverage},
};

inline constexpr FieldKey<std::string> plane_texts[] = {
    {"Class", &FlightPlan::glclass},
    {"Name", &FlightPlan::glnam},
    {"Skin", &FlightPlan::glskin},
};
inline constexpr FieldKey<float> plane_reals[] = {
    {"Water", &FlightPlan::wmass},
    {"FixedMass", &FlightPlan::fmass},
    {"CGBias", &FlightPlan::cgbias},
};

inline constexpr FieldKey<float> option_reals[] = {
    {"StartTime", &FlightPlan::starttime},
    {"StartTimeWindow", &FlightPlan::starttimewindow},
    {"RaceStartDelay", &FlightPlan::racestartdelay},
    {"AATTime", &FlightPlan::aattime},
    {"RopeLength", &FlightPlan::ropelength},
};
inline constexpr FieldKey<int> option_ints[] = {
    {"IconsVisibleRange", &FlightPlan::iconsvisiblerange},
    {"ThermalHelpersRange", &FlightPlan::thermalhelpersrange},
    {"TurnpointHelpersRange", &FlightPlan::turnpointhelpersrange},
    {"PenaltyCloudFlying", &FlightPlan::penaltycloudflying},
    {"PenaltyPlaneRecovery", &FlightPlan::penaltyplanerecovery},
    {"PenaltyHeightRecovery", &FlightPlan::penaltyheightrecovery},
    {"PenaltyWrongWindowEnterance", &FlightPlan::penaltywrongwindowenterance},
    {"PenaltyWindowCollision", &FlightPlan::penaltywindowcollision},
    {"PenaltyAirspaceEnterance", &FlightPlan::penaltyairspaceenterance},
    {"PenaltyPenaltyZoneEnterance", &FlightPlan::penaltypenaltyzoneenterance},
    {"PenaltyThermalHelpers", &FlightPlan::penaltythermalhelpers},
    {"MaxStartGroundSpeed", &FlightPlan::maxstartgroundspeed},
    {"PenaltyStartSpeed", &FlightPlan::penaltystartspeed},
    {"PenaltyHighStart", &FlightPlan::penaltyhighstart},
    {"PenaltyLowFinish", &FlightPlan::penaltylowfinish},
    {"RandSeed", &FlightPlan::randseed},
    {"StartType", &FlightPlan::starttype},
    {"StartHeight", &FlightPlan::startheight},
    {"BreakProb", &FlightPlan::breakprob},
    {"MaxWingLoading", &FlightPlan::maxwingloading},
    {"MaxTeams", &FlightPlan::maxteams},
    {"AcroFlight", &FlightPlan::acroflight},
};
inline constexpr FieldKey<bool> option_flags[] = {
    {"AAT", &FlightPlan::qaat},
    {"AllowBugwipers", &FlightPlan::allowbugwipers},
    {"AllowPDA", &FlightPlan::allowpda},
    {"AllowRealtimeScoring", &FlightPlan::allowrealtimescoring},
    {"AllowExternalView", &FlightPlan::allowexternalview},
    {"AllowPadlockView", &FlightPlan::allowpadlockview},
    {"AllowSmoke", &FlightPlan::allowsmoke},
    {"AllowPlaneRecovery", &FlightPlan::allowplanerecovery},
    {"AllowHeightRecovery", &FlightPlan::allowheightrecovery},
    {"AllowMidairCollisionRecovery", &FlightPlan::allowmidaircollisionrecovery},
};

// Weather keys the reader handles one by one, beside the tables above.
inline constexpr std::string_view kWeatherKeys[] = {
    "RandomizeWeatherOnEachFlight", "WZCount", "Pressure", "Name", "ThermalsTemp",
    "ThermalsInversionheight"};
// Glider keys handled one by one.
inline constexpr std::string_view kPlaneKeys[] = {"Seat", "Bugwipers"};
inline constexpr std::string_view kTaskDateKey = "TaskDate";  // an option, valid anywhere

// Keys real plans carry that the reader has no use for.
inline constexpr std::string_view kOtherPlanKeys[] = {
    "TaskVersion",   "TaskID",       "TaskName",    "DesignatedTime",
    "WeatherPreset", "MaxTowplanes", "TailHunting", "PenaltyLostKnuckle"};

// Whether a line belongs to the flight-plan format: a section header of a plan ("[Version]",
// "[Task]", "[Weather]", "[WeatherZone...", "[Plane]", "[GameOptions]", "[Description]"), or a
// line whose key (`key`, the line split at its "=") the reader knows. A file without any such
// line is no flight plan.
bool is_flight_plan_line(std::string_view line, std::string_view key);

// Whether `key` is one of the keys a weather section, the [Plane] section or the options hold.
bool is_weather_plane_or_option_key(std::string_view key);

// Where a plan holds a key.
enum PlanSection : unsigned {
  in_version = 1,
  in_task = 2,
  in_weather = 4,  // [Weather], and each [WeatherZone<n>]
  in_plane = 8,
  in_description = 16,
};

// A key a flight plan may hold: the key itself, or the start of a numbered family
// ("TPRadius<n>").
struct PlanKey {
  std::string_view name;
  bool numbered = false;       // a number follows: a turnpoint's, a penalty zone's, a point's
  unsigned sections = 0;       // PlanSection bits: where plans hold it
  bool per_turnpoint = false;  // numbered by turnpoint: what the rules' "|" (the finish) and
                               // "$", "?", "%" (ranges of turnpoints) select in
};

// Every key of a flight plan: those the reader knows and those real plans also carry, each once,
// in the order of the reader's tables.
const std::vector<PlanKey>& flight_plan_keys();

// The entry of flight_plan_keys() that the whole key `key` of a plan line is: the key itself, or
// a numbered family followed by its number ("TPRadius12", "PZPos1X2"); nothing when no plan holds
// it.
std::optional<PlanKey> plan_key_of(std::string_view key);

}  // namespace brevanto
