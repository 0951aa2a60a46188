#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace vexilo::test {

// One answer to a modal dialog of the window under test.
struct DialogStep {
  enum class Action { SaveAs, Press };
  Action action;
  std::wstring fileName;  // SaveAs: typed into the file name box, then Save pressed
  int button = IDOK;      // Press: the button pressed in a message box (IDOK, IDYES, IDCANCEL)
  bool ifAsked = false;   // a prompt the platform may leave out (Wine asks before no creation)
};

// What the driver found in each dialog it answered.
struct DialogSeen {
  std::wstring title;
  std::wstring text;  // a message box's text; the file name the save dialog offered
  bool isFileDialog = false;
  bool ownerTopmost = false;  // whether the main window was still topmost meanwhile
  bool hasErrorIcon = false;  // a message box showing the error icon
};

// Answers the modal dialogs of a UI thread from a second thread, one step per dialog, in order:
// a modal dialog is the one enabled, visible dialog window of that thread. A dialog beyond the
// steps, or a step whose dialog does not come, is a failure; an unexpected dialog is cancelled
// so the test cannot hang.
class DialogDriver {
 public:
  DialogDriver(HWND owner, std::vector<DialogStep> steps);
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;
  ~DialogDriver();

  // Stops watching and returns what was seen; failures describe what went wrong.
  const std::vector<DialogSeen>& Finish();
  const std::vector<std::string>& Failures() const { return failures_; }

 private:
  static DWORD WINAPI ThreadMain(void* self);
  void Run();
  HWND WaitForDialog(DWORD timeoutMs, bool untilStopped);
  void Answer(HWND dialog, const DialogStep& step);

  HWND owner_;
  DWORD uiThread_;
  std::vector<DialogStep> steps_;
  std::vector<DialogSeen> seen_;
  std::vector<std::string> failures_;
  HANDLE stop_;
  HANDLE thread_ = nullptr;
  std::vector<HWND> answered_;
};

}  // namespace vexilo::test
