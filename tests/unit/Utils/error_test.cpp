#include <stdexcept>

#include <gtest/gtest.h>

#include <Orvane/Third_party/Yaml.h>
#include <Orvane/Utils/error.h>

namespace {

struct Fatal_error : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void throw_on_fatal(const char* file, int line, const std::string& message) {
    throw Fatal_error(std::string(file) + ":" + std::to_string(line) + ": " + message);
}

TEST(CheckDeathTest, FailedCheckPrintsFileLineAndMessageThenExitsWithOne) {
    EXPECT_EXIT(ORVANE_CHECK(1 + 1 == 3, "Arithmetic is broken"), ::testing::ExitedWithCode(1),
                "error_test\\.cpp:[0-9]+: Arithmetic is broken");
}

// Messages name the source file from the project root, never by the builder's own folders.
TEST(CheckTest, SourceFileIsNamedFromTheProjectRoot) {
    const Orvane::Fatal_handler previous = Orvane::set_fatal_handler(throw_on_fatal);
    try {
        ORVANE_CHECK(false, "where");
        ADD_FAILURE() << "the check returned";
    } catch (const Fatal_error& e) {
        EXPECT_EQ(std::string(e.what()).rfind("tests/unit/Utils/error_test.cpp:", 0), 0u)
            << e.what();
    }
    // a check inside the engine's library, built apart from the tests
    try {
        Orvane::Third_party::Yaml::Node node;
        node["absent"];
        ADD_FAILURE() << "the lookup returned";
    } catch (const Fatal_error& e) {
        EXPECT_EQ(std::string(e.what()).rfind("src/Third_party/Yaml.cpp:", 0), 0u) << e.what();
    }
    Orvane::set_fatal_handler(previous);
}

TEST(CheckDeathTest, PassingCheckDoesNotBuildTheMessage) {
    int built = 0;
    auto message = [&] {
        ++built;
        return std::string("never");
    };
    ORVANE_CHECK(true, message());
    EXPECT_EQ(built, 0);
}

void return_from_fatal(const char*, int, const std::string&) {}

TEST(CheckTest, InstalledHandlerReceivesTheCheckAndMayThrow) {
    const Orvane::Fatal_handler previous = Orvane::set_fatal_handler(throw_on_fatal);
    try {
        ORVANE_CHECK(false, "thrown " + std::to_string(42));
        ADD_FAILURE() << "the check returned";
    } catch (const Fatal_error& e) {
        EXPECT_NE(std::string(e.what()).find("error_test.cpp:"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find(": thrown 42"), std::string::npos) << e.what();
    }
    EXPECT_EQ(Orvane::set_fatal_handler(previous), throw_on_fatal);
}

TEST(CheckDeathTest, HandlerThatReturnsStillEndsWithStatusOne) {
    EXPECT_EXIT(
        {
            Orvane::set_fatal_handler(return_from_fatal);
            ORVANE_CHECK(false, "handler returned");
        },
        ::testing::ExitedWithCode(1), "error_test\\.cpp:[0-9]+: handler returned");
}

} // namespace
