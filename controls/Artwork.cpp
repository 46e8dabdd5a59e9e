#include "controls/Artwork.h"

#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <functional>

#include "controls/ArtworkPainting.h"

namespace controls::artwork {

namespace {

using Painter = std::function<void(QPainter&)>;

// A transparent picture of `logical` size drawn by `paint` at the given ratio.
QImage Render(QSize logical, qreal ratio, const Painter& paint) {
    QImage img(logical * ratio, QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(ratio);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paint(p);
    return img;
}

// `frames` pictures of `frame` size side by side; frame i drawn by paint(p, i).
QImage Strip(QSize frame, int frames, qreal ratio, const std::function<void(QPainter&, int)>& paint) {
    const QSize whole(frame.width() * frames, frame.height());
    return Render(whole, ratio, [&](QPainter& p) {
        for (int i = 0; i < frames; ++i) {
            p.save();
            p.translate(i * frame.width(), 0);
            p.setClipRect(QRect(QPoint(0, 0), frame));
            paint(p, i);
            p.restore();
        }
    });
}

// Pictures are made once per name and ratio. Images, not pixmaps, are kept so the cache
// may outlive the application object.
QPixmap Cached(const QString& name, qreal ratio, const std::function<QImage()>& make) {
    static QHash<QString, QImage> cache;
    const QString key = name + QLatin1Char('@') + QString::number(ratio);
    auto it = cache.find(key);
    if (it == cache.end()) it = cache.insert(key, make());
    return QPixmap::fromImage(*it);
}

QPixmap KnobStrip(const char* name, int size, qreal ratio) {
    return Cached(QString::fromLatin1(name), ratio, [=] {
        return Strip(QSize(size, size), kKnobFrames, ratio, [=](QPainter& p, int i) {
            detail::PaintKnob(p, size, double(i) / (kKnobFrames - 1));
        });
    });
}

QPixmap Lamp(const char* name, const QColor& hue, qreal ratio) {
    return Cached(QString::fromLatin1(name), ratio, [=] {
        return Strip(QSize(kLampSize, kLampSize), 2, ratio,
                     [=](QPainter& p, int i) { detail::PaintLamp(p, kLampSize, hue, i == 1); });
    });
}

}  // namespace

qreal ScreenRatio() {
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}

QPixmap LargeKnobStrip(qreal ratio) { return KnobStrip("knob-large", kLargeKnobSize, ratio); }
QPixmap SmallKnobStrip(qreal ratio) { return KnobStrip("knob-small", kSmallKnobSize, ratio); }

QPixmap LampStrip(qreal ratio) { return Lamp("lamp-red", QColor(255, 40, 24), ratio); }
QPixmap GreenLampStrip(qreal ratio) { return Lamp("lamp-green", QColor(60, 255, 90), ratio); }

QPixmap PushButtonStrip(const QString& legend, int size, qreal ratio) {
    return Cached(QStringLiteral("button-%1-").arg(size) + legend, ratio, [=] {
        return Strip(QSize(size, size), 2, ratio, [=](QPainter& p, int i) {
            detail::PaintPushButton(p, size, legend, i == 1);
        });
    });
}

QPixmap WallpaperTile(qreal ratio) {
    return Cached(QStringLiteral("wallpaper"), ratio, [=] {
        QImage img = detail::WallpaperTexture(qRound(64 * ratio));
        img.setDevicePixelRatio(ratio);
        return img;
    });
}

QPixmap TrashCan(qreal ratio) {
    return Cached(QStringLiteral("trash"), ratio, [=] {
        return Render(QSize(40, 48), ratio, [](QPainter& p) { detail::PaintTrashCan(p, 40, 48); });
    });
}

QPixmap MidiPlug(qreal ratio) {
    return Cached(QStringLiteral("midi-plug"), ratio, [=] {
        return Render(QSize(64, 64), ratio, [](QPainter& p) { detail::PaintMidiPlug(p, 64); });
    });
}

QPalette RackPalette() {
    QPalette pal;
    const QColor panel(30, 31, 35), base(8, 8, 9), text(210, 212, 218), amber(255, 158, 36);
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(g, QPalette::Window, panel);
        pal.setColor(g, QPalette::WindowText, text);
        pal.setColor(g, QPalette::Base, base);
        pal.setColor(g, QPalette::AlternateBase, QColor(22, 23, 26));
        pal.setColor(g, QPalette::Text, text);
        pal.setColor(g, QPalette::Button, QColor(44, 46, 51));
        pal.setColor(g, QPalette::ButtonText, text);
        pal.setColor(g, QPalette::Highlight, amber);
        pal.setColor(g, QPalette::HighlightedText, Qt::black);
        pal.setColor(g, QPalette::ToolTipBase, QColor(40, 41, 46));
        pal.setColor(g, QPalette::ToolTipText, text);
        pal.setColor(g, QPalette::Light, QColor(92, 95, 103));
        pal.setColor(g, QPalette::Midlight, QColor(60, 62, 68));
        pal.setColor(g, QPalette::Mid, QColor(40, 41, 46));
        pal.setColor(g, QPalette::Dark, QColor(10, 10, 12));
        pal.setColor(g, QPalette::Shadow, Qt::black);
        pal.setColor(g, QPalette::BrightText, amber);
    }
    const QColor dim(110, 112, 118);
    pal.setColor(QPalette::Disabled, QPalette::Window, panel);
    pal.setColor(QPalette::Disabled, QPalette::Base, base);
    pal.setColor(QPalette::Disabled, QPalette::WindowText, dim);
    pal.setColor(QPalette::Disabled, QPalette::Text, dim);
    pal.setColor(QPalette::Disabled, QPalette::ButtonText, dim);
    return pal;
}

}  // namespace controls::artwork
