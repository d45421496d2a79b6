// A window's place on the screen, as the settings files keep it.
#pragma once

namespace quorlin {

// A window's left, top, width and height in pixels.
struct WindowBounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  bool operator==(const WindowBounds&) const = default;
};

}  // namespace quorlin
