#include "core/model/DocumentStorage.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "core/model/DemoPortfolio.h"
#include "core/model/Kx7Doc.h"
#include "core/model/Kx7File.h"
#include "core/settings/Settings.h"

namespace {

namespace fs = std::filesystem;

TEST(Kx7FileStorageTest, WhatIsSavedOpensAgainUnchanged) {
    const fs::path dir =
        fs::temp_directory_path() / ("velmora-storage-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string path = (dir / "demo.kx7").string();

    Settings settings;
    CKx7Doc saved(settings);
    BuildDemoPortfolio(saved);
    Kx7FileStorage storage;
    ASSERT_TRUE(storage.Save(saved, path).Ok());
    EXPECT_TRUE(saved.IsModified()) << "the frame, not the storage, clears the flag";

    CKx7Doc opened(settings);
    const StorageOutcome outcome = storage.Load(opened, path);
    ASSERT_TRUE(outcome.Ok()) << outcome.error;
    EXPECT_TRUE(outcome.warning.empty());
    EXPECT_EQ(StoreKx7(opened), StoreKx7(saved));

    const StorageOutcome missing = storage.Load(opened, (dir / "missing.kx7").string());
    EXPECT_FALSE(missing.Ok());
    fs::remove_all(dir);
}

}  // namespace
