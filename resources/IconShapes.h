#pragma once

#include <QColor>
#include <QPainter>
#include <QRectF>

// Pictures of the code buttons on the Multimedia and Function pages, drawn
// in one ink, centred in their box.
enum class IconShape {
    Note,
    PlayPause,
    Stop,
    Next,
    Previous,
    VolumeDown,
    VolumeUp,
    Mute,
    Back,
    Forward,
    WebStop,
    Refresh,
    Star,
    Search,
    Mail,
    Home,
    Computer,
    Calculator,
    StarShower,
    Ripple,
    Breath,
    Dimmer,
    Brighter,
    Gamepad,
    Stopwatch,
    ColourSwap,
    Bluetooth,
    WireWireless,
    Trigger,
    Gauge,
    ProgramKey,
    Leaf,
    Bulb,
    BreathFaster,
    BreathSlower,
    Padlock,
    StopSquare,
};

// accent: the second colour of the shapes that show two (the colour swap).
void DrawIconShape(QPainter& p, IconShape shape, const QRectF& box, const QColor& ink, const QColor& accent);
