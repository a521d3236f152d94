#include "app/elements/KeySettingsElements.h"
#include "resources/SkinFonts.h"
#include "resources/SkinIcons.h"
#include "resources/SkinImages.h"
#include "resources/SkinPainter.h"

#include <QLinearGradient>
#include <QPainterPath>

#include <algorithm>

namespace {

constexpr int kWidth = kKeySettingsWidth;
constexpr int kHeight = kKeySettingsHeight;
constexpr int kTitleBottom = 40;
const QRectF kSheet(10, 79, 564, 233);

bool isTab(int id) {
    return id >= kKsCmdFirstTab && id < kKsCmdFirstTab + kKeySettingsPages;
}

// Elements whose look follows their own hotspot, not a separate drawing.
bool isRow(const SkinItem& item) {
    return item.scaledLabel != 0;
}

void drawSheet(SkinPainter& skin) {
    QPainter& p = skin.painter();
    QLinearGradient sheet(0, kSheet.top(), 0, kSheet.bottom());
    sheet.setColorAt(0.0, QColor(56, 59, 66, 235));
    sheet.setColorAt(0.15, QColor(42, 45, 50, 235));
    sheet.setColorAt(1.0, QColor(32, 34, 38, 235));
    p.setPen(QPen(QColor(8, 8, 10), 1));
    p.setBrush(sheet);
    p.drawRoundedRect(kSheet, 8, 8);
    p.setPen(QPen(QColor(255, 255, 255, 24), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(kSheet.adjusted(1, 1, -1, -1), 7, 7);
}

void drawFrame(SkinPainter& skin, const SkinTable& table, int page, Look look) {
    skin.windowFrame(kTitleBottom);
    drawSheet(skin);
    // The frame never shows a pressed state: only the page's own elements do.
    const Look frameLook = look == Look::Hover ? Look::Hover : Look::Normal;
    for (const SkinItem& item : table) {
        if (KeySettingsPageOf(item.id) != 0 || item.id <= 0 || item.isLabel) {
            continue;
        }
        if (isTab(item.id)) {
            skin.tab(item.rect, item.id - kKsCmdFirstTab + 1 == page, frameLook);
        } else if (item.id == kKsCmdClose) {
            skin.glyphButton(item.rect, Glyph::Close, frameLook);
        } else {
            skin.button(item.rect, frameLook);
        }
    }
}

// A switch of two options, each a radio with its caption beside it: the whole
// hotspot lights under the pointer.
void radioWithText(SkinPainter& skin, const SkinRect& rect, Look look) {
    if (look == Look::Hover) {
        QPainter& p = skin.painter();
        p.setPen(QPen(QColor(255, 140, 30, 120), 1));
        p.setBrush(QColor(255, 255, 255, 18));
        p.drawRoundedRect(toRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    }
    const int cy = rect.top + rect.height() / 2;
    skin.radio({rect.left + 3, cy - 7, rect.left + 17, cy + 7}, look);
}

void recordButton(SkinPainter& skin, const SkinRect& rect, Look look) {
    skin.button(rect, look);
    skin.recordLamp(rect, look);
}

void drawRows(SkinPainter& skin, const SkinTable& table, int page, Look look) {
    for (const SkinItem& item : table) {
        if (KeySettingsPageOf(item.id) == page && isRow(item)) {
            skin.listRow(item.rect, look);
        }
    }
}

// A list box in one well with its scroll bar, as the dialog places it.
void listWell(SkinPainter& skin, KeySettingsListRows rows, const SkinTable& table, ControlPlace bar) {
    const SkinItem* first = FindElement(table, rows.firstId);
    const SkinItem* last = FindElement(table, rows.firstId + rows.rows - 1);
    if (first == nullptr || last == nullptr) {
        return;
    }
    const qreal left = first->rect.left - 4;
    const qreal top = std::min(first->rect.top, bar.y) - 2;
    const qreal right = bar.x + bar.width + 2;
    const qreal bottom = std::max(last->rect.bottom, bar.y + bar.height) + 2;
    skin.listBox(QRectF(left, top, right - left, bottom - top));
}

// Hotspots 103 and 301 have no action: they are drawn as plain panel in
// every image, so the pointer over them changes nothing.
void drawSingleComboPage(SkinPainter& skin, const SkinTable& table, Look look) {
    skin.plate(QRectF(34, 94, 140, 192));
    skin.plate(QRectF(202, 94, 336, 192));
    skin.insetField(QRectF(45, 164, 118, 26));
    listWell(skin, kComboLibraryRows, table, kLibraryScrollBarPage1);
    skin.insetField(QRectF(377, 135, 147, 58));
    drawRows(skin, table, 1, look);
    for (const SkinItem& item : table) {
        if (item.isLabel != 0) {
            continue;
        }
        switch (item.id) {
        case 101:
        case 102:
            radioWithText(skin, item.rect, look);
            break;
        case 104:
        case 107:
            recordButton(skin, item.rect, look);
            break;
        case 105:
        case 106:
        case 108:
        case 109:
            skin.button(item.rect, look);
            break;
        default:
            break;
        }
    }
}

// The library with New and Remove on the left, the working list beside it.
void drawListsOfPages23(SkinPainter& skin, int page, const SkinTable& table, Look look) {
    skin.plate(QRectF(27, 90, 176, 204));
    skin.plate(QRectF(206, 90, 173, 157));
    listWell(skin, page == 2 ? kMacroLibraryRows : kEmulationLibraryRows, table, kLibraryScrollBarPages23);
    listWell(skin, page == 2 ? kMacroRecordRows : kEmulationRecordRows, table, kRecordScrollBarPages23);
    drawRows(skin, table, page, look);
    for (const SkinItem& item : table) {
        const int local = item.id - page * 100;
        if (KeySettingsPageOf(item.id) == page && item.isLabel == 0 && (local == 5 || local == 6)) {
            skin.button(item.rect, look);
        }
    }
}

// The loop count and delay edits draw their own dark fields; the panel
// behind them stays plain, because they sit further right in English.
void drawMacroPage(SkinPainter& skin, const SkinTable& table, Look look) {
    drawListsOfPages23(skin, 2, table, look);
    skin.plate(QRectF(382, 104, 190, 148));
    skin.plate(QRectF(206, 251, 366, 59));
    QPainter& p = skin.painter();
    p.setPen(QPen(QColor(0, 0, 0, 120), 1));
    p.drawLine(QPointF(388, 172.5), QPointF(566, 172.5));
    p.setPen(QPen(QColor(255, 255, 255, 26), 1));
    p.drawLine(QPointF(388, 173.5), QPointF(566, 173.5));
    for (const SkinItem& item : table) {
        if (item.isLabel != 0) {
            continue;
        }
        switch (item.id) {
        case 201:
        case 208:
        case 209:
        case 203:
        case 210:
            skin.radio(item.rect, look);
            break;
        case 207:
            recordButton(skin, item.rect, look);
            break;
        default:
            break;
        }
    }
}

void drawEmulatePage(SkinPainter& skin, const SkinTable& table, Look look) {
    drawListsOfPages23(skin, 3, table, look);
    skin.plate(QRectF(382, 104, 190, 80));
    DrawRepeatIllustration(skin, QRectF(392, 196, 170, 104));
    for (const SkinItem& item : table) {
        if (item.isLabel == 0 && item.id == 302) {
            recordButton(skin, item.rect, look);
        }
    }
}

// Buttons of the choice pages: the chosen one is lit in the selected image;
// a function the model lacks stays dimmed in every image.
void drawCodeButtons(SkinPainter& skin, const SkinTable& table, int page, Look look, int modelType) {
    for (const SkinItem& item : table) {
        if (KeySettingsPageOf(item.id) != page || item.isLabel != 0 || item.code < 0) {
            continue;
        }
        const bool available = FunctionAvailable(item.code, modelType);
        if (look == Look::Pressed) {
            skin.chosenButton(item.rect, !available);
        } else {
            skin.button(item.rect, available ? look : Look::Normal);
            if (!available && look == Look::Hover) {
                skin.dimmedHover(item.rect);
            }
        }
        if (page == 4 || page == 6) {
            DrawCodeIcon(skin, item.rect, item.code, look, available);
        }
    }
}

void drawMultimediaPage(SkinPainter& skin, const SkinTable& table, Look look) {
    skin.plate(QRectF(34, 121, 522, 76));
    skin.plate(QRectF(34, 201, 522, 80));
    drawCodeButtons(skin, table, 4, look, 0);
}

void drawMousePage(SkinPainter& skin, const SkinTable& table, Look look) {
    skin.plate(QRectF(28, 106, 240, 185));
    DrawMouseIllustration(skin, QRectF(330, 100, 190, 200));
    drawCodeButtons(skin, table, 5, look, 0);
}

void drawFunctionPage(SkinPainter& skin, const SkinTable& table, Look look, int modelType) {
    skin.plate(QRectF(28, 108, 528, 88));
    skin.plate(QRectF(28, 216, 528, 90));
    drawCodeButtons(skin, table, 6, look, modelType);
}

void drawPowerPage(SkinPainter& skin, const SkinTable& table, Look look) {
    skin.plate(QRectF(150, 100, 282, 102));
    for (const SkinItem& item : table) {
        if (KeySettingsPageOf(item.id) == 7 && item.isLabel == 0) {
            DrawPowerIcon(skin, QRectF(item.rect.left, 106, item.rect.width(), 50), item.code);
        }
    }
    drawCodeButtons(skin, table, 7, look, 0);
}

} // namespace

QImage PaintKeySettings(ImageVariant variant, int page, int modelType) {
    const SkinTable table = KeySettingsElements();
    const Look look = LookOf(variant);
    SkinPainter skin(kWidth, kHeight);
    drawFrame(skin, table, page, look);
    switch (page) {
    case 1:
        drawSingleComboPage(skin, table, look);
        break;
    case 2:
        drawMacroPage(skin, table, look);
        break;
    case 3:
        drawEmulatePage(skin, table, look);
        break;
    case 4:
        drawMultimediaPage(skin, table, look);
        break;
    case 5:
        drawMousePage(skin, table, look);
        break;
    case 6:
        drawFunctionPage(skin, table, look, modelType);
        break;
    default:
        drawPowerPage(skin, table, look);
        break;
    }
    return skin.finish(kKeySettingsColourKey);
}
