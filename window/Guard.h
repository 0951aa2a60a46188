#pragma once

#include <exception>
#include <string_view>

namespace vexilo {

// What the general error report says of a failure that carries no text of its own.
inline constexpr std::string_view kUnknownFailure = "An unknown error occurred.";

// The general error report's guard around a handler: a failure that leaves the handler is
// handed to report as its text and the caller goes on. True when the handler completed.
template <class Handler, class Report>
bool RunReported(Handler&& handler, Report&& report) {
  try {
    handler();
    return true;
  } catch (const std::exception& failure) {
    report(std::string_view(failure.what()));
  } catch (...) {
    report(kUnknownFailure);
  }
  return false;
}

}  // namespace vexilo
