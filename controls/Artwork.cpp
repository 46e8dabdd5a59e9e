#include "controls/Artwork.h"

#include <QGuiApplication>
#include <QHash>
#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <functional>
#include <future>
#include <vector>

#include "controls/ArtworkPainting.h"

namespace controls::artwork {

namespace {

using Painter = std::function<void(QPainter&)>;
using Maker = std::function<QImage(qreal ratio)>;

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

// A picture to draw on the helper thread.
struct Order {
    QString key;
    Maker make;
    qreal ratio;
    std::promise<QImage> drawn;
};

// What the cache holds: how to draw each picture, the pictures drawn so far (per name and
// ratio), and which picture each handed-out pixmap is, so a control can ask for the same
// picture at the ratio it paints at. Pictures ordered ahead are drawn on the helper thread
// into images; everything else here belongs to the window thread.
struct Cache {
    QHash<QString, Maker> makers;
    QHash<QString, QPixmap> pixmaps;
    QHash<qint64, QString> names;
    QHash<QString, std::shared_future<QImage>> ahead;
    std::vector<Order>* collecting = nullptr;  // while DrawAhead takes its orders
    bool forgetting = false;                   // ForgetPictures is registered
};

Cache& TheCache() {
    static Cache cache;
    return cache;
}

// Pixmaps must go before the application object does; a later application starts afresh.
void ForgetPictures() { TheCache() = Cache(); }

void ForgetAtExit(Cache& cache) {
    if (cache.forgetting) return;
    qAddPostRoutine(ForgetPictures);
    cache.forgetting = true;
}

QImage Draw(Cache& cache, const QString& name, const QString& key, qreal ratio) {
    const auto ordered = cache.ahead.constFind(key);
    if (ordered == cache.ahead.cend()) return cache.makers.value(name)(ratio);
    const std::shared_future<QImage> drawing = *ordered;
    cache.ahead.erase(ordered);
    return drawing.get();
}

QPixmap Drawn(const QString& name, qreal ratio) {
    Cache& cache = TheCache();
    const QString key = name + QLatin1Char('@') + QString::number(ratio);
    auto it = cache.pixmaps.find(key);
    if (it != cache.pixmaps.end()) return *it;
    if (cache.collecting) {
        const bool ordered = std::any_of(cache.collecting->begin(), cache.collecting->end(),
                                         [&](const Order& order) { return order.key == key; });
        if (!ordered && !cache.ahead.contains(key))
            cache.collecting->push_back({key, cache.makers.value(name), ratio, {}});
        return {};
    }
    ForgetAtExit(cache);
    it = cache.pixmaps.insert(key, QPixmap::fromImage(Draw(cache, name, key, ratio)));
    cache.names.insert(it->cacheKey(), name);
    return *it;
}

// The picture `name` at `ratio`, drawn by make(ratio) the first time.
QPixmap Cached(const QString& name, qreal ratio, Maker make) {
    Cache& cache = TheCache();
    if (!cache.makers.contains(name)) cache.makers.insert(name, std::move(make));
    return Drawn(name, ratio);
}

QPixmap KnobStrip(const char* name, int size, qreal ratio) {
    return Cached(QString::fromLatin1(name), ratio, [=](qreal r) {
        return Strip(QSize(size, size), kKnobFrames, r, [=](QPainter& p, int i) {
            detail::PaintKnob(p, size, double(i) / (kKnobFrames - 1));
        });
    });
}

QPixmap Lamp(const char* name, const QColor& hue, qreal ratio) {
    return Cached(QString::fromLatin1(name), ratio, [=](qreal r) {
        return Strip(QSize(kLampSize, kLampSize), 2, r,
                     [=](QPainter& p, int i) { detail::PaintLamp(p, kLampSize, hue, i == 1); });
    });
}

}  // namespace

qreal ScreenRatio() {
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}

qreal PaintRatio(const QPainter& p) {
    const QPaintEngine* engine = p.paintEngine();
    // The engine's device is where the pixels really go, also when a widget is rendered
    // into an image of another ratio.
    return engine && engine->paintDevice() ? engine->paintDevice()->devicePixelRatio()
                                           : p.device()->devicePixelRatio();
}

QPixmap AtRatio(const QPixmap& picture, qreal ratio) {
    if (picture.devicePixelRatio() == ratio) return picture;
    const Cache& cache = TheCache();
    const auto it = cache.names.constFind(picture.cacheKey());
    return it == cache.names.cend() ? picture : Drawn(*it, ratio);
}

QPixmap LargeKnobStrip(qreal ratio) { return KnobStrip("knob-large", kLargeKnobSize, ratio); }
QPixmap SmallKnobStrip(qreal ratio) { return KnobStrip("knob-small", kSmallKnobSize, ratio); }

QPixmap LampStrip(qreal ratio) { return Lamp("lamp-red", QColor(255, 40, 24), ratio); }
QPixmap GreenLampStrip(qreal ratio) { return Lamp("lamp-green", QColor(60, 255, 90), ratio); }

QPixmap PushButtonStrip(const QString& legend, int size, qreal ratio) {
    return Cached(QStringLiteral("button-%1-").arg(size) + legend, ratio, [=](qreal r) {
        return Strip(QSize(size, size), 2, r, [=](QPainter& p, int i) {
            detail::PaintPushButton(p, size, legend, i == 1);
        });
    });
}

QPixmap WallpaperTile(qreal ratio) {
    return Cached(QStringLiteral("wallpaper"), ratio, [](qreal r) {
        QImage img = detail::WallpaperTexture(qRound(64 * r));
        img.setDevicePixelRatio(r);
        return img;
    });
}

QPixmap TrashCan(qreal ratio) {
    return Cached(QStringLiteral("trash"), ratio, [](qreal r) {
        return Render(QSize(40, 48), r, [](QPainter& p) { detail::PaintTrashCan(p, 40, 48); });
    });
}

QPixmap MidiPlug(qreal ratio) {
    return Cached(QStringLiteral("midi-plug"), ratio, [](qreal r) {
        return Render(QSize(64, 64), r, [](QPainter& p) { detail::PaintMidiPlug(p, 64); });
    });
}

QImage AppIcon(int pixels) {
    return Render(QSize(pixels, pixels), 1.0, [pixels](QPainter& p) { detail::PaintAppIcon(p, pixels); });
}

QIcon AppIconSet() {
    QIcon icon;
    for (int pixels : {16, 24, 32, 48, 64})
        icon.addPixmap(Cached(QStringLiteral("app-icon-%1").arg(pixels), 1.0,
                              [pixels](qreal) { return AppIcon(pixels); }));
    return icon;
}

PicturesAhead::PicturesAhead(const std::function<void()>& asks) {
    Cache& cache = TheCache();
    std::vector<Order> orders;
    cache.collecting = &orders;
    asks();
    cache.collecting = nullptr;
    for (Order& order : orders) cache.ahead.insert(order.key, order.drawn.get_future().share());
    ForgetAtExit(cache);
    drawer_ = std::thread([orders = std::move(orders)]() mutable {
        for (Order& order : orders) {
            try {
                order.drawn.set_value(order.make(order.ratio));
            } catch (...) {
                order.drawn.set_exception(std::current_exception());
            }
        }
    });
}

PicturesAhead::~PicturesAhead() { drawer_.join(); }

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
    // Disabled text is drawn etched, over a copy in the light colour one pixel down and right;
    // a light colour of the panel's own shade keeps it from reading as blurred, nearly enabled
    // text. The frames keep their enabled shades.
    pal.setColor(QPalette::Disabled, QPalette::Light, panel);
    for (QPalette::ColorRole role : {QPalette::Button, QPalette::Midlight, QPalette::Mid,
                                     QPalette::Dark, QPalette::Shadow, QPalette::AlternateBase,
                                     QPalette::ToolTipBase, QPalette::Highlight})
        pal.setColor(QPalette::Disabled, role, pal.color(QPalette::Active, role));
    return pal;
}

}  // namespace controls::artwork
