#include <QBoxLayout>
#include <QMenu>

#include "ui/gallery/plate.h"
#include "ui/look/chip_button.h"
#include "ui/views/corner_card.h"
#include "ui/views/diagnostics_view.h"
#include "ui/views/full_view.h"
#include "ui/views/library_report_view.h"
#include "ui/views/root_view.h"
#include "ui/views/view_scenes.h"

namespace kesta::ui::gallery {

namespace {

using test::Scene;
using test::ViewStage;

// A view together with the model it shows; the view goes first.
class Staged : public QWidget {
 public:
  explicit Staged(const Scene& scene) : stage_(std::make_unique<ViewStage>(scene.screenGranted)) {
    scene.setUp(*stage_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
  }
  ~Staged() override { qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly)); }

  ViewStage& stage() { return *stage_; }
  void host(QWidget* view) { layout()->addWidget(view); }

 private:
  std::unique_ptr<ViewStage> stage_;
};

std::unique_ptr<QWidget> fullWindow(const Scene& scene) {
  auto staged = std::make_unique<Staged>(scene);
  staged->host(new RootView(staged->stage().bridge(), [](WindowMode) {}));
  return staged;
}

std::unique_ptr<QWidget> cornerCard(const Scene& scene) {
  auto staged = std::make_unique<Staged>(scene);
  staged->setAttribute(Qt::WA_TranslucentBackground);
  staged->host(new CornerCard(staged->stage().bridge(), [] {}));
  return staged;
}

std::unique_ptr<QWidget> librarySheet() {
  auto staged = std::make_unique<Staged>(test::scene("live"));
  staged->host(new LibraryReportView(staged->stage().bridge()));
  return staged;
}

std::unique_ptr<QWidget> diagnosticsSheet() {
  auto staged = std::make_unique<Staged>(test::scene("live"));
  staged->host(new DiagnosticsView(staged->stage().bridge()));
  return staged;
}

// The sheet once the launcher said no file browser took the folder.
std::unique_ptr<QWidget> diagnosticsSheetFolderNotice() {
  auto staged = std::make_unique<Staged>(test::scene("live"));
  auto* sheet = new DiagnosticsView(staged->stage().bridge());
  staged->host(sheet);
  sheet->openFolderButton()->click();
  staged->stage().urls->answer(false);
  return staged;
}

// A question of the footer as it opens over the full window: End set's or Replay's.
std::unique_ptr<QWidget> question(bool endSet) {
  auto staged = std::make_unique<Staged>(test::scene("live"));
  auto* root = new RootView(staged->stage().bridge(), [](WindowMode) {});
  staged->host(root);
  (endSet ? root->fullView()->endSetButton() : root->fullView()->replayButton())->click();
  QuestionDialog* box = root->fullView()->confirmation();
  box->setParent(staged.get(), Qt::Widget);
  staged->layout()->removeWidget(root);
  delete root;
  staged->host(box);
  return staged;
}

// A menu of the full window in scene `scene`, drawn as it opens.
std::unique_ptr<QWidget> menu(bool pool, const std::string& scene = "live") {
  auto staged = std::make_unique<Staged>(test::scene(scene));
  auto* full = new FullView(
      staged->stage().bridge(), [] {}, [](RootView::Sheet) {});
  full->hide();
  full->setParent(staged.get());
  QMenu* shown = pool ? full->poolMenu() : full->actionsMenu();
  shown->setParent(staged.get(), Qt::Widget);
  staged->host(shown);
  return staged;
}

}  // namespace

std::vector<Shot> windowShots() {
  std::vector<Shot> shots;
  for (const Scene& scene : test::viewScenes()) {
    shots.push_back({"full_" + scene.name, [scene] { return fullWindow(scene); }});
    shots.push_back({"card_" + scene.name, [scene] { return cornerCard(scene); }});
  }
  shots.push_back({"sheet_library", librarySheet});
  shots.push_back({"sheet_diagnostics", diagnosticsSheet});
  shots.push_back({"sheet_diagnostics_folder_notice", diagnosticsSheetFolderNotice});
  shots.push_back({"full_end_set_question", [] { return question(true); }});
  shots.push_back({"full_replay_question", [] { return question(false); }});
  shots.push_back({"full_pool_menu", [] { return menu(true); }});
  shots.push_back({"full_pool_menu_scripts", [] { return menu(true, "live_scripts"); }});
  shots.push_back({"full_actions_menu", [] { return menu(false); }});
  return shots;
}

}  // namespace kesta::ui::gallery
