// display_lines.h: what kavrex-sim says of a Kavrex display's scenario lines.
//
// The lines are the plug-in's to read, as in the simulator, and the plug-in reads them as it
// always has. A line whose value the display cannot use, show or save back unchanged (a body
// that is not in its list, a count beyond its numbers, an acceleration it cannot fly) gets one
// warning from kavrex-sim that names FILE:LINE and what the display does instead.
#ifndef KVHOST_SESSION_DISPLAY_LINES_H
#define KVHOST_SESSION_DISPLAY_LINES_H

#include <string>
#include <vector>

namespace kvhost {

class Session;

// The warnings for every Kavrex display of the session's scenario, after the displays have read
// their lines.
std::vector<std::string> DisplayLineWarnings(Session &session);

}  // namespace kvhost

#endif
