// Writes the seed files of the fuzzing corpora with the project's own
// encoders, so that every seed is a small but complete example of its kind:
//   fuzz_seeds <repo>/fuzz/corpus
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "ReportFuzzing.h"
#include "app/Settings.h"
#include "codec/Cp1251.h"
#include "codec/RecordingFormat.h"
#include "codec/ScoreReportFormat.h"
#include "codec/SettingsCodec.h"
#include "common/ArchiveWriter.h"
#include "common/JpegWriter.h"
#include "common/SampleRecording.h"
#include "engine/images/Dib.h"
#include "engine/images/Jpeg.h"

namespace {

namespace fs = std::filesystem;

fs::path g_out;

void Put(const std::string& target, const std::string& name, const std::vector<uint8_t>& bytes) {
  fs::create_directories(g_out / target);
  std::ofstream(g_out / target / name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void PutText(const std::string& target, const std::string& name, std::string_view text) {
  Put(target, name, std::vector<uint8_t>(text.begin(), text.end()));
}

// A small picture with a few flat colours and a magenta background, like the
// game's keyed sprites.
bd::TPixels Picture(int32_t width, int32_t height) {
  bd::TPixels p{width, height, {}};
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      const bool inside =
          (x - width / 2) * (x - width / 2) + (y - height / 2) * (y - height / 2) < width * height / 5;
      p.Colors.push_back(inside ? ((x / 3 + y / 3) % 2 ? 0x0000C0FFu : 0x00203040u) : 0x00FF00FFu);
    }
  return p;
}

std::vector<uint8_t> Samples(size_t count, uint8_t step) {
  std::vector<uint8_t> s(count);
  for (size_t i = 0; i < count; ++i) s[i] = static_cast<uint8_t>(i * step);
  return s;
}

void ImageArchives() {
  bd::TImageArchiveItem keyed;
  keyed.Name = "Car";
  keyed.PatternWidth = 8;
  keyed.PatternHeight = 6;
  keyed.SkipWidth = 1;
  keyed.Transparent = true;
  keyed.TransparentColor = bd::TColorValue{std::string("clFuchsia")};
  keyed.Picture = bd::TPictureData::Dib(bd::EncodeDib(Picture(17, 12), {bd::TDibFormat::Pal8, {}, false}));
  Put("image_archive", "pal8-patterns.dxg", bd::WriteImageArchive({{}, {keyed}}));

  std::vector<uint32_t> table(256);
  for (size_t i = 0; i < table.size(); ++i) table[i] = static_cast<uint32_t>(i * 0x010203u) & 0xFFFFFFu;
  bd::TImageArchiveItem rle;
  rle.Name = "Road";
  rle.SystemMemory = true;
  rle.TransparentColor = bd::TColorValue{0x00FF00FFu};
  rle.Picture = bd::TPictureData::Dib(bd::EncodeDib(Picture(12, 10), {bd::TDibFormat::Pal8Rle, {}, false}));
  bd::TImageArchiveItem bitmap;
  bitmap.Name = "Sky";
  bitmap.Transparent = false;
  bitmap.Picture =
      bd::TPictureData::Bitmap(bd::EncodeBmpFile(Picture(6, 5), {bd::TDibFormat::Rgb24, {}, true}));
  Put("image_archive", "rle-bitmap-table.dxg", bd::WriteImageArchive({table, {rle, bitmap}}));

  bd::TImageArchiveItem jpeg;
  jpeg.Name = "Logo";
  jpeg.PatternWidth = 4;
  jpeg.PatternHeight = 4;
  jpeg.Picture = bd::TPictureData::Jpeg(bd::EncodeJpeg(Picture(8, 8), 50));
  bd::TImageArchiveItem wide;
  wide.Name = "Wide";
  wide.Picture = bd::TPictureData::Dib(bd::EncodeDib(Picture(9, 3), {bd::TDibFormat::Rgb32, {}, true}));
  Put("image_archive", "jpeg-rgb32.dxg", bd::WriteImageArchive({{}, {jpeg, wide}}));
}

void SoundArchives() {
  Put("sound_archive", "one-looped.dxw",
      bd::WriteSoundArchive({{"Engine", true, std::nullopt, bd::EncodeWave(1, 11025, 8, Samples(64, 9))}}));
  Put("sound_archive", "two-sounds.dxw",
      bd::WriteSoundArchive(
          {{"Crash", false, 3, bd::EncodeWave(2, 22050, 16, Samples(96, 37))},
           {"Bonus", std::nullopt, std::nullopt, bd::EncodeWave(1, 44100, 32, Samples(64, 5))}}));
  Put("sound_archive", "no-wave.dxw", bd::WriteSoundArchive({{"Silent", false, 1, {}}}));
  // A rate of 1 Hz once made the mixer ask for gigabytes.
  Put("sound_archive", "regress-rate-1hz.dxw",
      bd::WriteSoundArchive({{"Slow", false, std::nullopt, bd::EncodeWave(1, 1, 8, Samples(2048, 1))}}));
}

void Dibs() {
  const bd::TPixels p = Picture(7, 5);
  Put("dib", "pal8.dib", bd::EncodeDib(p, {bd::TDibFormat::Pal8, {}, false}));
  Put("dib", "pal8-rle.dib", bd::EncodeDib(Picture(10, 6), {bd::TDibFormat::Pal8Rle, {}, false}));
  Put("dib", "rgb24-topdown.dib", bd::EncodeDib(p, {bd::TDibFormat::Rgb24, {}, true}));
  Put("dib", "rgb32.bmp", bd::EncodeBmpFile(p, {bd::TDibFormat::Rgb32, {}, false}));
  Put("dib", "pal8.bmp", bd::EncodeBmpFile(p, {bd::TDibFormat::Pal8, {}, true}));
  Put("dib", "rgb24-v5.bmp", bd::EncodeBmpFile(p, {bd::TDibFormat::Rgb24, {}, false}, 124));
}

void Waves() {
  Put("wave", "u8-mono.wav", bd::EncodeWave(1, 11025, 8, Samples(40, 13)));
  Put("wave", "s16-stereo.wav", bd::EncodeWave(2, 44100, 16, Samples(64, 7)));
  Put("wave", "s32-mono.wav", bd::EncodeWave(1, 8000, 32, Samples(32, 3)));
  Put("wave", "regress-rate-1hz.wav", bd::EncodeWave(1, 1, 8, Samples(2048, 1)));
  // A recording as editors save it: an extra chunk before the samples.
  std::vector<uint8_t> listed = bd::EncodeWave(1, 22050, 16, Samples(16, 11));
  const std::string_view list("LIST\x06\x00\x00\x00INFOab", 14);
  listed.insert(listed.begin() + 12, list.begin(), list.end());
  listed[4] = static_cast<uint8_t>(listed[4] + list.size());
  Put("wave", "s16-list-chunk.wav", listed);
}

void Settings() {
  PutText("settings", "defaults.cfg", bd::SettingsFileText({}));
  bd::TSettingsValues changed;
  changed.FullScreen = true;
  changed.Music = false;
  changed.Country = bd::W("Россия");
  changed.PlayerName = "Ace";
  changed.Table[0] = {"Ace", 987654};
  changed.Table[9] = {"", -1};
  PutText("settings", "changed.cfg", bd::SettingsFileText(changed));
  // Hand edited: lone LF endings, a stray character and lines missing at the end.
  std::string edited = bd::SettingsFileText(changed).substr(0, 160);
  for (size_t i = edited.find("\r\n"); i != std::string::npos; i = edited.find("\r\n", i)) edited.erase(i, 1);
  edited.insert(3, " ");
  PutText("settings", "hand-edited.cfg", edited);
}

void ShareConfigs() {
  const std::string buttons =
      "70 470 220 64\r\n70 470 220 64\r\npdata\\read_n.bmp\r\npdata\\read_h.bmp\r\npdata\\readme.txt\r\n"
      "290 470 220 64\r\n290 470 220 64\r\npdata\\site_n.bmp\r\npdata\\site_h.bmp\r\npdata\\site.html\r\n";
  const std::string exitButton =
      "510 470 220 64\r\n510 470 220 64\r\n510 470 220 64\r\n"
      "pdata\\exit_n.bmp\r\npdata\\exit_h.bmp\r\npdata\\exit_d.bmp\r\n";
  PutText("share_config", "three-buttons.ini",
          "3\r\npdata\\back.jpg\r\n" + buttons + exitButton + "400 445\r\n5\r\n255 220 60\r\nTRUE\r\n22\r\n");
  PutText("share_config", "exit-only.ini", "1\npdata/back.jpg\n" + exitButton + "+10 -4\n0\n0 0 0\nFALSE\n");
  PutText("share_config", "no-buttons.ini", "0\r\npdata\\back.jpg\r\n1 2\r\n3\r\n1 2 3\r\n");
}

void VersionReplies() {
  PutText("version_reply", "ok-token.txt", "OK|1.0|BumperDash|0|a1b2c3|\n");
  PutText("version_reply", "ok-short.txt", "OK|1.0");
  PutText("version_reply", "refused.txt", "ERROR|old version|||x|y");
  PutText("version_reply", "empty-fields.txt", "OK|||||||");
}

// Report requests as the game sends them, with tokens the target accepts,
// and the tricks a request may try: a body, a chunked body, two requests.
void ReportRequests() {
  const std::string token = bd::fuzzing::ReportSigner().Issue(bd::fuzzing::kReportNowMs);
  const std::string report = bd::EncodeSettingsValue(bd::BuildScoreReport("Player", 12345, token, "Land"));
  const std::string request =
      "GET /cgi/version.pl?hs&prg=BumperDash&inf=" + report + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
  PutText("report_request", "report.txt", request);
  PutText("report_request", "report-value.txt", report);
  PutText("report_request", "spaced-name.txt",
          bd::EncodeSettingsValue(bd::BuildScoreReport(" Pilot ", 7, token, " RU ")));
  PutText("report_request", "body.txt",
          "GET /healthz HTTP/1.1\r\nHost: a\r\nContent-Length: " + std::to_string(request.size()) +
              "\r\n\r\n" + request);
  PutText("report_request", "chunked.txt", "GET / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n\r\n");
  PutText("report_request", "version-check.txt",
          "GET /cgi/version.pl?version&prg=BumperDash HTTP/1.0\nConnection: keep-alive\n\n");
}

void PutBytes(const std::string& target, const std::string& name, const std::string& bytes) {
  Put(target, name, std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

// Recordings: half a minute of the sample player, a game with nothing
// played on an own seed, and every kind of event on a day's seed.
void Recordings() {
  PutBytes("recording", "sample-half-minute.bdrec",
           bd::EncodeRecording(bd::MakeSampleRecording(1, bd::kSampleFramesPerMinute / 2)));
  bd::TRecording empty;
  empty.RulesVersion = 1;
  PutBytes("recording", "own-seed-nothing-played.bdrec", bd::EncodeRecording(empty));
  bd::TRecording kinds;
  kinds.RulesVersion = 2;
  kinds.Seed = 20261211;
  kinds.SeedSource = bd::TSeedSource::Daily;
  kinds.SeedTicket = "day-20261211";
  kinds.PlayerName = bd::W("Юля");
  kinds.FinalScore = 4321;
  kinds.FinalLevel = 3;
  kinds.FrameCount = 70000;
  kinds.Events = {{0, bd::TInputKind::KeysHeld, 1},        {200, bd::TInputKind::Lag, 3},
                  {201, bd::TInputKind::Lag, 1},           {500, bd::TInputKind::KeyPress, 'P'},
                  {900, bd::TInputKind::KeyPress, 'P'},    {1000, bd::TInputKind::Focus, 0},
                  {1200, bd::TInputKind::Focus, 1},        {5000, bd::TInputKind::ExitQuestion, 1},
                  {5300, bd::TInputKind::ExitQuestion, 0}, {69999, bd::TInputKind::ExitQuestion, 2}};
  PutBytes("recording", "every-kind-daily.bdrec", bd::EncodeRecording(kinds));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <corpus directory>\n", argv[0]);
    return 2;
  }
  g_out = argv[1];
  ImageArchives();
  SoundArchives();
  Dibs();
  Waves();
  Settings();
  ShareConfigs();
  VersionReplies();
  ReportRequests();
  Recordings();
  return 0;
}
