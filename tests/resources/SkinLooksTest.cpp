// The looks the windows copy out of their hover and selected images: every
// element that reacts shows it, elements without an action show nothing, and
// the functions a model lacks stay dimmed whatever the look.

#include "app/elements/BkLightElements.h"
#include "app/elements/KeySettingsElements.h"
#include "app/elements/MainWindowElements.h"
#include "app/elements/MultiSelectElements.h"
#include "app/elements/VirtualKeyElements.h"
#include "tests/resources/ZarnResImages.h"

#include <algorithm>
#include <set>

namespace {

constexpr int kModels[] = {1, 2, 3, 4};

// Hotspots of the key settings dialog that have no action.
const std::set<int> kWithoutAction = {103, 301};

// Elements the key settings dialog marks selected: list rows, the Single /
// Combo switch, the macro options and the buttons of the choice pages.
bool selectable(const SkinItem& item) {
    static const std::set<int> kSwitches = {101, 102, 201, 208, 209, 203, 210};
    return item.scaledLabel != 0 || item.code >= 0 || kSwitches.count(item.id) != 0;
}

struct Triple {
    QImage background;
    QImage hover;
    QImage selected;
};

class SkinLooks : public ZarnResImages {
protected:
    static Triple keySettingsPage(int page, int modelType) {
        Triple triple;
        for (const ImageRow& row : AppImageIds()) {
            if (row.window != SkinWindow::KeySettings || row.page != page) {
                continue;
            }
            QImage& target = row.variant == ImageVariant::Background ? triple.background
                             : row.variant == ImageVariant::Hover    ? triple.hover
                                                                     : triple.selected;
            target = image(row.role, modelType);
        }
        return triple;
    }
};

// Codes of the Function page that a model lacks: the radio on the models
// without "BT" in their name, the backlight on those without "RGB".
const std::set<int> kRadioCodes = {167, 168, 169, 170, 180, 181};
const std::set<int> kBacklightCodes = {135, 136, 137, 138, 139, 140, 141, 142, 143,
                                       144, 145, 148, 160, 161, 162, 163, 164, 165};

bool lacks(int modelType, int code) {
    const bool radio = modelType == 1 || modelType == 2;
    const bool backlight = modelType == 1 || modelType == 4;
    return (!radio && kRadioCodes.count(code) != 0) || (!backlight && kBacklightCodes.count(code) != 0);
}

} // namespace

TEST_F(SkinLooks, KeySettingsHotspotsReactExceptThoseWithoutAction) {
    const SkinTable table = KeySettingsElements();
    for (int page = 1; page <= kKeySettingsPages; ++page) {
        for (int model : kModels) {
            const Triple images = keySettingsPage(page, model);
            for (const SkinItem& item : table) {
                if (!KeySettingsActiveOn(item.id, page) || item.isLabel != 0) {
                    continue;
                }
                SCOPED_TRACE(testing::Message()
                             << "page " << page << " model " << model << " element " << item.id);
                if (kWithoutAction.count(item.id) != 0) {
                    EXPECT_FALSE(differsIn(images.background, images.hover, item.rect));
                    EXPECT_FALSE(differsIn(images.background, images.selected, item.rect));
                    continue;
                }
                EXPECT_TRUE(differsIn(images.background, images.hover, item.rect));
                if (selectable(item)) {
                    EXPECT_TRUE(differsIn(images.background, images.selected, item.rect));
                    EXPECT_TRUE(differsIn(images.hover, images.selected, item.rect));
                }
            }
        }
    }
}

