#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "window/FormTable.h"
#include "window/Shell.h"
#include "window/View.h"

namespace vexilo::testing {

// What one control shows.
struct ControlState {
  std::string text;
  TColor color = clBtnFace;
  int position = 0;

  bool operator==(const ControlState&) const = default;
};

// One write through the View, as "T:Label91=1", "C:Label1=0", "P:ProgressBar7=100".
struct Write {
  char kind;
  int control;
  std::string value;

  std::string Name() const {
    return std::string(1, kind) + ":" + std::string(FormControls()[control].name.view());
  }
};

// A window that starts with the design texts and colours, keeps every control's current
// state and, while recording, the list of writes in order.
class FakeView : public View {
 public:
  FakeView() {
    for (const Control& control : FormControls()) {
      state_.push_back({std::string(control.text.view()), control.color, 0});
    }
  }

  void SetText(ControlIndex index, std::string_view text) override {
    const int control = index.value;
    if (!Valid(control, ControlKind::Label, "text")) return;
    state_[control].text = text;
    Record('T', control, std::string(text));
  }
  void SetColor(ControlIndex index, TColor color) override {
    const int control = index.value;
    if (!Valid(control, ControlKind::Label, "colour")) return;
    state_[control].color = color;
    Record('C', control, std::to_string(color));
  }
  void SetPosition(ControlIndex index, int position) override {
    const int control = index.value;
    if (!Valid(control, ControlKind::ProgressBar, "position")) return;
    EXPECT_GE(position, 0);
    EXPECT_LE(position, 100);
    state_[control].position = position;
    Record('P', control, std::to_string(position));
  }

  const std::vector<ControlState>& State() const { return state_; }
  const ControlState& Of(std::string_view name) const { return state_.at(Index(name)); }
  const std::string& Text(std::string_view name) const { return Of(name).text; }
  TColor Color(std::string_view name) const { return Of(name).color; }
  int Position(std::string_view name) const { return Of(name).position; }

  void Record(bool on) { recording_ = on; }
  const std::vector<Write>& Log() const { return log_; }
  void ClearLog() { log_.clear(); }
  // The written controls in order, "T:Label222", "P:ProgressBar1", ...
  std::vector<std::string> LogNames() const {
    std::vector<std::string> names;
    for (const Write& write : log_) names.push_back(write.Name());
    return names;
  }

 private:
  static std::size_t Index(std::string_view name) {
    const std::optional<ControlIndex> index = FindControl(name);
    if (!index) ADD_FAILURE() << "no control " << name;
    return index ? static_cast<std::size_t>(index->value) : FormControls().size();
  }
  bool Valid(int control, ControlKind kind, const char* what) {
    if (control < 0 || control >= static_cast<int>(state_.size())) {
      ADD_FAILURE() << what << " written to control " << control;
      return false;
    }
    if (FormControls()[control].kind != kind) {
      ADD_FAILURE() << what << " written to " << FormControls()[control].name.view();
    }
    return true;
  }
  void Record(char kind, int control, std::string value) {
    if (recording_) log_.push_back({kind, control, std::move(value)});
  }

  std::vector<ControlState> state_;
  std::vector<Write> log_;
  bool recording_ = true;
};

class FakeShell : public Shell {
 public:
  std::string separator = ".";
  // Answers of the save dialog, one per opening; nothing queued means cancel.
  std::deque<std::optional<std::string>> answers;
  std::vector<std::string> offered;
  std::vector<std::pair<MessageKind, std::string>> messages;
  int separatorReads = 0;

  std::string DecimalSeparator() override {
    ++separatorReads;
    return separator;
  }
  std::optional<std::string> AskSaveFileName(std::string_view lastName) override {
    offered.emplace_back(lastName);
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void ShowMessage(MessageKind kind, std::string_view text) override {
    messages.emplace_back(kind, std::string(text));
  }
};

}  // namespace vexilo::testing
