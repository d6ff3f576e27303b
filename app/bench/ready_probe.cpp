#include "app/bench/ready_probe.h"

#include <chrono>
#include <cstdio>

#include <QEvent>
#include <QTimer>

namespace quorvant::bench {
namespace {

class ReadyProbe final : public QObject {
 public:
  explicit ReadyProbe(QWidget& window) : QObject(&window), window_(window) {
    window.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &window_ && event->type() == QEvent::Paint && !seen_) {
      seen_ = true;
      // After this paint has finished, with every event that came with it handled.
      QTimer::singleShot(0, &window_, [this] {
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        std::printf("ready_ns=%lld\n",
                    static_cast<long long>(
                        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
        std::fflush(stdout);
        window_.close();
      });
    }
    return false;
  }

 private:
  QWidget& window_;
  bool seen_ = false;
};

}  // namespace

void CloseWhenReady(QWidget& window) {
  new ReadyProbe(window);
}

}  // namespace quorvant::bench
