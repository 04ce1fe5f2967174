// input_state.cpp: the Ctrl key and the input box.
#include "input_state.h"

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
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    InputBox box = g_box;
    if (box.callback(&g_box, buffer.data(), box.usrdata)) g_box.open = false;
    return true;
}

void CancelInputBox() { g_box.open = false; }

}  // namespace kvhost