TEST_F(SkinLooks, FunctionsAModelLacksStayDimmedInEveryLook) {
    const SkinTable table = KeySettingsElements();
    const Triple full = keySettingsPage(6, 1);
    for (int model : {2, 3, 4}) {
        const Triple own = keySettingsPage(6, model);
        const std::pair<const QImage*, const QImage*> looks[] = {
            {&full.background, &own.background}, {&full.hover, &own.hover}, {&full.selected, &own.selected}};
        for (const auto& [reference, image] : looks) {
            for (const SkinItem& item : table) {
                if (KeySettingsPageOf(item.id) != 6 || item.isLabel != 0) {
                    continue;
                }
                SCOPED_TRACE(testing::Message() << "model " << model << " element " << item.id);
                if (lacks(model, item.code)) {
                    EXPECT_LT(meanGrey(*image, item.rect), meanGrey(*reference, item.rect) - 4);
                } else {
                    EXPECT_FALSE(differsIn(*reference, *image, item.rect));
                }
            }
        }
    }
}

TEST_F(SkinLooks, OtherDialogsLightTheirElements) {
    struct Case {
        const char* name;
        ImageRole background;
        ImageRole hover;
        ImageRole selected; // the background where the window has no selected image
        SkinTable table;
        int modelType;
        // Which hotspots must change under the pointer, which when selected.
        bool (*hovers)(const SkinItem&);
        bool (*selects)(const SkinItem&);
    };
    const auto all = [](const SkinItem&) {
        return true;
    };
    const auto none = [](const SkinItem&) {
        return false;
    };
    const auto keys = [](const SkinItem& item) {
        return item.keyNumber > 0;
    };
    const auto commands = [](const SkinItem& item) {
        return item.id < 100;
    };
    const Case cases[] = {
        {"main window", ImageRole::MainBackground, ImageRole::MainHover, ImageRole::MainAssigned,
         MainWindowElements(1), 1, all, all},
        {"virtual keyboard", ImageRole::VirtualKeyBackground, ImageRole::VirtualKeyHover,
         ImageRole::VirtualKeySelected, VirtualKeyElements(), 1, all, keys},
        // Keys of the backlight dialog show their colour frame, not a hover look.
        {"backlight", ImageRole::BacklightBackground, ImageRole::BacklightHover,
         ImageRole::BacklightBackground, BkLightElements(), 1, commands, none},
        {"backlight", ImageRole::BacklightBackground, ImageRole::BacklightHover,
         ImageRole::BacklightBackground, BkLightElements(), 4, commands, none},
        // The multi-key dialog's hover image is also its selected key.
        {"multi-key", ImageRole::MultiKeyBackground, ImageRole::MultiKeyHover, ImageRole::MultiKeyBackground,
         MultiSelectElements(), 1, all, none},
        {"multi-key", ImageRole::MultiKeyBackground, ImageRole::MultiKeyHover, ImageRole::MultiKeyBackground,
         MultiSelectElements(), 4, all, none},
    };
    for (const Case& c : cases) {
        const QImage background = image(c.background, c.modelType);
        const QImage hover = image(c.hover, c.modelType);
        const QImage selected = image(c.selected, c.modelType);
        for (const SkinItem& item : c.table) {
            if (item.id <= 0 || item.isLabel != 0) {
                continue;
            }
            SCOPED_TRACE(testing::Message() << c.name << " model " << c.modelType << " element " << item.id);
            if (c.hovers(item)) {
                EXPECT_TRUE(differsIn(background, hover, item.rect));
            }
            if (c.selects(item)) {
                EXPECT_TRUE(differsIn(background, selected, item.rect));
                EXPECT_TRUE(differsIn(hover, selected, item.rect));
            }
        }
    }
}

// The two lighting dialogs open one from the other: one close mark for both,
// on both RGB models.
TEST_F(SkinLooks, LightingDialogsShareOneCloseMark) {
    const SkinRect inside{1224, 20, 1232, 28};
    for (int model : {1, 4}) {
        SCOPED_TRACE(testing::Message() << "model " << model);
        EXPECT_FALSE(differsIn(image(ImageRole::BacklightBackground, model),
                               image(ImageRole::MultiKeyBackground, model), inside));
        EXPECT_FALSE(differsIn(image(ImageRole::BacklightHover, model),
                               image(ImageRole::MultiKeyHover, model), inside));
        EXPECT_TRUE(differsIn(image(ImageRole::BacklightBackground, model),
                              image(ImageRole::BacklightHover, model), inside));
    }
}
