#pragma once

#include "FormTable.h"

namespace vexilo {

// The left edge of a label whose text measures width pixels: a right-justified label keeps
// the right edge of its design box, a centred one its centre, a left-justified one its left
// edge. Every label re-sizes about this edge whenever its text changes.
constexpr int LabelLeft(const Control& row, int width) {
  switch (row.alignment) {
    case taRightJustify:
      return row.left + row.width - width;
    case taCenter:
      return row.left + (row.width - width) / 2;
    case taLeftJustify:
      break;
  }
  return row.left;
}

}  // namespace vexilo
