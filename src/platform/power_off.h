#pragma once
// Turning the computer off (automatic shutdown at a set time). Goes through logind with
// "systemctl poweroff"; callers hand this function to whatever decides when, so tests can put
// their own in its place.

namespace vantorel {

// Starts the power-off; false when it could not be started.
bool PowerOffComputer();

}  // namespace vantorel
