#include "DialogDriver.h"

#include <algorithm>
#include <stdexcept>

#include "export/Utf16.h"

namespace vexilo::test {
namespace {

constexpr DWORD kStepTimeoutMs = 15000;
constexpr DWORD kPollMs = 20;

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

struct Search {
  std::vector<HWND> dialogs;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM data) {
  if (ClassOf(window) == L"#32770" && IsWindowVisible(window) && IsWindowEnabled(window)) {
    reinterpret_cast<Search*>(data)->dialogs.push_back(window);
  }
  return TRUE;
}

struct Children {
  std::vector<HWND> all;
};

BOOL CALLBACK CollectChild(HWND window, LPARAM data) {
  reinterpret_cast<Children*>(data)->all.push_back(window);
  return TRUE;
}

std::vector<HWND> ChildrenOf(HWND dialog) {
  Children children;
  EnumChildWindows(dialog, &CollectChild, reinterpret_cast<LPARAM>(&children));
  return children.all;
}

// The file name box of a save dialog: the edit field (or the edit inside the combo box)
// that the dialog's own label "File name" precedes; the first visible Edit is that one.
HWND FileNameBox(HWND dialog) {
  for (const HWND child : ChildrenOf(dialog)) {
    if (ClassOf(child) == L"Edit" && IsWindowVisible(child)) return child;
  }
  return nullptr;
}

bool ShowsErrorIcon(HWND box) {
  const HICON error = LoadIconW(nullptr, MAKEINTRESOURCEW(32513));  // IDI_HAND
  for (const HWND child : ChildrenOf(box)) {
    if (ClassOf(child) != L"Static") continue;
    if ((GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) continue;
    if (reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0)) == error) return true;
  }
  return false;
}

std::wstring MessageTextOf(HWND box) {
  std::wstring text;
  for (const HWND child : ChildrenOf(box)) {
    if (ClassOf(child) != L"Static") continue;
    const std::wstring part = TextOf(child);
    if (part.empty()) continue;
    if (!text.empty()) text += L'\n';
    text += part;
  }
  return text;
}

}  // namespace

DialogDriver::DialogDriver(HWND owner, std::vector<DialogStep> steps)
    : owner_(owner),
      uiThread_(GetCurrentThreadId()),
      steps_(std::move(steps)),
      stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  thread_ = CreateThread(nullptr, 0, &DialogDriver::ThreadMain, this, 0, nullptr);
  if (thread_ == nullptr) throw std::runtime_error("no driver thread");
}

DialogDriver::~DialogDriver() {
  Finish();
  CloseHandle(stop_);
}

const std::vector<DialogSeen>& DialogDriver::Finish() {
  if (thread_ != nullptr) {
    SetEvent(stop_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
  }
  return seen_;
}

DWORD WINAPI DialogDriver::ThreadMain(void* self) {
  static_cast<DialogDriver*>(self)->Run();
  return 0;
}

void DialogDriver::Run() {
  for (const DialogStep& step : steps_) {
    const HWND dialog = WaitForDialog(kStepTimeoutMs, step.ifAsked);
    if (dialog == nullptr) {
      if (step.ifAsked) continue;
      failures_.push_back("a dialog that was expected did not open");
      return;
    }
    Answer(dialog, step);
  }
  // Every further dialog is one too many: note it and cancel it.
  while (WaitForSingleObject(stop_, 0) == WAIT_TIMEOUT) {
    const HWND extra = WaitForDialog(kPollMs * 5, false);
    if (extra == nullptr) continue;
    failures_.push_back("an unexpected dialog opened: " + ToUtf8(TextOf(extra)) + ": " +
                        ToUtf8(MessageTextOf(extra)));
    answered_.push_back(extra);
    PostMessageW(extra, WM_COMMAND, IDCANCEL, 0);
    PostMessageW(extra, WM_COMMAND, IDOK, 0);
  }
}

// A new modal dialog of the UI thread: visible, enabled, not yet answered (an answered one may
// take a moment to go away). An optional one is given up once the command has ended.
HWND DialogDriver::WaitForDialog(DWORD timeoutMs, bool untilStopped) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    if (untilStopped && WaitForSingleObject(stop_, 0) == WAIT_OBJECT_0) return nullptr;
    Search search;
    EnumThreadWindows(uiThread_, &CollectDialog, reinterpret_cast<LPARAM>(&search));
    for (const HWND dialog : search.dialogs) {
      if (std::find(answered_.begin(), answered_.end(), dialog) == answered_.end()) return dialog;
    }
    Sleep(kPollMs);
  }
  return nullptr;
}

void DialogDriver::Answer(HWND dialog, const DialogStep& step) {
  Sleep(100);  // let the dialog finish its own set-up
  DialogSeen seen;
  seen.title = TextOf(dialog);
  seen.ownerTopmost = (GetWindowLongPtrW(owner_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  const HWND box = FileNameBox(dialog);
  seen.isFileDialog = box != nullptr;
  answered_.push_back(dialog);
  if (step.action == DialogStep::kSaveAs) {
    if (box == nullptr) {
      failures_.push_back("expected the save dialog, got: " + ToUtf8(MessageTextOf(dialog)));
      PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      seen_.push_back(seen);
      return;
    }
    seen.text = TextOf(box);
    SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(step.fileName.c_str()));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  } else {
    seen.text = box != nullptr ? TextOf(box) : MessageTextOf(dialog);
    seen.hasErrorIcon = ShowsErrorIcon(dialog);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(step.button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, step.button)));
  }
  seen_.push_back(seen);
}

}  // namespace vexilo::test
