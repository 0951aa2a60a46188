// Reads one spin log as Vexilo Stats does, on one core, and prints how many spins it holds:
// the reader alone, to be timed as a whole process beside `wc -l` on the same file.
#include <cstdio>
#include <exception>

#include "export/SpinLogReader.h"

namespace {

class Discard final : public vexilo::SpinSink {
 public:
  void Spins(std::span<const std::uint8_t>) override {}
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s LOG\n", argv[0]);
    return 2;
  }
  try {
    Discard sink;
    std::printf("%lld\n", static_cast<long long>(vexilo::SpinLogReader(argv[1]).ReadAll(sink)));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
