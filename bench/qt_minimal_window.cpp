// The reference for the start-up benchmark: the least a Qt Widgets program
// does to show one empty window. It ends at the window's first paint, as
// miravel does under MIRAVEL_EXIT_WHEN_SHOWN.
#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace {

class QuitWhenPainted final : public QObject {
 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      watched->removeEventFilter(this);
      QCoreApplication::exit(0);
    }
    return false;
  }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  QuitWhenPainted quitter;
  window.installEventFilter(&quitter);
  window.resize(458, 349);
  window.show();
  return QApplication::exec();
}
