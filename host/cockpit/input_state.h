// input_state.h: what the pilot holds or types that the plug-in can ask for: the Ctrl key
// behind GetAsyncKeyState and the input box that oapiOpenInputBox opens.
#ifndef KVHOST_COCKPIT_INPUT_STATE_H
#define KVHOST_COCKPIT_INPUT_STATE_H

#include <string>

namespace kvhost {

bool ControlKeyDown();
void SetControlKeyDown(bool down);

struct InputBox {
    bool open = false;
    std::string title;
    std::string initialText;
    bool (*callback)(void *id, char *str, void *usrdata) = nullptr;
    void *usrdata = nullptr;
};

const InputBox &PendingInputBox();
void OpenInputBox(const InputBox &box);
// Hands the text to the open box's callback as the pilot's answer. Returns false when no box
// is open. The box closes when the callback returns true.
bool AnswerInputBox(const std::string &text);
void CancelInputBox();   // the pilot cancels: the callback is not called

}  // namespace kvhost

#endif
