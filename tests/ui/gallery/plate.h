#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QGridLayout;

namespace kesta::ui::gallery {

// One picture of the gallery: a name (the PNG's file name without extension)
// and the widget to render, made fresh for the picture.
struct Shot {
  std::string name;
  std::function<std::unique_ptr<QWidget>()> make;
};

// A dark board with a title and labelled rows of widgets, for showing the
// controls in each of their states side by side.
class Plate : public QWidget {
 public:
  explicit Plate(const QString& title, int width = 560);
  // A row: a muted caption, then the widgets left to right at their natural size.
  void addRow(const QString& caption, std::vector<QWidget*> widgets);

 private:
  QGridLayout* grid_;
  int rows_ = 0;
};

// The pictures of the shared look: every control in each of its states.
std::vector<Shot> lookShots();
// The pictures of the Qt side of the model's ports that show something: the file panels.
std::vector<Shot> shellShots();
// The lane rows, load buttons, deck cards, now playing and set history, each
// in representative states over a fake-driven model.
std::vector<Shot> laneAndDeckShots();
// The full window and the corner card in each state of the shared scenes, the
// sheets, the end-set question and the menus.
std::vector<Shot> windowShots();

}  // namespace kesta::ui::gallery
