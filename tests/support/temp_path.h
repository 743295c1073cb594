// A file name in the temporary folder that no other test can be using: ctest runs each test in
// its own process, several at once, so a fixed name is written and removed under another's feet.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

inline std::string test_temp_path(const std::string& name) {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string path = std::string("ashfallow-") + std::to_string(::getpid()) + "-" +
                     (info ? std::string(info->test_suite_name()) + "-" + info->name() : "") + "-" + name;
  for (char& c : path)
    if (c == '/') c = '_';
  return ::testing::TempDir() + path;
}
