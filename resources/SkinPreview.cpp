// Composes the drawn skins the way their windows paint them, so the images
// can be judged with the windows' own overlays before the windows exist or
// without clicking through them:
//   zarn-skinpreview SKIN_DIR OUTPUT_DIR
// SKIN_DIR holds N.png as zarn-skingen writes them.  Every preview is the
// background with a few elements hovered and a few selected (overlays copied
// from the hover and selected images), the captions the window draws, its
// child controls where they are placed, and for the lighting dialogs a
// coloured two-pixel frame around every key; then stretched once, smoothly,
// to ScaleFactor 1, 1.5 and 2, in both languages.
//
// Captions go through the element tables' own colours and alignment, as the
// windows draw them.  The scroll bars and key frames are drawn here as they
// look at rest: their widgets live in the window framework, which the skin
// tools are built before and do not link.

#include "app/elements/BkLightElements.h"
#include "app/elements/ImageIds.h"
#include "app/elements/KeySettingsElements.h"
#include "app/elements/MultiSelectElements.h"
#include "app/elements/SkinItemPainting.h"
#include "app/elements/VirtualKeyElements.h"
#include "controls/ScrollBarSkinGrid.h"

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>

#include <cmath>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr float kScales[] = {1.0f, 1.5f, 2.0f};

QFont fontOf(int pixels) {
    QFont font;
    font.setPixelSize(std::max(pixels, 1));
    return font;
}

// A child control in window pixels: x, y, width, height, 1080-based.
struct Control {
    enum Kind { Edit, ScrollBar } kind;
    QRect place;
    QString text;
    int fontIndex;
};

struct Scene {
    QString name;
    QImage background;
    QImage hover;
    QImage selected;
    SkinTable table;
    std::set<int> hovered;
    std::set<int> selectedIds;
    std::function<bool(const SkinItem&)> active = [](const SkinItem& item) {
        return item.id > 0;
    };
    std::function<std::string(const SkinItem&, const std::string&)> caption;
    std::function<QColor(const SkinItem&)> frameColour; // keys of the lighting dialogs
    std::vector<Control> controls;
};

void overlay(QPainter& p, const QImage& from, const SkinRect& r) {
    if (!from.isNull()) {
        const QRect source(r.left, r.top, r.width(), r.height());
        p.drawImage(source.topLeft(), from, source);
    }
}

void frame(QPainter& p, const SkinRect& r, const QColor& colour) {
    p.fillRect(QRect(QPoint(r.left - 2, r.top - 2), QPoint(r.left - 1, r.bottom + 1)), colour);
    p.fillRect(QRect(QPoint(r.right, r.top - 2), QPoint(r.right + 1, r.bottom + 1)), colour);
    p.fillRect(QRect(QPoint(r.left, r.top - 2), QPoint(r.right - 1, r.top - 1)), colour);
    p.fillRect(QRect(QPoint(r.left, r.bottom), QPoint(r.right - 1, r.bottom + 1)), colour);
}

void drawCaption(QPainter& p, const SkinItem& item, const std::string& text) {
    if (text.empty()) {
        return;
    }
    p.setFont(fontOf(item.fontIndex));
    p.setPen(ToQColor(item.selected != 0 ? item.selectedTextColour : item.textColour));
    const SkinRect& r = item.rect;
    p.drawText(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)),
               ToQtAlignment(item.textFormat), QString::fromStdString(text));
}

void drawScrollBar(QPainter& p, const QImage& skin, const QRect& place) {
    if (skin.isNull()) {
        return;
    }
    using namespace scroll_bar_skin;
    const int cell = skin.width() / kColumns;
    const int w = place.width();
    const QRect up(place.left(), place.top(), w, w);
    const QRect down(place.left(), place.bottom() - w + 1, w, w);
    p.drawImage(QRect(place.left(), up.bottom() + 1, w, down.top() - up.bottom() - 1), skin,
                QRect(VerticalTrack * cell, 0, cell, cell));
    p.drawImage(up, skin, QRect(UpArrow * cell, 0, cell, cell));
    p.drawImage(down, skin, QRect(DownArrow * cell, 0, cell, cell));
    const int thumbTop = up.bottom() + 1 + (down.top() - up.bottom()) / 4;
    p.drawImage(QRect(place.left(), thumbTop, w, (down.top() - up.bottom()) / 3), skin,
                QRect(VerticalThumb * cell, 0, cell, cell));
}

