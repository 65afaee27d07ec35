// Generates a music folder tree or searches one, for bench/folder_search.sh.
//   folder_search_bench generate DIR FILES   creates about FILES files in DIR
//   folder_search_bench search DIR           prints the music files found
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "playlist/folder_search.h"

namespace {

// Folders three levels deep, ten per level, the files spread over the
// deepest ones, with names of every kind the search has to tell apart.
int Generate(const std::string& root, long files) {
  static const char* const kExtensions[] = {"mp3", "ogg", "wav", "mpc", "MP3", "jpg", "txt", "m3u"};
  const long leaves = 1000;
  const long perLeaf = (files + leaves - 1) / leaves;
  long made = 0;
  mkdir(root.c_str(), 0755);
  for (int a = 0; a < 10; ++a) {
    const std::string pa = root + "/artist " + std::to_string(a);
    mkdir(pa.c_str(), 0755);
    for (int b = 0; b < 10; ++b) {
      const std::string pb = pa + "/album " + std::to_string(b);
      mkdir(pb.c_str(), 0755);
      for (int c = 0; c < 10; ++c) {
        const std::string pc = pb + "/cd" + std::to_string(c);
        mkdir(pc.c_str(), 0755);
        for (long i = 0; i < perLeaf && made < files; ++i, ++made) {
          const std::string name = pc + "/track " + std::to_string(i) + "." + kExtensions[made % 8];
          if (FILE* f = std::fopen(name.c_str(), "w")) {
            std::fclose(f);
          } else {
            std::perror(name.c_str());
            return 1;
          }
        }
      }
    }
  }
  return 0;
}

int Search(const std::string& folder) {
  std::vector<std::string> found;
  orvo::FindMusicFiles(folder, found);
  std::string out;
  for (const std::string& path : found) out.append(path).push_back('\n');
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 2 ? argv[1] : "";
  if (mode == "generate" && argc == 4) return Generate(argv[2], std::atol(argv[3]));
  if (mode == "search" && argc == 3) return Search(argv[2]);
  std::fprintf(stderr, "usage: %s generate DIR FILES | search DIR\n", argv[0]);
  return 2;
}
