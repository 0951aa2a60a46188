#include "stats/report/JsonReport.h"

#include <array>
#include <string_view>

#include "stats/report/JsonWriter.h"
#include "stats/report/ReportWords.h"

namespace vexilo::stats {
namespace {

// The layout of the object: raised whenever a key is added, renamed or changes its meaning.
// 2: the verdict, the later spins, the logs agreeing, per-log tests, each test's driver, zero
// on its own, the power of the verdict.
constexpr int kFormatVersion = 2;

constexpr std::array<std::string_view, 2> kBiasKindNames = {"number", "arc"};

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

// A name, null where there is none.
void OptionalString(JsonWriter& json, std::string_view text) {
  if (text.empty()) {
    json.Null();
  } else {
    json.String(text);
  }
}

void Numbers(JsonWriter& json, std::string_view key, const auto& values) {
  json.Key(key).BeginArray();
  for (const auto value : values) json.Number(value);
  json.EndArray();
}

void Integers(JsonWriter& json, std::string_view key, const auto& values) {
  json.Key(key).BeginArray();
  for (const auto value : values) json.Integer(value);
  json.EndArray();
}

void TestMembers(JsonWriter& json, const FitTest& test) {
  json.Key("family").String(FamilyName(test.family));
  json.Key("statistic").Number(test.statistic);
  json.Key("df").Integer(test.df);
  json.Key("p_value").Number(test.p_value);
  json.Key("verdict").String(TestVerdict(test));
  OptionalString(json.Key("driver"), test.driver);
  json.Key("driver_z").Number(test.driver_z);
}

void WriteVerdict(JsonWriter& json, const Analysis& a) {
  json.Key("verdict").BeginObject();
  json.Key("p_value").Number(a.verdict.p_value);
  json.Key("biased").Boolean(a.verdict.biased);
  json.Key("words").String(VerdictWords(a));
  OptionalString(json.Key("driven_by"), a.spins > 0 ? LookName(a.verdict.driver) : "");
  json.EndObject();
}

void WriteHoldout(JsonWriter& json, const Holdout& h) {
  json.Key("holdout").BeginObject();
  json.Key("fraction").Number(h.fraction);
  json.Key("earlier_spins").Integer(h.earlier_spins);
  json.Key("later_spins").Integer(h.later_spins);
  json.Key("enough").Boolean(h.enough);
  OptionalNumber(json.Key("best_arc"), h.best_arc);
  Objects(json, "candidates", h.candidates, [&](const Candidate& c) {
    json.Key("kind").String(CandidateKindName(c.kind));
    Integers(json, "pockets", c.pockets);
    json.Key("earlier_hits").Integer(c.earlier_hits);
    json.Key("hits").Integer(c.hits);
    json.Key("expected").Number(c.expected);
    json.Key("p_value").Number(c.p_value);
    json.Key("adjusted_p").Number(c.adjusted_p);
    Numbers(json, "share_ci", c.share_ci);
    json.Key("return").Number(c.return_rate);
    Numbers(json, "return_ci", c.return_ci);
  });
  json.EndObject();
}

void WriteLogsAgree(JsonWriter& json, const std::optional<Homogeneity>& h) {
  json.Key("logs_agree");
  if (!h) {
    json.Null();
    return;
  }
  json.BeginObject();
  json.Key("statistic").Number(h->statistic);
  json.Key("df").Integer(h->df);
  json.Key("p_value").Number(h->p_value);
  json.Key("simulated").Boolean(h->simulated);
  json.EndObject();
}

void WriteCounts(JsonWriter& json, const Analysis& a) {
  Objects(json, "files", a.files, [&](const FileFigures& f) {
    json.Key("name").String(f.name);
    json.Key("spins").Integer(f.spins);
    json.Key("analysed").Integer(f.analysed);
    json.Key("test").BeginObject();
    TestMembers(json, f.test);
    json.EndObject();
    OptionalNumber(json.Key("hottest"), f.hottest);
  });
  Objects(json, "numbers", a.numbers, [&](const NumberFigures& f) {
    json.Key("number").Integer(f.number);
    json.Key("count").Integer(f.count);
    json.Key("share").Number(f.share);
    json.Key("expected").Number(f.expected);
    json.Key("z").Number(f.z);
    json.Key("p_value").Number(f.p_value);
    json.Key("adjusted_p").Number(f.adjusted_p);
    json.Key("flag").String(HeatName(f.heat));
    json.Key("since_last").Integer(f.since_last);
    json.Key("longest_absence").Integer(f.longest_absence);
  });
  OptionalNumber(json.Key("hottest"), a.hottest);
  OptionalNumber(json.Key("coldest"), a.coldest);
  Objects(json, "groups", a.groups, [&](const GroupFigures& g) {
    json.Key("family").String(FamilyName(g.family));
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
    Integers(json, "pockets", arc.pockets);
    json.Key("count").Integer(arc.count);
    json.Key("expected").Number(arc.expected);
    json.Key("z").Number(arc.z);
  });
  OptionalNumber(json.Key("best_arc_length"), a.best_arc >= 0 ? a.arcs[a.best_arc].length : -1);
  json.Key("arc_p_value").Number(a.arc_p_value);
  json.Key("arc_simulations").Integer(a.simulations);
  json.Key("simulations").Integer(a.simulations);
  json.Key("seed").Unsigned(a.seed);
  json.Key("signature").BeginObject();
  Integers(json, "counts", a.signature.counts);
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
    json.Key("kind").String(kBiasKindNames[static_cast<int>(p.kind)]);
    json.Key("pockets").Integer(p.pockets);
    json.Key("excess").Number(p.excess);
    json.Key("spins_needed").Integer(p.spins_needed);
    json.Key("power_now").Number(p.power_now);
  });
}

}  // namespace

std::string JsonReport(const Analysis& a) {
  JsonWriter json;
  json.BeginObject();
  json.Key("format_version").Integer(kFormatVersion);
  json.Key("spins").Integer(a.spins);
  WriteVerdict(json, a);
  WriteHoldout(json, a.holdout);
  WriteLogsAgree(json, a.logs_agree);
  WriteCounts(json, a);
  WriteWheel(json, a);
  WriteRunsAndPower(json, a);
  json.EndObject();
  return json.Text();
}

}  // namespace vexilo::stats
