#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

#include "platform/json/json_coding.h"
#include "store/app_store.h"
#include "store/atomic_file.h"

namespace kesta {
namespace {

constexpr std::string_view kSessionPrefix = "session-";

// Whole seconds since 1970, cut toward zero.
std::string wholeUnixSeconds(Date date) {
  constexpr double limit = 9.2e18;
  const double seconds = std::clamp(std::trunc(date.unixSeconds()), -limit, limit);
  return std::to_string(static_cast<std::int64_t>(seconds));
}

}  // namespace

std::filesystem::path AppStore::diagnosticsFolder() const { return root_ / "diagnostics"; }

std::filesystem::path AppStore::diagnosticsFile(const DiagnosticsSession& session) const {
  const std::string name = std::string(kSessionPrefix) + wholeUnixSeconds(session.startedAt) + "-" +
                           session.id.substr(0, 8) + ".json";
  return diagnosticsFolder() / name;
}

void AppStore::saveDiagnostics(const DiagnosticsSession& session) const {
  diagnosticsQueue_->async([this, session] { writeDiagnostics(session); });
}

void AppStore::saveDiagnosticsNow(const DiagnosticsSession& session) const {
  diagnosticsQueue_->sync([&] { writeDiagnostics(session); });
}

void AppStore::writeDiagnostics(const DiagnosticsSession& session) const {
  std::error_code ignored;
  std::filesystem::create_directories(diagnosticsFolder(), ignored);
  std::string bytes;
  try {
    bytes = session.toJsonText();
  } catch (const std::exception&) {
    return;  // nothing written, nothing pruned
  }
  try {
    AtomicFile::write(diagnosticsFile(session), bytes);
  } catch (const std::exception&) {
    // The next save of the session tries again; pruning still runs.
  }
  const auto files = diagnosticsFiles();
  for (std::size_t i = keptDiagnosticsSessions; i < files.size(); ++i)
    std::filesystem::remove(files[i], ignored);
}

std::vector<std::filesystem::path> AppStore::diagnosticsFiles() const {
  std::vector<std::filesystem::path> files;
  std::error_code error;
  for (std::filesystem::directory_iterator it(diagnosticsFolder(), error), end; !error && it != end;
       it.increment(error)) {
    const auto& path = it->path();
    if (path.filename().string().starts_with(kSessionPrefix) && path.extension() == ".json")
      files.push_back(path);
  }
  // Ten-digit start seconds make the newest session sort first.
  std::sort(files.begin(), files.end(),
            [](const auto& a, const auto& b) { return a.filename().string() > b.filename().string(); });
  return files;
}

std::optional<DiagnosticsSession> AppStore::latestDiagnostics(
    const std::optional<std::string>& excluding) const {
  diagnosticsQueue_->sync([] {});
  for (const auto& file : diagnosticsFiles()) {
    const auto bytes = AtomicFile::read(file);
    if (!bytes) continue;
    try {
      auto session = DiagnosticsSession::fromJson(json::parse(*bytes));
      if (excluding && session.id == *excluding) continue;
      return session;
    } catch (const std::exception&) {
      // Skipped and left in place: it still counts among the kept files.
    }
  }
  return std::nullopt;
}

}  // namespace kesta
