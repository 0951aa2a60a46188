#pragma once

#include <windows.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "Bitmap.h"
#include "win32/TForm1.h"

namespace vexilo::test {

// A real main window on the test's thread, shown and active, with the messages pumped the way
// the program's loop pumps them (the window sees its keys first).
class FormDriver {
 public:
  FormDriver();
  FormDriver(const FormDriver&) = delete;
  FormDriver& operator=(const FormDriver&) = delete;

  TForm1& Form() { return *form_; }
  HWND Window() const { return form_->Handle(); }
  HWND Window(std::string_view name) const { return form_->ControlWindow(name); }

  void Pump();
  std::string Text(std::string_view name) const;
  int BarPosition(std::string_view name) const;
  // The control's box in the window's client coordinates.
  RECT Box(std::string_view name) const;
  // The name of the control that has the keyboard focus, empty for none.
  std::string Focused() const;

  // A press of the named button as the platform makes it (BM_CLICK), then the queue drained.
  void Click(std::string_view name);
  // A press of each number's button, in order.
  void Spin(std::initializer_list<int> numbers);
  void SpinMany(int count, int number);
  // A key as the keyboard delivers it: posted to the focused control, modifiers held.
  void PressKey(UINT key, bool shift = false, bool control = false);

  Bitmap Capture();

 private:
  std::unique_ptr<TForm1> form_;
};

}  // namespace vexilo::test
