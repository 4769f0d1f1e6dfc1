#pragma once
// zlib streams (RFC 1950: deflate with an Adler-32 of the inflated bytes)
// for the recording file, inflated with a cap so that a small hostile
// stream cannot make the reader allocate without bound.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace bd {

// `bytes` as one zlib stream at the highest compression.
std::string DeflateBytes(std::string_view bytes);

// Inflates the zlib stream that must fill `compressed` exactly and inflate
// to exactly `expectedSize` bytes. The output grows with what the stream
// actually gives and stops at `expectedSize`, so the memory taken is
// bounded by `expectedSize` and by the stream's true size, whatever the
// stream holds. Returns
// nothing and puts a short reason into `reason` when the stream is damaged,
// ends early, is followed by more bytes or inflates to another size.
std::optional<std::string> InflateExactly(std::string_view compressed, size_t expectedSize,
                                          std::string* reason);

}  // namespace bd
