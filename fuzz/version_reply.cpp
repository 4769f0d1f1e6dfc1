// The score server's reply to the version check, as any server (or anything
// pretending to be one) may send it: the token is taken from it and goes into
// the report, which must encode and decode back to itself.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "codec/SettingsCodec.h"
#include "frontend/ScoreReport.h"

namespace {

// Answers the version check with the fuzzer's bytes and keeps every address asked for.
class TReplay : public bd::IHttpGet {
 public:
  explicit TReplay(std::string reply) : reply_(std::move(reply)) {}
  std::string Get(const std::string& address) override {
    addresses.push_back(address);
    return reply_;
  }
  std::vector<std::string> addresses;

 private:
  std::string reply_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string reply(reinterpret_cast<const char*>(data), size);
  const std::string token = bd::ReportToken(reply);
  if (token.size() > reply.size() || reply.find(token) == std::string::npos) std::abort();

  const std::string report = bd::BuildScoreReport("Player", 12345, token, "Land");
  if (report.size() % 5 != 0 || bd::DecodeSettingsValue(bd::EncodeSettingsValue(report)) != report) std::abort();

  TReplay server(reply);
  const bool ready = bd::SubmitScore(server, {"Player", 12345, "Land"}, "http://127.0.0.1:1");
  if (ready != bd::VersionReplyIsOk(reply)) std::abort();
  const size_t expected = ready ? 2 : 1;
  if (server.addresses.size() != expected) std::abort();
  if (ready && server.addresses[1] != bd::ScoreReportAddress(bd::EncodeSettingsValue(report), "http://127.0.0.1:1"))
    std::abort();
  return 0;
}
