// The references: the least a Qt Widgets program does to show one empty window, and, with
// --texts, the same window showing the main window's texts in one label at the same font, which
// is what drawing them costs on its own (font configuration, Latin and CJK faces, shaping).
#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstring>

#include "app/bench/ready_probe.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QWidget window;
  window.resize(279, 220);
  if (argc > 1 && std::strcmp(argv[1], "--texts") == 0) {
    QFont font = QApplication::font();
    font.setPixelSize(11);
    window.setFont(font);
    auto* texts = new QLabel(QString::fromUtf8(reinterpret_cast<const char*>(
                                 u8"淘口令：\n解密\n复制内容\n提示：复制成功\n"
                                 u8"说明：在淘口令框内输入淘口令后点击解密即可\n"
                                 u8"格式：《Rt8pWm2XcLs《或￥Hn3yQf7JkEz￥\n"
                                 u8"Quorvant[quorvant.example]\n"
                                 u8"_____________________________________________________")),
                             &window);
    texts->setGeometry(window.rect());
  }
  quorvant::bench::CloseWhenReady(window);
  window.show();
  return QApplication::exec();
}
