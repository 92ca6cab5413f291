#pragma once
// The play schedule keeps one column per program. The playbill document reports every program it
// inserts, removes or moves through this interface, so the columns follow the programs.

namespace vantorel {

class IScheduleSlots {
public:
  virtual ~IScheduleSlots() = default;
  // A program was inserted at `position` (0-based); `plays` is its flag in every period ("1"/"0").
  virtual void InsertProgram(int position, bool plays) = 0;
  // The program at `position` was removed.
  virtual void RemoveProgram(int position) = 0;
  // The program at `position` swapped places with the next one (`down`) or the previous one.
  virtual void SwapProgram(int position, bool down) = 0;
};

}  // namespace vantorel
