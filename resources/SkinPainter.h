#pragma once

#include "app/elements/SkinItem.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

// How an element is drawn in one of the window's images: the background shows
// it at rest, the hover image lit, the selected image pressed or switched on.
enum class Look { Normal, Hover, Pressed };

enum class Glyph { Close, Minimise, Help };

// Surface colours of a keyboard picture.
struct CapStyle {
    QColor glow;      // backlight colour bleeding under the caps
    bool rainbow;     // per-key colours of the RGB models
    int legendPixels; // preferred legend size
    // The face of a picked key, lit in this colour with a dark legend; when
    // invalid, a pressed key is drawn sunk instead.
    QColor chosen = QColor();
    // Distance from the key's rectangle to the cap's edge.  The lighting
    // dialogs draw a colour frame just outside the rectangle: their caps fill it.
    qreal inset = 1.5;
};

// One face for the legends of a cluster of keys: a size, bold or regular.
struct LegendFace {
    int pixels;
    bool bold;
};

// A key and its legend, as a cluster is measured.
struct CapLegend {
    SkinRect rect;
    QString text;
};

// The largest face, at most style.legendPixels, in which every legend fits
// its cap, on one line or on two where it breaks (see fittedText): at each
// size the bold face, then the narrower regular one.  Keys of one row or
// cluster set in it read as one set instead of each shrunk on its own.
LegendFace SharedLegendFace(const std::vector<CapLegend>& legends, const CapStyle& style);

QRectF toRectF(const SkinRect& rect);

// Paints one window image: everything is drawn with antialiasing onto a
// transparent canvas clipped to the window's rounded frame; finish() then
// decides every pixel as either exactly the colour key or opaque and clearly
// away from it, so the window's shape has no fringe and no stray holes.
class SkinPainter {
public:
    SkinPainter(int width, int height);
    SkinPainter(const SkinPainter&) = delete;
    SkinPainter& operator=(const SkinPainter&) = delete;

    QPainter& painter() { return painter_; }
    int width() const { return image_.width(); }
    int height() const { return image_.height(); }

    // The window body: a dark brushed panel in a bevelled rounded frame, with
    // a title band down to titleBottom (0: none).
    void windowFrame(int titleBottom);
    // A recessed plate behind a group of controls.
    void plate(const QRectF& rect, qreal radius = 6);
    void insetField(const QRectF& rect);
    void button(const SkinRect& rect, Look look);
    // A choice that is on: a dark face tinted in the accent colour under a
    // bold accent rim, so a caption or icon drawn over it stays legible.
    // A dimmed choice (a function the model lacks) keeps the look, muted.
    void chosenButton(const SkinRect& rect, bool dimmed);
    // The pointer over a dimmed button: a faint rim, no accent.
    void dimmedHover(const SkinRect& rect);
    void glyphButton(const SkinRect& rect, Glyph glyph, Look look);
    void tab(const SkinRect& rect, bool current, Look look);
    void radio(const SkinRect& rect, Look look);
    void listBox(const QRectF& rect);
    void listRow(const SkinRect& rect, Look look);
    void recordLamp(const SkinRect& rect, Look look);
    // A keyboard's round status lamp centred on `at`, its glass glowing out to
    // `glow`; lit green or dark.
    void lockLamp(const QPointF& at, qreal radius, qreal glow, bool lit);
    // A keyboard case behind the caps.
    void keyboardCase(const QRectF& rect, const CapStyle& style);
    // hue: the key's colour in the rainbow of the RGB models (degrees).  The
    // legend is fitted on its own, or set in `legendFace` when one is given.
    void keyCap(const SkinRect& rect, const QString& legend, Look look, const CapStyle& style, int hue,
                std::optional<LegendFace> legendFace = std::nullopt);
    // Text fitted into a rectangle: shrinks, then breaks into two lines.
    void fittedText(const QRectF& rect, const QString& text, const QColor& colour, int pixels, bool bold);
    void wordmark(qreal x, qreal y, const QString& model);

    QImage finish(ColorRef colourKey);

private:
    QImage image_;
    QPainter painter_;
};

// Accent colours of the whole interface.
namespace skin {
inline const QColor kAccent(255, 140, 30);
inline const QColor kAccentDeep(200, 82, 0);
inline const QColor kText(200, 200, 200);
inline const QColor kTextDim(120, 124, 130);
inline const QColor kEngrave(14, 15, 17);
inline const QColor kGreenLamp(60, 230, 90);
inline const QColor kRecordRed(225, 48, 40);
} // namespace skin
