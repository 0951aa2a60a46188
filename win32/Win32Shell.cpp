#include "win32/Win32Shell.h"

#include <commdlg.h>

#include <array>
#include <cstdio>
#include <stdexcept>

#include "export/Utf16.h"
#include "win32/TopmostPause.h"

namespace vexilo {
namespace {

// Room for a long path; the Explorer-style dialog is not bound to MAX_PATH.
constexpr std::size_t kFileNameRoom = 32768;

UINT IconOf(MessageKind kind) {
  switch (kind) {
    case mkError:
      return MB_ICONERROR;
    case mkWarning:
      return MB_ICONWARNING;
    case mkInformation:
      return MB_ICONINFORMATION;
  }
  return MB_ICONERROR;
}

}  // namespace

void Win32Shell::ReadDecimalSeparator() {
  std::array<wchar_t, 8> buffer{};  // the system allows at most three characters
  const int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer.data(),
                                    static_cast<int>(buffer.size()));
  separator_ = length > 1 ? ToUtf8(std::wstring_view(buffer.data(), length - 1)) : ".";
  separatorRead_ = true;
}

std::string Win32Shell::DecimalSeparator() {
  if (!separatorRead_) ReadDecimalSeparator();
  return separator_;
}

std::optional<std::string> Win32Shell::AskSaveFileName(std::string_view lastName) {
  std::wstring file = ToUtf16(lastName);
  if (file.size() >= kFileNameRoom) file.clear();  // cannot be offered; start empty
  file.resize(kFileNameRoom, L'\0');

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner_;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrDefExt = L"CSV";
  dialog.Flags = kSaveFlags;

  const TopmostPause pause(owner_);
  if (GetSaveFileNameW(&dialog)) {
    if (std::optional<std::string> name = ToUtf8Exact(file.c_str())) return name;
    throw std::runtime_error("The chosen file name cannot be used: it is not valid Unicode text.");
  }
  const DWORD error = CommDlgExtendedError();
  if (error == 0) return std::nullopt;  // cancelled
  char code[16];
  std::snprintf(code, sizeof code, "0x%04lX", static_cast<unsigned long>(error));
  throw std::runtime_error(std::string("The save dialog could not be shown (common dialog error ") +
                           code + ").");
}

void Win32Shell::ShowMessage(MessageKind kind, std::string_view text) {
  const TopmostPause pause(owner_);
  MessageBoxW(owner_, ToUtf16(text).c_str(), kTitle, MB_OK | IconOf(kind));
}

}  // namespace vexilo
