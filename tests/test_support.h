#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vs::test {

// A fresh, empty folder for one test, removed when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path write(const std::string& name, std::string_view bytes) const;

private:
    std::filesystem::path path_;
};

std::string readBytes(const std::filesystem::path& path);

// The shipped default data folder of the source tree.
std::filesystem::path shippedDataDir();
// The corpus of real server files, or an empty path when it is absent.
std::filesystem::path corpusDir();

}  // namespace vs::test

// Skips the current test with a message when the corpus is not beside the project.
#define VS_REQUIRE_CORPUS()                                                                  \
    do {                                                                                    \
        if (::vs::test::corpusDir().empty())                                                \
            GTEST_SKIP() << "corpus not found at " VAULTSMITH_CORPUS_DIR                     \
                            " (the shared folder is absent); corpus checks skipped";         \
    } while (0)
