#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace vexilo {

// The faces the program carries (kEmbeddedFaces, RCDATA resources of the program), registered
// with GDI for this process alone for as long as this object lives. A design face the system
// has is still the one used; its carried twin stands in only where it is missing (on Windows
// outside Japan "ＭＳ Ｐゴシック" comes only with an optional feature).
class EmbeddedFaces {
 public:
  EmbeddedFaces();
  EmbeddedFaces(const EmbeddedFaces&) = delete;
  EmbeddedFaces& operator=(const EmbeddedFaces&) = delete;
  ~EmbeddedFaces();

  // The face GDI is asked for in place of a design face.
  std::wstring FaceFor(std::string_view face) const;

  // Whether the system has a face of this name (faces registered privately do not count).
  static bool IsInstalled(const std::wstring& face);

 private:
  struct Choice {
    std::string_view design;
    std::wstring face;
  };
  std::vector<HANDLE> handles_;
  std::vector<Choice> choices_;
};

}  // namespace vexilo
