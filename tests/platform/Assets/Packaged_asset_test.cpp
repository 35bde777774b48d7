#include <gtest/gtest.h>

#include <Orvane/Assets/Packaged_asset.h>

#include "support/Temp_pref_folder.h"

namespace {

using Orvane::Packaged_asset;

TEST(Packaged_asset, EmptyAssetIsFalseAndClosingItDoesNothing) {
    Packaged_asset asset;
    EXPECT_FALSE(asset);
    EXPECT_EQ(asset.size(), 0u);
    EXPECT_EQ(asset.base(), nullptr);
    EXPECT_EQ(asset.buffer(), nullptr);
    char out[4];
    EXPECT_EQ(asset.read(out, sizeof out), 0u);
    asset.close();
    asset.close();
    EXPECT_FALSE(asset);
}

TEST(Packaged_asset, OwnedBufferIsReadAndFreedByClose) {
    auto* bytes = new std::vector<char>{'a', 'b', 'c'};
    Packaged_asset asset(bytes);
    ASSERT_TRUE(asset);
    EXPECT_EQ(asset.buffer(), bytes->data());
    EXPECT_EQ(asset.size(), 3u);
    std::vector<char> out(3);
    EXPECT_EQ(asset.binary_read(out), 3u);
    EXPECT_EQ(out, *bytes);
    asset.close();
    EXPECT_FALSE(asset);
    EXPECT_EQ(asset.buffer(), nullptr);
}

TEST(Packaged_asset, ClosingOneCopyClosesAllAndTheOtherCloseDoesNothing) {
    const std::string text = "shared";
    Packaged_asset first(text.data(), text.size());
    Packaged_asset second = first;
    EXPECT_EQ(first.base(), second.base());
    second.seek(3);
    EXPECT_EQ(first.tell(), 3) << "copies share one stream";
    first.close();
    EXPECT_FALSE(second);
    second.close();
    EXPECT_EQ(second.tell(), -1);

    Packaged_asset owner(new std::vector<char>(10, 'x'));
    Packaged_asset copy = owner;
    copy.close();
    owner.close();
    EXPECT_EQ(owner.buffer(), nullptr);
}

TEST(Packaged_asset, DiskFileIsWrittenThenReadBack) {
    const Orvane::Test::Temp_pref_folder home;
    const std::string path = home.pref_path() + "notes.yaml";
    Packaged_asset out(path, true);
    ASSERT_TRUE(out);
    EXPECT_EQ(out.write("a: 1\n"), 5u);
    EXPECT_EQ(out.write(std::string("b\0c", 3)), 1u);
    out.close();

    Packaged_asset in(path, false);
    ASSERT_TRUE(in);
    EXPECT_EQ(in.size(), 6u);
    std::string text(6, '\0');
    EXPECT_EQ(in.read(text.data(), text.size()), 6u);
    EXPECT_EQ(text, "a: 1\nb");
    in.close();

    EXPECT_FALSE(Packaged_asset(home.pref_path() + "missing.yaml", false));
}

} // namespace
