// Bytes as they arrive at the score server: read as a request head (request
// line and fields), and the report value of a report request checked as the
// server checks it; the same bytes are also checked as a report value on
// their own. Neither reader may crash, and what they accept must hold what
// the server relies on afterwards.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "ReportFuzzing.h"
#include "server/HttpRequest.h"
#include "server/Query.h"
#include "server/ReportCheck.h"

namespace {

using namespace bd::server;

void CheckAcceptedReport(const std::variant<TNewScore, TRefusal>& checked) {
  if (const auto* refusal = std::get_if<TRefusal>(&checked)) {
    if (refusal->Status < 400 || refusal->Status > 499 || refusal->Reason.empty()) std::abort();
    return;
  }
  const TNewScore& score = std::get<TNewScore>(checked);
  if (score.Name.empty() || score.Score < 0) std::abort();
  for (const std::string& text : {score.Name, score.Country})
    if (!text.empty() && (text.front() == ' ' || text.back() == ' ')) std::abort();
}

void CheckHead(std::string_view bytes) {
  const size_t end = FindHeadEnd(bytes);
  if (end == std::string_view::npos) return;
  if (end > bytes.size()) std::abort();
  const auto parsed = ParseRequestHead(bytes.substr(0, end));
  if (const auto* refusal = std::get_if<THeadRefusal>(&parsed)) {
    if (refusal->Status != 400 && refusal->Status != 431 && refusal->Status != 505) std::abort();
    return;
  }
  const THttpRequest& request = std::get<THttpRequest>(parsed);
  // Nothing that could end a line or hide a body gets through.
  if (request.Target.empty() || request.Target.front() != '/' || !request.Target.starts_with(request.Path))
    std::abort();
  if (request.Target.find_first_of(" \r\n") != std::string::npos) std::abort();
  for (const auto& [name, value] : request.Headers)
    if (name.empty() || value.find_first_of("\r\n") != std::string::npos) std::abort();
  if (request.HeaderCount("transfer-encoding") > 0 || request.HeaderCount("content-length") > 1) std::abort();
  if (request.Headers.size() > kMaxHeaderFields) std::abort();

  const TQuery query = TQuery::FromTarget(request.Target);
  if (ClassifyRequest(request.Path, query) == TRoute::Report)
    CheckAcceptedReport(
        CheckReport(query.Value("inf"), bd::fuzzing::ReportSigner(), bd::fuzzing::kReportNowMs));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckHead(bytes);
  CheckAcceptedReport(CheckReport(bytes, bd::fuzzing::ReportSigner(), bd::fuzzing::kReportNowMs));
  return 0;
}
