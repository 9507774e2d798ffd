// How fast one generation run is, against the floor of its work, and how fast the documents are
// composed and converted in memory. Run: wondergen_benchmark --benchmark_repetitions=10
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "wondergen/generator.h"

namespace {

using namespace wondergen;
namespace fs = std::filesystem;

// A full form: every field set and every text given, the name included.
Form FullForm() {
  Form form;
  for (int slot = 0; slot < kFieldCount; ++slot)
    form.valueBoxes[slot] = std::to_string(10 + slot);
  std::error_code error;
  form.texts = {FromUtf8("奇观", error).value(), "A wonder of the world & more", "Its description",
                "Wonder name", "Player"};
  return form;
}

fs::path MakeTempDir() {
  std::string pattern = (fs::temp_directory_path() / "wondergen-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) std::abort();
  return pattern;
}

void WritePlainly(const fs::path& path, const std::string& bytes) {
  const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (file < 0 || write(file, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
    std::abort();
  close(file);
}

// The whole run as the generate button does it: delete and recreate the tree, write the package.
void BM_GenerationRun(benchmark::State& state) {
  const fs::path dir = MakeTempDir();
  const Form form = FullForm();
  for (auto _ : state) {
    if (!RebuildModPackage(form, dir).failures.empty()) std::abort();
  }
  fs::remove_all(dir);
}
BENCHMARK(BM_GenerationRun);

// The floor of that work: the same tree deleted, its folders created and the same files written,
// with plain calls and nothing composed or converted. The files are those a run writes.
void BM_GenerationFloor(benchmark::State& state) {
  const fs::path dir = MakeTempDir();
  std::vector<std::pair<fs::path, std::string>> files;
  std::vector<fs::path> folders;
  for (const fs::path& path : RebuildModPackage(FullForm(), dir).written) {
    std::ifstream file(path, std::ios::binary);
    files.emplace_back(path, std::string(std::istreambuf_iterator<char>(file), {}));
    for (fs::path folder = path.parent_path(); folder != dir; folder = folder.parent_path())
      folders.push_back(folder);
  }
  std::sort(folders.begin(), folders.end());  // each after its parent
  folders.erase(std::unique(folders.begin(), folders.end()), folders.end());
  for (auto _ : state) {
    fs::remove_all(folders.front());
    for (const fs::path& folder : folders)
      mkdir(folder.c_str(), 0777);
    for (const auto& [path, bytes] : files)
      WritePlainly(path, bytes);
  }
  fs::remove_all(dir);
}
BENCHMARK(BM_GenerationFloor);

// The documents composed and converted to UTF-8 in memory, as a run does before writing.
void BM_ComposeAndConvert(benchmark::State& state) {
  const Form form = FullForm();
  for (auto _ : state)
    benchmark::DoNotOptimize(ComposeModPackage(form));
}
BENCHMARK(BM_ComposeAndConvert);

}  // namespace

BENCHMARK_MAIN();
