#pragma once

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace qavo {

// Runs work on the GUI thread for the other threads. RunAndWait blocks the
// calling thread until the GUI thread has run the work, except after
// Shutdown(), which releases every waiter so the worker and receive threads
// can be joined while the GUI thread no longer serves them.
class GuiDispatch : public QObject {
    Q_OBJECT
  public:
    explicit GuiDispatch(QObject* parent = nullptr) : QObject(parent) {}

    void Post(std::function<void()> work);
    // True when the work ran; false when released by Shutdown first.
    bool RunAndWait(const std::function<void()>& work);
    void Shutdown();
    bool OnGuiThread() const;

  private:
    struct Waiter {
        std::mutex mutex;
        std::condition_variable cv;
        bool done = false;
    };
    std::atomic<bool> shutting_down_{false};
    std::mutex waiters_mutex_;
    std::condition_variable shutdown_cv_;
};

}  // namespace qavo
