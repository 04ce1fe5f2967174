// input_state.cpp: the Ctrl key and the input box.
#include "input_state.h"

#include "cockpit_globals.h"

#include <algorithm>
#include <vector>

namespace kvhost {

bool ControlKeyDown() { return HostCockpit().control; }
void SetControlKeyDown(bool down) { HostCockpit().control = down; }

const InputBox &PendingInputBox() { return HostCockpit().box; }
void OpenInputBox(const InputBox &box) {
    HostCockpit().box = box;
    HostCockpit().box.open = true;
}

bool AnswerInputBox(const std::string &text) {
    InputBox &open = HostCockpit().box;
    if (!open.open || !open.callback) return false;
    // The simulator's box holds at most 127 characters, and closes after Enter whatever its
    // callback answers.
    std::vector<char> buffer(text.begin(), text.begin() + static_cast<long>(std::min(text.size(), kInputBoxLength)));
    buffer.push_back('\0');
    InputBox box = open;
    open.open = false;
    box.callback(&open, buffer.data(), box.usrdata);
    return true;
}

void CancelInputBox() { HostCockpit().box.open = false; }

}  // namespace kvhost
