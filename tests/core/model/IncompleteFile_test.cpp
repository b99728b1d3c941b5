// A portfolio read from a file only in part is never written back over that file: what
// could not be read would be lost, and the backup with it.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/Kx7Doc.h"
#include "core/model/Kx7File.h"
#include "core/model/RecoveryStore.h"
#include "core/settings/Settings.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class IncompleteFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Three holdings; the second record's tag is one no version writes, so reading
        // keeps the first and stops there.
        CKx7Doc source(settings);
        for (const char* symbol : {"ABC", "DEF", "GHI"}) {
            source.AppendPurchase(std::make_unique<CPurchase>(symbol, symbol, 10.0f, 2.0f, 1000,
                                                              0.0f, "Direct Purchase", ""));
        }
        std::vector<std::uint8_t> bytes = StoreKx7(source);
        const std::string_view tag = "\x08Purchase";  // the tag with its length byte
        auto second = std::search(bytes.begin(), bytes.end(), tag.begin(), tag.end());
        second = std::search(second + 1, bytes.end(), tag.begin(), tag.end());
        ASSERT_NE(second, bytes.end());
        second[8] = 'x';
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        original = Contents(file);
    }
    // Opens the partial file as every caller does: its path becomes the document's.
    void Open() {
        const Kx7ReadResult read = OpenKx7File(doc, file.string());
        ASSERT_TRUE(read.Incomplete()) << read.error;
        doc.SetPathName(file.string());
    }

    TempFolder temp{"velmora-incomplete"};
    const fs::path& folder = temp.Path();
    const fs::path file = folder / "p.kx7";
    std::string original;
    Settings settings;
    CKx7Doc doc{settings};
};

TEST_F(IncompleteFileTest, OpensWhatWasReadMarkedIncomplete) {
    Open();
    EXPECT_TRUE(doc.IsIncomplete());
    EXPECT_EQ(doc.Purchases().size(), 1u);
    doc.ClearContents();
    EXPECT_FALSE(doc.IsIncomplete());
}

TEST_F(IncompleteFileTest, SavingOverItsFileByAnyNameIsRefusedAndTouchesNothing) {
    Open();
    fs::create_symlink(file, folder / "link.kx7");
    for (const fs::path& name : {file, folder / "link.kx7", folder / "." / "p.kx7"}) {
        doc.SetModified(true);
        const std::string error = SaveKx7File(doc, name.string());
        EXPECT_NE(error.find("only in part"), std::string::npos) << name << ": " << error;
        EXPECT_TRUE(doc.IsModified());
        EXPECT_TRUE(doc.IsIncomplete());
    }
    EXPECT_EQ(Contents(file), original);
    EXPECT_FALSE(fs::exists(folder / "p.kx7.bak"));
}

TEST_F(IncompleteFileTest, SavedUnderAnotherNameItIsWholeAgain) {
    Open();
    FileStamp written;
    ASSERT_EQ(SaveKx7File(doc, (folder / "q.kx7").string(), &written), "");
    EXPECT_FALSE(doc.IsIncomplete());
    EXPECT_EQ(Contents(file), original);
    EXPECT_TRUE(written.known);
    EXPECT_TRUE(FileUnchanged((folder / "q.kx7").string(), written));

    CKx7Doc reopened(settings);
    const Kx7ReadResult read = OpenKx7File(reopened, (folder / "q.kx7").string());
    EXPECT_TRUE(read.Ok() && !read.Incomplete());
    EXPECT_EQ(read.stamp.hash, written.hash);
}

// After a crash, the recovery copy of a partly read portfolio comes back as a new one, so
// that its first save asks for a name instead of writing over the file.
TEST_F(IncompleteFileTest, RecoveryCopyNamesNoOriginal) {
    Open();
    doc.SetModified(true);
    const RecoveryStore store((folder / "recovery").string());
    ASSERT_EQ(store.Write(doc), "");
    std::string note;
    for (const auto& entry : fs::directory_iterator(folder / "recovery")) {
        if (entry.path().extension() == ".origin") {
            note = Contents(entry.path()) + "|";
        }
    }
    EXPECT_EQ(note, "|");
    store.Remove();
}

}  // namespace
