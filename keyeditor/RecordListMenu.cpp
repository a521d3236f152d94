#include "keyeditor/RecordListMenu.h"

#include "skin/Language.h"

namespace {

struct MenuCommand {
    int command;
    const char* zh;
    const char* en;
    MouseMenuAction action;
};

struct MenuGroup {
    const char* zh;
    const char* en;
    std::vector<MenuCommand> commands;
};

const std::vector<MenuGroup>& menuGroups() {
    static const std::vector<MenuGroup> kGroups = {
        {"鼠标左键",
         "Left Click",
         {{1135, "按下", "Press", {130, 1}},
          {1136, "释放", "Release", {130, 1}},
          {1137, "点击", "Click", {130, 2}}}},
        {"鼠标右键",
         "Right Click",
         {{1138, "按下", "Press", {131, 1}},
          {1139, "释放", "Release", {131, 1}},
          {1140, "点击", "Click", {131, 2}}}},
        {"鼠标中键",
         "Middle Click",
         {{1141, "按下", "Press", {132, 1}},
          {1142, "释放", "Release", {132, 1}},
          {1143, "点击", "Click", {132, 2}}}},
        {"滚轮", "Wheel", {{1144, "前翻", "Up", {133, 1}}, {1145, "后翻", "Down", {134, 1}}}},
    };
    return kGroups;
}

} // namespace

std::optional<MouseMenuAction> MouseActionOf(int command) {
    for (const MenuGroup& group : menuGroups()) {
        for (const MenuCommand& item : group.commands) {
            if (item.command == command) {
                return item.action;
            }
        }
    }
    return std::nullopt;
}

std::vector<PromptMenuItem> RecordListMenu(const std::string& uiLanguage) {
    if (ByLanguage(uiLanguage, "x", "x").isEmpty()) {
        return {};
    }
    std::vector<PromptMenuItem> menu;
    for (const MenuGroup& group : menuGroups()) {
        PromptMenuItem submenu{0, ByLanguage(uiLanguage, group.zh, group.en), {}};
        for (const MenuCommand& item : group.commands) {
            submenu.items.push_back({item.command, ByLanguage(uiLanguage, item.zh, item.en), {}});
        }
        menu.push_back(std::move(submenu));
    }
    menu.push_back({kRecordMenuDelete, ByLanguage(uiLanguage, "删除", "Delete"), {}});
    return menu;
}
