#include "tests/packaging/UdevRules.h"

#include "tests/support/ScratchDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string readRules() {
    std::ifstream file(ZARN_UDEV_RULES);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A sysfs tree as the kernel lays it out for USB HID keyboards: USB device
// (ids) > USB interface (number, class) > HID device > hidraw node.
class FakeSysfs {
public:
    FakeSysfs() : root_(scratch_.path()) {
        if (!scratch_.made()) {
            return;
        }
        for (const char* subsystem : {"bus/usb", "bus/hid", "class/hidraw", "class/input"}) {
            fs::create_directories(root_ / subsystem);
        }
        hub_ = device(root_ / "devices/pci0000:00/0000:00:14.0/usb1", "bus/usb", {{"idVendor", "1d6b"}});
    }

    // The hidraw node of interface `interfaceNumber` of a USB keyboard on port `port`.
    std::string hidraw(int port, const std::string& vendor, const std::string& product, int interfaceNumber,
                       int node) {
        const std::string usbName = "1-" + std::to_string(port);
        const fs::path usb = device(hub_ / usbName, "bus/usb",
                                    {{"idVendor", vendor}, {"idProduct", product}, {"bNumInterfaces", " 2"}});
        const std::string number = "0" + std::to_string(interfaceNumber);
        const fs::path interface =
            device(usb / (usbName + ":1." + std::to_string(interfaceNumber)), "bus/usb",
                   {{"bInterfaceNumber", number}, {"bInterfaceClass", "03"}});
        const fs::path hid = device(
            interface / ("0003:" + upper(vendor) + ":" + upper(product) + ".000" + std::to_string(node)),
            "bus/hid", {});
        return device(hid / "hidraw" / ("hidraw" + std::to_string(node)), "class/hidraw", {{"dev", "243:0"}});
    }

    std::string root() const { return root_.string(); }

private:
    static std::string upper(std::string text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return std::toupper(c); });
        return text;
    }

    fs::path device(const fs::path& path, const char* subsystem,
                    std::initializer_list<std::pair<const char*, std::string>> attributes) {
        fs::create_directories(path);
        std::ofstream(path / "uevent") << "";
        if (!fs::exists(fs::symlink_status(path / "subsystem"))) {
            fs::create_directory_symlink(root_ / subsystem, path / "subsystem");
        }
        for (const auto& [name, value] : attributes) {
            std::ofstream(path / name) << value << '\n';
        }
        return path;
    }

    ScratchDir scratch_{"zarn-sysfs"};
    fs::path root_;
    fs::path hub_;
};

struct NodeCase {
    const char* name;
    const char* vendor;
    const char* product;
    int interfaceNumber;
    bool userMayOpen;
};

void PrintTo(const NodeCase& c, std::ostream* out) {
    *out << c.name;
}

class UdevRuleTest : public ::testing::TestWithParam<NodeCase> {};

TEST_P(UdevRuleTest, OpensOnlyTheConfigurationInterfaceOfTheKeyboards) {
    const NodeCase& c = GetParam();
    FakeSysfs sysfs;
    const std::string node = sysfs.hidraw(3, c.vendor, c.product, c.interfaceNumber, 4);
    const UdevRules rules(readRules());
    ASSERT_EQ(rules.parseError(), "");

    const UdevRules::Outcome outcome = rules.apply(sysfs.root(), node, "add");
    ASSERT_EQ(outcome.error, "");
    const bool tagged = std::count(outcome.tags.begin(), outcome.tags.end(), "uaccess") == 1;
    EXPECT_EQ(tagged, c.userMayOpen);
    // Access goes to the seat's user through the tag, never to everyone.
    EXPECT_TRUE(outcome.assignments.empty());
}

INSTANTIATE_TEST_SUITE_P(Nodes, UdevRuleTest,
                         ::testing::Values(NodeCase{"ZarnRGBBT_configuration", "0483", "5039", 1, true},
                                           NodeCase{"ZarnBT_configuration", "0483", "5139", 1, true},
                                           NodeCase{"Zarn_configuration", "0483", "5239", 1, true},
                                           NodeCase{"ZarnRGB_configuration", "0483", "5339", 1, true},
                                           NodeCase{"ZarnRGBBT_typing_interface", "0483", "5039", 0, false},
                                           NodeCase{"Zarn_typing_interface", "0483", "5239", 0, false},
                                           NodeCase{"same_vendor_other_product", "0483", "5740", 1, false},
                                           NodeCase{"other_vendor_same_product", "046d", "5039", 1, false}),
                         [](const ::testing::TestParamInfo<NodeCase>& row) {
                             return std::string(row.param.name);
                         });

TEST(UdevRule, LeavesEveryOtherDeviceOfTheKeyboardAlone) {
    FakeSysfs sysfs;
    const std::string node = sysfs.hidraw(3, "0483", "5039", 1, 4);
    const UdevRules rules(readRules());
    // The USB interface and the HID device above the node.
    for (const fs::path& device : {fs::path(node).parent_path().parent_path(),
                                   fs::path(node).parent_path().parent_path().parent_path()}) {
        const UdevRules::Outcome outcome = rules.apply(sysfs.root(), device.string(), "add");
        EXPECT_EQ(outcome.error, "");
        EXPECT_TRUE(outcome.tags.empty()) << device;
    }
}

} // namespace
