#include "stats/JsonReport.h"

#include <array>
#include <string_view>

#include "stats/JsonWriter.h"

namespace vexilo::stats {
namespace {

constexpr std::array<std::string_view, 3> kHeatNames = {"none", "hot", "cold"};

// A pocket or a length, null where there is none (-1).
void OptionalNumber(JsonWriter& json, int value) {
  if (value < 0) {
    json.Null();
  } else {
    json.Integer(value);
  }
}

void Test(JsonWriter& json, const FitTest& test) {
  json.BeginObject();
  json.Key("family").String(test.family);
  json.Key("statistic").Number(test.statistic);
  json.Key("df").Integer(test.df);
  json.Key("p_value").Number(test.p_value);
  json.Key("verdict").String(test.verdict);
  json.EndObject();
}

void WriteFiles(JsonWriter& json, const Analysis& a) {
  json.Key("files").BeginArray();
  for (const FileFigures& f : a.files) {
    json.BeginObject();
    json.Key("name").String(f.name);
    json.Key("spins").Integer(f.spins);
    json.Key("analysed").Integer(f.analysed);
    json.EndObject();
  }
  json.EndArray();
}

void WriteNumbers(JsonWriter& json, const Analysis& a) {
  json.Key("numbers").BeginArray();
  for (const NumberFigures& f : a.numbers) {
    json.BeginObject();
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
    json.EndObject();
  }
  json.EndArray();
}

void WriteGroups(JsonWriter& json, const Analysis& a) {
  json.Key("groups").BeginArray();
  for (const GroupFigures& g : a.groups) {
    json.BeginObject();
    json.Key("family").String(g.family);
    json.Key("name").String(g.name);
    json.Key("pockets").Integer(g.pockets);
    json.Key("count").Integer(g.count);
    json.Key("share").Number(g.share);
    json.Key("expected").Number(g.expected);
    json.Key("z").Number(g.z);
    json.EndObject();
  }
  json.EndArray();
}

void WriteArcs(JsonWriter& json, const Analysis& a) {
  json.Key("arcs").BeginArray();
  for (const ArcFigures& arc : a.arcs) {
    json.BeginObject();
    json.Key("length").Integer(arc.length);
    json.Key("pockets").BeginArray();
    for (const int n : arc.pockets) json.Integer(n);
    json.EndArray();
    json.Key("count").Integer(arc.count);
    json.Key("expected").Number(arc.expected);
    json.Key("z").Number(arc.z);
    json.EndObject();
  }
  json.EndArray();
  OptionalNumber(json.Key("best_arc_length"), a.best_arc >= 0 ? a.arcs[a.best_arc].length : -1);
  json.Key("arc_p_value").Number(a.arc_p_value);
  json.Key("arc_simulations").Integer(a.arc_simulations);
  json.Key("seed").Unsigned(a.seed);
}

void WriteSignature(JsonWriter& json, const Analysis& a) {
  json.Key("signature").BeginObject();
  json.Key("counts").BeginArray();
  for (const std::int64_t count : a.signature.counts) json.Integer(count);
  json.EndArray();
  json.Key("test");
  Test(json, a.signature.test);
  json.EndObject();
}

void WriteStreaks(JsonWriter& json, const Analysis& a) {
  json.Key("streaks").BeginArray();
  for (const Streak& s : a.streaks) {
    json.BeginObject();
    json.Key("name").String(s.name);
    json.Key("longest").Integer(s.longest);
    json.Key("current").Integer(s.current);
    json.EndObject();
  }
  json.EndArray();
}

void WritePower(JsonWriter& json, const Analysis& a) {
  json.Key("power").BeginArray();
  for (const PowerFigures& p : a.power) {
    json.BeginObject();
    json.Key("excess").Number(p.excess);
    json.Key("spins_needed").Integer(p.spins_needed);
    json.Key("power_now").Number(p.power_now);
    json.EndObject();
  }
  json.EndArray();
}

}  // namespace

std::string JsonReport(const Analysis& a) {
  JsonWriter json;
  json.BeginObject();
  json.Key("spins").Integer(a.spins);
  WriteFiles(json, a);
  WriteNumbers(json, a);
  OptionalNumber(json.Key("hottest"), a.hottest);
  OptionalNumber(json.Key("coldest"), a.coldest);
  WriteGroups(json, a);
  json.Key("tests").BeginArray();
  for (const FitTest& test : a.tests) Test(json, test);
  json.EndArray();
  WriteArcs(json, a);
  WriteSignature(json, a);
  WriteStreaks(json, a);
  WritePower(json, a);
  json.EndObject();
  return json.Text();
}

}  // namespace vexilo::stats
