#include "http/HttpClient.h"

#include <curl/curl.h>

#include <mutex>

namespace bd {

namespace {

constexpr const char* kUserAgent = "Mozilla/3.0 (compatible; Indy Library)";
constexpr long kMaxRedirects = 5;

void GlobalInitOnce() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK)
      throw EHttpConnectError("The network library could not be initialised");
  });
}

}  // namespace

struct THttpClient::TImpl {
  CURL* handle = nullptr;
  curl_slist* headers = nullptr;
  THttpOptions options;
  std::string body;
  bool bodyTooLarge = false;
  char errorText[CURL_ERROR_SIZE] = {};

  static size_t Write(char* data, size_t size, size_t count, void* user) {
    auto* self = static_cast<TImpl*>(user);
    const size_t bytes = size * count;
    if (self->body.size() + bytes > self->options.MaxBodyBytes) {
      self->bodyTooLarge = true;
      return 0;  // makes the transfer fail with a write error
    }
    self->body.append(data, bytes);
    return bytes;
  }

  template <typename T>
  void Set(CURLoption option, T value) {
    if (curl_easy_setopt(handle, option, value) != CURLE_OK)
      throw EHttpConnectError(Format("The HTTP client rejected option %d", static_cast<int>(option)));
  }
};

THttpClient::THttpClient(const THttpOptions& options) : impl_(std::make_unique<TImpl>()) {
  GlobalInitOnce();
  impl_->options = options;
  impl_->handle = curl_easy_init();
  if (impl_->handle == nullptr) throw EHttpConnectError("The HTTP client could not be created");

  impl_->headers = curl_slist_append(impl_->headers, "Accept: text/html, */*");
  impl_->headers = curl_slist_append(impl_->headers, "Content-Type: text/html");
  if (impl_->headers == nullptr) {
    curl_easy_cleanup(impl_->handle);
    throw EHttpConnectError("The HTTP client could not be created");
  }

  TImpl& s = *impl_;
  s.Set(CURLOPT_NOSIGNAL, 1L);
  s.Set(CURLOPT_ERRORBUFFER, s.errorText);
  s.Set(CURLOPT_HTTPHEADER, s.headers);
  s.Set(CURLOPT_USERAGENT, kUserAgent);
  // An empty cookie file switches the cookie engine on without reading
  // anything: cookies live in this handle for as long as the client does.
  s.Set(CURLOPT_COOKIEFILE, "");
  // Always a direct connection, whatever the environment says about proxies.
  s.Set(CURLOPT_PROXY, "");
  s.Set(CURLOPT_PROTOCOLS_STR, "http,https");
  s.Set(CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  s.Set(CURLOPT_FOLLOWLOCATION, 1L);
  s.Set(CURLOPT_MAXREDIRS, kMaxRedirects);
  s.Set(CURLOPT_CONNECTTIMEOUT_MS, s.options.ConnectTimeoutMs);
  s.Set(CURLOPT_TIMEOUT_MS, s.options.TotalTimeoutMs);
  s.Set(CURLOPT_WRITEFUNCTION, &TImpl::Write);
  s.Set(CURLOPT_WRITEDATA, &s);
}

THttpClient::~THttpClient() {
  curl_easy_cleanup(impl_->handle);
  curl_slist_free_all(impl_->headers);
}

std::string THttpClient::Get(const std::string& address) {
  TImpl& s = *impl_;
  s.body.clear();
  s.bodyTooLarge = false;
  s.errorText[0] = '\0';
  s.Set(CURLOPT_HTTPGET, 1L);
  s.Set(CURLOPT_URL, address.c_str());

  const CURLcode result = curl_easy_perform(s.handle);
  if (result != CURLE_OK) {
    s.body.clear();
    if (s.bodyTooLarge)
      throw EHttpConnectError(
          Format("The reply from '%s' is larger than %zu bytes", address.c_str(), s.options.MaxBodyBytes));
    const char* reason = s.errorText[0] != '\0' ? s.errorText : curl_easy_strerror(result);
    throw EHttpConnectError(Format("Request to '%s' failed: %s", address.c_str(), reason));
  }

  long status = 0;
  curl_easy_getinfo(s.handle, CURLINFO_RESPONSE_CODE, &status);
  if (status >= 400) {
    s.body.clear();
    throw EHttpStatusError(status,
                           Format("Request to '%s' failed: HTTP status %ld", address.c_str(), status));
  }
  return std::move(s.body);
}

}  // namespace bd
