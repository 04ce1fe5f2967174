// key_codes.h: keyboard scan codes by letter, for pilots' timelines and tools.
#ifndef KVHOST_COCKPIT_KEY_CODES_H
#define KVHOST_COCKPIT_KEY_CODES_H

#include <Orbitersdk.h>

namespace kvhost {

// The scan code of letter A-Z (either case); 0 for anything else.
DWORD KeyCodeForLetter(char letter);

}  // namespace kvhost

#endif
