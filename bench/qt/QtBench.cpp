#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QTest>
#include <array>
#include <filesystem>

#include "bench/qt/BareForm.h"
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

// A count label written and repainted, between a narrow and a wide text so that it resizes
// each time: on Vexilo's window and on the bare one.
constexpr int kRepaintedLabel = 91;  // the count of 17
constexpr std::array<const char*, 2> kCounts = {"7", "1234"};

void BM_LabelRepaint(benchmark::State& state) {
  Window window;
  const ControlIndex label = ControlOf(LabelNumber{kRepaintedLabel});
  std::size_t n = 0;
  for (auto _ : state) {
    window.Form().SetText(label, kCounts[++n % kCounts.size()]);
    QApplication::processEvents();
  }
}
BENCHMARK(BM_LabelRepaint)->Unit(benchmark::kMicrosecond);

void BM_BareLabelRepaint(benchmark::State& state) {
  BareForm form;
  form.show();
  if (!QTest::qWaitForWindowExposed(&form)) qWarning("the bare window was not exposed");
  QApplication::processEvents();
  QLabel& label = form.Label(kRepaintedLabel);
  const QRect design = label.geometry();
  std::size_t n = 0;
  for (auto _ : state) {
    // A stock label does not size itself to its text: it is moved as Vexilo's is, right edge kept.
    label.setText(QString::fromLatin1(kCounts[++n % kCounts.size()]));
    const int width = label.sizeHint().width();
    label.setGeometry(design.right() + 1 - width, design.top(), width, design.height());
    QApplication::processEvents();
  }
}
BENCHMARK(BM_BareLabelRepaint)->Unit(benchmark::kMicrosecond);

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
