#include "live/diagnostics_session.h"

#include <cctype>
#include <cmath>
#include <ctime>
#include <utility>

#include "platform/crypto/uuid.h"
#include "platform/json/json_coding.h"
#include "platform/json/json_splice.h"
#include "platform/text/numbers.h"

namespace kesta {

namespace {

constexpr std::string_view kDateSeparator = " → ";

std::string padded(int value, std::size_t width) {
  std::string digits = std::to_string(value);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

// "yyyy-MM-dd HH:mm:ss" in the machine's time zone.
std::string localDateTime(Date date) {
  const auto seconds = static_cast<std::time_t>(std::floor(date.unixSeconds()));
  std::tm parts{};
  tzset();  // localtime_r need not notice a changed TZ by itself
  localtime_r(&seconds, &parts);
  return padded(parts.tm_year + 1900, 4) + "-" + padded(parts.tm_mon + 1, 2) + "-" +
         padded(parts.tm_mday, 2) + " " + padded(parts.tm_hour, 2) + ":" + padded(parts.tm_min, 2) + ":" +
         padded(parts.tm_sec, 2);
}

std::string joined(const std::vector<std::string>& items, std::string_view separator) {
  std::string out;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out += separator;
    out += items[i];
  }
  return out;
}

// "#12 cap=8 ocr=41 match=0.3 d1=track/exact d2=empty FAIL why load d1 empty→track"
std::string scanLine(const ScanRecord& scan) {
  std::string line = "#";
  line += std::to_string(scan.seq);
  line += " cap=" + numbers::formatFixed(scan.captureMs, 0);
  line += " ocr=" + numbers::formatFixed(scan.ocrMs, 0);
  line += " match=" + numbers::formatFixed(scan.matchMs, 1);
  line += " d1=" + scan.deck1;
  line += " d2=" + scan.deck2;
  line += ' ';
  if (scan.failure) line += "FAIL " + *scan.failure + " ";
  line += joined(scan.events, "; ");
  line += '\n';
  if (scan.rawText) line += "   text: " + joined(*scan.rawText, " | ") + "\n";
  return line;
}

bool isUuidText(std::string_view text) {
  if (text.size() != 36) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
    if (dash ? text[i] != '-' : !std::isxdigit(static_cast<unsigned char>(text[i]))) return false;
  }
  return true;
}

std::string uuidField(const json::Value& object) {
  auto id = json::stringField(object, "id");
  if (!isUuidText(id)) throw json::DecodingError("Attempted to decode UUID from invalid UUID string.");
  for (auto& c : id) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return id;
}

DiagnosticsSession::Environment environmentField(const json::Value& object) {
  DiagnosticsSession::Environment out;
  for (const auto& [key, value] : json::asObject(json::require(object, "environment")).items()) {
    out[key] = json::asString(value);
  }
  return out;
}

// Every member but the log.
json::Value shortMembers(const DiagnosticsSession& session) {
  json::Value out = {
      {"id", session.id},
      {"startedAt", session.startedAt.secondsSinceReference},
      {"updatedAt", session.updatedAt.secondsSinceReference},
      {"appVersion", session.appVersion},
      {"environment", session.environment},
  };
  if (session.endedAt) out["endedAt"] = session.endedAt->secondsSinceReference;
  return out;
}

}  // namespace

DiagnosticsSession::DiagnosticsSession(std::string appVersion, Environment environment, Date startedAt,
                                       DiagnosticsLog log)
    : id(crypto::randomUuid()),
      startedAt(startedAt),
      updatedAt(startedAt),
      appVersion(std::move(appVersion)),
      environment(std::move(environment)),
      log(std::move(log)) {}

std::string DiagnosticsSession::exportText(const std::optional<ImportReport>& library,
                                           const Environment& extraEnvironment,
                                           std::size_t recentScans) const {
  Environment merged = environment;
  for (const auto& [key, value] : extraEnvironment) merged[key] = value;
  std::string session =
      localDateTime(startedAt) + std::string(kDateSeparator) + localDateTime(endedAt.value_or(updatedAt));
  if (!endedAt) session += " (app did not quit normally, or still running)";
  merged["Session"] = std::move(session);

  std::string text = log.report(appVersion, merged, library);
  text += "\n\nRecent scans (newest last)\n";
  const auto shown = std::min(recentScans, log.scans.size());
  for (auto scan = log.scans.end() - static_cast<std::ptrdiff_t>(shown); scan != log.scans.end(); ++scan) {
    text += scanLine(*scan);
  }
  return text;
}

json::Value DiagnosticsSession::toJson() const {
  auto out = shortMembers(*this);
  out["log"] = log.toJson();
  return out;
}

std::string DiagnosticsSession::toJsonText() const {
  std::string out;
  json::appendObject(out, shortMembers(*this),
                     {{"log", [this](std::string& text) { log.appendJson(text); }}});
  return out;
}

DiagnosticsSession DiagnosticsSession::fromJson(const json::Value& value) {
  DiagnosticsSession session;
  session.id = uuidField(value);
  session.startedAt = Date{json::numberField(value, "startedAt")};
  session.updatedAt = Date{json::numberField(value, "updatedAt")};
  if (const auto ended = json::optionalNumber(value, "endedAt")) session.endedAt = Date{*ended};
  session.appVersion = json::stringField(value, "appVersion");
  session.environment = environmentField(value);
  session.log = DiagnosticsLog::fromJson(json::require(value, "log"));
  return session;
}

}  // namespace kesta
