// A checking worker for the server's tests, named with --check-command. It
// speaks the real worker's protocol, but takes its "recording" as plain text
// that says what to claim and how to behave:
//
//   MODE SOURCE SEED FRAMES INTERVALS SCORE LEVEL DIGEST TICKET
//
// It answers with a summary of those fields, then, once let go on, by MODE:
// ok (a replay ending with SCORE at LEVEL), unfinished, crash (a segfault),
// sleep (never answers), alloc (touches 1 GiB, then answers as ok), garbage
// (a line in no known form, given instead of the summary).

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

int main() {
  std::string mode, source, seed, frames, intervals, score, level, digest, ticket;
  std::stringstream input;
  input << std::cin.rdbuf();
  input >> mode >> source >> seed >> frames >> intervals >> score >> level >> digest >> ticket;
  if (mode == "garbage") {
    std::printf("all is well, trust me\n");
    return 0;
  }
  std::printf("recording 1 %s %s %s %s %s %s %s %s\n", source.c_str(), seed.c_str(), frames.c_str(),
              intervals.c_str(), score.c_str(), level.c_str(), digest.c_str(), ticket.c_str());
  std::fflush(stdout);
  char go = 0;
  if (::read(3, &go, 1) != 1) return 0;
  if (mode == "crash") std::raise(SIGSEGV);
  if (mode == "sleep") std::this_thread::sleep_for(std::chrono::minutes(1));
  if (mode == "alloc") {
    std::vector<char*> blocks;
    for (int i = 0; i < 128; ++i) {
      char* block = new char[8 << 20];
      std::memset(block, 1, 8 << 20);
      blocks.push_back(block);
    }
  }
  if (mode == "unfinished")
    std::printf("unfinished\n");
  else
    std::printf("replayed %s %s %s\n", score.c_str(), level.c_str(), frames.c_str());
  return 0;
}
