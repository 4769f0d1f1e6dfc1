#pragma once
// What the report-request target and its seeds share: the token signer the
// target checks reports against, and the moment it checks them at, so that
// the seeds' tokens are valid and the fuzzer starts from reports that reach
// every check.

#include <cstdint>

#include "server/Tokens.h"

namespace bd::fuzzing {

inline constexpr int64_t kReportNowMs = 1'800'000'000'000;

inline const server::TTokenSigner& ReportSigner() {
  static const server::TTokenSigner signer("a secret for fuzzing", 15 * 60 * 1000);
  return signer;
}

}  // namespace bd::fuzzing
