#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/Soak_counts.h"

namespace Orvane::Test {
namespace {

using testing::HasSubstr;

Soak_counts counts(std::size_t components, long peak) {
    Soak_counts c;
    c.components = components;
    c.images = 40;
    c.fonts = 3;
    c.textures = 90;
    c.musics = 1;
    c.peak_kib = peak;
    return c;
}

TEST(Soak_record, FewerPlaysThanTheReferenceFindNothing) {
    Soak_record record;
    for (int i = 0; i < 9; ++i)
        record.add(counts(1000 + std::size_t(i) * 100, 1000 + i * 500));
    EXPECT_EQ(record.fault(), "");
}

TEST(Soak_record, CountsThatGrowAfterTheTenthPlayAreNamedWithTheFirstPlayAbove) {
    struct Case {
        const char* what;
        std::size_t Soak_counts::*member; // null: the peak resident size
        long later;
        const char* fault; // empty: none
    };
    const Case cases[] = {
        {"growth before the tenth play does not count", nullptr, 0, ""},
        {"a count falling back is fine", &Soak_counts::images, 39, ""},
        {"images", &Soak_counts::images, 41, "The cached images grew from 40 after play 10 to 41 after play 12"},
        {"fonts", &Soak_counts::fonts, 4, "The cached fonts grew from 3 after play 10 to 4 after play 12"},
        {"textures", &Soak_counts::textures, 91, "The live textures grew from 90 after play 10 to 91 after play 12"},
        {"musics", &Soak_counts::musics, 2, "The music streams grew from 1 after play 10 to 2 after play 12"},
        {"components", &Soak_counts::components, 1001, "The store components grew from 1000 after play 10 to 1001 after play 12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Soak_record record;
        for (int i = 1; i <= 10; ++i)
            record.add(counts(i == 10 ? 1000 : 100 * std::size_t(i), 20000));
        record.add(counts(1000, 20000));
        Soak_counts later = counts(1000, 20000);
        if (c.member)
            later.*c.member = std::size_t(c.later);
        record.add(later);
        record.add(counts(1000, 20000)); // back down: the growth was still seen
        EXPECT_EQ(record.fault(), c.fault);
    }
}

TEST(Soak_record, PeakResidentSizeMayGrowFivePercentAfterTheTenthPlay) {
    for (long last : {21000L, 21001L}) {
        Soak_record record;
        for (int i = 1; i <= 100; ++i)
            record.add(counts(1000, i < 10 ? 1000 * i : (i < 100 ? 20000 : last)));
        if (last == 21000) {
            EXPECT_EQ(record.fault(), "");
        } else {
            EXPECT_THAT(record.fault(), HasSubstr("The peak RSS grew by more than 5%: 20000 KiB "
                                                  "after play 10, 21001 KiB after play 100"));
        }
    }
}

TEST(Soak_counts, TheProcessPeakResidentSizeIsRead) {
    std::string block(std::size_t(64) << 20, 'x'); // 64 MiB touched
    EXPECT_GE(peak_resident_kib(), 64 * 1024) << block[block.size() / 2];
    EXPECT_THAT(counts(1, 2).describe(),
                HasSubstr("store components 1, cached images 40, cached fonts 3, live textures 90, "
                          "music streams 1, peak RSS 2 KiB"));
}

} // namespace
} // namespace Orvane::Test
