#pragma once

#include "trayhost/busyrules.h"

#include <QPointer>
#include <QWidget>

#include <array>

namespace trayhost {

// The handles of the dialogs the tray program keeps track of, one slot each. The code that creates
// a dialog sets its slot; the slot empties itself when the dialog is destroyed.
class DialogSlots {
public:
    void Set(DialogSlot slot, QWidget* dialog) { dialogs_[Index(slot)] = dialog; }
    QWidget* Get(DialogSlot slot) const { return dialogs_[Index(slot)]; }

    OpenDialogs Open() const;
    // Restores the dialog if minimised and brings it to the front with the focus.
    void Raise(DialogSlot slot) const;

private:
    static constexpr std::size_t kSlotCount = 5;
    static std::size_t Index(DialogSlot slot) { return static_cast<std::size_t>(slot); }

    std::array<QPointer<QWidget>, kSlotCount> dialogs_;
};

}  // namespace trayhost
