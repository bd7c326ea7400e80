// The reference for the start-up benchmark: the least a Qt Widgets program
// does to show one empty window. It ends at the window's first paint, as
// miravel does under MIRAVEL_EXIT_WHEN_SHOWN.
//
// With --cjk-label the window also shows one label of Chinese text: the
// least any window with Miravel's captions pays for a CJK font, which
// bench/startup.sh reports beside the two ratios.
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QWidget>

#include <cstring>

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
  if (argc > 1 && std::strcmp(argv[1], "--cjk-label") == 0) {
    auto* label = new QLabel(QString::fromUtf8("商品链接 优惠券链接 转换淘口令 复制"), &window);
    label->move(10, 10);
  }
  window.show();
  return QApplication::exec();
}
