#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "persistence/console_database.h"
#include "support/fake_prompter.h"

namespace qavo::testing {

using Rows = std::vector<std::vector<std::string>>;

// A fresh directory under the system's temporary folder, removed afterwards.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// Direct access to a database file through its own connection, independent
// of the layer under test: to prepare a file and to look at what was stored.
void ExecSql(const std::filesystem::path& file, const std::string& sql);
// Every row of `sql`, values as text (NULL as "<null>").
Rows QuerySql(const std::filesystem::path& file, const std::string& sql);

// A database file in its own temporary directory, with a prompter that
// records the message boxes.
class DatabaseFixture : public ::testing::Test {
  protected:
    std::filesystem::path file() const { return dir_.path() / "qavo900.db"; }
    // Opens file() with the layer; expects success and no message.
    void Open();
    // Texts of the message boxes shown so far.
    std::vector<std::string> Messages() const;

    TempDir dir_;
    FakePrompter prompter_;
    ConsoleDatabase db_;
};

}  // namespace qavo::testing
