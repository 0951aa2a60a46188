#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace vexilo::stats {

// A temporary file that takes what the command line would print, to be shown another way: in a
// message box, a notification. Removed when it goes out of scope.
class Captured {
 public:
  Captured();
  // Null when no temporary file could be made.
  std::FILE* Stream() const { return file_.get(); }
  // Everything written so far.
  std::string Text() const;

 private:
  struct Close {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Close> file_;
};

}  // namespace vexilo::stats
