#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vexilo {

enum class MessageKind : unsigned char { Error, Warning, Information };

// What the commands ask of the desktop: the regional decimal separator, the save dialog, and
// message boxes. Dialogs are modal.
class Shell {
 public:
  virtual ~Shell() = default;
  // The decimal separator of the user's regional settings now, "." when they give none.
  virtual std::string DecimalSeparator() = 0;
  // The save dialog, offering lastName; the confirmed full path, or nothing on cancel. The
  // dialog appends ".CSV" to a name typed without an extension and asks before replacing an
  // existing file or creating a new one. Both names are UTF-8 text; lastName may be empty.
  virtual std::optional<std::string> AskSaveFileName(std::string_view lastName) = 0;
  virtual void ShowMessage(MessageKind kind, std::string_view text) = 0;
};

}  // namespace vexilo
