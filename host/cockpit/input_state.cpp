// input_state.cpp: the Ctrl key and the input box.
#include "input_state.h"

#include <algorithm>

#include <vector>

namespace kvhost {

namespace {
bool g_control = false;
InputBox g_box;
}  // namespace

bool ControlKeyDown() { return g_control; }
void SetControlKeyDown(bool down) { g_control = down; }

const InputBox &PendingInputBox() { return g_box; }
void OpenInputBox(const InputBox &box) {
    g_box = box;
    g_box.open = true;
}

bool AnswerInputBox(const std::string &text) {
    if (!g_box.open || !g_box.callback) return false;
    // The simulator's box holds at most 127 characters, and closes after Enter whatever its
    // callback answers.
    std::vector<char> buffer(text.begin(), text.begin() + static_cast<long>(std::min(text.size(), kInputBoxLength)));
    buffer.push_back('\0');
    InputBox box = g_box;
    g_box.open = false;
    box.callback(&g_box, buffer.data(), box.usrdata);
    return true;
}

void CancelInputBox() { g_box.open = false; }

}  // namespace kvhost
