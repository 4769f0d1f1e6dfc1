#include "frontend/ShareConfig.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <limits>
#include <optional>
#include <string_view>
#include <system_error>

#include "engine/base/Types.h"

namespace bd {

namespace {

constexpr uintmax_t kMaxDescriptionBytes = 1 << 20;

// Walks the file line by line. The first problem (a missing line, a bad
// number, a missing file) marks the whole description as unusable, and every
// read after that returns nothing.
class TShareReader {
 public:
  TShareReader(std::string text, std::filesystem::path root)
      : text_(std::move(text)), root_(std::move(root)) {}

  bool Ok() const { return ok_; }
  void Fail() { ok_ = false; }

  // A line of `count` decimal integers separated by single spaces.
  std::vector<int32_t> Numbers(size_t count) {
    std::vector<int32_t> values(count, 0);
    const std::optional<std::string_view> line = Line();
    if (!line) return values;
    if (line->empty()) {
      Fail();
      return values;
    }
    std::string_view rest = *line;
    for (int32_t& value : values) {
      const size_t space = rest.find(' ');
      const std::string_view piece = rest.substr(0, space);
      rest = space == std::string_view::npos ? std::string_view{} : rest.substr(space + 1);
      if (const std::optional<int32_t> parsed = ParseInteger(piece))
        value = *parsed;
      else
        Fail();
    }
    return values;
  }

  int32_t Number() { return Numbers(1)[0]; }

  // A line of text, leading spaces removed.
  std::string Text() { return std::string(Line().value_or(std::string_view{})); }

  // A line naming a file that must exist.
  std::string ExistingFile() {
    std::string path = Text();
    if (!ok_) return path;
    if (path.empty()) {
      Fail();
      return path;
    }
    // Descriptions written on other systems separate folders with backslashes.
    std::replace(path.begin(), path.end(), '\\', '/');
    const std::filesystem::path resolved = root_.empty() ? std::filesystem::path(path) : root_ / path;
    std::error_code error;
    if (!std::filesystem::is_regular_file(resolved, error)) Fail();
    return resolved.string();
  }

 private:
  std::optional<std::string_view> Line() {
    if (!ok_ || position_ >= text_.size()) {
      Fail();
      return std::nullopt;
    }
    const size_t end = std::min(text_.find('\n', position_), text_.size());
    std::string_view line(text_.data() + position_, end - position_);
    position_ = end + 1;
    if (line.ends_with('\r')) line.remove_suffix(1);
    line.remove_prefix(std::min(line.find_first_not_of(' '), line.size()));
    return line;
  }

  // A decimal integer with an optional sign, nothing else; empty fails.
  static std::optional<int32_t> ParseInteger(std::string_view piece) {
    if (piece.starts_with('+')) piece.remove_prefix(1);
    if (piece.empty() || piece.starts_with('+')) return std::nullopt;
    int32_t value = 0;
    const auto [end, error] = std::from_chars(piece.data(), piece.data() + piece.size(), value);
    if (error != std::errc{} || end != piece.data() + piece.size()) return std::nullopt;
    return value;
  }

  std::string text_;
  std::filesystem::path root_;
  size_t position_ = 0;
  bool ok_ = true;
};

void ReadRect(TShareReader& in, int32_t& x, int32_t& y, int32_t& width, int32_t& height) {
  const std::vector<int32_t> v = in.Numbers(4);
  x = v[0];
  y = v[1];
  width = v[2];
  height = v[3];
}

TShareButtonConfig ReadLinkButton(TShareReader& in) {
  TShareButtonConfig b;
  ReadRect(in, b.HoverX, b.HoverY, b.HoverWidth, b.HoverHeight);
  ReadRect(in, b.X, b.Y, b.Width, b.Height);
  b.NormalImage = in.ExistingFile();
  b.HoverImage = in.ExistingFile();
  b.Command = in.ExistingFile();
  // A link button is never disabled, but it keeps a disabled look: its normal one.
  b.DisabledImage = b.NormalImage;
  b.DisabledX = b.X;
  b.DisabledY = b.Y;
  b.DisabledWidth = b.Width;
  b.DisabledHeight = b.Height;
  return b;
}

TShareButtonConfig ReadExitButton(TShareReader& in) {
  TShareButtonConfig b;
  ReadRect(in, b.HoverX, b.HoverY, b.HoverWidth, b.HoverHeight);
  ReadRect(in, b.X, b.Y, b.Width, b.Height);
  ReadRect(in, b.DisabledX, b.DisabledY, b.DisabledWidth, b.DisabledHeight);
  b.NormalImage = in.ExistingFile();
  b.HoverImage = in.ExistingFile();
  b.DisabledImage = in.ExistingFile();
  b.Command = ShareExitCommand;
  return b;
}

bool InByteRange(int32_t v) { return v >= 0 && v <= 255; }

}  // namespace

TShareConfig ReadShareConfig(const std::filesystem::path& file, const std::filesystem::path& root) {
  TShareConfig config;
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return config;
  const uintmax_t size = std::filesystem::file_size(file, error);
  std::ifstream stream(file, std::ios::binary);
  // A real description is a few hundred bytes; anything huge is not one.
  if (error || size > kMaxDescriptionBytes || !stream) return config;
  std::string text(static_cast<size_t>(size), '\0');
  if (!stream.read(text.data(), static_cast<std::streamsize>(text.size()))) return config;
  return ReadShareConfigText(std::move(text), root);
}

TShareConfig ReadShareConfigText(std::string text, const std::filesystem::path& root) {
  TShareConfig config;
  TShareReader in(std::move(text), root);
  config.ButtonCount = in.Number();
  // A negative count is no description at all.
  if (config.ButtonCount < 0) in.Fail();
  config.PicturePath = in.ExistingFile();
  for (int32_t i = 1; in.Ok() && i <= config.ButtonCount; ++i)
    config.Buttons.push_back(i < config.ButtonCount ? ReadLinkButton(in) : ReadExitButton(in));

  const std::vector<int32_t> centre = in.Numbers(2);
  config.CountdownX = centre[0];
  config.CountdownY = centre[1];

  // The countdown runs in tenths of a second. A negative one would never reach
  // zero and so would never let the player out; one that overflows is garbage.
  const int32_t seconds = in.Number();
  if (seconds < 0 || seconds > std::numeric_limits<int32_t>::max() / 10)
    in.Fail();
  else
    config.Countdown = seconds * 10;

  const std::vector<int32_t> rgb = in.Numbers(3);
  if (!std::all_of(rgb.begin(), rgb.end(), InByteRange)) in.Fail();
  config.CountdownColor = static_cast<uint32_t>(rgb[0] & 0xFF) | static_cast<uint32_t>(rgb[1] & 0xFF) << 8 |
                          static_cast<uint32_t>(rgb[2] & 0xFF) << 16;

  config.ExplicitFontSize = in.Text() == "TRUE";
  if (config.ExplicitFontSize) config.FontSize = in.Number();

  config.Enabled = in.Ok();
  if (!config.ExplicitFontSize)
    for (const TShareButtonConfig& b : config.Buttons)
      if (b.IsExit()) config.FontSize = static_cast<int32_t>(Round(0.6 * b.Height));
  return config;
}

}  // namespace bd
