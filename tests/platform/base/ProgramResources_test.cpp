#include "ProgramResources.h"

#include <gtest/gtest.h>

#include "Exceptions.h"

// test_platform_base carries resource_sample.txt as TXT / TestText.
const std::string_view kSample = "Hello from a resource\r\nsecond line";

TEST(ProgramResources, FoundByTypeAndNameInAnyCase) {
    for (auto [type, name] : {std::pair{"TXT", "TestText"}, std::pair{"txt", "TESTTEXT"}, std::pair{"Txt", "testtext"}}) {
        const std::string_view bytes = FindProgramResource(type, name);
        EXPECT_EQ(bytes, kSample) << type << "/" << name;
        ASSERT_NE(bytes.data(), nullptr);
        EXPECT_EQ(bytes.data()[bytes.size()], '\0');  // a NUL follows the bytes
    }
    TResourceStream stream("testtext", "txt");
    EXPECT_EQ(stream.Size(), static_cast<std::int64_t>(kSample.size()));
    EXPECT_EQ(stream.ReadRemainingText(), kSample);
}

TEST(ProgramResources, MissingResourceRaisesTheResourceError) {
    EXPECT_EQ(FindProgramResource("TXT", "NoSuchThing").data(), nullptr);
    EXPECT_EQ(FindProgramResource("BIN", "TestText").data(), nullptr);  // the type counts too
    try {
        TResourceStream stream("NoSuchThing", "TXT");
        FAIL() << "no error";
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), "Resource NoSuchThing not found");
    }
}

TEST(ProgramResources, ResourceStreamIsReadOnly) {
    TResourceStream stream("TestText", "TXT");
    EXPECT_THROW(stream.WriteBuffer("x", 1), EStreamError);
    EXPECT_EQ(stream.ReadRemainingText(), kSample);  // unchanged
}
