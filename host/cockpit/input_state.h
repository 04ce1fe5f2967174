// input_state.h: what the pilot holds or types that the plug-in can ask for: the Ctrl key
// behind GetAsyncKeyState and the input box that oapiOpenInputBox opens.
#ifndef KVHOST_COCKPIT_INPUT_STATE_H
#define KVHOST_COCKPIT_INPUT_STATE_H

#include <cstddef>
#include <string>

namespace kvhost {

bool ControlKeyDown();
void SetControlKeyDown(bool down);

constexpr size_t kInputBoxLength = 127;  // characters the simulator's input box holds

struct InputBox {
    bool open = false;
    std::string title;
    std::string initialText;
    bool (*callback)(void *id, char *str, void *usrdata) = nullptr;
    void *usrdata = nullptr;
};

const InputBox &PendingInputBox();
void OpenInputBox(const InputBox &box);
// Hands the text (its first 127 characters) to the open box's callback as the pilot's answer;
// the box closes whatever the callback returns, as the simulator's does. Returns false when no
// box is open.
bool AnswerInputBox(const std::string &text);
void CancelInputBox();  // the pilot cancels: the callback is not called

}  // namespace kvhost

#endif
