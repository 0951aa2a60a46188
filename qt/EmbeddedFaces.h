#pragma once

#include <QStringList>
#include <vector>

namespace vexilo {

// The faces the program carries (kEmbeddedFaces), registered with Qt's font database for as long
// as this object lives: made after the application object, gone before it. Any system, whatever
// faces it has installed, then draws the board with the design's metrics.
class EmbeddedFaces {
 public:
  EmbeddedFaces();
  EmbeddedFaces(const EmbeddedFaces&) = delete;
  EmbeddedFaces& operator=(const EmbeddedFaces&) = delete;
  ~EmbeddedFaces();

  // The families Qt found in the registered faces, in the order of kEmbeddedFaces.
  QStringList Families() const;

 private:
  std::vector<int> ids_;
};

}  // namespace vexilo
