// key_codes.cpp: the PC keyboard's scan codes (set 1) of the letters.
#include "key_codes.h"

namespace kvhost {

DWORD KeyCodeForLetter(char letter) {
    static const DWORD codes[26] = {
        0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,  // A-M
        0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C,  // N-Z
    };
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    if (letter < 'A' || letter > 'Z') return 0;
    return codes[letter - 'A'];
}

}  // namespace kvhost
