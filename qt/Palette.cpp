#include "qt/Palette.h"

#include <array>

namespace vexilo {
namespace {

struct Role {
  QPalette::ColorGroup group;
  QPalette::ColorRole role;
};

// The platform's system colours 0..30 by the palette role that plays the same part.
constexpr std::array<Role, 31> kSystemRoles = {{
    {QPalette::Active, QPalette::Button},           // scroll bar
    {QPalette::Active, QPalette::Dark},             // desktop
    {QPalette::Active, QPalette::Highlight},        // active caption
    {QPalette::Active, QPalette::Mid},              // inactive caption
    {QPalette::Active, QPalette::Window},           // menu
    {QPalette::Active, QPalette::Base},             // window
    {QPalette::Active, QPalette::Shadow},           // window frame
    {QPalette::Active, QPalette::WindowText},       // menu text
    {QPalette::Active, QPalette::WindowText},       // window text
    {QPalette::Active, QPalette::HighlightedText},  // caption text
    {QPalette::Active, QPalette::Window},           // active border
    {QPalette::Active, QPalette::Window},           // inactive border
    {QPalette::Active, QPalette::Mid},              // application workspace
    {QPalette::Active, QPalette::Highlight},        // highlight
    {QPalette::Active, QPalette::HighlightedText},  // highlighted text
    {QPalette::Active, QPalette::Button},           // button face
    {QPalette::Active, QPalette::Dark},             // button shadow
    {QPalette::Disabled, QPalette::Text},           // grey text
    {QPalette::Active, QPalette::ButtonText},       // button text
    {QPalette::Disabled, QPalette::WindowText},     // inactive caption text
    {QPalette::Active, QPalette::Light},            // button highlight
    {QPalette::Active, QPalette::Shadow},           // 3-D dark shadow
    {QPalette::Active, QPalette::Midlight},         // 3-D light
    {QPalette::Active, QPalette::ToolTipText},      // info text
    {QPalette::Active, QPalette::ToolTipBase},      // info background
    {QPalette::Active, QPalette::Button},           // (unused number)
    {QPalette::Active, QPalette::Link},             // hot-tracked item
    {QPalette::Active, QPalette::Highlight},        // active caption gradient
    {QPalette::Active, QPalette::Mid},              // inactive caption gradient
    {QPalette::Active, QPalette::Highlight},        // menu highlight
    {QPalette::Active, QPalette::Window},           // menu bar
}};

}  // namespace

QColor SystemQColor(const QPalette& palette, int index) {
  if (index < 0 || index >= static_cast<int>(kSystemRoles.size())) return Qt::black;
  const Role& role = kSystemRoles[static_cast<std::size_t>(index)];
  return palette.color(role.group, role.role);
}

QColor ToQColor(TColor color, const QPalette& palette) {
  if (IsSystemColor(color)) return SystemQColor(palette, SystemColorIndex(color));
  return {RedOf(color), GreenOf(color), BlueOf(color)};
}

}  // namespace vexilo