QImage render(Scene& scene, const std::string& language, float scale, const QImage& scrollSkin) {
    QImage canvas = scene.background.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    {
        QPainter p(&canvas);
        for (SkinItem& item : scene.table) {
            if (!scene.active(item)) {
                continue;
            }
            item.selected = scene.selectedIds.count(item.id) != 0 && item.isLabel == 0 ? 1 : item.selected;
            if (item.isLabel == 0) {
                if (scene.frameColour && item.keyNumber > 0) {
                    frame(p, item.rect, scene.frameColour(item));
                }
                if (item.selected != 0) {
                    overlay(p, scene.selected.isNull() ? scene.hover : scene.selected, item.rect);
                } else if (scene.hovered.count(item.id) != 0) {
                    overlay(p, scene.hover, item.rect);
                }
            }
            const auto found = item.captions.find(language);
            std::string text = found == item.captions.end() ? std::string() : found->second;
            if (scene.caption) {
                text = scene.caption(item, text);
            }
            if ((item.isLabel != 0 && item.shown != 0) || item.scaledLabel != 0) {
                drawCaption(p, item, text);
            }
        }
    }
    const QSize size(static_cast<int>(canvas.width() * scale), static_cast<int>(canvas.height() * scale));
    QImage window = canvas.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPainter p(&window);
    for (const Control& control : scene.controls) {
        const QRect place(static_cast<int>(control.place.x() * scale),
                          static_cast<int>(control.place.y() * scale),
                          static_cast<int>(control.place.width() * scale),
                          static_cast<int>(control.place.height() * scale));
        if (control.kind == Control::ScrollBar) {
            drawScrollBar(p, scrollSkin, place);
            continue;
        }
        p.fillRect(place, QColor(20, 20, 20));
        p.setPen(QColor(255, 111, 0));
        p.setFont(fontOf(static_cast<int>(control.fontIndex * scale)));
        p.drawText(place.adjusted(2, 1, -2, -1), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextWordWrap,
                   control.text);
    }
    return window;
}

bool save(const QImage& image, const QDir& dir, const QString& name) {
    if (!image.save(dir.filePath(name))) {
        std::fprintf(stderr, "zarn-skinpreview: cannot write %s\n", qPrintable(dir.filePath(name)));
        return false;
    }
    return true;
}

class Images {
public:
    explicit Images(QDir dir) : dir_(std::move(dir)) {}
    QImage operator()(ImageRole role, int model) const {
        return QImage(dir_.filePath(QStringLiteral("%1.png").arg(AppImageId(role, model))));
    }

private:
    QDir dir_;
};

ImageRole pageRole(int page, int variant) {
    return static_cast<ImageRole>(static_cast<int>(ImageRole::KeyPage1Background) + (page - 1) * 3 + variant);
}

// What each page shows hovered and selected, and its sample list texts.
struct PageScene {
    std::set<int> hovered;
    std::set<int> selected;
};

const PageScene kPageScenes[] = {
    {{104, 92}, {101, 121}}, {{205, 207}, {201, 203, 221, 243}}, {{302}, {321, 342}}, {{402, 413}, {408}},
    {{503}, {506}},          {{605, 631}, {601, 630}},           {{701}, {702}},
};

std::string rowText(int id, bool english) {
    const int page = id / 100;
    const int local = id % 100;
    if (page == 1 && local >= 21 && local <= 26) {
        return local - 21 < 3 ? (english ? "New Combo " : "组合键") + std::to_string(local - 20) : "";
    }
    if ((page == 2 || page == 3) && local >= 21 && local <= 29) {
        if (local - 21 >= 4) {
            return "";
        }
        return (page == 2 ? (english ? "New Macro " : "宏定义") : (english ? "New Emu " : "模拟击键")) +
               std::to_string(local - 20);
    }
    static const char* const kMacro[] = {"Left Ctrl Down", "<120 ms>", "C Down",      "<80 ms>",
                                         "C UP",           "<95 ms>",  "Left Ctrl UP"};
    if (page == 2 && local >= 41 && local <= 49) {
        return local - 41 < 7 ? kMacro[local - 41] : "";
    }
    static const char* const kEmulation[] = {"W", "A", "S", "D"};
    if (page == 3 && local >= 41 && local <= 49) {
        return local - 41 < 4 ? kEmulation[local - 41] : "";
    }
    return "";
}

Scene keySettingsScene(const Images& images, int page, int model, bool english) {
    Scene scene;
    scene.background = images(pageRole(page, 0), model);
    scene.hover = images(pageRole(page, 1), model);
    scene.selected = images(pageRole(page, 2), model);
    scene.table = KeySettingsElements();
    scene.hovered = kPageScenes[page - 1].hovered;
    scene.selectedIds = kPageScenes[page - 1].selected;
    scene.active = [page](const SkinItem& item) {
        return KeySettingsActiveOn(item.id, page);
    };
    for (SkinItem& item : scene.table) {
        // The switch's captions follow it.
        if (item.isLabel != 0 && scene.selectedIds.count(item.id - 50) != 0 &&
            (item.id == 151 || item.id == 152)) {
            item.selected = 1;
        }
    }
    scene.caption = [english](const SkinItem& item, const std::string& text) {
        if (item.scaledLabel != 0) {
            return rowText(item.id, english);
        }
        return item.id == 158 ? std::string("A") : text;
    };
    const ControlPlace count = english ? kCountEditEn : kCountEditZh;
    const ControlPlace delay = english ? kAutoDelayEditEn : kAutoDelayEditZh;
    const auto rect = [](ControlPlace c) {
        return QRect(c.x, c.y, c.width, c.height);
    };
    switch (page) {
    case 1:
        scene.controls = {
            {Control::Edit, rect(kComboKeysView), QStringLiteral("Left Ctrl + Left Alt + Delete"), 11},
            {Control::ScrollBar, rect(kLibraryScrollBarPage1), {}, 0}};
        break;
    case 2:
        scene.controls = {{Control::Edit, rect(count), QStringLiteral("1"), 13},
                          {Control::Edit, rect(delay), QStringLiteral("10"), 13},
                          {Control::ScrollBar, rect(kLibraryScrollBarPages23), {}, 0},
                          {Control::ScrollBar, rect(kRecordScrollBarPages23), {}, 0}};
        break;
    case 3:
        scene.controls = {{Control::Edit, rect(count), QStringLiteral("50"), 13},
                          {Control::ScrollBar, rect(kLibraryScrollBarPages23), {}, 0},
                          {Control::ScrollBar, rect(kRecordScrollBarPages23), {}, 0}};
        break;
    default:
        break;
    }
    return scene;
}

