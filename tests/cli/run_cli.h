// Runs kavlen-cli with arguments and captures its output and exit status.
#pragma once

#include <array>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace kavlen::test {

struct CliResult {
    int status = -1;
    std::string out; // standard output
    std::string err; // standard error
};

inline std::string shellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

inline CliResult runCli(const std::vector<std::string>& args) {
    const auto errPath = std::filesystem::temp_directory_path() /
                         ("kavlen-cli-err-" + std::to_string(::getpid()) + ".txt");
    std::string command = shellQuote(KAVLEN_CLI);
    for (const std::string& a : args)
        command += " " + shellQuote(a);
    command += " 2>" + shellQuote(errPath.string());
    CliResult result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return result;
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        result.out.append(buffer.data(), n);
    const int raw = ::pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    if (FILE* f = std::fopen(errPath.c_str(), "r")) {
        while ((n = std::fread(buffer.data(), 1, buffer.size(), f)) > 0)
            result.err.append(buffer.data(), n);
        std::fclose(f);
    }
    std::filesystem::remove(errPath);
    return result;
}

inline std::string demoPath() {
    return (std::filesystem::path(KAVLEN_SAMPLES_DIR) / "demo.wad").string();
}

// A test with a fresh folder of its own for the files the commands write.
class CliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("kavlen-cli-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string path(const char* name) const { return (dir_ / name).string(); }

    std::filesystem::path dir_;
};

} // namespace kavlen::test
