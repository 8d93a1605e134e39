#include "model/exports.h"

#include <memory>
#include <system_error>
#include <utility>

#include "model/diagnostics_record.h"
#include "model/export_file_names.h"
#include "model/library_keeper.h"
#include "model/one_click_load.h"
#include "model/set_history_csv.h"
#include "model/watching.h"
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

Exports::Exports(const ModelPorts& ports, ModelParts parts)
    : parts_(parts),
      store_(ports.store),
      panels_(ports.panels),
      imageEncoder_(ports.imageEncoder),
      screenAccess_(ports.screenAccess),
      rekordbox_(ports.rekordbox),
      mainQueue_(ports.mainQueue) {}

std::map<std::string, std::string> Exports::liveEnvironment() const {
  const auto yesNo = [](bool value) { return std::string(value ? "yes" : "no"); };
  return {{"Screen recording allowed", yesNo(screenAccess_->granted())},
          {"rekordbox running", yesNo(rekordbox_->isRunning())}};
}

Exports::ReportSession Exports::reportSession() const {
  if (parts_.diagnostics.session().log.isEmpty()) {
    if (auto previous = store_->latestDiagnostics(parts_.diagnostics.session().id))
      return {std::move(*previous), true};
  }
  return {parts_.diagnostics.session(), false};
}

std::string Exports::reportText(const DiagnosticsSession& session, std::size_t recentScans) const {
  const Library& library = parts_.library.library();
  const std::optional<ImportReport> report =
      library.isEmpty() ? std::nullopt : std::optional<ImportReport>(library.report);
  return session.exportText(report, liveEnvironment(), recentScans);
}

std::string Exports::diagnosticsReport() const {
  const ReportSession report = reportSession();
  std::string text = reportText(report.session, 0);
  return report.previous ? std::string(kPreviousSessionNote) + text : text;
}

void Exports::exportDiagnostics() {
  const ReportSession report = reportSession();
  const auto file = panels_->chooseSaveLocation(
      {"Save Kesta diagnostics", "", diagnosticsFileName(report.session.startedAt), {"txt"}});
  if (!file) return;
  writeExport(*file, reportText(report.session, kExportedScans));
}

void Exports::exportSet(const DJSet& set) {
  const auto file =
      panels_->chooseSaveLocation({"Export set history", "", setFileName(set.startedAt), {"csv"}});
  if (!file) return;
  writeExport(*file, setHistoryCsv(set.entries()));
}

void Exports::saveDeckView() {
  const auto& engine = parts_.watching.engine();
  if (!engine) {
    parts_.oneClick.fail(std::string(kNotConnected), std::nullopt);
    return;
  }
  auto once = std::make_shared<DeckViewOnce>(
      [weak = self_](DeckViewAnswer answer) {
        if (const auto self = weak.lock()) self->saveDeckView(std::move(answer));
      },
      mainQueue_);
  engine->deckView([once](DeckViewAnswer answer) { (*once)(std::move(answer)); });
}

void Exports::saveDeckView(DeckViewAnswer answer) {
  if (answer.error) {
    parts_.oneClick.fail(*answer.error, std::nullopt);
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
  if (auto error = writeExport(*file, *png)) parts_.oneClick.fail(std::move(*error), std::nullopt);
}

}  // namespace kesta::model