Scene virtualKeyScene(const Images& images, bool english) {
    Scene scene;
    scene.background = images(ImageRole::VirtualKeyBackground, 1);
    scene.hover = images(ImageRole::VirtualKeyHover, 1);
    scene.selected = images(ImageRole::VirtualKeySelected, 1);
    scene.table = VirtualKeyElements();
    // Left Ctrl, A and C picked; the pointer over S.
    scene.selectedIds = {166, 142, 157};
    scene.hovered = {143, kVkCmdOk};
    const SkinRect& d = kVirtualKeyDisplayRect;
    scene.controls = {
        {Control::Edit, QRect(d.left, d.top, d.width(), d.height()),
         english ? QStringLiteral("Combo:Left Ctrl+A+C") : QStringLiteral("组合键：Left Ctrl+A+C"),
         kVirtualKeyDisplayFontIndex}};
    scene.caption = [](const SkinItem& item, const std::string& text) {
        return item.isLabel != 0 ? text : std::string();
    };
    return scene;
}

QColor rainbow(const SkinItem& item) {
    // Spread the keys over the colour wheel, with pure red on a few keys
    // because the multi-key dialog paints that one differently.
    if (item.keyNumber % 17 == 0) {
        return QColor(255, 0, 0);
    }
    return QColor::fromHsv((item.rect.left * 300 / 1100 + item.rect.top / 4) % 360, 255, 255);
}

Scene lightingScene(const Images& images, bool multi, int model) {
    Scene scene;
    scene.background = images(multi ? ImageRole::MultiKeyBackground : ImageRole::BacklightBackground, model);
    scene.hover = images(multi ? ImageRole::MultiKeyHover : ImageRole::BacklightHover, model);
    scene.table = multi ? MultiSelectElements() : BkLightElements();
    scene.frameColour = [multi](const SkinItem& item) {
        const QColor c = rainbow(item);
        return multi && c == QColor(255, 0, 0) ? QColor(255, 1, 0) : c;
    };
    if (multi) {
        scene.selectedIds = {143, 144, 145, 146, 170};
        scene.hovered = {kMsCmdSetColour};
    } else {
        scene.hovered = {kBlCmdMultiKey, kBlCmdClose};
    }
    return scene;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: zarn-skinpreview SKIN_DIR OUTPUT_DIR\n");
        return 2;
    }
    const Images images{QDir(QString::fromLocal8Bit(argv[1]))};
    const QDir out(QString::fromLocal8Bit(argv[2]));
    if (!out.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "zarn-skinpreview: cannot create %s\n", argv[2]);
        return 1;
    }
    const QImage scrollSkin = images(ImageRole::ScrollBar, 1);
    bool ok = true;
    const auto emitScenes = [&](const std::function<Scene(bool english)>& build, const QString& name) {
        for (bool english : {false, true}) {
            const Scene scene = build(english);
            for (float scale : kScales) {
                Scene copy = scene;
                const QString file = QStringLiteral("%1-%2-x%3.png")
                                         .arg(name, english ? "en" : "zh")
                                         .arg(static_cast<double>(scale));
                ok = save(render(copy, english ? "en-US" : "zh-CN", scale, scrollSkin), out, file) && ok;
            }
        }
    };
    for (int page = 1; page <= kKeySettingsPages; ++page) {
        for (int model = 1; model <= (page == 6 ? 4 : 1); ++model) {
            emitScenes([&](bool english) { return keySettingsScene(images, page, model, english); },
                       QStringLiteral("keys-p%1-m%2").arg(page).arg(model));
        }
    }
    emitScenes([&](bool english) { return virtualKeyScene(images, english); }, QStringLiteral("virtual"));
    for (int model : {1, 4}) {
        for (bool multi : {false, true}) {
            emitScenes([&](bool) { return lightingScene(images, multi, model); },
                       QStringLiteral("%1-m%2").arg(multi ? "multikey" : "backlight").arg(model));
        }
    }
    return ok ? 0 : 1;
}
