#include "codec/CompressedBytes.h"

#include <zlib.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "codec/CountText.h"

namespace bd {
namespace {

// The first step of the output buffer; it doubles from there.
constexpr size_t kInflateChunk = 64 * 1024;

Bytef* BytesOf(std::string_view s) { return reinterpret_cast<Bytef*>(const_cast<char*>(s.data())); }

}  // namespace

std::string DeflateBytes(std::string_view bytes) {
  uLongf size = compressBound(static_cast<uLong>(bytes.size()));
  std::string out(size, '\0');
  if (compress2(reinterpret_cast<Bytef*>(out.data()), &size, BytesOf(bytes), static_cast<uLong>(bytes.size()),
                Z_BEST_COMPRESSION) != Z_OK)
    throw std::runtime_error("zlib could not compress");
  out.resize(size);
  return out;
}

std::optional<std::string> InflateExactly(std::string_view compressed, size_t expectedSize,
                                          std::string* reason) {
  auto refuse = [reason](std::string why) -> std::optional<std::string> {
    if (reason) *reason = std::move(why);
    return std::nullopt;
  };

  z_stream z{};
  if (inflateInit(&z) != Z_OK) throw std::runtime_error("zlib could not start inflating");
  z.next_in = BytesOf(compressed);
  z.avail_in = static_cast<uInt>(compressed.size());

  // The buffer grows with what the stream gives, by exact steps (a vector
  // reserves exactly what it is asked for), and never beyond the size
  // declared; a stream that goes on is then asked for one byte more.
  std::vector<char> out;
  size_t produced = 0;
  int rc = Z_OK;
  while (rc == Z_OK && produced < expectedSize) {
    if (produced == out.size()) {
      out.reserve(std::min(expectedSize, std::max(kInflateChunk, out.size() * 2)));
      out.resize(out.capacity());
    }
    z.next_out = reinterpret_cast<Bytef*>(out.data() + produced);
    z.avail_out = static_cast<uInt>(out.size() - produced);
    rc = inflate(&z, Z_NO_FLUSH);
    produced = out.size() - z.avail_out;
  }
  bool more = false;
  if (rc == Z_OK) {
    Bytef extra = 0;
    z.next_out = &extra;
    z.avail_out = 1;
    rc = inflate(&z, Z_NO_FLUSH);
    more = z.avail_out == 0;
  }
  const std::string zlibMessage = z.msg ? z.msg : "";
  const uInt unread = z.avail_in;
  inflateEnd(&z);

  if (more)
    return refuse("the events inflate to more than the " + std::to_string(expectedSize) + " bytes declared");
  if (rc == Z_BUF_ERROR) return refuse("the compressed events end early");
  if (rc != Z_STREAM_END)
    return refuse("the compressed events are damaged" +
                  (zlibMessage.empty() ? "" : " (" + zlibMessage + ")"));
  if (unread != 0) return refuse(CountText(unread, "byte") + " follow the compressed events");
  if (produced != expectedSize)
    return refuse("the events inflate to " + CountText(produced, "byte") + ", not the " +
                  std::to_string(expectedSize) + " declared");
  return std::string(out.data(), produced);
}

}  // namespace bd
