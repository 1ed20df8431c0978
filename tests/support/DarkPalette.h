#pragma once

#include "controls/model/Contrast.h"

#include <QImage>
#include <QPalette>
#include <QRect>

#include <map>

// A dark desktop palette as a GTK dark theme hands it to Qt: light text, near-black bases, and
// the shades for lines hardly apart from what they separate.
inline QPalette darkPalette()
{
    QPalette p;
    const QColor window(0x35, 0x35, 0x35);
    const QColor base(0x2d, 0x2d, 0x2d);
    const QColor text(0xee, 0xee, 0xec);
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Window, window);
        p.setColor(group, QPalette::WindowText, text);
        p.setColor(group, QPalette::Base, base);
        p.setColor(group, QPalette::AlternateBase, window);
        p.setColor(group, QPalette::Text, text);
        p.setColor(group, QPalette::Button, window);
        p.setColor(group, QPalette::ButtonText, text);
        p.setColor(group, QPalette::Highlight, QColor(0x15, 0x53, 0x9e));
        p.setColor(group, QPalette::HighlightedText, Qt::white);
        p.setColor(group, QPalette::Light, QColor(0x40, 0x40, 0x40));
        p.setColor(group, QPalette::Midlight, QColor(0x38, 0x38, 0x38));
        p.setColor(group, QPalette::Mid, base);
        p.setColor(group, QPalette::Dark, QColor(0x30, 0x30, 0x30));
        p.setColor(group, QPalette::Shadow, Qt::black);
    }
    return p;
}

// What a rendered area shows: its fill (the colour most of its pixels have) and the contrast of
// the pixel that stands out most from that fill, the core of the text.
struct RenderedInk {
    QRgb fill = 0;
    double contrast = 1.0;
};

inline RenderedInk measureInk(const QImage& image, const QRect& area)
{
    std::map<QRgb, int> counts;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x)
            ++counts[image.pixel(x, y) & 0xFFFFFF];
    }
    RenderedInk ink;
    int most = 0;
    for (const auto& [rgb, count] : counts) {
        if (count > most) {
            most = count;
            ink.fill = rgb;
        }
    }
    for (const auto& [rgb, count] : counts)
        ink.contrast = std::max(ink.contrast, Contrast::ratio(ink.fill, rgb));
    return ink;
}
