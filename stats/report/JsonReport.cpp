#include "stats/report/JsonReport.h"

#include <array>
#include <string_view>

#include "stats/report/JsonWriter.h"
#include "stats/report/ReportWords.h"

namespace vexilo::stats {
namespace {

constexpr std::array<std::string_view, 3> kHeatNames = {"none", "hot", "cold"};

// An array of objects under key, one per row, its members written by member(row).
template <typename Rows, typename Members>
void Objects(JsonWriter& json, std::string_view key, const Rows& rows, Members members) {
  json.Key(key).BeginArray();
  for (const auto& row : rows) {
    json.BeginObject();
    members(row);
    json.EndObject();
  }
  json.EndArray();
}

// A pocket or a length, null where there is none (-1).
void OptionalNumber(JsonWriter& json, int value) {
  if (value < 0) {
    json.Null();
  } else {
    json.Integer(value);
  }
}

void TestMembers(JsonWriter& json, const FitTest& test) {
  json.Key("family").String(test.family);
  json.Key("statistic").Number(test.statistic);
  json.Key("df").Integer(test.df);
  json.Key("p_value").Number(test.p_value);
  json.Key("verdict").String(TestVerdict(test));
}

void WriteCounts(JsonWriter& json, const Analysis& a) {
  Objects(json, "files", a.files, [&](const FileFigures& f) {
    json.Key("name").String(f.name);
    json.Key("spins").Integer(f.spins);
    json.Key("analysed").Integer(f.analysed);
  });
  Objects(json, "numbers", a.numbers, [&](const NumberFigures& f) {
    json.Key("number").Integer(f.number);
    json.Key("count").Integer(f.count);
    json.Key("share").Number(f.share);
    json.Key("expected").Number(f.expected);
    json.Key("z").Number(f.z);
    json.Key("p_value").Number(f.p_value);
    json.Key("adjusted_p").Number(f.adjusted_p);
    json.Key("flag").String(kHeatNames[static_cast<int>(f.heat)]);
    json.Key("since_last").Integer(f.since_last);
    json.Key("longest_absence").Integer(f.longest_absence);
  });
  OptionalNumber(json.Key("hottest"), a.hottest);
  OptionalNumber(json.Key("coldest"), a.coldest);
  Objects(json, "groups", a.groups, [&](const GroupFigures& g) {
    json.Key("family").String(g.family);
    json.Key("name").String(g.name);
    json.Key("pockets").Integer(g.pockets);
    json.Key("count").Integer(g.count);
    json.Key("share").Number(g.share);
    json.Key("expected").Number(g.expected);
    json.Key("z").Number(g.z);
  });
  Objects(json, "tests", a.tests, [&](const FitTest& t) { TestMembers(json, t); });
}

void WriteWheel(JsonWriter& json, const Analysis& a) {
  Objects(json, "arcs", a.arcs, [&](const ArcFigures& arc) {
    json.Key("length").Integer(arc.length);
    json.Key("pockets").BeginArray();
    for (const int n : arc.pockets) json.Integer(n);
    json.EndArray();
    json.Key("count").Integer(arc.count);
    json.Key("expected").Number(arc.expected);
    json.Key("z").Number(arc.z);
  });
  OptionalNumber(json.Key("best_arc_length"), a.best_arc >= 0 ? a.arcs[a.best_arc].length : -1);
  json.Key("arc_p_value").Number(a.arc_p_value);
  json.Key("arc_simulations").Integer(a.simulations);
  json.Key("seed").Unsigned(a.seed);
  json.Key("signature").BeginObject();
  json.Key("counts").BeginArray();
  for (const std::int64_t count : a.signature.counts) json.Integer(count);
  json.EndArray();
  json.Key("test").BeginObject();
  TestMembers(json, a.signature.test);
  json.EndObject();
  json.EndObject();
}

void WriteRunsAndPower(JsonWriter& json, const Analysis& a) {
  Objects(json, "streaks", a.streaks, [&](const Streak& s) {
    json.Key("name").String(s.name);
    json.Key("longest").Integer(s.longest);
    json.Key("current").Integer(s.current);
  });
  Objects(json, "power", a.power, [&](const PowerFigures& p) {
    json.Key("excess").Number(p.excess);
    json.Key("spins_needed").Integer(p.spins_needed);
    json.Key("power_now").Number(p.power_now);
  });
}

}  // namespace

std::string JsonReport(const Analysis& a) {
  JsonWriter json;
  json.BeginObject();
  json.Key("spins").Integer(a.spins);
  // Temporary, for scripts/calibrate-verdict until the report's verdict object lands.
  json.Key("verdict").BeginObject();
  json.Key("p_value").Number(a.verdict.p_value);
  json.EndObject();
  WriteCounts(json, a);
  WriteWheel(json, a);
  WriteRunsAndPower(json, a);
  json.EndObject();
  return json.Text();
}

}  // namespace vexilo::stats
