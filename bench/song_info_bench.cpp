// Reads artist, title and album of every file named in a list (one path a
// line) several times over and prints the files analysed per second.
//   song_info_bench LIST [PASSES]

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "mediainfo/song_info.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s LIST [PASSES]\n", argv[0]);
    return 2;
  }
  std::vector<std::string> paths;
  std::ifstream list(argv[1]);
  for (std::string line; std::getline(list, line);) {
    if (!line.empty()) paths.push_back(line);
  }
  const int passes = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  if (paths.empty()) {
    std::fprintf(stderr, "no files listed in %s\n", argv[1]);
    return 2;
  }

  // One unmeasured pass checks that every file yields a title, so the
  // figure is not that of files failing early.
  orvo::SongInfo info;
  size_t titled = 0;
  for (const std::string& path : paths) {
    info.clear();
    orvo::ReadSongInfo(path, info);
    titled += !info.title.empty();
  }
  if (titled != paths.size()) {
    std::fprintf(stderr, "%zu of %zu files gave no title\n", paths.size() - titled, paths.size());
    return 1;
  }

  size_t seen = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int pass = 0; pass < passes; ++pass) {
    for (const std::string& path : paths) {
      info.clear();
      orvo::ReadSongInfo(path, info);
      seen += info.title.size();
    }
  }
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  const double files = double(paths.size()) * passes;
  std::printf("%.0f\n", files / elapsed.count());
  return seen > 0 ? 0 : 1;
}
