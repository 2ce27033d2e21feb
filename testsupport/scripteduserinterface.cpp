#include "testsupport/scripteduserinterface.h"

namespace testsupport {

namespace {

int32_t FirstButtonOf(uint32_t style)
{
    switch (style & trayhost::kMbButtonMask) {
    case trayhost::kMbYesNo:
    case trayhost::kMbYesNoCancel:
        return trayhost::kIdYes;
    case trayhost::kMbRetryCancel:
        return trayhost::kIdRetry;
    default:
        return trayhost::kIdOk;
    }
}

}  // namespace

void ScriptedUserInterface::ScriptMessageBoxAnswer(int32_t answer)
{
    std::lock_guard lock(mutex_);
    messageBoxAnswers_.push_back(answer);
}

void ScriptedUserInterface::ScriptDeviceConflictAnswer(trayhost::DeviceConflictAnswer answer)
{
    std::lock_guard lock(mutex_);
    deviceConflictAnswers_.push_back(answer);
}

void ScriptedUserInterface::ScriptFileNotFoundAnswer(trayhost::FileNotFoundAnswer answer)
{
    std::lock_guard lock(mutex_);
    fileNotFoundAnswers_.push_back(answer);
}

void ScriptedUserInterface::ScriptSyncConflictAnswer(trayhost::SyncConflictAnswer answer)
{
    std::lock_guard lock(mutex_);
    syncConflictAnswers_.push_back(answer);
}

int32_t ScriptedUserInterface::MessageBox(trayhost::WindowHandle owner, const std::string& text,
                                          const std::string& title, uint32_t style)
{
    std::lock_guard lock(mutex_);
    messageBoxes_.push_back({owner, text, title, style});
    if (messageBoxAnswers_.empty()) return FirstButtonOf(style);
    const int32_t answer = messageBoxAnswers_.front();
    messageBoxAnswers_.pop_front();
    return answer;
}

void ScriptedUserInterface::MessageBeep(uint32_t type)
{
    std::lock_guard lock(mutex_);
    beeps_.push_back(type);
}

trayhost::DeviceConflictAnswer ScriptedUserInterface::AskDeviceConflict(const trayhost::DeviceConflictQuestion& question)
{
    std::lock_guard lock(mutex_);
    deviceConflicts_.push_back(question);
    if (deviceConflictAnswers_.empty()) return {};
    const trayhost::DeviceConflictAnswer answer = deviceConflictAnswers_.front();
    deviceConflictAnswers_.pop_front();
    return answer;
}

trayhost::FileNotFoundAnswer ScriptedUserInterface::AskFileNotFound(const trayhost::FileNotFoundQuestion& question)
{
    std::lock_guard lock(mutex_);
    fileNotFoundQuestions_.push_back(question);
    if (fileNotFoundAnswers_.empty()) return {};
    const trayhost::FileNotFoundAnswer answer = fileNotFoundAnswers_.front();
    fileNotFoundAnswers_.pop_front();
    return answer;
}

trayhost::SyncConflictAnswer ScriptedUserInterface::AskSyncConflict(trayhost::WindowHandle,
                                                                    const trayhost::SyncConflictQuestion& question)
{
    std::lock_guard lock(mutex_);
    syncConflicts_.push_back(question);
    if (syncConflictAnswers_.empty()) return {};
    const trayhost::SyncConflictAnswer answer = syncConflictAnswers_.front();
    syncConflictAnswers_.pop_front();
    return answer;
}

std::vector<ScriptedUserInterface::MessageBoxCall> ScriptedUserInterface::messageBoxes() const
{
    std::lock_guard lock(mutex_);
    return messageBoxes_;
}

std::vector<uint32_t> ScriptedUserInterface::beeps() const
{
    std::lock_guard lock(mutex_);
    return beeps_;
}

std::vector<trayhost::DeviceConflictQuestion> ScriptedUserInterface::deviceConflicts() const
{
    std::lock_guard lock(mutex_);
    return deviceConflicts_;
}

std::vector<trayhost::FileNotFoundQuestion> ScriptedUserInterface::fileNotFoundQuestions() const
{
    std::lock_guard lock(mutex_);
    return fileNotFoundQuestions_;
}

std::vector<trayhost::SyncConflictQuestion> ScriptedUserInterface::syncConflicts() const
{
    std::lock_guard lock(mutex_);
    return syncConflicts_;
}

}  // namespace testsupport
