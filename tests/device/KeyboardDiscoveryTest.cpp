#include "device/COrvoHWI.h"
#include "device/KeyboardIdentity.h"
#include "platform/HidTransport.h"
#include "tests/device/CaseName.h"
#include "tests/support/ScriptedKeyboard.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <list>
#include <ostream>

namespace {

using Identity = ScriptedKeyboard::Identity;

struct IdentityCase {
    const char* name;
    HidDeviceInfo device;
    int modelType;
};

void PrintTo(const IdentityCase& c, std::ostream* out) {
    *out << c.name;
}

HidDeviceInfo device(std::uint16_t vendor, std::uint16_t product, int interfaceNumber) {
    HidDeviceInfo info;
    info.vendorId = vendor;
    info.productId = product;
    info.interfaceNumber = interfaceNumber;
    return info;
}

class KeyboardIdentityRule : public testing::TestWithParam<IdentityCase> {};

TEST_P(KeyboardIdentityRule, GivesTheModelOfMatchingInterfacesOnly) {
    EXPECT_EQ(modelTypeOf(GetParam().device), GetParam().modelType);
}

INSTANTIATE_TEST_SUITE_P(Interfaces, KeyboardIdentityRule,
                         testing::Values(IdentityCase{"ZarnRgbBt", device(0x0483, 0x5039, 1), 1},
                                         IdentityCase{"ZarnBt", device(0x0483, 0x5139, 1), 2},
                                         IdentityCase{"Zarn", device(0x0483, 0x5239, 1), 3},
                                         IdentityCase{"ZarnRgb", device(0x0483, 0x5339, 1), 4},
                                         IdentityCase{"OtherProduct", device(0x0483, 0x5439, 1), 0},
                                         IdentityCase{"OtherVendor", device(0x0484, 0x5039, 1), 0},
                                         IdentityCase{"OtherInterface", device(0x0483, 0x5039, 0), 0}),
                         CaseName());

class Discovery : public testing::Test {
protected:
    void SetUp() override { ::unsetenv(kVirtualHidVariable); }
    void TearDown() override { ::unsetenv(kVirtualHidVariable); }
};

TEST_F(Discovery, NoKeyboardFindsNothing) {
    COrvoHWI hwi;
    EXPECT_FALSE(hwi.DetectDevice());
    EXPECT_EQ(hwi.DetectDeviceType(), 0);
    EXPECT_FALSE(hwi.__createDev());
}

TEST_F(Discovery, FirstMatchingInterfaceInListOrderWins) {
    std::list<ScriptedKeyboard> keyboards;
    keyboards.emplace_back(ScriptedKeyboard::Script{}, Identity{0x0483, 0x5239, 0});
    keyboards.emplace_back(ScriptedKeyboard::Script{}, Identity{0x0483, 0x5439, 1});
    keyboards.emplace_back(ScriptedKeyboard::Script{}, Identity{0x0483, 0x5139, 1});
    keyboards.emplace_back(ScriptedKeyboard::Script{}, Identity{0x0483, 0x5339, 1});
    COrvoHWI hwi;
    EXPECT_TRUE(hwi.DetectDevice());
    EXPECT_EQ(hwi.DetectDeviceType(), 2);
    ASSERT_TRUE(hwi.__createDev());
    wchar_t version[64] = {};
    hwi.ReadKeyboardVersion(version);
    auto second = std::next(keyboards.begin(), 2);
    ASSERT_TRUE(second->waitForReceived(1, 2000));
    EXPECT_EQ(second->received().front()[1], 0xF9);
    EXPECT_TRUE(std::next(second)->received().empty());
}

TEST_F(Discovery, ListedSocketNobodyServesIsNotPresent) {
    ::setenv(kVirtualHidVariable, "0483:5039:1=/nonexistent/zarn.sock", 1);
    ScriptedKeyboard present(ScriptedKeyboard::Script{}, Identity{0x0483, 0x5339, 1});
    COrvoHWI hwi;
    EXPECT_EQ(hwi.DetectDeviceType(), 4);
}

TEST_F(Discovery, VariableIsReadAtEveryEnumeration) {
    COrvoHWI hwi;
    EXPECT_FALSE(hwi.DetectDevice());
    {
        ScriptedKeyboard keyboard;
        EXPECT_TRUE(hwi.DetectDevice());
    }
    EXPECT_FALSE(hwi.DetectDevice());
}

} // namespace
