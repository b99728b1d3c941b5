#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>

// A fresh folder of the running test's own, removed with everything in it afterwards.
class TempFolder {
public:
    explicit TempFolder(const std::string& prefix) {
        // A parameterised test's name holds a '/': it must not make a folder of its own.
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '_');
        m_path = std::filesystem::temp_directory_path() /
                 (prefix + "-" + std::to_string(::getpid()) + "-" + name);
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};
