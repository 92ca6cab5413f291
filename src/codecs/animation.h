#pragma once
// A sequence of whole pictures with the time each one stays: what a GIF animation shows, frame by
// frame, after its transparency and disposal methods are applied.

#include <QImage>

#include <vector>

namespace vantorel {

struct AnimationFrame {
  QImage picture;     // 24-bit, the animation's full size
  int delayMs = 0;    // how long this frame stays before the next one
};

struct Animation {
  std::vector<AnimationFrame> frames;
  int loopCount = 0;  // 0: for ever
};

}  // namespace vantorel
