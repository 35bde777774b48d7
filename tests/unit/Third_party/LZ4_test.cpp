#include <gtest/gtest.h>
#include <lz4.h>

#include <Orvane/Third_party/LZ4.h>

namespace {

using Orvane::Third_party::lz4_decompress_buffer;

std::vector<char> compress(const std::string& text) {
    std::vector<char> block(
        static_cast<std::size_t>(LZ4_compressBound(static_cast<int>(text.size()))));
    block.resize(static_cast<std::size_t>(LZ4_compress_default(
        text.data(), block.data(), static_cast<int>(text.size()), static_cast<int>(block.size()))));
    return block;
}

TEST(LZ4, DecompressesToTheExpectedSize) {
    const std::string text(1000, 'a');
    const std::vector<char> block = compress(text);
    std::string out(text.size(), '\0');
    EXPECT_EQ(lz4_decompress_buffer(block.data(), block.size(), out.data(), out.size()), 1000);
    EXPECT_EQ(out, text);
}

TEST(LZ4DeathTest, AnotherSizeIsFatal) {
    const std::vector<char> block = compress("hello world");
    std::string out(20, '\0');
    EXPECT_EXIT(lz4_decompress_buffer(block.data(), block.size(), out.data(), 12),
                ::testing::ExitedWithCode(1),
                "LZ4 decompressed size differs from expected \\(-?[0-9]+ != 12\\)");
    EXPECT_EXIT(lz4_decompress_buffer(block.data(), block.size(), out.data(), 10),
                ::testing::ExitedWithCode(1),
                "LZ4 decompressed size differs from expected \\(-[0-9]+ != 10\\)");
    const std::vector<char> garbage(16, '\xFF');
    EXPECT_EXIT(lz4_decompress_buffer(garbage.data(), garbage.size(), out.data(), 20),
                ::testing::ExitedWithCode(1),
                "LZ4 decompressed size differs from expected \\(-[0-9]+ != 20\\)");
}

} // namespace
