#include "stats/analysis/Anytime.h"

#include <vector>

#include "stats/analysis/Bettor.h"
#include "stats/analysis/Evidence.h"
#include "stats/analysis/Schedule.h"

namespace vexilo::stats {

void AddAnytime(const SpinAccumulator& spins, Analysis& a) {
  std::vector<std::int64_t> ends;
  std::int64_t end = 0;
  for (const FileFigures& f : a.files) {
    end += f.analysed;
    if (f.analysed > 0) ends.push_back(end);
  }
  if (end != spins.Spins()) ends.clear();
  EvidenceTrack evidence;
  BettorTrack bettor;
  WalkSchedule(spins.Record(), PointsToRead(ends, spins.Spins()),
               [&](const RunningCounts& counts, bool scheduled) {
                 evidence.At(counts);
                 bettor.At(counts, scheduled);
               });
  a.evidence = evidence.Figures();
  a.bettor = bettor.Figures();
}

}  // namespace vexilo::stats
