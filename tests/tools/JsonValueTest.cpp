#include "tools/zarnctl/JsonValue.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(JsonValue, ReadsWhatShowWritesAndWhatJqMakesOfIt) {
    const JsonParse parsed =
        ParseJson("{\"model\": \"Zarn\", \"keys\": [{\"key\": 41, \"label\": \"\\\\\", \"values\": [\"A "
                  "Down\", \"<50 ms>\"],"
                  " \"autoDelay\": false, \"delay\": -30, \"x\": null, \"f\": 1.5e3}],\n \"layer\": 1}");
    ASSERT_TRUE(parsed.value) << parsed.error;
    const JsonValue& root = *parsed.value;
    EXPECT_EQ(root.member("model")->text, "Zarn");
    EXPECT_EQ(root.member("layer")->integer, 1);
    const JsonValue& key = root.member("keys")->items.at(0);
    EXPECT_EQ(key.member("key")->integer, 41);
    EXPECT_EQ(key.member("label")->text, "\\");
    EXPECT_EQ(key.member("values")->items.at(1).text, "<50 ms>");
    EXPECT_EQ(key.member("autoDelay")->kind, JsonValue::Kind::Bool);
    EXPECT_FALSE(key.member("autoDelay")->boolean);
    EXPECT_EQ(key.member("delay")->integer, -30);
    EXPECT_EQ(key.member("x")->kind, JsonValue::Kind::Null);
    EXPECT_FALSE(key.member("f")->integer) << "not a whole number as written";
    EXPECT_EQ(key.member("missing"), nullptr);
}

TEST(JsonValue, EscapesBecomeUtf8) {
    const std::pair<const char*, std::string> cases[] = {
        {"\"\\u00e9\"", "\xC3\xA9"},
        {"\"\\u9759\\u97f3\"", "静音"},
        {"\"\\ud83d\\ude00\"", "\xF0\x9F\x98\x80"},
        {"\"\\ud800x\"", "\xEF\xBF\xBDx"}, // a lone surrogate
        {"\"a\\/b\\n\\t\"", "a/b\n\t"},
    };
    for (const auto& [text, expected] : cases) {
        const JsonParse parsed = ParseJson(text);
        ASSERT_TRUE(parsed.value) << text << ": " << parsed.error;
        EXPECT_EQ(parsed.value->text, expected) << text;
    }
}

TEST(JsonValue, RefusesWhatIsNotJsonAndSaysWhere) {
    const std::pair<std::string, const char*> cases[] = {
        {"", "line 1, column 1: the document ends too early"},
        {"{\"a\": 1,}", "line 1, column 9: a member name in quotes was expected"},
        {"[1 2]", "line 1, column 4: ',' or ']' was expected"},
        {"{\n  \"a\": tru}", "line 2, column 8: not a JSON value"},
        {"\"tab\there\"", "a control character inside a string"},
        {"\"\\x\"", "not a JSON escape"},
        {"01", "a number does not start with 0"},
        {"1.", "digits were expected after '.'"},
        {"{} {}", "unexpected text after the document"},
        {"\"open", "the document ends inside a string"},
        {std::string(100, '[') + std::string(100, ']'), "nested too deep"},
    };
    for (const auto& [text, error] : cases) {
        const JsonParse parsed = ParseJson(text);
        EXPECT_FALSE(parsed.value) << text;
        EXPECT_NE(parsed.error.find(error), std::string::npos) << text << ": " << parsed.error;
    }
    EXPECT_TRUE(ParseJson(std::string(64, '[') + std::string(64, ']')).value) << "as deep as allowed";
}

} // namespace
