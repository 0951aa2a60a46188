#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QTest>
#include <filesystem>

#include "qt/EmbeddedFaces.h"
#include "qt/QtShell.h"
#include "qt/TForm1.h"

namespace vexilo {
namespace {

// The save dialog answered at once with a fixed name.
class ChosenName final : public QtShell {
 public:
  ChosenName(QWidget& window, std::string name) : QtShell(window), name_(std::move(name)) {}
  std::optional<std::string> AskSaveFileName(std::string_view) override { return name_; }

 private:
  std::string name_;
};

std::filesystem::path BenchLog() {
  return std::filesystem::temp_directory_path() / "vexilo-bench-log.CSV";
}

class Window {
 public:
  Window()
      : form_([](QWidget& window) {
          return std::make_unique<ChosenName>(window, BenchLog().string());
        }) {
    form_.show();
    if (!QTest::qWaitForWindowExposed(&form_)) qWarning("the window was not exposed");
    QApplication::processEvents();
  }
  TForm1& Form() { return form_; }
  QAbstractButton* Button(std::string_view name) {
    return static_cast<QAbstractButton*>(form_.Control(name));
  }
  void Fill(int spins) {
    for (int i = 0; i < spins; ++i) form_.ColorBtnClick((i * 7) % 37);
    QApplication::processEvents();
  }

 private:
  TForm1 form_;
};

// A number pressed with the mouse, the handler's writes, and the repaint they cause.
void BM_PressWithRepaint(benchmark::State& state) {
  Window window;
  int n = 0;
  for (auto _ : state) {
    const std::string name = "ColorBtn" + std::to_string(n % 37 + 1);
    QTest::mouseClick(window.Button(name), Qt::LeftButton);
    QApplication::processEvents();
    if (++n % 50000 == 0) {
      state.PauseTiming();
      window.Form().Button2Click();
      state.ResumeTiming();
    }
  }
}
BENCHMARK(BM_PressWithRepaint)->Unit(benchmark::kMicrosecond);

// Back with a full history of 100000 spins: the whole window rewritten and repainted.
void BM_BackOfAFullHistory(benchmark::State& state) {
  Window window;
  window.Fill(MAX_SPINS);
  for (auto _ : state) {
    window.Form().Button1Click();
    QApplication::processEvents();
    state.PauseTiming();
    window.Form().ColorBtnClick(17);
    QApplication::processEvents();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_BackOfAFullHistory)->Unit(benchmark::kMicrosecond);

void BM_ResetAfterSpins(benchmark::State& state) {
  Window window;
  for (auto _ : state) {
    state.PauseTiming();
    window.Fill(25);
    state.ResumeTiming();
    window.Form().Button2Click();
    QApplication::processEvents();
  }
}
BENCHMARK(BM_ResetAfterSpins)->Unit(benchmark::kMicrosecond);

// The spin log of a full history, about 1 MB, written through the real file path.
void BM_DataSaveOfAFullHistory(benchmark::State& state) {
  Window window;
  window.Fill(MAX_SPINS);
  for (auto _ : state) window.Form().DATASAVEClick();
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(std::filesystem::file_size(BenchLog())));
  std::filesystem::remove(BenchLog());
}
BENCHMARK(BM_DataSaveOfAFullHistory)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vexilo

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  benchmark::Initialize(&argc, argv);
  QApplication application(argc, argv);
  const vexilo::EmbeddedFaces faces;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
