#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace vs {

// While it lives, SIGTERM, SIGINT and SIGHUP (the session ending, Ctrl+C in the
// shell, a closed terminal) no longer end the process at once: each runs
// `onSignal(signal)` in the event loop, which can ask about unsaved changes as
// the window's close button does. One instance at a time.
class QuitSignals : public QObject {
    Q_OBJECT
public:
    explicit QuitSignals(std::function<void(int)> onSignal, QObject* parent = nullptr);
    ~QuitSignals() override;

private:
    std::function<void(int)> onSignal_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace vs
