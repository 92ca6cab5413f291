#pragma once
// What a data maker run tells the front end while it works.
//
// The maker calls these on its own thread (the thread that runs CDataMaker::Make); an
// implementation that shows them in a window posts them to the user-interface thread.

#include <string>

namespace vantorel {

class CMakeObserver {
public:
  virtual ~CMakeObserver() = default;
  // `done` of `total` items are converted; `step` names the item being made now
  // ("program 2, window 1, item 3: picture").
  virtual void Progress(int done, int total, const std::string& step) = 0;
  // The percentage (0..100) of a video conversion of the current item.
  virtual void MediaProgress(int percent) { static_cast<void>(percent); }
};

}  // namespace vantorel
