// Prints every part of the evidence at the end of the logs given, as one JSON object, for
// check_figures.py to hold against SciPy: each part's source, cells, weight, prior and the ln
// of its own martingale, and the ln of the weighted whole.
//   stats_evidence_parts LOG...
#include <cstdio>
#include <string>
#include <vector>

#include "stats/analysis/Evidence.h"
#include "stats/analysis/ReadLogs.h"
#include "stats/report/JsonWriter.h"
#include "stats/report/ReportWords.h"

int main(int argc, char** argv) {
  using namespace vexilo::stats;
  const std::vector<std::string> names(argv + 1, argv + argc);
  const ReadLogsResult read = ReadLogs(names);
  RunningCounts counts;
  counts.Add(read.spins.Record());
  EvidenceMeter meter;
  const std::vector<double> logs = meter.PartLogs(counts);
  JsonWriter json;
  json.BeginObject();
  json.Key("log").Number(meter.Read(counts).log);
  json.Key("parts").BeginArray();
  for (std::size_t i = 0; i < logs.size(); ++i) {
    const EvidencePart& p = meter.Parts()[i];
    json.BeginObject();
    json.Key("source").String(EvidenceSourceName(p.source, p.family));
    json.Key("cells").BeginArray();
    for (const int cell : p.cells) json.Integer(cell);
    json.EndArray();
    json.Key("weight").Number(p.weight);
    json.Key("a").Number(p.a);
    json.Key("b").Number(p.b);
    json.Key("dirichlet").BeginArray();
    for (const double alpha : p.dirichlet) json.Number(alpha);
    json.EndArray();
    json.Key("log").Number(logs[i]);
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
  std::fputs(json.Text().c_str(), stdout);
  std::fputc('\n', stdout);
}
