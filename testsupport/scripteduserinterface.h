#pragma once

#include "trayhost/ui/userinterface.h"

#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace testsupport {

// A UserInterface for tests: records every message box, beep and prompt, and answers from a
// script. A message box with no scripted answer returns the first button of its style.
class ScriptedUserInterface : public trayhost::UserInterface {
public:
    struct MessageBoxCall {
        trayhost::WindowHandle owner = nullptr;
        std::string text;
        std::string title;
        uint32_t style = 0;
    };

    void ScriptMessageBoxAnswer(int32_t answer);
    void ScriptDeviceConflictAnswer(trayhost::DeviceConflictAnswer answer);
    // A question with no scripted answer is answered as the close box does: No, check box not read.
    void ScriptFileNotFoundAnswer(trayhost::FileNotFoundAnswer answer);
    void ScriptSyncConflictAnswer(trayhost::SyncConflictAnswer answer);

    int32_t MessageBox(trayhost::WindowHandle owner, const std::string& text, const std::string& title,
                       uint32_t style) override;
    void MessageBeep(uint32_t type) override;
    trayhost::DeviceConflictAnswer AskDeviceConflict(const trayhost::DeviceConflictQuestion& question) override;
    trayhost::FileNotFoundAnswer AskFileNotFound(const trayhost::FileNotFoundQuestion& question) override;
    // With no scripted answer: Cancel, which skips the file.
    trayhost::SyncConflictAnswer AskSyncConflict(trayhost::WindowHandle owner,
                                                 const trayhost::SyncConflictQuestion& question) override;

    std::vector<MessageBoxCall> messageBoxes() const;
    std::vector<uint32_t> beeps() const;
    std::vector<trayhost::DeviceConflictQuestion> deviceConflicts() const;
    std::vector<trayhost::FileNotFoundQuestion> fileNotFoundQuestions() const;
    std::vector<trayhost::SyncConflictQuestion> syncConflicts() const;

private:
    mutable std::mutex mutex_;
    std::deque<int32_t> messageBoxAnswers_;
    std::deque<trayhost::DeviceConflictAnswer> deviceConflictAnswers_;
    std::deque<trayhost::FileNotFoundAnswer> fileNotFoundAnswers_;
    std::deque<trayhost::SyncConflictAnswer> syncConflictAnswers_;
    std::vector<MessageBoxCall> messageBoxes_;
    std::vector<uint32_t> beeps_;
    std::vector<trayhost::DeviceConflictQuestion> deviceConflicts_;
    std::vector<trayhost::FileNotFoundQuestion> fileNotFoundQuestions_;
    std::vector<trayhost::SyncConflictQuestion> syncConflicts_;
};

}  // namespace testsupport
