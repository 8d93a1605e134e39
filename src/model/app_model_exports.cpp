#include <cmath>
#include <memory>
#include <system_error>
#include <utility>

#include "model/app_model.h"
#include "model/export_file_names.h"
#include "model/set_history_csv.h"
#include "store/atomic_file.h"

namespace kesta::model {

namespace {

constexpr std::size_t kExportedScans = 300;
constexpr std::string_view kNotConnected = "Connect to rekordbox first, then try again.";
constexpr std::string_view kPreviousSessionNote =
    "Showing your previous session (nothing recorded yet this time).\n\n";

// Writes a whole export file atomically. Answers the failure's text, absent on
// success; no partial file is left either way.
std::optional<std::string> writeExport(const std::filesystem::path& file, std::string_view bytes) {
  try {
    AtomicFile::write(file, bytes);
    return std::nullopt;
  } catch (const std::system_error& error) {
    return std::string(error.what());
  }
}

// Passes the engine's deck view on once. An engine let go before it answered
// still leaves the DJ a reason: the view of a closed connection failed.
class DeckViewOnce {
 public:
  explicit DeckViewOnce(std::function<void(DeckViewAnswer)> answer, std::shared_ptr<MainQueue> mainQueue)
      : answer_(std::move(answer)), mainQueue_(std::move(mainQueue)) {}
  DeckViewOnce(const DeckViewOnce&) = delete;
  DeckViewOnce& operator=(const DeckViewOnce&) = delete;
  // May run on the thread that let the engine go.
  ~DeckViewOnce() {
    if (!answer_) return;
    mainQueue_->post([answer = std::move(answer_)] {
      answer(DeckViewAnswer{std::nullopt, std::string(kNotConnected)});
    });
  }

  void operator()(DeckViewAnswer view) { std::exchange(answer_, nullptr)(std::move(view)); }

 private:
  std::function<void(DeckViewAnswer)> answer_;
  std::shared_ptr<MainQueue> mainQueue_;
};

}  // namespace

std::optional<Point> AppModel::savedTopLeft(const std::string& key) const {
  const auto found = preferences_.windowTopLeft.find(key);
  if (found == preferences_.windowTopLeft.end() || found->second.size() != 2) return std::nullopt;
  return Point{found->second[0], found->second[1]};
}

void AppModel::saveTopLeft(Point topLeft, const std::string& key) {
  // The settings file cannot hold such a number: every later save of the
  // settings would fail, losing the other settings too.
  if (!std::isfinite(topLeft.x) || !std::isfinite(topLeft.y)) return;
  preferences_.windowTopLeft[key] = {topLeft.x, topLeft.y};
  savePreferences();
}

AppModel::ReportSession AppModel::reportSession() const {
  if (diagnosticsSession_.log.isEmpty()) {
    if (auto previous = store_->latestDiagnostics(diagnosticsSession_.id))
      return {std::move(*previous), true};
  }
  return {diagnosticsSession_, false};
}

std::string AppModel::reportText(const DiagnosticsSession& session, std::size_t recentScans) const {
  const std::optional<ImportReport> report =
      library_->isEmpty() ? std::nullopt : std::optional<ImportReport>(library_->report);
  return session.exportText(report, liveEnvironment(), recentScans);
}

std::string AppModel::diagnosticsReport() const {
  const ReportSession report = reportSession();
  std::string text = reportText(report.session, 0);
  return report.previous ? std::string(kPreviousSessionNote) + text : text;
}

void AppModel::exportDiagnostics() {
  const ReportSession report = reportSession();
  const auto file = panels_->chooseSaveLocation(
      {"Save Kesta diagnostics", "", diagnosticsFileName(report.session.startedAt), {"txt"}});
  if (!file) return;
  writeExport(*file, reportText(report.session, kExportedScans));
}

void AppModel::exportSet(const DJSet& set) {
  const auto file =
      panels_->chooseSaveLocation({"Export set history", "", setFileName(set.startedAt), {"csv"}});
  if (!file) return;
  writeExport(*file, setHistoryCsv(set.entries()));
}

void AppModel::saveDeckView() {
  if (!engine_) {
    fail(std::string(kNotConnected), std::nullopt);
    return;
  }
  auto once = std::make_shared<DeckViewOnce>(
      [weak = weak_from_this()](DeckViewAnswer answer) {
        if (const auto model = weak.lock()) model->saveDeckView(std::move(answer));
      },
      mainQueue_);
  engine_->deckView([once](DeckViewAnswer answer) { (*once)(std::move(answer)); });
}

void AppModel::saveDeckView(DeckViewAnswer answer) {
  if (answer.error) {
    fail(*answer.error, std::nullopt);
    return;
  }
  if (!answer.image) return;
  const auto file = panels_->chooseSaveLocation({"Save what Kesta sees",
                                                 "Only the two deck areas Kesta reads are saved: they show "
                                                 "the loaded titles. Nothing is sent anywhere.",
                                                 std::string(kDeckViewFileName),
                                                 {"png"}});
  if (!file) return;
  const std::optional<std::string> png = imageEncoder_->png(*answer.image);
  if (!png) return;
  if (auto error = writeExport(*file, *png)) fail(std::move(*error), std::nullopt);
}

}  // namespace kesta::model
