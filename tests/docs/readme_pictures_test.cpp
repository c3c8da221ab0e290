// The pictures the README shows are files of the repository, and PNGs.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

namespace {

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ReadmePictures, EveryPictureTheReadmeShowsIsAPngInTheRepository) {
  const std::string source = VEKHOR_SOURCE_DIR;
  const std::string readme = ReadWhole(source + "/README.md");
  ASSERT_FALSE(readme.empty()) << "no README.md in " << source;
  const std::regex picture(R"(!\[[^\]]*\]\(([^)\s]+)\))");
  std::vector<std::string> shown;
  for (auto it = std::sregex_iterator(readme.begin(), readme.end(), picture);
       it != std::sregex_iterator(); ++it)
    shown.push_back((*it)[1]);
  ASSERT_FALSE(shown.empty()) << "the README shows no pictures";
  constexpr std::array<unsigned char, 8> kPngSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  for (const std::string& path : shown) {
    const std::string file = ReadWhole(source + "/" + path);
    ASSERT_GE(file.size(), kPngSignature.size()) << path << " is missing or empty";
    EXPECT_TRUE(
        std::equal(kPngSignature.begin(), kPngSignature.end(), file.begin(),
                   [](unsigned char a, char b) { return a == static_cast<unsigned char>(b); }))
        << path << " is no PNG";
  }
}

}  // namespace
