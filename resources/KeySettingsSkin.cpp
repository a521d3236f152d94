#include "app/elements/KeySettingsElements.h"
#include "resources/SkinFonts.h"
#include "resources/SkinIcons.h"
#include "resources/SkinImages.h"
#include "resources/SkinPainter.h"

#include <QLinearGradient>
#include <QPainterPath>

#include <initializer_list>

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

// The hotspot's own faint highlight, for elements that are text on the panel.
void softHighlight(SkinPainter& skin, const SkinRect& rect, Look look) {
    if (look != Look::Hover) {
        return;
    }
    QPainter& p = skin.painter();
    p.setPen(QPen(QColor(255, 140, 30, 120), 1));
    p.setBrush(QColor(255, 255, 255, 18));
    p.drawRoundedRect(toRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
}

void radioWithText(SkinPainter& skin, const SkinRect& rect, Look look) {
    softHighlight(skin, rect, look);
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

void drawSingleComboPage(SkinPainter& skin, const SkinTable& table, Look look) {
    skin.plate(QRectF(34, 94, 140, 192));
    skin.plate(QRectF(202, 94, 336, 192));
    skin.insetField(QRectF(45, 164, 118, 26));
    skin.listBox(QRectF(212, 134, 146, 100));
    skin.insetField(QRectF(377, 135, 147, 58));
    drawRows(skin, table, 1, look);
    for (const SkinItem& item : table) {
        switch (item.id) {
        case 101:
        case 102:
            radioWithText(skin, item.rect, look);
            break;
        case 103:
            softHighlight(skin, item.rect, look);
            break;
        case 104:
        case 107:
            if (!item.isLabel) {
                recordButton(skin, item.rect, look);
            }
            break;
        case 105:
        case 106:
        case 108:
        case 109:
            if (!item.isLabel) {
                skin.button(item.rect, look);
            }
            break;
        default:
            break;
        }
    }
}

void drawListsOfPages23(SkinPainter& skin, int page, const SkinTable& table, Look look) {
    skin.plate(QRectF(28, 90, 176, 204));
    skin.plate(QRectF(205, 90, 172, 156));
    skin.listBox(QRectF(35, 112, 146, 130));
    skin.listBox(QRectF(211, 112, 146, 130));
    drawRows(skin, table, page, look);
    for (const SkinItem& item : table) {
        const int local = item.id - page * 100;
        if (KeySettingsPageOf(item.id) == page && !item.isLabel && (local == 5 || local == 6)) {
            skin.button(item.rect, look);
        }
    }
}

void drawMacroPage(SkinPainter& skin, const SkinTable& table, Look look) {
    drawListsOfPages23(skin, 2, table, look);
    skin.plate(QRectF(381, 104, 188, 148));
    skin.plate(QRectF(224, 252, 322, 58));
    QPainter& p = skin.painter();
    p.setPen(QPen(QColor(0, 0, 0, 120), 1));
    p.drawLine(QPointF(390, 172.5), QPointF(570, 172.5));
    p.setPen(QPen(QColor(255, 255, 255, 26), 1));
    p.drawLine(QPointF(390, 173.5), QPointF(570, 173.5));
    skin.insetField(QRectF(468, 111, 54, 20));
    skin.insetField(QRectF(468, 175, 50, 20));
    for (const SkinItem& item : table) {
        if (item.isLabel) {
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
    skin.plate(QRectF(379, 104, 180, 80));
    skin.insetField(QRectF(468, 111, 54, 20));
    for (const SkinItem& item : table) {
        if (item.isLabel) {
            continue;
        }
        if (item.id == 301) {
            softHighlight(skin, item.rect, look);
        } else if (item.id == 302) {
            recordButton(skin, item.rect, look);
        }
    }
}

void drawCodeButtons(SkinPainter& skin, const SkinTable& table, int page, Look look, int modelType) {
    for (const SkinItem& item : table) {
        if (KeySettingsPageOf(item.id) != page || item.isLabel || item.code < 0) {
            continue;
        }
        skin.button(item.rect, look);
        if (page == 4 || page == 6) {
            DrawCodeIcon(skin, item.rect, item.code, look, FunctionAvailable(item.code, modelType));
        }
    }
}

void drawMultimediaPage(SkinPainter& skin, const SkinTable& table, Look look) {
    skin.plate(QRectF(36, 124, 418, 74));
    skin.plate(QRectF(36, 204, 518, 78));
    drawCodeButtons(skin, table, 4, look, 0);
}

void drawMousePage(SkinPainter& skin, const SkinTable& table, Look look) {
    skin.plate(QRectF(28, 106, 240, 182));
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
        if (KeySettingsPageOf(item.id) == 7 && !item.isLabel) {
            DrawPowerIcon(skin, QRectF(item.rect.left, 108, item.rect.width(), 46), item.code);
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
