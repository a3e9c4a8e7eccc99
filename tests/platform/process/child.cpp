// Helper program for the process tests.
//   child exit N                 exits with N
//   child record FILE WORDS...   writes each word on a line of FILE, exits 0
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "exit") == 0) return std::atoi(argv[2]);
  if (argc >= 3 && std::strcmp(argv[1], "record") == 0) {
    FILE* f = std::fopen(argv[2], "w");
    if (!f) return 2;
    for (int i = 3; i < argc; ++i) std::fprintf(f, "%s\n", argv[i]);
    return std::fclose(f) == 0 ? 0 : 3;
  }
  return 1;
}
