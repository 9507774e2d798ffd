#include "test_support.h"

#include <unistd.h>

#include <fstream>
#include <sstream>

namespace wondergen::testing {

std::string Cp936(std::string_view utf8) {
  const std::optional<std::string> converted = FromUtf8(utf8);
  EXPECT_TRUE(converted.has_value()) << "not representable in code page 936: " << utf8;
  return converted.value_or(std::string());
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> SplitLines(std::string_view document) {
  std::vector<std::string> lines;
  while (!document.empty()) {
    const std::size_t end = document.find('\n');
    const std::size_t length = end == std::string_view::npos ? document.size() : end + 1;
    lines.emplace_back(document.substr(0, length));
    document.remove_prefix(length);
  }
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string joined;
  for (const std::string& line : lines)
    joined += line;
  return joined;
}

FormReader FormWith(std::map<int, std::string> controls) {
  return [controls = std::move(controls)](int controlId) {
    const auto found = controls.find(controlId);
    return found == controls.end() ? std::string() : found->second;
  };
}

WrittenPackage GenerateInto(const std::filesystem::path& dir, const FormReader& form) {
  WrittenPackage package;
  std::filesystem::create_directories(dir);
  package.failures = PrepareOutputTree(dir);
  const Failures run = GenerateModPackage(form, dir);
  package.failures.insert(package.failures.end(), run.begin(), run.end());
  const OutputPaths paths = MakeOutputPaths(dir);
  package.localization = ReadFile(paths.localization);
  package.gameplayData = ReadFile(paths.gameplayData);
  package.manifest = ReadFile(paths.manifest);
  return package;
}

void TempDirTest::SetUp() {
  std::string pattern = (std::filesystem::temp_directory_path() / "wondergen-test-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  dir_ = pattern;
}

void TempDirTest::TearDown() {
  std::error_code ignored;
  // Tests may take permissions away; give them back so that everything can go.
  for (auto it = std::filesystem::recursive_directory_iterator(dir_, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
  }
  std::filesystem::remove_all(dir_, ignored);
}

}  // namespace wondergen::testing

#include <sys/wait.h>

#include <algorithm>
#include <cstring>

namespace wondergen::testing {

std::string RunWithoutPrivileges(const std::filesystem::path& dir,
                                 const std::function<std::string()>& body) {
  constexpr uid_t kNobody = 65534;
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return "pipe failed";
  const pid_t child = fork();
  if (child == 0) {
    close(pipeEnds[0]);
    std::string result;
    if (geteuid() == 0) {
      for (auto it = std::filesystem::recursive_directory_iterator(dir);
           it != std::filesystem::recursive_directory_iterator(); ++it) {
        if (lchown(it->path().c_str(), kNobody, kNobody) != 0) result = "chown failed";
      }
      if (chown(dir.c_str(), kNobody, kNobody) != 0 || setgid(kNobody) != 0 ||
          setuid(kNobody) != 0) {
        result = "could not become nobody";
      }
    }
    if (result.empty()) result = body();
    const ssize_t written = write(pipeEnds[1], result.data(), result.size());
    _exit(written == static_cast<ssize_t>(result.size()) ? 0 : 1);
  }
  close(pipeEnds[1]);
  std::string result;
  char chunk[256];
  ssize_t got;
  while ((got = read(pipeEnds[0], chunk, sizeof chunk)) > 0)
    result.append(chunk, got);
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "child failed: " + result;
  return result;
}

std::vector<std::string> ListTree(const std::filesystem::path& root) {
  std::vector<std::string> entries;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    std::string line = entry.path().lexically_relative(root).generic_string();
    if (entry.is_directory() && !entry.is_symlink()) line += "/";
    entries.push_back(line);
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

}  // namespace wondergen::testing

#include <expat.h>

namespace wondergen::testing {

std::string XmlProblem(const std::string& document) {
  XML_Parser parser = XML_ParserCreate(nullptr);
  std::string problem;
  if (XML_Parse(parser, document.data(), static_cast<int>(document.size()), 1) != XML_STATUS_OK) {
    problem = std::string(XML_ErrorString(XML_GetErrorCode(parser))) + " at line " +
              std::to_string(XML_GetCurrentLineNumber(parser));
  }
  XML_ParserFree(parser);
  return problem;
}

}  // namespace wondergen::testing
