#pragma once

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <vector>

namespace trayhost {

// Acts on the modal dialogs a test opens, one step per dialog in the order they appear. A step
// should end its dialog; one left open after its step for five seconds is rejected, and the script
// counts as failed, so that a failing step cannot hang the test.
class ModalScript : public QObject {
public:
    using Step = std::function<void(QDialog* dialog)>;

    explicit ModalScript(std::vector<Step> steps) : steps_(std::move(steps))
    {
        connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
        timer_.start(kPollMilliseconds);
    }

    // Every step ran, and none left its dialog open.
    bool finished() const { return next_ == steps_.size() && !stuck_; }

private:
    static constexpr int kPollMilliseconds = 5;
    static constexpr qint64 kStuckMilliseconds = 5000;

    void Poll()
    {
        auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!modal || !modal->isVisible()) return;
        if (modal == current_) {
            if (since_.elapsed() > kStuckMilliseconds) {
                stuck_ = true;
                modal->reject();
            }
            return;
        }
        if (next_ == steps_.size()) return;
        current_ = modal;
        since_.start();
        steps_[next_++](modal);
    }

    std::vector<Step> steps_;
    std::size_t next_ = 0;
    bool stuck_ = false;
    QPointer<QDialog> current_;
    QElapsedTimer since_;
    QTimer timer_;
};

}  // namespace trayhost
