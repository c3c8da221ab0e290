// The source tree's includes run one way: from the Win32 front end down through the program's
// logic to the platform's seams and the resources, never up and never in a circle.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>

namespace {

namespace fs = std::filesystem;

// Higher folders may include lower ones; folders of one rank know nothing of each other.
int Rank(const std::string& folder) {
  static const std::map<std::string, int> ranks{
      {"win32", 7}, {"app", 6},     {"sync", 5},     {"log", 4}, {"servers", 3},
      {"net", 2},   {"toolkit", 2}, {"platform", 1}, {"res", 1}};
  const auto found = ranks.find(folder);
  return found == ranks.end() ? -1 : found->second;
}

std::string TopFolder(const std::string& path) { return path.substr(0, path.find('/')); }

TEST(SourceTree, EveryIncludeRunsDownward) {
  const fs::path src = fs::path(VEKHOR_SOURCE_DIR) / "src";
  ASSERT_TRUE(fs::is_directory(src)) << src;
  const std::regex include(R"(^\s*#\s*include\s+"([^"]+)\")");
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(src)) {
    const std::string ext = entry.path().extension().string();
    if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp" && ext != ".inc")) continue;
    ++files;
    const std::string from = TopFolder(fs::relative(entry.path(), src).generic_string());
    ASSERT_GE(Rank(from), 0) << "a folder the include rule does not know: src/" << from;
    std::ifstream in(entry.path());
    std::string line;
    std::smatch match;
    while (std::getline(in, line)) {
      if (!std::regex_search(line, match, include)) continue;
      const std::string target = match[1];
      if (target.find('/') == std::string::npos) continue;  // beside the file itself
      const std::string to = TopFolder(target);
      if (to == from) continue;
      EXPECT_GT(Rank(from), Rank(to))
          << entry.path().generic_string() << " includes " << target << ": src/" << from
          << " may not include src/" << to;
    }
    // The portable folders compile the same everywhere.
    if (from != "win32" && from != "platform") {
      std::ifstream again(entry.path());
      const std::string text{std::istreambuf_iterator<char>(again), {}};
      EXPECT_EQ(text.find("#ifdef _WIN32"), std::string::npos) << entry.path();
      EXPECT_EQ(text.find("<windows.h>"), std::string::npos) << entry.path();
    }
  }
  EXPECT_GT(files, 50) << "the walk found too few sources under " << src;
}

}  // namespace
